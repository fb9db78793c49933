#include "app/options/qencdefaultswidget.h"
#include "app/options/qenchoicesound.h"
#include "app/options/qenoptionsstore.h"
#include "document/qendochost.h"
#include "engine/qencatalogue.h"
#include "engine/qendefaults.h"
#include "engine/qenini.h"
#include "engine/qenvocabulary.h"
#include "scriptedprompt.h"
#include "testfiles.h"

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTableWidget>
#include <QGlyphRun>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {

// The glyphs `text` is drawn with in `font`, after the toolkit's fallback to
// other fonts; glyph 0 is the empty box of a character no font has.
QList<quint32> glyphsOf(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QList<quint32> glyphs;
    for (const QGlyphRun &run : layout.glyphRuns())
        glyphs += run.glyphIndexes();
    return glyphs;
}

// The program's Chinese catalogue, installed for as long as it lives (also
// when a check fails half-way).
struct Chinese
{
    QTranslator translator;
    const bool loaded = translator.load("quenor_zh_CN", QStringLiteral(QUENOR_LANGUAGE_DIR));
    Chinese() { QCoreApplication::installTranslator(&translator); }
    ~Chinese() { QCoreApplication::removeTranslator(&translator); }
};

} // namespace

// Chinese as a Chinese class sees it: every text of the program translated,
// and a font that has the characters.
class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    // The scanner run over today's sources finds nothing the catalogue lacks
    // and nothing it holds in vain. When this fails after new texts landed:
    //   cmake --build build/debug --target quenor_lupdate
    // then translate the entries marked unfinished in language/quenor_zh_CN.ts
    // (linguist, or by hand: fill <translation> and drop type="unfinished").
    void catalogueCoversEverySource()
    {
        QTemporaryDir dir;
        const QString ts = dir.filePath("quenor_zh_CN.ts");
        QVERIFY(QFile::copy(QStringLiteral(QUENOR_SOURCE_DIR "/language/quenor_zh_CN.ts"), ts));
        QFile::setPermissions(ts, QFile::ReadOwner | QFile::WriteOwner);
        QProcess lupdate;
        lupdate.start(QStringLiteral(QUENOR_LUPDATE),
                      {"-locations", "none", "@" QUENOR_TR_SOURCE_LIST, "-ts", ts});
        QVERIFY(lupdate.waitForFinished(120000));
        QVERIFY2(lupdate.exitCode() == 0, lupdate.readAllStandardError().constData());

        QStringList untranslated;
        QStringList stale;
        int messages = 0;
        QString context;
        QString source;
        QXmlStreamReader xml(fileContents(ts));
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                ++messages;
                const QString type = xml.attributes().value("type").toString();
                const QString entry = context + ": " + source;
                if (type == QLatin1String("unfinished"))
                    untranslated << entry;
                else if (type == QLatin1String("vanished") || type == QLatin1String("obsolete"))
                    stale << entry;
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(messages > 200);
        QVERIFY2(untranslated.isEmpty(),
                 qPrintable(QStringLiteral("%1 texts have no Chinese yet (build quenor_lupdate "
                                           "and translate them):\n  ")
                                .arg(untranslated.size()) +
                            untranslated.join("\n  ")));
        QVERIFY2(stale.isEmpty(),
                 qPrintable(QStringLiteral("%1 translations are of texts the program no longer "
                                           "has (build quenor_lupdate):\n  ")
                                .arg(stale.size()) +
                            stale.join("\n  ")));
    }

    // The action table's texts must be spelled so that the scanner sees them.
    void noHiddenActionTexts()
    {
        const QString table =
            QString::fromUtf8(fileContents(QUENOR_SOURCE_DIR "/app/qenactions.cpp"));
        QVERIFY(!table.isEmpty());
        const QRegularExpression hidden(QStringLiteral("\\bT\\(\"([^\"]*)\"\\)"));
        QStringList found;
        for (auto it = hidden.globalMatch(table); it.hasNext();)
            found << it.next().captured(1);
        QVERIFY2(found.isEmpty(), qPrintable("write QT_TRANSLATE_NOOP(\"QenMainWindow\", ...) "
                                             "instead of T(...) for: " +
                                             found.join(", ")));
    }

    // The compiled catalogue lies where the program looks and reads Chinese.
    void compiledCatalogue()
    {
        QTranslator translator;
        QVERIFY(translator.load("quenor_zh_CN", QStringLiteral(QUENOR_LANGUAGE_DIR)));
        QCOMPARE(translator.translate("QenMainWindow", "&File"), QStringLiteral("文件(&F)"));
        QCOMPARE(translator.translate("QenVocabulary", "Semi-closed"), QStringLiteral("半紧闭"));
        QTranslator qt;
        QVERIFY(qt.load("qt_zh_CN", QStringLiteral(QUENOR_LANGUAGE_DIR)));
    }

    // Colours travel in files by their toolkit names: under a translation a
    // stored name stays drawable, and a translated one is mapped back.
    void storedColorsStayDrawable_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("drawn");
        QTest::newRow("toolkit name") << "darkBlue"
                                      << "darkBlue";
        QTest::newRow("translated name") << QStringLiteral("红色") << "red";
        QTest::newRow("not in the table") << "magenta"
                                          << "magenta";
    }
    void storedColorsStayDrawable()
    {
        QFETCH(QString, stored);
        QFETCH(QString, drawn);
        QString color;
        {
            const Chinese chinese;
            QVERIFY(chinese.loaded);
            QTemporaryDir dir;
            ScriptedPrompt prompt;
            const QenDocHost host(writeDefaultIni(dir.path()), &prompt);
            color = host.translateColor(stored);
        }
        QCOMPARE(color, drawn);
        QVERIFY(QColor::isValidColorName(color));
    }

    // The sound choice shows "<no sound>" in Chinese but stores it as the
    // program reads it in any language (otherwise the English program takes
    // the Chinese text for a missing file and beeps).
    void noSoundIsStoredUntranslated()
    {
        const Chinese chinese;
        QVERIFY(chinese.loaded);
        QTemporaryDir dir;
        ScriptedPrompt prompt;
        const QenIni ini(writeDefaultIni(dir.path()));
        ini.setValue("Signals", "System_2", "<no sound>");
        {
            QenChoiceSound choice(ini, &prompt);
            choice.prepare();
            const QString shown = choice.lineEdit(2)->text();
            QCOMPARE(shown, QString::fromUtf8("<无声音>"));
            choice.lineEdit(3)->clear();
            choice.edited();
            QCOMPARE(choice.lineEdit(3)->text(), shown);
            choice.accept();
        }
        for (const char *key : {"System_2", "System_3"})
            QCOMPARE(ini.value("Signals", key, QString()).toString(), QString("<no sound>"));
    }

    // The options' agent table shows colours in Chinese and writes the
    // toolkit's names, which the painter and every language read.
    void agentTableColorsReadChinese()
    {
        const Chinese chinese;
        QVERIFY(chinese.loaded);
        QTemporaryDir dir;
        ScriptedPrompt prompt;
        const QenIni ini(writeDefaultIni(dir.path()));
        QenCatalogue catalogue;
        QVERIFY(catalogue.load(ini, QenVocabulary::colorNames(), &prompt) > 0);
        const int halothane = catalogue.findByName("Halothane");
        QVERIFY(halothane >= 0);
        QenOptionsStore store(ini, QenDefaults::load(ini));
        {
            QenCDefaultsWidget page;
            page.fill(catalogue, {"red", "purple"});
            QTableWidgetItem *cell = page.table()->item(halothane, QenCDefaultsWidget::Color);
            QCOMPARE(cell->text(), QString::fromUtf8("红色"));
            cell->setText(QString::fromUtf8("紫色"));
            page.commit(catalogue, store);
        }
        QCOMPARE(ini.value("Halothane", "Color", QString()).toString(), QString("purple"));
    }

    // A Chinese agent name of the delivered table is drawn with real glyphs,
    // not the empty boxes of a machine without a Chinese font. The private-use
    // character proves the check can see a box.
    void chineseGlyphs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("drawable");
        const QString ini = QString::fromUtf8(fileContents(":/safeCopy/quenor_zh_CN.ini"));
        const QRegularExpressionMatch name =
            QRegularExpression(QStringLiteral("(?mi)^LocalName=(.*\\p{Han}.*)$")).match(ini);
        QVERIFY(name.hasMatch());
        QTest::newRow("agent name") << name.captured(1).trimmed() << true;
        QTest::newRow("menu") << QStringLiteral("文件 编辑 麻醉 窗口 帮助") << true;
        QTest::newRow("no font has it") << QString(QChar(0xE000)) << false;
    }
    void chineseGlyphs()
    {
        QFETCH(QString, text);
        QFETCH(bool, drawable);
        const QList<quint32> glyphs = glyphsOf(text, QApplication::font());
        QVERIFY(!glyphs.isEmpty());
        QCOMPARE(!glyphs.contains(0u), drawable);
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
