#include "document/qendoc.h"
#include "document/qendochost.h"
#include "document/qenexport.h"
#include "document/qenreport.h"
#include "document/qenxslt.h"
#include "engine/qencatalogue.h"
#include "engine/qendecrement.h"
#include "engine/qenfiles.h"
#include "engine/qenfootprint.h"
#include "engine/qenvocabulary.h"
#include "scriptedprompt.h"
#include "testfiles.h"

#include <QBuffer>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QUrl>

#include <libxml/HTMLparser.h>
#include <libxml/xpath.h>

#include <cmath>
#include <memory>

namespace {

QList<QDomElement> elements(const QDomDocument &tree, const QString &name)
{
    QList<QDomElement> list;
    const QDomNodeList nodes = tree.elementsByTagName(name);
    for (int i = 0; i < nodes.size(); ++i)
        list.append(nodes.at(i).toElement());
    return list;
}

// The texts of the nodes an XPath expression finds in an HTML page, each
// with its blanks simplified.
QStringList htmlTexts(const QByteArray &html, const char *xpath)
{
    QStringList texts;
    htmlDocPtr doc = htmlReadMemory(html.constData(), int(html.size()), nullptr, "utf-8",
                                    HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    if (!doc)
        return texts;
    xmlXPathContextPtr context = xmlXPathNewContext(doc);
    xmlXPathObjectPtr found =
        xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>(xpath), context);
    if (found && found->nodesetval) {
        for (int i = 0; i < found->nodesetval->nodeNr; ++i) {
            xmlChar *text = xmlNodeGetContent(found->nodesetval->nodeTab[i]);
            texts << QString::fromUtf8(reinterpret_cast<const char *>(text)).simplified();
            xmlFree(text);
        }
    }
    xmlXPathFreeObject(found);
    xmlXPathFreeContext(context);
    xmlFreeDoc(doc);
    return texts;
}

} // namespace

class TestQenExport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_ini;
    ScriptedPrompt m_prompt;
    std::unique_ptr<QenDocHost> m_host;
    std::unique_ptr<QenDoc> m_doc;
    // The report's temporary pictures, deleted after each test as the
    // program deletes them when it ends.
    QStringList m_temporary;

    QenEngine *engine() { return m_doc->engine(); }
    QDomDocument tree(bool withResults = true)
    {
        return QenExport::exportDocument(m_doc.get(), QByteArray("AAAA"), QString(), "icon.png",
                                         true, true, withResults, "qen.xsl");
    }
    QString displayName(const char *iniName) const
    {
        return m_doc->catalogue().at(m_doc->catalogue().findByName(iniName))->displayName;
    }
    // Settings of the page: the built-in stylesheet of `locale`, both choices.
    QenExportSettings settings(const QString &locale = "en_US")
    {
        QenExportSettings s;
        s.stylesheetPath = QenFiles::stylesheet(m_dir.path(), locale);
        s.addTemporaryFile = [this](const QString &path) {
            m_temporary << path;
        };
        s.graphPng = [] {
            QImage image(40, 60, QImage::Format_RGB32);
            image.fill(Qt::white);
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
            return png;
        };
        s.graphDisplaySize = QSize(20, 30);
        return s;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_ini = writeDefaultIni(m_dir.path());
        m_host = std::make_unique<QenDocHost>(m_ini, &m_prompt);
    }

    void init()
    {
        m_prompt.clear();
        m_doc = std::make_unique<QenDoc>(m_host.get());
        QVERIFY(m_doc->newDocument());
    }

    void cleanup()
    {
        for (const QString &path : std::as_const(m_temporary))
            QFile::remove(path);
        m_temporary.clear();
        m_doc.reset();
        QCOMPARE(m_prompt.pending(), 0);
    }

    void neverRunExportsOneSettingAndTheStartingValues()
    {
        const QDomDocument t = tree();
        QCOMPARE(elements(t, "setting").size(), 1);
        QCOMPARE(elements(t, "setting").first().attribute("time"), QString("00:00:00"));
        const QList<QDomElement> results = elements(t, "result");
        QCOMPARE(results.size(), 1);
        QCOMPARE(results.first().attribute("time"), QString("00:00:00"));
        // Nothing taken up yet: every compartment at the agent's ambient value.
        const QenAnesthetic *a = engine()->agentOf(0);
        for (const QDomElement &c : elements(t, "compartment"))
            QCOMPARE(c.attribute("value"), QString::number(a->ambient, 'f', 4));
        QCOMPARE(elements(t, "compartment").size(), 7);
        const QDomElement root = t.documentElement();
        QCOMPARE(root.tagName(), QString("quenor"));
        QCOMPARE(root.attribute("imageData"), QString("AAAA"));
        QCOMPARE(root.attribute("printGraph"), QString("false"));
        QVERIFY(!root.hasAttribute("externalImage"));
    }

    void patientAndAgentsScaleWithTheWeight()
    {
        m_doc->engine()->setWeight(QenUserOrigin, 35.0f);
        const QDomDocument t = tree(false);
        // Half the 70 kg volumes of the delivered INI.
        const QDomElement volumes = elements(t, "volumes").first();
        QCOMPARE(volumes.attribute("alv"), QString("1.2500"));
        QCOMPARE(volumes.attribute("mus"), QString("16.5000"));
        QCOMPARE(volumes.attribute("fat"), QString("7.2500"));
        QVERIFY(!volumes.hasAttribute("ckt"));
        QCOMPARE(elements(t, "flows").first().attribute("vrg"), QString("0.7600"));
        const QDomElement agent = elements(t, "agent").first();
        QCOMPARE(agent.attribute("name"), displayName("Halothane"));
        QCOMPARE(agent.attribute("lambdaBlood"), QString("2.4700"));
        QCOMPARE(agent.attribute("lambdaFat"), QString("150.0000"));
        QCOMPARE(agent.attribute("volatility"), QString("240"));
        QCOMPARE(elements(t, "results").size(), 0);
    }

    void constantRunExportsEverySampleUpToTheEnd()
    {
        runEngineTo(engine(), 5 * 60000);
        // The engine may have computed a step ahead of the display.
        QVERIFY(engine()->simTime() >= engine()->endTime());
        const QDomDocument t = tree();
        QCOMPARE(elements(t, "setting").size(), 1);
        const QList<QDomElement> results = elements(t, "result");
        // One sample every 6 s from 0 to 5 min.
        QCOMPARE(results.size(), 51);
        QCOMPARE(results.last().attribute("time"), QString("00:05:00"));
        // Each result holds the recording of its step; ART is the alveolar value.
        const QenSample &s = engine()->track(0).samples[30];
        const QDomElement r = results[30];
        QCOMPARE(r.attribute("time"), QString("00:03:00"));
        const QDomNodeList cs = r.elementsByTagName("compartment");
        const int expected[7] = {CKT, ALV, ALV, VRG, MUS, FAT, VEN};
        for (int i = 0; i < 7; ++i)
            QCOMPARE(cs.at(i).toElement().attribute("value"),
                     QString::number(s.state[expected[i]], 'f', 4));
        QCOMPARE(cs.at(2).toElement().attribute("name"), QString("ART"));
        QCOMPARE(r.firstChildElement("agentresult").attribute("delivered"),
                 QString::number(s.state[QenDelivered], 'f', 4));
    }

    void eachResultCarriesTheFootprintOfAKnownAgent()
    {
        QCOMPARE(m_doc->addAgent(QStringLiteral("Desflurane")), 1);
        engine()->setDEL(QenUserOrigin, 1, 6.0f);
        runEngineTo(engine(), 10 * 60000);
        const QList<QDomElement> results = elements(tree(), "result");
        QCOMPARE(results.size(), 101);
        const QDomNodeList agents = results.last().elementsByTagName("agentresult");
        QCOMPARE(agents.size(), 2);
        // Halothane: 197.38 g/mol and a warming potential of 45.
        const QDomElement halothane = agents.at(0).toElement();
        const double halothaneKg =
            halothane.attribute("delivered").toDouble() / 24.055 * 197.38 / 1000 * 45;
        QVERIFY(halothaneKg > 0.0);
        QVERIFY2(std::fabs(halothane.attribute("co2e").toDouble() - halothaneKg) <= 1e-4,
                 qPrintable(halothane.attribute("co2e")));
        // Desflurane: litres delivered / 24.055 L/mol x 168.04 g/mol / 1000 x 2590.
        const QDomElement des = agents.at(1).toElement();
        const double litres = des.attribute("delivered").toDouble();
        QVERIFY(litres > 0.1);
        const double kg = litres / 24.055 * 168.04 / 1000 * 2590;
        QVERIFY2(std::fabs(des.attribute("co2e").toDouble() - kg) <= 1e-4 + 1e-4 * kg,
                 qPrintable(des.attribute("co2e")));
    }

    void handoutCarriesTheWakeUpForecast_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<bool>("recorded");
        QTest::newRow("nothing recorded") << 0 << false;
        QTest::newRow("after 10 minutes") << 10 << true;
        // 10 minutes before the 20-hour limit halothane's VRG cannot fall by
        // 90 %: the handout says how long the forecast looked.
        QTest::newRow("near the limit") << 1190 << true;
    }
    void handoutCarriesTheWakeUpForecast()
    {
        QFETCH(int, minutes);
        QFETCH(bool, recorded);
        engine()->setFGF(QenUserOrigin, 2.5f);
        engine()->setDEL(QenUserOrigin, 0, 1.0f);
        if (minutes > 0)
            runEngineTo(engine(), quint32(minutes) * 60000);
        const QList<QDomElement> forecast = elements(tree(false), "forecast");
        QCOMPARE(forecast.size(), recorded ? 1 : 0);
        if (!recorded)
            return;
        const QDomElement agent = forecast.first().firstChildElement("agentforecast");
        QCOMPARE(forecast.first().attribute("time"), QenExport::timeText(minutes * 60000));
        // The flow it assumed: the one in effect then, held.
        QCOMPARE(forecast.first().attribute("fgf"), QString("2.5"));
        QCOMPARE(agent.attribute("name"), displayName("Halothane"));

        // The same minutes as the batch runner's decrement table at D.
        QStringList row;
        for (const QByteArray &line : QenDecrement::csv(*engine()).split('\n')) {
            if (line.startsWith("Halothane," + QByteArray::number(minutes) + ','))
                row = QString::fromUtf8(line).split(',');
        }
        QCOMPARE(row.size(), 5);
        QStringList shown;
        for (int i = 0; i < 3; ++i) {
            const QString t = agent.attribute(QStringLiteral("t%1").arg(QList<int>{50, 80, 90}[i]));
            QCOMPARE(t.isEmpty(), row[2 + i].isEmpty());
            if (!t.isEmpty())
                QVERIFY2(std::fabs(t.toDouble() - row[2 + i].toDouble()) < 0.05, qPrintable(t));
            shown << (t.isEmpty() ? "more than " + agent.attribute("remaining") : t);
        }
        if (minutes == 1190) {
            QCOMPARE(agent.attribute("remaining"), QString("10"));
            QCOMPARE(shown.last(), QString("more than 10"));
        }

        // The handout's table shows them, a level not reached as "more than".
        const QString path = m_dir.filePath("forecast.html");
        QVERIFY(QenExport::writeHtml(m_doc.get(), path, false, settings()));
        const QStringList cells =
            htmlTexts(fileContents(path), "//table[contains(@class,'forecast')]//td");
        QCOMPARE(cells, QStringList{displayName("Halothane")} + shown);
        const QStringList captions = htmlTexts(fileContents(path), "//p[@class='caption']");
        QVERIFY2(captions.filter("held at 2.5 L/min").size() == 1, qPrintable(captions.join('|')));
    }

    void aChangeStartsANewSetting_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("attribute");
        QTest::addColumn<QString>("value");
        QTest::newRow("DEL") << "del"
                             << "del"
                             << "1.5000";
        QTest::newRow("FGF") << "fgf"
                             << "fgf"
                             << "2.0000";
        QTest::newRow("flush") << "flush"
                               << "circuit"
                               << "Semi*";
        QTest::newRow("two injections of 1 mL") << "inject"
                                                << "inject"
                                                << " 2.00";
        QTest::newRow("uptake off") << "uptake"
                                    << "circuit"
                                    << "Semi(U)";
        // A change in the middle of a minute shows in the row it starts.
        QTest::newRow("FGF at 2.5 min") << "fgf2.5"
                                        << "fgf"
                                        << "2.0000";
    }
    void aChangeStartsANewSetting()
    {
        QFETCH(QString, change);
        QFETCH(QString, attribute);
        QFETCH(QString, value);
        QVERIFY(m_doc->setAgent(QenUserOrigin, 0, displayName("Desflurane")));
        const quint32 at = change == "fgf2.5" ? 150000 : 120000;
        runEngineTo(engine(), at);
        if (change == "del")
            m_doc->engine()->setDEL(QenUserOrigin, 0, 1.5f);
        else if (change.startsWith("fgf"))
            m_doc->engine()->setFGF(QenUserOrigin, 2.0f);
        else if (change == "flush")
            m_doc->engine()->flushCircuit();
        else if (change == "uptake")
            engine()->disableUptake(true);
        else {
            m_doc->engine()->injectDose();
            m_doc->engine()->injectDose();
        }
        runEngineTo(engine(), at + 60000);

        const QList<QDomElement> settings = elements(tree(false), "setting");
        QCOMPARE(settings.size(), 2);
        // A flush or an injection goes into the next step the engine computes,
        // one ahead of the display; the other changes redo the step shown.
        const bool nextStep = change == "flush" || change == "inject";
        QCOMPARE(settings[1].attribute("time"), QenExport::timeText(at + (nextStep ? 6000 : 0)));
        const QDomElement agent =
            settings[1].firstChildElement("agentsettings").firstChildElement();
        const QString got = attribute == "del" || attribute == "inject"
                                ? agent.attribute(attribute)
                                : settings[1].attribute(attribute);
        QCOMPARE(got, value);
        QCOMPARE(
            settings[0].firstChildElement("agentsettings").firstChildElement().attribute("inject"),
            QString("0"));
    }

    // The recording's last sample stands exactly at the end time and carries
    // a change: it opens a setting of its own and has its result.
    void aChangeAtTheEndTimeIsExported()
    {
        runEngineTo(engine(), 120000);
        m_doc->engine()->setDEL(QenUserOrigin, 0, 1.5f);
        // The step at the display, as the running engine computes it next.
        QVERIFY(engine()->advanceOneStep());
        QCOMPARE(engine()->endTime(), 120000u);
        QCOMPARE(engine()->track(0).samples.back().time, 120000u);

        const QDomDocument t = tree();
        const QList<QDomElement> settings = elements(t, "setting");
        QCOMPARE(settings.size(), 2);
        QCOMPARE(settings[1].attribute("time"), QString("00:02:00"));
        QCOMPARE(
            settings[1].firstChildElement("agentsettings").firstChildElement().attribute("del"),
            QString("1.5000"));
        const QList<QDomElement> results = elements(t, "result");
        QCOMPARE(results.size(), 21); // every 6 s from 0 to 2 min
        QCOMPARE(results.last().attribute("time"), QString("00:02:00"));
    }

    void switchCodes_data()
    {
        QTest::addColumn<bool>("ret");
        QTest::addColumn<bool>("uptake");
        QTest::addColumn<QStringList>("codes"); // plain, flushed, vapour, both
        QTest::newRow("return off, uptake off")
            << false << false << QStringList{"(UR)", "(UR)*", "(VUR)", "(VUR)*"};
        QTest::newRow("return off, uptake on")
            << false << true << QStringList{"(R)", "(R)*", "(VR)", "(VR)*"};
        QTest::newRow("return on, uptake off")
            << true << false << QStringList{"(U)", "(U)*", "(VU)", "(VU)*"};
        QTest::newRow("both on") << true << true << QStringList{"", "*", "(V)", "(V)*"};
    }
    void switchCodes()
    {
        QFETCH(bool, ret);
        QFETCH(bool, uptake);
        QFETCH(QStringList, codes);
        for (int column = 0; column < 4; ++column) {
            quint16 flags = (ret ? 0x001 : 0) | (uptake ? 0x002 : 0) | (column & 1 ? 0x100 : 0) |
                            (column & 2 ? 0x200 : 0);
            QCOMPARE(QenExport::switchCode(flags), codes[column]);
            QCOMPARE(QenExport::circuitText(flags | (2 << 2)), "Closed" + codes[column]);
        }
    }

    void numberTexts()
    {
        QCOMPARE(QenExport::timeText(0), QString("00:00:00"));
        QCOMPARE(QenExport::timeText(3723999), QString("01:02:03"));
        QCOMPARE(QenExport::timeText(72000000), QString("20:00:00"));
        QCOMPARE(QenExport::timeText(360000000), QString("100:00:00"));
        QCOMPARE(QenExport::injectText(0, 1.0f), QString("0"));
        QCOMPARE(QenExport::injectText(2, 1.0f), QString(" 2.00"));
        QCOMPARE(QenExport::injectText(15, 10.0f), QString("150.00"));
    }

    void suffixRule_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << "/tmp/run"
                              << "/tmp/run.xml";
        QTest::newRow("own") << "/tmp/run.xml"
                             << "/tmp/run.xml";
        QTest::newRow("other") << "/tmp/run.txt"
                               << "/tmp/run.txt";
        QTest::newRow("dot in folder") << "/tmp/v1.2/run"
                                       << "/tmp/v1.2/run.xml";
        QTest::newRow("cancelled") << ""
                                   << "";
    }
    void suffixRule()
    {
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        QCOMPARE(QenExport::withSuffix(answer, ".xml"), expected);
    }

    void xmlFileHoldsTheSameTree()
    {
        m_doc->setDescription("Line one\nx < y & \"z\"\x01");
        runEngineTo(engine(), 60000);
        const QString path = m_dir.filePath("run.xml");
        QVERIFY(QenExport::writeXml(m_doc.get(), path, settings()));
        QDomDocument file;
        QVERIFY(file.setContent(fileContents(path)));
        const QDomDocument direct = tree();
        QCOMPARE(file.documentElement().attribute("description"),
                 QString("Line one\nx < y & \"z\""));
        for (const char *name : {"setting", "agentsetting", "result", "compartment"})
            QCOMPARE(elements(file, name).size(), elements(direct, name).size());
        const QDomElement a = elements(file, "agentresult").last();
        const QDomElement b = elements(direct, "agentresult").last();
        for (const char *attr : {"name", "fgf", "va", "uptake", "delivered"})
            QCOMPARE(a.attribute(attr), b.attribute(attr));
        // The graphs are embedded and so not printed from the file.
        QVERIFY(!file.documentElement().attribute("imageData").isEmpty());
        QCOMPARE(file.documentElement().attribute("printGraph"), QString("false"));
    }

    void htmlPageHoldsTheTables_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("patientHeading");
        QTest::newRow("en_US") << "en_US"
                               << "Patient parameter";
        QTest::newRow("zh_CN") << "zh_CN" << QString::fromUtf8("患者参数");
    }
    void htmlPageHoldsTheTables()
    {
        QFETCH(QString, locale);
        QFETCH(QString, patientHeading);
        QVERIFY(m_doc->setAgent(QenUserOrigin, 0, displayName("Desflurane")));
        m_doc->engine()->setDEL(QenUserOrigin, 0, 7.25f);
        runEngineTo(engine(), 60000);
        m_doc->engine()->injectDose();
        m_doc->engine()->injectDose();
        runEngineTo(engine(), 120000);
        const QString path = m_dir.filePath("page " + locale + ".html");
        QVERIFY(QenExport::writeHtml(m_doc.get(), path, false, settings(locale)));
        const QByteArray html = fileContents(path);

        QVERIFY(htmlTexts(html, "//th").contains(patientHeading));
        const QStringList cells = htmlTexts(html, "//td");
        QVERIFY(cells.contains("76%"));      // vessel-rich share, "##%"
        QVERIFY(cells.contains("14.5 L"));   // fat volume at 70 kg
        QVERIFY(cells.contains("0.42"));     // blood coefficient, "#0.##"
        QVERIFY(cells.contains("7.25"));     // DEL, "##0.##"
        QVERIFY(cells.contains("2.00"));     // two injections of 1 mL, "##0.00"
        QVERIFY(cells.contains("00:01:06")); // the step that received the injections
        // The picture beside the page, named after it and by its own name.
        QStringList images;
        for (const QString &src : htmlTexts(html, "//img/@src"))
            images << QUrl::fromPercentEncoding(src.toUtf8());
        QVERIFY(images.contains("page " + locale + "_img.png"));
        QVERIFY(QFile::exists(m_dir.filePath("page " + locale + "_img.png")));
    }

    // The Injected column to the hundredth of a millilitre.
    void injectedToHundredths_data()
    {
        QTest::addColumn<float>("unitDose");
        QTest::addColumn<int>("doses");
        QTest::addColumn<QString>("shown");
        QTest::newRow("half a mL") << 0.5f << 1 << "0.50";
        QTest::newRow("three of 0.25") << 0.25f << 3 << "0.75";
        QTest::newRow("two of 1.5") << 1.5f << 2 << "3.00";
    }
    void injectedToHundredths()
    {
        QFETCH(float, unitDose);
        QFETCH(int, doses);
        QFETCH(QString, shown);
        runEngineTo(engine(), 30000);
        engine()->setUnitDose(0, unitDose);
        for (int i = 0; i < doses; ++i)
            engine()->injectDose();
        runEngineTo(engine(), 60000);
        const QString path = m_dir.filePath("injected.html");
        QVERIFY(QenExport::writeHtml(m_doc.get(), path, false, settings()));
        // The column of each agent row (its fourth cell).
        QStringList injected;
        const QStringList cells =
            htmlTexts(fileContents(path), "//table[contains(@class,'printout')]//tr/td[4]");
        for (const QString &cell : cells)
            if (!cell.isEmpty())
                injected << cell;
        QVERIFY2(injected.contains(shown), qPrintable(injected.join('|')));
        QVERIFY(injected.contains("0.00"));
    }

    // The page names its picture and icon by relative URLs that lead back
    // to the files beside it, whatever the page's name holds.
    void picturesOfAnOddlyNamedPage_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("hash") << "Lab #3";
        QTest::newRow("question mark") << "what?";
        QTest::newRow("percent") << "100%25 O2";
        QTest::newRow("blanks") << "two  blanks ";
        QTest::newRow("all of them") << "a#b?c%d e";
        QTest::newRow("Chinese") << QString::fromUtf8("实验 #2");
    }
    void picturesOfAnOddlyNamedPage()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QenExportSettings s = settings();
        QImage icon(16, 16, QImage::Format_RGB32);
        icon.fill(Qt::red);
        s.iconPath = dir.filePath("icon.png");
        QVERIFY(icon.save(s.iconPath));
        const QString page = dir.filePath(name + ".html");
        QVERIFY(QenExport::writeHtml(m_doc.get(), page, false, s));
        const QStringList sources = htmlTexts(fileContents(page), "//img/@src");
        QCOMPARE(sources.size(), 2);
        QStringList reached;
        for (const QString &src : sources) {
            const QUrl url(src, QUrl::StrictMode);
            QVERIFY2(url.isValid() && url.isRelative(), qPrintable(src));
            QVERIFY2(!url.hasFragment() && !url.hasQuery(), qPrintable(src));
            reached << QUrl::fromLocalFile(page).resolved(url).toLocalFile();
        }
        QCOMPARE(reached,
                 (QStringList{dir.filePath(name + "_icon.png"), dir.filePath(name + "_img.png")}));
        for (const QString &file : reached)
            QVERIFY2(!QImage(file).isNull(), qPrintable(file));
    }

    // What a three-agent lesson used by the displayed time. In an open
    // circuit each agent's vapour grows by DEL/100 x FGF every minute, so
    // ten minutes at 4 L/min deliver 1.0 L of sevoflurane at 2.5 %, 2.4 L of
    // desflurane at 6 % and 0.3 L of ether at 0.75 %.
    void gasUsedByTheLesson()
    {
        QVERIFY(m_doc->setAgent(QenUserOrigin, 0, displayName("Sevoflurane")));
        QCOMPARE(m_doc->addAgent(displayName("Desflurane")), 1);
        QCOMPARE(m_doc->addAgent(displayName("Ether")), 2);
        engine()->setCircuit(QenUserOrigin, QenVocabulary::circuits().first());
        engine()->setFGF(QenUserOrigin, 4.0f);
        const float dels[3] = {2.5f, 6.0f, 0.75f};
        for (int k = 0; k < 3; ++k)
            engine()->setDEL(QenUserOrigin, k, dels[k]);
        runEngineTo(engine(), 10 * 60000);
        QCOMPARE(engine()->displayTime(), quint32(600000));

        const double vapour[3] = {1.0, 2.4, 0.3};
        const QDomElement gas = elements(tree(), "gasused").value(0);
        QCOMPARE(gas.attribute("time"), QString("00:10:00"));
        const QDomNodeList rows = gas.elementsByTagName("agentgas");
        QCOMPARE(rows.size(), 3);
        const QString path = m_dir.filePath("gas.html");
        QVERIFY(QenExport::writeHtml(m_doc.get(), path, false, settings()));
        const QByteArray html = fileContents(path);
        const QStringList cells = htmlTexts(html, "//table[contains(@class,'gasused')]//td");
        QCOMPARE(cells.size(), 3 * 6);
        for (int k = 0; k < 3; ++k) {
            const QenAnesthetic *a = engine()->agentOf(k);
            const QDomElement row = rows.at(k).toElement();
            QCOMPARE(row.attribute("name"), a->displayName);
            auto near = [&](const char *attribute, double expected) {
                const double got = row.attribute(attribute).toDouble();
                QVERIFY2(std::fabs(got - expected) <= 1e-4 + 1e-5 * expected,
                         qPrintable(QString("%1 %2: %3, not %4")
                                        .arg(a->name, attribute)
                                        .arg(got)
                                        .arg(expected)));
            };
            const double litres = vapour[k];
            const double liquidMl = litres * 1000.0 / a->volatility;
            const double cost = liquidMl / a->bottleSize * a->bottleCost;
            near("vapour", litres);
            near("liquid", liquidMl);
            near("cost", cost);
            QStringList expected{a->displayName, QString::number(liquidMl, 'f', 1),
                                 QString::number(litres, 'f', 2), QString::number(cost, 'f', 2)};
            if (a->gwp100) {
                const double kg = litres / 24.055 * double(*a->molarMass) / 1000.0 * *a->gwp100;
                near("co2e", kg);
                QCOMPARE(row.attribute("gwp100").toDouble(), double(*a->gwp100));
                expected << QString::number(kg, 'f', 3) << QString::number(*a->gwp100);
                QCOMPARE(row.attribute("gwpSource"), QenFootprint::builtInSource());
            } else {
                // Ether's warming potential is unknown: dashes, never 0.
                QVERIFY(!row.hasAttribute("co2e"));
                QVERIFY(!row.hasAttribute("gwpSource"));
                expected << QString::fromUtf8("\u2013") << QString::fromUtf8("\u2013");
            }
            QCOMPARE(cells.mid(k * 6, 6), expected);
        }
        QVERIFY(htmlTexts(html, "//p[@class='caption']").contains("Gas used"));
        // One line names the source of the two agents' warming potentials.
        QCOMPARE(htmlTexts(html, "//p[contains(@class,'source')]"),
                 QStringList{QString("GWP100 of %1, %2: %3.")
                                 .arg(displayName("Sevoflurane"), displayName("Desflurane"),
                                      QenFootprint::builtInSource())});
    }

    void bothChoicesOffLeaveTheHeaderAndTables()
    {
        QenExportSettings s = settings();
        s.printGraph = false;
        s.printPrintout = false;
        const QString path = m_dir.filePath("short.html");
        QVERIFY(QenExport::writeHtml(m_doc.get(), path, false, s));
        const QByteArray html = fileContents(path);
        QVERIFY(!htmlTexts(html, "//h1").isEmpty());
        QVERIFY(htmlTexts(html, "//td").contains("Description:"));
        QVERIFY(htmlTexts(html, "//th").contains("Anesthetic(s)"));
        QVERIFY(!htmlTexts(html, "//th").contains("Circuit"));
        QVERIFY(htmlTexts(html, "//img[@alt='Graphs']").isEmpty());

        // The report laid out from it holds the same.
        QTextDocument report;
        QenReport::setReportFont(&report, QenReport::defaultLayout(QLocale("de_DE")));
        QVERIFY(QenReport::load(&report, m_doc.get(), s));
        QVERIFY(report.toPlainText().contains("Patient parameter"));
        QVERIFY(!report.toPlainText().contains("Cardiac Output"));
    }

    void refusedTargetsLeaveNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("goodStylesheet");
        QTest::newRow("xml into a missing folder") << "xml" << true;
        QTest::newRow("html into a missing folder") << "html" << true;
        QTest::newRow("html without its stylesheet") << "html-here" << false;
        QTest::newRow("pdf into a missing folder") << "pdf" << true;
    }
    void refusedTargetsLeaveNothing()
    {
        QFETCH(QString, kind);
        QFETCH(bool, goodStylesheet);
        QTemporaryDir dir;
        const QString folder = kind.endsWith("-here") ? dir.path() : dir.filePath("gone");
        const QString path = folder + "/report." + kind.section('-', 0, 0);
        QenExportSettings s = settings();
        if (!goodStylesheet)
            s.stylesheetPath = dir.filePath("missing.xsl");
        m_prompt.expect(QenPrompt::Ok);
        bool written = true;
        if (kind == "xml") {
            written = QenExport::writeXml(m_doc.get(), path, s);
        } else if (kind == "pdf") {
            QTextDocument report;
            report.setHtml("<p>x</p>");
            written = QenReport::writePdf(&report, QenReport::defaultLayout(QLocale("en_US")), path,
                                          m_doc.get());
        } else {
            written = QenExport::writeHtml(m_doc.get(), path, false, s);
        }
        QVERIFY(!written);
        QCOMPARE(m_prompt.records().size(), 1);
        QCOMPARE(m_prompt.records().first().icon, QenPrompt::Warning);
        QVERIFY2(m_prompt.records().first().text.contains(
                     QDir::toNativeSeparators(goodStylesheet ? folder : s.stylesheetPath)),
                 qPrintable(m_prompt.records().first().text));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
    }

    void pdfIsWritten()
    {
        QTextDocument report;
        const QPageLayout layout = QenReport::defaultLayout(QLocale("en_US"));
        QenReport::setReportFont(&report, layout);
        QVERIFY(QenReport::load(&report, m_doc.get(), settings()));
        const QString path = m_dir.filePath("report.pdf");
        QVERIFY(QenReport::writePdf(&report, layout, path, m_doc.get()));
        QVERIFY(fileContents(path).startsWith("%PDF"));
    }

    void stylesheetCannotReachOutside_data()
    {
        QTest::addColumn<QString>("sheet");
        const QString head = "<?xml version='1.0'?>\n";
        const QString open =
            "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
            "<xsl:template match='/'><html><body>";
        const QString close = "</body></html></xsl:template></xsl:stylesheet>";
        QTest::newRow("external entity")
            << head + "<!DOCTYPE xsl:stylesheet [<!ENTITY secret SYSTEM 'SECRET'>]>\n" + open +
                   "<p>&secret;</p>" + close;
        QTest::newRow("document()")
            << head + open + "<p><xsl:value-of select=\"document('SECRET')\"/></p>" + close;
        QTest::newRow("include")
            << head +
                   "<xsl:stylesheet version='1.0' "
                   "xmlns:xsl='http://www.w3.org/1999/XSL/Transform'><xsl:include href='SECRET'/>"
                   "<xsl:template match='/'><html/></xsl:template></xsl:stylesheet>";
    }
    void stylesheetCannotReachOutside()
    {
        QFETCH(QString, sheet);
        QTemporaryDir dir;
        const QString secret = dir.filePath("secret.xml");
        {
            QFile f(secret);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("<s>TOP-SECRET-CONTENT</s>");
        }
        const QString sheetPath = dir.filePath("evil.xsl");
        {
            QFile f(sheetPath);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(sheet.replace("SECRET", QUrl::fromLocalFile(secret).toString()).toUtf8());
        }
        QByteArray html;
        QString error;
        QenXslt::transform(sheetPath, "<quenor/>", &html, &error);
        QVERIFY2(!html.contains("TOP-SECRET"), html.constData());
    }

    void paperByLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("page");
        QTest::newRow("en_US") << "en_US" << int(QPageSize::Letter);
        QTest::newRow("fr_CA") << "fr_CA" << int(QPageSize::Letter);
        QTest::newRow("no country") << "C" << int(QPageSize::Letter);
        QTest::newRow("de_DE") << "de_DE" << int(QPageSize::A4);
        QTest::newRow("en_GB") << "en_GB" << int(QPageSize::A4);
        QTest::newRow("zh_CN") << "zh_CN" << int(QPageSize::A4);
    }
    void paperByLocale()
    {
        QFETCH(QString, locale);
        QFETCH(int, page);
        QCOMPARE(int(QenReport::pageSizeFor(QLocale(locale))), page);
        // Laid out at the screen's resolution: Letter 8.5 in wide, A4 210 mm,
        // less 15 mm margins each side.
        const double widthInch = (page == QPageSize::Letter ? 8.5 : 210 / 25.4) - 30 / 25.4;
        QTextDocument report;
        QenReport::setReportFont(&report, QenReport::defaultLayout(QLocale(locale)));
        const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
        // Page layouts count in whole points: paper and margins may each be
        // half a point off; Letter and A4 differ by some 20 pixels.
        QVERIFY2(qAbs(report.pageSize().width() - widthInch * dpi) < 3.0,
                 qPrintable(QString("%1 %2").arg(report.pageSize().width()).arg(widthInch * dpi)));
    }
};

QTEST_MAIN(TestQenExport)
#include "tst_qenexport.moc"
