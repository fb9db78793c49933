#include "testfiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

// The batch runner with scenario files, bookmarks and the program's language.
class TestQuenorRunScenario : public QObject
{
    Q_OBJECT

private:
    struct Result
    {
        int status = -1;
        QByteArray out;
        QByteArray err;
    };

    Result runner(const QStringList &arguments, const QString &locale = QStringLiteral("C"))
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LANG", "LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            environment.insert(QLatin1String(name), locale);
        process.setProcessEnvironment(environment);
        process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quenor-run"),
                      arguments);
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }

    QString write(const QString &name, const QByteArray &text)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return QString();
        return path;
    }

    // The built-in agent table of `locale`, with [Application] Locale
    // removed when `keepLocale` is false.
    QString ini(const QString &locale, bool keepLocale)
    {
        QByteArray text = fileContents(QStringLiteral(":/safeCopy/quenor_%1.ini").arg(locale));
        if (!keepLocale)
            text.replace("Locale=", "Unused=");
        return write(QStringLiteral("%1-%2.ini").arg(locale).arg(keepLocale), text);
    }

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // A scenario gives the same run as its options on the command line, with
    // the agents named in the table's language and the circuit in English.
    void scenarioIsItsOptions()
    {
        const QString table = ini(QStringLiteral("zh_CN"), true);
        const QString scenario =
            write("run.scenario", "title A run\n"
                                  "agent \xe6\xb0\x9f\xe7\x83\xb7=1.5\n" // halothane's local name
                                  "agent Nitrous Oxide=60\n"
                                  "circuit Open\n"
                                  "minutes 3\n"
                                  "at 1.5:fgf=3\n"
                                  "description Not part of the samples.\n");
        const Result fromFile = runner({"--ini", table, "--scenario", scenario, "--at", "2:flush"});
        QVERIFY2(fromFile.status == 0, fromFile.err.constData());
        const Result fromOptions = runner(
            {"--ini", table, "--agent", "Halothane=1.5", "--agent", "Nitrous Oxide=60", "--circuit",
             QString::fromUtf8("开放"), "--minutes", "3", "--at", "1.5:fgf=3", "--at", "2:flush"});
        QVERIFY2(fromOptions.status == 0, fromOptions.err.constData());
        // Thirty steps and the row at the end time, for each agent.
        QCOMPARE(fromFile.out.count('\n'), 1 + 31 * 2);
        QVERIFY(fromFile.out.contains("\n0,Halothane,1.5,"));
        QCOMPARE(fromFile.out, fromOptions.out);
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("scenario");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("bookmark past the end")
            << QByteArray("agent Halothane\nminutes 10\nbookmark 10.1\n") << QStringList()
            << "--bookmark 10.1: not a time within the run (0 to 10 minutes)";
        QTest::newRow("bookmark not a number")
            << QByteArray("agent Halothane\nminutes 10\n") << QStringList{"--bookmark", "soon"}
            << "--bookmark soon: not a time";
        QByteArray many = "agent Halothane\nminutes 30\n";
        for (int minute = 1; minute <= 21; ++minute)
            many += "bookmark " + QByteArray::number(minute) + "\n";
        QTest::newRow("21 bookmarks") << many << QStringList() << "more than 20 bookmarks";
        QTest::newRow("a line that is not an option")
            << QByteArray("agent Halothane\nfgf=3\n") << QStringList() << "line 2: 'fgf=3'";
        QTest::newRow("a scenario option twice")
            << QByteArray("agent Halothane\nfgf 3\n") << QStringList{"--fgf", "4"}
            << "--fgf given more than once";
    }
    void refused()
    {
        QFETCH(QByteArray, scenario);
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const QString path = write("refused.scenario", scenario);
        const QString saved = m_dir.filePath("refused.qen");
        const Result r =
            runner(QStringList{"--ini", ini("en_US", true), "--scenario", path, "--save", saved} +
                   arguments);
        QCOMPARE(r.status, 2);
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
        QVERIFY(!QFile::exists(saved));
    }

    // Twenty bookmarks, the most a simulation keeps, at whole seconds up to
    // the very end, are accepted.
    void bookmarksAtTheLimit()
    {
        QStringList arguments{
            "--ini",  ini("en_US", true),          "--agent", "Halothane", "--minutes", "20",
            "--save", m_dir.filePath("twenty.qen")};
        for (int minute = 1; minute <= 20; ++minute)
            arguments << "--bookmark" << QString::number(minute - 0.25);
        arguments.last() = QStringLiteral("20");
        const Result r = runner(arguments);
        QVERIFY2(r.status == 0, r.err.constData());
        QVERIFY(r.err.isEmpty());
    }

    // The reports speak the program's language: the one the agent table
    // names, else the system's, as the program chooses it.
    void reportLanguage_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("keepLocale");
        QTest::addColumn<QString>("systemLocale");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("notWord");
        const QString chinese = QString::fromUtf8("千克");
        QTest::newRow("table says zh_CN") << "zh_CN" << true << "C" << chinese << "kilograms";
        QTest::newRow("system is zh_CN")
            << "en_US" << false << "zh_CN.UTF-8" << chinese << "kilograms";
        QTest::newRow("table says en_US, system zh_CN") << "en_US" << true << "zh_CN.UTF-8"
                                                        << "kilograms" << chinese;
    }
    void reportLanguage()
    {
        QFETCH(QString, table);
        QFETCH(bool, keepLocale);
        QFETCH(QString, systemLocale);
        QFETCH(QString, word);
        QFETCH(QString, notWord);
        QTemporaryDir dir;
        const QString xml = dir.filePath("report.xml");
        const Result r = runner({"--ini", ini(table, keepLocale), "--agent", "Halothane",
                                 "--circuit", "Semi-closed", "--minutes", "1", "--xml", xml},
                                systemLocale);
        QVERIFY2(r.status == 0, r.err.constData());
        const QString text = QString::fromUtf8(fileContents(xml));
        QVERIFY2(text.contains(QStringLiteral("70 ") + word) || text.contains(word),
                 qPrintable(text.left(2000)));
        QVERIFY(!text.contains(notWord));
    }
};

QTEST_GUILESS_MAIN(TestQuenorRunScenario)
#include "tst_quenorrunscenario.moc"
