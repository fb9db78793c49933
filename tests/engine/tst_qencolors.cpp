#include "engine/qencolors.h"
#include "engine/qenini.h"
#include "engine/qenvocabulary.h"
#include "testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestQenColors : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QenIni iniWith(const QString &text) { return QenIni(writeIniText(m_dir.path(), text)); }

private slots:
    void colorList_data()
    {
        QTest::addColumn<QString>("colours");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("delivered list, table order")
            << "red, blue, green, orange, purple, black, white, yellow, cyan, darkBlue"
            << QStringList{"red",    "blue",  "darkBlue", "green",  "orange",
                           "purple", "black", "white",    "yellow", "cyan"};
        QTest::newRow("any case, unknown dropped")
            << "DARKRED, Blue, mauve" << QStringList{"darkRed", "blue"};
        QTest::newRow("none known") << "mauve" << QStringList{};
    }
    void colorList()
    {
        QFETCH(QString, colours);
        QFETCH(QStringList, expected);
        QCOMPARE(QenColors::colorList(iniWith("[Colors]\nColors=" + colours + '\n')), expected);
    }

    void emptyListIsWritten()
    {
        const QenIni ini = iniWith("[Colors]\nColors=\n");
        QenColors::ensureColorList(ini);
        QCOMPARE(ini.value("Colors", "Colors").toStringList(), QenVocabulary::defaultColourList());
        QCOMPARE(QenColors::colorList(ini).size(), 10);

        // A list of the user's own is left alone.
        const QenIni own = iniWith("[colors]\ncolors=red, cyan\n");
        QenColors::ensureColorList(own);
        QCOMPARE(QenColors::colorList(own), (QStringList{"red", "cyan"}));
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
        QCOMPARE(QenColors::pickColor({"red", "blue", "green"}, ini, others, own), expected);
    }

    void pickColorWithoutColours()
    {
        QCOMPARE(QenColors::pickColor({}, {"red"}, {}, {}), QString());
    }
};

QTEST_GUILESS_MAIN(TestQenColors)
#include "tst_qencolors.moc"
