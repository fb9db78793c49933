#include "document/qendoc.h"
#include "document/qendochost.h"
#include "engine/qenvocabulary.h"
#include "recordingdochost.h"
#include "scriptedprompt.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTest>

class TestQenDocHost : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    ScriptedPrompt m_prompt;

    QString iniWithColors(const QString &line)
    {
        return writeIniText(m_dir.path(), QStringLiteral("[Colors]\n") + line + '\n');
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(safecopy);
        QVERIFY(m_dir.isValid());
    }

    void colorList_data()
    {
        const QStringList delivered{"red",    "blue",  "darkBlue", "green",  "orange",
                                    "purple", "black", "white",    "yellow", "cyan"};
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("delivered list, table order")
            << "Colors=red, blue, green, orange, purple, black, white, yellow, cyan, darkBlue"
            << delivered;
        QTest::newRow("any case, unknown dropped")
            << "Colors=DARKRED, Blue, mauve" << QStringList{"darkRed", "blue"};
        QTest::newRow("blanks inside quotes")
            << "Colors=\" red\", \"green \"" << QStringList{"red", "green"};
        QTest::newRow("key in other case") << "colors=cyan, red" << QStringList{"red", "cyan"};
        // Nothing drawable listed: the delivered colours, never none.
        QTest::newRow("empty") << "Colors=" << delivered;
        QTest::newRow("none known") << "Colors=mauve" << delivered;
        QTest::newRow("missing") << "" << delivered;
    }
    void colorList()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, expected);
        QCOMPARE(QenDocHost(iniWithColors(line), &m_prompt).colorList(), expected);
    }

    void colorNames_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("expected");
        const QStringList table = QenVocabulary::colorNames();
        QTest::newRow("list as written, then the table")
            << "Colors=darkblue, Gold"
            << QStringList{"darkblue", "Gold",   "red",   "darkRed", "blue",   "green", "darkGreen",
                           "orange",   "purple", "black", "white",   "yellow", "cyan"};
        QTest::newRow("blanks dropped") << "Colors=\" red \", \"\"" << table;
        QTest::newRow("no list") << "" << table;
    }
    void colorNames()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, expected);
        QCOMPARE(QenDocHost(iniWithColors(line), &m_prompt).colorNames(), expected);
    }

    void ensureColorListKeepsTheUsersOwn_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("empty is written") << "Colors=" << QenVocabulary::defaultColorList();
        QTest::newRow("blank entries only") << "Colors=\" \"" << QenVocabulary::defaultColorList();
        QTest::newRow("own list kept") << "colors=red, cyan" << QStringList{"red", "cyan"};
    }
    void ensureColorListKeepsTheUsersOwn()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, expected);
        const QenIni ini(iniWithColors(line));
        QenDocHost::ensureColorList(ini);
        QCOMPARE(ini.value("Colors", "Colors").toStringList(), expected);
    }

    void pickColor_data()
    {
        QTest::addColumn<QStringList>("ini");
        QTest::addColumn<QList<QStringList>>("others");
        QTest::addColumn<QStringList>("own");
        QTest::addColumn<QString>("expected");
        // The colours to pick from are red, blue, green.
        QTest::newRow("unused anywhere")
            << QStringList{"red"} << QList<QStringList>{{"blue"}} << QStringList{} << "green";
        QTest::newRow("used only elsewhere")
            << QStringList{"red"} << QList<QStringList>{{"blue", "green"}} << QStringList{}
            << "blue";
        QTest::newRow("elsewhere, not here")
            << QStringList{"red"} << QList<QStringList>{{"blue"}, {"green"}} << QStringList{"blue"}
            << "green";
        QTest::newRow("least used")
            << QStringList{"red", "blue", "green"} << QList<QStringList>{{"red"}, {"red", "green"}}
            << QStringList{} << "blue";
        QTest::newRow("least used, tie takes first")
            << QStringList{"red", "blue"} << QList<QStringList>{} << QStringList{"green", "blue"}
            << "red";
        QTest::newRow("case ignored")
            << QStringList{"Red"} << QList<QStringList>{} << QStringList{"BLUE"} << "green";
    }
    void pickColor()
    {
        QFETCH(QStringList, ini);
        QFETCH(QList<QStringList>, others);
        QFETCH(QStringList, own);
        QFETCH(QString, expected);
        QCOMPARE(QenDocHost::pickColor({"red", "blue", "green"}, ini, others, own), expected);
        QCOMPARE(QenDocHost::pickColor({}, ini, others, own), QString());
    }

    // What the program runs: the agent table's colours, the other open
    // documents' and the document's own all steer the choice.
    void newAgentAvoidsColorsInUse()
    {
        const QString path = writeDefaultIni(m_dir.path());
        // None of these is an agent table colour.
        QenIni(path).setValue("Colors", "Colors", QStringList{"green", "darkRed", "darkGreen"});
        RecordingDocHost host(path, &m_prompt);
        QenDoc first(&host);
        QenDoc second(&host);
        host.docs = {&first, &second};
        QVERIFY(first.newDocument());
        QVERIFY(second.newDocument());
        // Offered in the table's order: darkRed, green, darkGreen.
        QCOMPARE(host.pickColor(&second), QStringLiteral("darkRed"));
        first.setAgentColor(0, QStringLiteral("darkRed"));
        QCOMPARE(host.pickColor(&second), QStringLiteral("green"));
        second.setAgentColor(0, QStringLiteral("green"));
        QCOMPARE(host.pickColor(&second), QStringLiteral("darkGreen"));
        // A colour given up again is free again.
        second.setAgentColor(0, QStringLiteral("darkGreen"));
        QCOMPARE(host.pickColor(&second), QStringLiteral("green"));
    }

    void reloadDefaultsReadsTheIniAgain()
    {
        const QString path = writeDefaultIni(m_dir.path());
        QenDocHost host(path, &m_prompt);
        const int before = host.defaults().speed;
        QenIni(path).setValue("Defaults", "Speed", before == 60 ? "5" : "60");
        QCOMPARE(host.defaults().speed, before);
        host.reloadDefaults();
        QCOMPARE(host.defaults().speed, before == 60 ? 5 : 60);
    }
};

QTEST_GUILESS_MAIN(TestQenDocHost)
#include "tst_qendochost.moc"
