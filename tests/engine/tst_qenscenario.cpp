#include "engine/qenscenario.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Scenario files: the runner's options, one to a line.
class TestQenScenario : public QObject
{
    Q_OBJECT

private:
    QString write(const QByteArray &text)
    {
        const QString path = m_dir.filePath(QStringLiteral("s%1.scenario").arg(++m_count));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return QString();
        return path;
    }

    QTemporaryDir m_dir;
    int m_count = 0;

private slots:
    void reads_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("options in their order, the description last")
            << QByteArray("# a lesson\n"
                          "title Two agents\n"
                          "agent Nitrous Oxide=70\n"
                          "\n"
                          "description First paragraph.\n"
                          "   at 10:del.2=0   \n"
                          "description Second paragraph.\n"
                          "bookmark 10\n")
            << "Two agents" << QStringList{"--agent",       "Nitrous Oxide=70",
                                           "--at",          "10:del.2=0",
                                           "--bookmark",    "10",
                                           "--description", "First paragraph.\nSecond paragraph."};
        QTest::newRow("UTF-8, Windows line ends, tabs, no description")
            << QByteArray("title \xe6\xb0\x9f\xe7\x83\xb7\r\nagent\t\xe6\xb0\x9f\xe7\x83\xb7=1\r\n")
            << QString::fromUtf8("\xe6\xb0\x9f\xe7\x83\xb7")
            << QStringList{"--agent", QString::fromUtf8("\xe6\xb0\x9f\xe7\x83\xb7=1")};
        QTest::newRow("only comments")
            << QByteArray("# nothing\n\n#title x\n") << QString() << QStringList();
    }
    void reads()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, title);
        QFETCH(QStringList, arguments);
        const QString path = write(text);
        QenScenario scenario;
        QString error;
        QVERIFY2(scenario.read(path, &error), qPrintable(error));
        QCOMPARE(scenario.title(), title);
        QCOMPARE(scenario.arguments(), arguments);
        QCOMPARE(QenScenario::titleOf(path), title);
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("an option with its dashes")
            << QByteArray("title x\nagent Halothane\n--fgf 3\n") << "line 3: '--fgf 3' is not";
        QTest::newRow("capitals") << QByteArray("Agent Halothane\n") << "line 1: 'Agent";
        QTest::newRow("no value") << QByteArray("title x\n\nagent\n") << "line 3: agent without";
        QTest::newRow("a scenario in a scenario")
            << QByteArray("title x\nscenario other.scenario\n") << "line 2: a scenario cannot";
    }
    void refused()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        const QString path = write(text);
        QenScenario scenario;
        QString error;
        QVERIFY(!scenario.read(path, &error));
        QVERIFY2(error.startsWith(path), qPrintable(error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QVERIFY(scenario.title().isEmpty());
        QVERIFY(scenario.arguments().isEmpty());
        QVERIFY(QenScenario::titleOf(path).isEmpty());
    }

    void missingFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("none.scenario"));
        QenScenario scenario;
        QString error;
        QVERIFY(!scenario.read(path, &error));
        QVERIFY(error.startsWith(QStringLiteral("cannot read ") + path));
        QVERIFY(QenScenario::titleOf(path).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestQenScenario)
#include "tst_qenscenario.moc"
