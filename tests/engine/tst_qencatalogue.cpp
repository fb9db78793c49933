#include "engine/qencatalogue.h"
#include "engine/qenanesthetic.h"
#include "engine/qenfootprint.h"
#include "engine/qenini.h"
#include "engine/qenreadingorder.h"
#include "engine/qenvocabulary.h"
#include "scriptedprompt.h"

#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace {

// A usable agent section; rows of the tests change or remove keys of it.
const QStringList probeSection = {"Lambda=1.3", "VRG=2.1", "MUS=4.5", "FAT=70", "Max=25"};
const QString agentsLine = QStringLiteral("Agents=Before, Probe, After");

// Applies "Key=value" (set) and "-Key" (remove) edits to a section.
QStringList edited(QStringList lines, const QStringList &edits)
{
    for (const QString &edit : edits) {
        const bool removing = edit.startsWith(QLatin1Char('-'));
        const QString key = removing ? edit.mid(1) : edit.section(QLatin1Char('='), 0, 0);
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [&](const QString &line) {
                                       return line.section(QLatin1Char('='), 0, 0) == key;
                                   }),
                    lines.end());
        if (!removing)
            lines.append(edit);
    }
    return lines;
}

bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

class TestQenCatalogue : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    int m_files = 0;

    // A new file for every INI: the settings cache knows a file by its path,
    // size and time stamp, and a rewrite of equal size within the stamp's
    // resolution would read as the old content.
    QString freshPath() { return m_dir.filePath(QStringLiteral("quenor%1.ini").arg(++m_files)); }

    QenIni writeIni(const QString &text)
    {
        m_path = freshPath();
        QFile f(m_path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write the test INI");
        f.write(text.toUtf8());
        return QenIni(m_path);
    }
    QenIni writeProbe(const QStringList &edits)
    {
        QString text = QStringLiteral("[Agents]\n%1\n").arg(agentsLine);
        text += QStringLiteral("[Before]\n") + probeSection.join(QLatin1Char('\n')) + '\n';
        text += QStringLiteral("[Probe]\n") + edited(probeSection, edits).join(QLatin1Char('\n')) +
                '\n';
        text += QStringLiteral("[After]\n") + probeSection.join(QLatin1Char('\n')) + '\n';
        return writeIni(text);
    }
    QenIni builtInIni(const QString &locale)
    {
        m_path = freshPath();
        if (!QFile::copy(QStringLiteral(":/safeCopy/quenor_%1.ini").arg(locale), m_path))
            qFatal("no built-in INI");
        QFile::setPermissions(m_path, QFile::permissions(m_path) | QFile::WriteOwner);
        return QenIni(m_path);
    }

private slots:
    // Lists offer names in the order of the reader's language. The Chinese
    // names read (in pinyin) di fu wan, fu wan, qi fu wan, yang hua ya dan,
    // yi fu wan; by character code they would go qi, di, yi, fu, yang.
    void listsFollowTheReadersLanguage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("expected");
        const QString qi = QString::fromUtf8("七氟烷");
        const QString di = QString::fromUtf8("地氟烷");
        const QString yi = QString::fromUtf8("异氟烷");
        const QString fu = QString::fromUtf8("氟烷");
        const QString yang = QString::fromUtf8("氧化亚氮");
        QTest::newRow("Chinese") << "zh_CN" << QStringList{qi, di, yi, fu, yang}
                                 << QStringList{di, fu, qi, yang, yi};
        QTest::newRow("English, any case")
            << "en_US" << QStringList{"Xenon", "desflurane", "Ether", "Agent 10", "Agent 9"}
            << QStringList{"Agent 9", "Agent 10", "desflurane", "Ether", "Xenon"};
    }
    void listsFollowTheReadersLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, names);
        QFETCH(QStringList, expected);
        QCOMPARE(inReadingOrder(names, QLocale(locale)), expected);
    }

    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void badParameterIsReportedAndSkipped_data()
    {
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QString>("key");
        QTest::newRow("Format without %") << QStringList{"Format=4.1f"} << "Format";
        QTest::newRow("Format two digits") << QStringList{"Format=%4.10f"} << "Format";
        QTest::newRow("Format other letter") << QStringList{"Format=%4.1g"} << "Format";
        QTest::newRow("Format with a line break") << QStringList{"Format=%4.2f\\n"} << "Format";
        QTest::newRow("Lambda absent") << QStringList{"-Lambda"} << "Lambda";
        QTest::newRow("Lambda 0") << QStringList{"Lambda=0"} << "Lambda";
        QTest::newRow("Lambda above 100") << QStringList{"Lambda=100.5"} << "Lambda";
        QTest::newRow("Lambda text") << QStringList{"Lambda=abc"} << "Lambda";
        QTest::newRow("Max 0") << QStringList{"Max=0"} << "Max";
        QTest::newRow("Max above 2000") << QStringList{"Max=2001"} << "Max";
        QTest::newRow("High above whole Max") << QStringList{"Max=50.9", "High=51"} << "High";
        QTest::newRow("High 0") << QStringList{"High=0"} << "High";
        QTest::newRow("Default above Max") << QStringList{"Default=26"} << "Default";
        QTest::newRow("Default negative") << QStringList{"Default=-1"} << "Default";
        QTest::newRow("Ambient 0") << QStringList{"Ambient=0"} << "Ambient";
        QTest::newRow("Ambient above Max") << QStringList{"Ambient=26"} << "Ambient";
        QTest::newRow("MAC 0") << QStringList{"MAC=0"} << "Mac";
        QTest::newRow("Volatility 0") << QStringList{"Volatility=0"} << "Volatility";
        QTest::newRow("Volatility 1001") << QStringList{"Volatility=1001"} << "Volatility";
        QTest::newRow("Volatility past 16 bits") << QStringList{"Volatility=65537"} << "Volatility";
        QTest::newRow("DefUnitDose 51") << QStringList{"DefUnitDose=51"} << "DefUnitDose";
        QTest::newRow("BottleCost 0") << QStringList{"BottleCost=0"} << "BottleCost";
        QTest::newRow("BottleCost 10001") << QStringList{"BottleCost=10001"} << "BottleCost";
        QTest::newRow("BottleSize 0") << QStringList{"BottleSize=0"} << "BottleSize";
        QTest::newRow("BottleSize 5001") << QStringList{"BottleSize=5001"} << "BottleSize";
        QTest::newRow("Color unknown") << QStringList{"Color=mauve"} << "Color";
        QTest::newRow("Color part of a name") << QStringList{"Color=blu"} << "Color";
        QTest::newRow("VRG absent") << QStringList{"-VRG"} << "VRG";
        QTest::newRow("MUS above 500") << QStringList{"MUS=501"} << "MUS";
        QTest::newRow("FAT 0") << QStringList{"FAT=0"} << "FAT";
        QTest::newRow("CKT 0") << QStringList{"CKT=0"} << "CKT";
        QTest::newRow("ALV text") << QStringList{"ALV=x"} << "ALV";
        QTest::newRow("VEN negative") << QStringList{"VEN=-1"} << "VEN";
        QTest::newRow("Lambda nan") << QStringList{"Lambda=nan"} << "Lambda";
        QTest::newRow("Max inf") << QStringList{"Max=inf"} << "Max";
        QTest::newRow("Default nan") << QStringList{"Default=nan"} << "Default";
        QTest::newRow("MAC nan") << QStringList{"MAC=nan"} << "Mac";
        QTest::newRow("Ambient -inf") << QStringList{"Ambient=-inf"} << "Ambient";
        QTest::newRow("DefUnitDose nan") << QStringList{"DefUnitDose=nan"} << "DefUnitDose";
        QTest::newRow("BottleCost inf") << QStringList{"BottleCost=inf"} << "BottleCost";
        QTest::newRow("MUS nan") << QStringList{"MUS=nan"} << "MUS";
        QTest::newRow("VEN inf") << QStringList{"VEN=inf"} << "VEN";
        QTest::newRow("first failure wins")
            << QStringList{"Format=x", "-Lambda", "FAT=0"} << "Format";
        QTest::newRow("Lambda before tissues") << QStringList{"-Lambda", "-VRG"} << "Lambda";
    }
    void badParameterIsReportedAndSkipped()
    {
        QFETCH(QStringList, edits);
        QFETCH(QString, key);
        const QenIni ini = writeProbe(edits);
        ScriptedPrompt prompt;
        prompt.expect(QenPrompt::Ok);
        QenCatalogue catalogue;
        QCOMPARE(catalogue.load(ini, QenVocabulary::colorNames(), &prompt), 2);
        QCOMPARE(catalogue.at(0)->name, QStringLiteral("After"));
        QCOMPARE(catalogue.at(1)->name, QStringLiteral("Before"));
        QCOMPARE(prompt.records().size(), 1);
        const ScriptedPrompt::Record &r = prompt.records().first();
        QCOMPARE(r.icon, QenPrompt::Critical);
        QCOMPARE(r.title, QStringLiteral("Quenor®"));
        QCOMPARE(r.text, QStringLiteral("<p>Error reading '%1' parameter for anesthetic 'Probe'. "
                                        "Agent ignored.")
                             .arg(key));
    }

    // One agent named three times, in three spellings, among others: read once
    // (the first spelling), the other two named in one message.
    void repeatedAgentsAreReadOnce()
    {
        QString text = QStringLiteral("[Agents]\nAgents=Halothane, Before, HALOTHANE, After, "
                                      "halothane\n");
        for (const char *section : {"Halothane", "Before", "After"})
            text += QStringLiteral("[%1]\n").arg(QLatin1String(section)) +
                    probeSection.join(QLatin1Char('\n')) + '\n';
        const QenIni ini = writeIni(text);
        ScriptedPrompt prompt;
        prompt.expect(QenPrompt::Ok);
        QenCatalogue catalogue;
        QCOMPARE(catalogue.load(ini, QenVocabulary::colorNames(), &prompt), 3);
        QCOMPARE(catalogue.at(0)->name, QStringLiteral("After"));
        QCOMPARE(catalogue.at(1)->name, QStringLiteral("Before"));
        QCOMPARE(catalogue.at(2)->name, QStringLiteral("Halothane"));
        QCOMPARE(prompt.records().size(), 1);
        const ScriptedPrompt::Record &r = prompt.records().first();
        QCOMPARE(r.icon, QenPrompt::Warning);
        QCOMPARE(r.text, QStringLiteral("<p>[Agents] Agents in %1 names an agent more than once; "
                                        "only the first is used. Left out: HALOTHANE, halothane")
                             .arg(m_path));
    }

    void acceptedValues_data()
    {
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<int>("high");
        QTest::addColumn<float>("defaultDel");
        QTest::addColumn<float>("ven");
        QTest::addColumn<QString>("format");
        // Max=25 unless a row says otherwise.
        QTest::newRow("High from Max") << QStringList{"Max=50"} << 50 << 25.0f << 1.3f << "%4.2f";
        QTest::newRow("High from fractional Max")
            << QStringList{"Max=50.9"} << 50 << 25.45f << 1.3f << "%4.2f";
        QTest::newRow("High at whole Max")
            << QStringList{"Max=50.9", "High=50"} << 50 << 25.45f << 1.3f << "%4.2f";
        QTest::newRow("Default 0") << QStringList{"Default=0"} << 25 << 0.0f << 1.3f << "%4.2f";
        QTest::newRow("Default at Max")
            << QStringList{"Default=25"} << 25 << 25.0f << 1.3f << "%4.2f";
        QTest::newRow("Format %4.1f")
            << QStringList{"Format=%4.1f"} << 25 << 12.5f << 1.3f << "%4.1f";
        QTest::newRow("Format %5.0f")
            << QStringList{"Format=%5.0f"} << 25 << 12.5f << 1.3f << "%5.0f";
        QTest::newRow("VEN after Lambda") << QStringList{"VEN=2"} << 25 << 12.5f << 2.0f << "%4.2f";
    }
    void acceptedValues()
    {
        QFETCH(QStringList, edits);
        QFETCH(int, high);
        QFETCH(float, defaultDel);
        QFETCH(float, ven);
        QFETCH(QString, format);
        const QenIni ini = writeProbe(edits);
        QenAnesthetic agent;
        agent.name = QStringLiteral("Probe");
        QString failed;
        QVERIFY2(agent.readFromIni(ini, QenVocabulary::colorNames(), &failed), qPrintable(failed));
        QCOMPARE(int(agent.high), high);
        QCOMPARE(agent.defaultDel, defaultDel);
        QCOMPARE(agent.partition[VEN], ven);
        QCOMPARE(agent.lambdaBlood, 1.3f);
        QCOMPARE(agent.format, format);
        QCOMPARE(agent.displayName, QStringLiteral("Probe"));
        QCOMPARE(agent.partition[CKT], 1.0f);
        QCOMPARE(agent.partition[ALV], 1.0f);
    }

    void colorMatching_data()
    {
        // `names` is the list of colour names the program matches against.
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // empty: refused
        QTest::newRow("list spelling wins") << QStringList{"red", "darkblue"} << "darkBlue"
                                            << "darkblue";
        QTest::newRow("any case") << QStringList{"red", "darkBlue"} << "DARKBLUE"
                                  << "darkBlue";
        QTest::newRow("ambiguous") << QStringList{"darkblue", "DarkBlue"} << "darkBlue"
                                   << "";
        QTest::newRow("longer name only") << QStringList{"red", "darkRed"} << "Re"
                                          << "";
        QTest::newRow("unknown") << QStringList{"red", "blue"} << "mauve"
                                 << "";
        QTest::newRow("user's own colour") << QStringList{"red", "Gold"} << "gold"
                                           << "Gold";
    }
    void colorMatching()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const QenIni ini = writeProbe({QStringLiteral("Color=") + text});
        QenAnesthetic agent;
        agent.name = QStringLiteral("Probe");
        QString failed;
        const bool ok = agent.readFromIni(ini, names, &failed);
        QCOMPARE(ok, !expected.isEmpty());
        if (ok)
            QCOMPARE(agent.color, expected);
        else
            QCOMPARE(failed, QStringLiteral("Color"));
    }

    void defaultTableLoadsSorted_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("en_US") << "en_US";
        QTest::newRow("zh_CN") << "zh_CN";
    }
    void defaultTableLoadsSorted()
    {
        QFETCH(QString, locale);
        const QenIni ini = builtInIni(locale);
        ScriptedPrompt prompt; // any message fails the test
        QenCatalogue catalogue;
        QCOMPARE(catalogue.load(ini, QenVocabulary::colorNames(), &prompt), 9);
        for (int i = 1; i < catalogue.size(); ++i)
            QVERIFY(!(catalogue.at(i)->displayName < catalogue.at(i - 1)->displayName));
        if (locale == QLatin1String("en_US")) {
            QStringList names;
            for (int i = 0; i < catalogue.size(); ++i)
                names << catalogue.at(i)->displayName;
            QCOMPARE(names,
                     (QStringList{"Desflurane", "Enflurane", "Ether", "Halothane", "Isoflurane",
                                  "Nitrogen", "Nitrous Oxide", "Sevoflurane", "Xenon"}));
        }

        const QenAnesthetic *nitrogen = catalogue.at(catalogue.findByName("Nitrogen"));
        QCOMPARE(int(nitrogen->volatility), 0);
        QCOMPARE(nitrogen->defUnitDose, 0.0f);
        QCOMPARE(nitrogen->bottleCost, 0.0f);
        QCOMPARE(nitrogen->bottleSize, 0);
        QCOMPARE(nitrogen->liquid, false);
        QCOMPARE(nitrogen->ambient, 80.0f);
        QCOMPARE(nitrogen->format, QStringLiteral("%5.0f"));

        // Keys spelt "Bottlecost" and "Bottlesize" in the file.
        const QenAnesthetic *sevo = catalogue.at(catalogue.findByName("Sevoflurane"));
        QCOMPARE(sevo->bottleCost, 240.34f);
        QCOMPARE(sevo->bottleSize, 250);
        QVERIFY(sevo->liquid);

        // Section "[Nitrous%20Oxide]".
        const QenAnesthetic *n2o = catalogue.at(catalogue.findByName("Nitrous Oxide"));
        QCOMPARE(n2o->color, QStringLiteral("darkBlue"));
        QCOMPARE(n2o->partition[FAT], 1.08f);
        QCOMPARE(n2o->partition[VEN], 0.47f);
        QCOMPARE(int(n2o->high), 100);
    }

    void equalDisplayNamesKeepReadingOrder()
    {
        const QString section = probeSection.join(QLatin1Char('\n'));
        const QenIni ini = writeIni(QStringLiteral("[Agents]\nAgents=Zed, Mid, Alpha, Beta\n"
                                                   "[Zed]\nLocalName=Same\n%1\n"
                                                   "[Mid]\n%1\n"
                                                   "[Alpha]\nLocalName=Same\n%1\n"
                                                   "[Beta]\nLocalName=\n%1\n")
                                        .arg(section));
        QenCatalogue catalogue;
        QCOMPARE(catalogue.load(ini, {}, nullptr), 4);
        QStringList names;
        for (int i = 0; i < catalogue.size(); ++i)
            names << catalogue.at(i)->name;
        QCOMPARE(names, (QStringList{"Beta", "Mid", "Zed", "Alpha"}));
        QCOMPARE(catalogue.findByDisplayName("Same"), 2);
    }

    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("byDisplayName");
        QTest::addColumn<int>("byName");
        QTest::newRow("first") << "Desflurane" << 0 << 0;
        QTest::newRow("last") << "Xenon" << 8 << 8;
        QTest::newRow("with blank") << "Nitrous Oxide" << 6 << 6;
        QTest::newRow("case differs") << "xenon" << -1 << -1;
        QTest::newRow("before all") << "A" << -1 << -1;
        QTest::newRow("after all") << "Zz" << -1 << -1;
        QTest::newRow("empty") << "" << -1 << -1;
    }
    void find()
    {
        QFETCH(QString, text);
        QFETCH(int, byDisplayName);
        QFETCH(int, byName);
        const QenIni ini = builtInIni(QStringLiteral("en_US"));
        QenCatalogue catalogue;
        QCOMPARE(catalogue.load(ini, QenVocabulary::colorNames(), nullptr), 9);
        QCOMPARE(catalogue.findByDisplayName(text), byDisplayName);
        QCOMPARE(catalogue.findByName(text), byName);
    }

    void serializeRoundTrip()
    {
        // The INI gives the agent another colour than the one it had when saved.
        const QenIni ini = writeIni(QStringLiteral("[Probe]\nColor=RED\n[Colors]\nColors=red\n"));
        QenAnesthetic saved;
        saved.name = QStringLiteral("Probe");
        saved.displayName = QStringLiteral("Shown");
        saved.format = QStringLiteral("%4.1f");
        saved.color = QStringLiteral("blue");
        saved.high = 18;
        saved.lambdaBlood = 0.42f;
        saved.max = 50.0f;
        saved.defaultDel = 9.1f;
        saved.ambient = 0.3f;
        saved.mac = 6.0f;
        saved.volatility = 209;
        saved.defUnitDose = 1.0f;
        saved.bottleCost = 115.13f;
        saved.bottleSize = 240;
        const float partition[QenCompartments] = {1.0f, 1.1f, 0.54f, 0.97f, 13.0f, 0.42f};
        std::copy(std::begin(partition), std::end(partition), saved.partition);

        QByteArray bytes;
        {
            QDataStream out(&bytes, QIODevice::WriteOnly);
            out.setVersion(QDataStream::Qt_4_0);
            out.setFloatingPointPrecision(QDataStream::SinglePrecision);
            saved.serialize(out, true, 4);
        }
        const auto stringBytes = [](const QString &s) {
            return 4 + 2 * s.size();
        };
        // Strings, then 2 + 5 * 4 + 2 + 2 * 4 + 2 + 6 * 4 bytes of numbers.
        QCOMPARE(bytes.size(),
                 stringBytes("Probe") + stringBytes("Shown") + stringBytes("%4.1f") + 58);

        QDataStream in(bytes);
        in.setVersion(QDataStream::Qt_4_0);
        in.setFloatingPointPrecision(QDataStream::SinglePrecision);
        QenAnesthetic read;
        read.serialize(in, false, 4, &ini, QenVocabulary::colorNames());
        QCOMPARE(in.status(), QDataStream::Ok);
        QVERIFY(in.atEnd());
        QCOMPARE(read.name, saved.name);
        QCOMPARE(read.displayName, saved.displayName);
        QCOMPARE(read.format, saved.format);
        QCOMPARE(read.high, saved.high);
        QCOMPARE(read.volatility, saved.volatility);
        QCOMPARE(read.bottleSize, saved.bottleSize);
        for (auto [a, b] : {std::pair{read.lambdaBlood, saved.lambdaBlood},
                            {read.max, saved.max},
                            {read.defaultDel, saved.defaultDel},
                            {read.ambient, saved.ambient},
                            {read.mac, saved.mac},
                            {read.defUnitDose, saved.defUnitDose},
                            {read.bottleCost, saved.bottleCost}})
            QVERIFY(sameBits(a, b));
        for (int c = 0; c < QenCompartments; ++c)
            QVERIFY(sameBits(read.partition[c], saved.partition[c]));
        QVERIFY(read.liquid);
        QCOMPARE(read.color, QStringLiteral("red"));
    }

    void serializeWithoutDisplayName()
    {
        const QenIni ini = writeIni(QStringLiteral("[Old]\nColor=mauve\n"));
        QByteArray bytes;
        {
            QDataStream out(&bytes, QIODevice::WriteOnly);
            out.setVersion(QDataStream::Qt_4_0);
            out.setFloatingPointPrecision(QDataStream::SinglePrecision);
            out << QStringLiteral("Old") << QStringLiteral("%4.2f") << quint16(5);
            for (int i = 0; i < 5; ++i)
                out << float(i + 1);
            out << quint16(0) << 0.0f << 0.0f << quint16(0);
            for (int c = 0; c < QenCompartments; ++c)
                out << 2.0f;
        }
        QDataStream in(bytes);
        in.setVersion(QDataStream::Qt_4_0);
        in.setFloatingPointPrecision(QDataStream::SinglePrecision);
        QenAnesthetic read;
        read.serialize(in, false, 0, &ini, QenVocabulary::colorNames());
        QCOMPARE(in.status(), QDataStream::Ok);
        QVERIFY(in.atEnd());
        QCOMPARE(read.displayName, QStringLiteral("Old"));
        QCOMPARE(read.mac, 5.0f);
        QCOMPARE(read.liquid, false);
        QVERIFY(read.color.isEmpty()); // an unknown colour leaves it empty
    }

    // The report names where each warming potential comes from: the built-in
    // table's source while the settings hold its value, else the settings.
    void warmingPotentialSource_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<float>("change"); // added to the built-in value
        QTest::addColumn<bool>("known");
        QTest::addColumn<bool>("builtIn");
        QTest::newRow("built-in sevoflurane") << "Sevoflurane" << 0.0f << true << true;
        QTest::newRow("built-in nitrous oxide") << "Nitrous Oxide" << 0.0f << true << true;
        QTest::newRow("changed desflurane") << "Desflurane" << 1.0f << true << false;
        QTest::newRow("lowered isoflurane") << "Isoflurane" << -0.5f << true << false;
        QTest::newRow("an agent of the user's") << "Ourane" << 0.0f << true << false;
        QTest::newRow("built-in halothane") << "Halothane" << 0.0f << true << true;
        QTest::newRow("unknown for ether") << "Ether" << 0.0f << false << false;
    }
    void warmingPotentialSource()
    {
        QFETCH(QString, section);
        QFETCH(float, change);
        QFETCH(bool, known);
        QFETCH(bool, builtIn);
        // The built-in value, read from the built-in table's text.
        QFile file(":/safeCopy/quenor_en_US.ini");
        QVERIFY(file.open(QIODevice::ReadOnly));
        std::optional<float> value;
        bool inSection = false;
        for (const QByteArray &raw : file.readAll().split('\n')) {
            const QByteArray line = raw.trimmed();
            if (line.startsWith('['))
                inSection = line == "[" + section.toUtf8().replace(" ", "%20") + "]";
            else if (inSection && line.startsWith("GWP100="))
                value = line.mid(7).toFloat();
        }
        if (section == "Ourane")
            value = 12.0f;
        QCOMPARE(bool(value), known);
        QCOMPARE(QenFootprint::builtInGwp100(section).has_value(), known && section != "Ourane");

        QenAnesthetic agent;
        agent.name = section;
        if (value)
            agent.gwp100 = *value + change;
        const QString source = QenFootprint::sourceOf(&agent);
        if (!known)
            QCOMPARE(source, QString());
        else if (builtIn)
            QCOMPARE(source, QString("IPCC Sixth Assessment Report (2021), Working Group I, Table "
                                     "7.SM.7, 100-year"));
        else
            QCOMPARE(source, QString("the agent table in the settings"));
    }
};

QTEST_GUILESS_MAIN(TestQenCatalogue)
#include "tst_qencatalogue.moc"
