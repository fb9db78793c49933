#include "engine/qenfiles.h"
#include "testfiles.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <cmath>

// The batch runner, run as a program: its refusals and one scenario by hand.
class TestQuenorRun : public QObject
{
    Q_OBJECT

private:
    struct Result
    {
        int status = -1;
        QByteArray out;
        QByteArray err;
    };

    Result runner(const QStringList &arguments)
    {
        QProcess process;
        // The user's folder of the run is the test's own.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           m_dir.filePath(QStringLiteral("config")));
        process.setProcessEnvironment(environment);
        process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quenor-run"),
                      QStringList{QStringLiteral("--ini"), m_ini} + arguments);
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }

    static QList<QByteArrayList> rows(const QByteArray &csv)
    {
        QList<QByteArrayList> result;
        for (const QByteArray &line : csv.split('\n'))
            if (!line.isEmpty())
                result.append(line.split(','));
        return result;
    }

    static QByteArray text(float v) { return QByteArray::number(double(v), 'g', 9); }

    // A refused run: `status`, one line on stderr naming `message`, nothing on
    // stdout, and an existing --out file left as it was.
    void refused(const QStringList &arguments, int status, const QString &message)
    {
        QFile old(m_out);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("kept\n");
        old.close();

        const Result r = runner(arguments + QStringList{"--out", m_out});
        QCOMPARE(r.status, status);
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
        QVERIFY(r.out.isEmpty());
        QCOMPARE(fileContents(m_out), QByteArray("kept\n"));
    }

    QTemporaryDir m_dir;
    QString m_ini;
    QString m_out;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_ini = m_dir.filePath(QStringLiteral("quenor.ini"));
        QVERIFY(QFile::copy(QStringLiteral(":/safeCopy/quenor_en_US.ini"), m_ini));
        m_out = m_dir.filePath(QStringLiteral("out.csv"));
    }

    void badInput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown agent") << QStringList{"--agent", "Chloroform"} << "Chloroform";
        QTest::newRow("no agent") << QStringList{"--fgf", "4"} << "no --agent";
        QTest::newRow("malformed number")
            << QStringList{"--agent", "Halothane", "--fgf", "4,5"} << "'4,5' is not a number";
        QTest::newRow("DEL above the agent's maximum")
            << QStringList{"--agent", "Halothane=26"} << "out of range";
        QTest::newRow("negative VA")
            << QStringList{"--agent", "Halothane", "--va", "-1"} << "out of range";
        QTest::newRow("weight 0") << QStringList{"--agent", "Halothane", "--weight", "0"}
                                  << "out of range";
        QTest::newRow("unknown op")
            << QStringList{"--agent", "Halothane", "--at", "2:fgg=3"} << "unknown operation";
        QTest::newRow("agent number")
            << QStringList{"--agent", "Halothane", "--at", "2:del.2=1"} << "no agent 2";
        QTest::newRow("on or off")
            << QStringList{"--agent", "Halothane", "--at", "2:uptake=yes"} << "on or off";
        QTest::newRow("unknown circuit")
            << QStringList{"--agent", "Halothane", "--circuit", "X"} << "unknown circuit";
        QTest::newRow("unknown option")
            << QStringList{"--agent", "Halothane", "--speed", "2"} << "speed";
        QTest::newRow("no time") << QStringList{"--agent", "Halothane", "--at", "soon:flush"}
                                 << "not a time";
        QTest::newRow("change at the end")
            << QStringList{"--agent", "Halothane", "--minutes", "60", "--at", "60:fgf=10"}
            << "--at 60:fgf=10: at or after the end of the run (60 min)";
        QTest::newRow("change after the end")
            << QStringList{"--agent", "Halothane", "--minutes", "2.5",
                           "--at",    "1:flush",   "--at",      "2.51:va=3"}
            << "--at 2.51:va=3: at or after the end";
        QTest::newRow("two things to standard output")
            << QStringList{"--agent", "Halothane", "--minutes",   "1",
                           "--xml",   "-",         "--decrement", "-"}
            << "standard output";
        QTest::newRow("injection into an open circuit")
            << QStringList{"--agent", "Halothane", "--circuit", "Open", "--at", "1:inject"}
            << "cannot be injected";
        QTest::newRow("wake-up flow without a forecast")
            << QStringList{"--agent", "Halothane", "--wake-fgf", "10"} << "needs --decrement";
        QTest::newRow("negative wake-up flow")
            << QStringList{"--agent", "Halothane", "--decrement", "f.csv", "--wake-fgf", "-2"}
            << "out of range";
    }
    void badInput()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        refused(arguments, 2, message);
    }

    // A run saved at 20 minutes and continued from the file to 40 writes the
    // same samples as one run of 40 minutes, with a change on either side of
    // the save.
    void savedRunContinues()
    {
        const QString saved = m_dir.filePath(QStringLiteral("twenty.qen"));
        const QString continued = m_dir.filePath(QStringLiteral("continued.csv"));
        const QString straight = m_dir.filePath(QStringLiteral("straight.csv"));
        const QStringList setup{"--agent", "Halothane=1.5", "--at", "10:fgf=3"};

        Result r = runner(setup + QStringList{"--minutes", "20", "--save", saved});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.isEmpty()); // no CSV without --out when saving
        // Reading a simulation leaves the settings file as it was, comments
        // and order of its sections included: it is not a recent file of the program.
        const QByteArray settings = fileContents(m_ini);
        r = runner({"--open", saved, "--at", "30:va=6", "--minutes", "40", "--out", continued});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.isEmpty(), r.err.constData());
        QCOMPARE(fileContents(m_ini), settings);
        r = runner(setup + QStringList{"--at", "30:va=6", "--minutes", "40", "--out", straight});
        QCOMPARE(r.status, 0);

        const QByteArray expected = fileContents(straight);
        QCOMPARE(rows(expected).size(), 1 + 401);
        QCOMPARE(fileContents(continued), expected);
    }

    void openRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
        QTest::addColumn<QString>("message");
        QByteArray cut;
        {
            QDataStream out(&cut, QIODevice::WriteOnly);
            out << qint32(9933) << qint32(15) << qint32(1) << QStringLiteral("Halothane");
        }
        QTest::newRow("truncated") << cut << "corrupt";
        QTest::newRow("not a simulation") << QByteArray("time_ms,agent\n") << "corrupt";
        QTest::newRow("missing") << QByteArray() << "Cannot read file";
    }
    void openRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString path = m_dir.filePath(QStringLiteral("refused.qen"));
        QFile::remove(path);
        if (!bytes.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        refused({"--open", path}, 1, message);
    }

    // An open circuit breathes DEL: each row's CKT is the DEL of the step
    // before, and the delivered volume grows by 0.1 min x DEL x FGF / 100.
    void openCircuitByHand()
    {
        const Result r = runner({"--agent", "Halothane=2", "--circuit", "Open", "--fgf", "10",
                                 "--minutes", "1", "--at", "0.5:del=3", "--out", m_out});
        QCOMPARE(r.status, 0);
        QVERIFY(r.err.isEmpty());
        QFile file(m_out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArrayList> table = rows(file.readAll());
        QCOMPARE(table.size(), 12);
        QCOMPARE(table.last()[0], QByteArray("60000"));
        QCOMPARE(table[0].join(','), QByteArray("time_ms,agent,del,fgf,va,co,flags,ckt,alv,vrg,"
                                                "mus,fat,ven,uptake,delivered,co2e_kg"));
        double delivered = 0.0;
        for (int i = 0; i < 10; ++i) {
            const QByteArrayList &row = table[i + 1];
            QCOMPARE(row.size(), 16);
            const float del = i < 5 ? 2.0f : 3.0f;
            QCOMPARE(row[0].toInt(), i * 6000);
            QCOMPARE(row[1], QByteArray("Halothane"));
            QCOMPARE(row[2], text(del));
            QCOMPARE(row[3], QByteArray("10"));
            QCOMPARE(row[4], QByteArray("4"));
            QCOMPARE(row[6], QByteArray("3")); // return and uptake effect on, Open
            QCOMPARE(row[7].toFloat(), i == 0 ? 0.0f : (i <= 5 ? 2.0f : 3.0f));
            QVERIFY(std::fabs(row[14].toDouble() - delivered) < 1e-6);
            delivered += 0.1 * (i < 5 ? 2.0 : 3.0) * 10.0 / 100.0;
        }
        // Nine significant digits: each float reads back to itself.
        QCOMPARE(table[2][14], QByteArray("0.0199999996"));
        const double blood = 2.47 * 5.0;
        const double alv =
            4.0 * 2.0 / (blood + 4.0) * (1.0 - std::exp(double(float(-0.1 / 2.5)) * (blood + 4.0)));
        QVERIFY(std::fabs(table[2][8].toDouble() - alv) < 1e-6);
    }

    void weightSetsTheStep()
    {
        const Result r = runner({"--agent", "Nitrous Oxide", "--agent", "Halothane", "--weight",
                                 "35", "--minutes", "1", "--at", "0:inject.2"});
        QCOMPARE(r.status, 0);
        const QList<QByteArrayList> table = rows(r.out);
        // Steps of 5045 ms starting before 60 s, and the step that reaches it.
        QCOMPARE(table.size(), 1 + 13 * 2);
        QCOMPARE(table[1][1], QByteArray("Nitrous Oxide"));
        QCOMPARE(table[2][1], QByteArray("Halothane"));
        QCOMPARE(table[3][0], QByteArray("5045"));
        QCOMPARE(table.last()[0], QByteArray("60540"));
        QCOMPARE(table[1][2], QByteArray("70"));
        QCOMPARE(table[1][4], text(float(4.0 * std::sqrt(std::sqrt(0.125)))));
        QCOMPARE(table[2][6].toInt() & 0xf0, 0x10); // the dose, in the second agent's step
        QCOMPARE(table[1][6].toInt() & 0xf0, 0);
    }

    void reportsOfARun()
    {
        QTemporaryDir dir;
        const QString base = dir.filePath("iso");
        const Result r = runner({"--agent", "Isoflurane=1.5", "--circuit", "Open", "--minutes",
                                 "30", "--xml", base + ".xml", "--html", base + ".html", "--pdf",
                                 base + ".pdf", "--description", "Batch & run"});
        QVERIFY2(r.status == 0, r.err.constData());
        QVERIFY(r.out.isEmpty());
        QVERIFY(r.err.isEmpty());

        // Every step of the 30 minutes, from 0 to 30:00, with the description.
        QXmlStreamReader xml(fileContents(base + ".xml"));
        int results = 0;
        QString last, description;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("quenor"))
                description = xml.attributes().value("description").toString();
            if (xml.name() == QLatin1String("result")) {
                ++results;
                last = xml.attributes().value("time").toString();
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(results, 301);
        QCOMPARE(last, QString("00:30:00"));
        QCOMPARE(description, QString("Batch & run"));

        QVERIFY(fileContents(base + ".html").contains("Batch &amp; run"));
        QVERIFY(fileContents(base + "_img.png").startsWith("\x89PNG"));
        QVERIFY(fileContents(base + ".pdf").startsWith("%PDF"));
    }

    void reportToABadPath_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("xml") << "--xml";
        QTest::newRow("html") << "--html";
        QTest::newRow("pdf") << "--pdf";
    }
    void reportToABadPath()
    {
        QFETCH(QString, option);
        QTemporaryDir dir;
        const QString path = dir.filePath("missing/report.out");
        const Result r = runner({"--agent", "Halothane", "--minutes", "1", option, path});
        QCOMPARE(r.status, 2);
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY2(r.err.contains(option.toUtf8()), r.err.constData());
        QVERIFY(r.out.isEmpty());
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    // The CSV ends with the row at the end time, as the XML does; every row
    // before it is the one a shorter run writes, and a change just before
    // the end is made.
    void endRow()
    {
        const Result full =
            runner({"--agent", "Sevoflurane=2", "--minutes", "30", "--at", "29.95:fgf=1"});
        QCOMPARE(full.status, 0);
        const QList<QByteArrayList> table = rows(full.out);
        QCOMPARE(table.size(), 1 + 301);
        QCOMPARE(table.last()[0], QByteArray("1800000"));
        QCOMPARE(table.last()[3], QByteArray("1"));
        QCOMPARE(table[table.size() - 2][3], QByteArray("8"));
        const Result shorter = runner({"--agent", "Sevoflurane=2", "--minutes", "29.9"});
        QCOMPARE(shorter.status, 0);
        QVERIFY(full.out.startsWith(shorter.out));
    }

    // "-" is standard output for each file option, with the bytes the file
    // would get.
    void dashIsStandardOutput_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("out") << "--out";
        QTest::newRow("decrement") << "--decrement";
        QTest::newRow("xml") << "--xml";
    }
    void dashIsStandardOutput()
    {
        QFETCH(QString, option);
        QTemporaryDir dir;
        const QString file = dir.filePath("file");
        const QStringList run{"--agent", "Enflurane=1.2", "--minutes", "20"};
        // The CSV goes to a file when another option takes standard output.
        const QStringList csv{"--out", dir.filePath("side.csv")};
        const QStringList extra = option == "--out" ? QStringList() : csv;
        const Result toFile = runner(run + extra + QStringList{option, file});
        const Result toStdout = runner(run + extra + QStringList{option, "-"});
        QCOMPARE(toFile.status, 0);
        QVERIFY2(toStdout.status == 0, toStdout.err.constData());
        QVERIFY(toStdout.err.isEmpty());
        QVERIFY(toFile.out.isEmpty());
        QString expected = QString::fromUtf8(fileContents(file));
        QVERIFY(expected.size() > 50);
        QString got = QString::fromUtf8(toStdout.out);
        // Written a moment apart: only the time of writing may differ.
        const QRegularExpression stamp("datetime=\"[^\"]*\"");
        expected.replace(stamp, "");
        got.replace(stamp, "");
        QCOMPARE(got, expected);
        QVERIFY(!QFile::exists("-"));
        QVERIFY(!QFile::exists(QDir::current().filePath("-")));
    }

    // The footprint came as a last column: every earlier one is as the runner
    // wrote it before, byte for byte (two agents, an odd step, injection,
    // flush and changes).
    void earlierColumnsUnchanged()
    {
        const Result r = runner({"--agent", "Halothane=2", "--agent", "Nitrous Oxide=60",
                                 "--weight", "80", "--minutes", "4", "--at", "1:fgf=3", "--at",
                                 "2:inject", "--at", "2.5:flush", "--at", "3:del.2=0"});
        QCOMPARE(r.status, 0);
        QByteArray earlier;
        for (const QByteArray &line : r.out.split('\n'))
            if (!line.isEmpty())
                earlier += line.left(line.lastIndexOf(',')) + '\n';
        const QByteArray before = fileContents(QFINDTESTDATA("data/quenorrun_columns.csv"));
        QVERIFY(!before.isEmpty());
        QCOMPARE(earlier, before);
    }

    // co2e_kg: litres delivered / 24.055 x g/mol / 1000 x GWP100, 168.04 and
    // 2590 for desflurane, 197.38 and 45 for halothane; the forecast file has
    // a row per agent and per 10 minutes.
    void footprintAndForecast()
    {
        const QString forecast = m_dir.filePath(QStringLiteral("forecast.csv"));
        const Result r = runner({"--agent", "Desflurane=6", "--agent", "Halothane=0.8", "--fgf",
                                 "2", "--minutes", "30", "--decrement", forecast});
        QCOMPARE(r.status, 0);
        const QList<QByteArrayList> table = rows(r.out);
        QCOMPARE(table.size(), 1 + 301 * 2);
        QCOMPARE(table[0].last(), QByteArray("co2e_kg"));
        const QByteArrayList &des = table[table.size() - 2];
        QCOMPARE(des[1], QByteArray("Desflurane"));
        const double delivered = des[14].toDouble();
        QVERIFY(delivered > 3.0);
        QVERIFY(std::fabs(des[15].toDouble() - delivered / 24.055 * 168.04 / 1000.0 * 2590.0) <
                1e-4);
        QCOMPARE(table.last()[1], QByteArray("Halothane"));
        QCOMPARE(table.last().size(), 16);
        QVERIFY(std::fabs(table.last()[15].toDouble() -
                          table.last()[14].toDouble() / 24.055 * 197.38 / 1000.0 * 45.0) < 1e-6);

        const QList<QByteArrayList> times = rows(fileContents(forecast));
        QCOMPARE(times.size(), 1 + 3 * 2);
        QCOMPARE(times[0].join(','), QByteArray("agent,d_min,t50_min,t80_min,t90_min"));
        QCOMPARE(times[5][0], QByteArray("Desflurane"));
        QCOMPARE(times[5][1], QByteArray("30"));
        QCOMPARE(times[6][0], QByteArray("Halothane"));
        for (int i = 1; i < times.size(); ++i) {
            QCOMPARE(times[i].size(), 5);
            QVERIFY(times[i][2].toDouble() > 0.0);
            QVERIFY(times[i][2].toDouble() < times[i][3].toDouble());
            QVERIFY(times[i][3].toDouble() < times[i][4].toDouble());
        }

        // With the flow raised to 10 L/min at wake-up every time is shorter.
        const QString raised = m_dir.filePath(QStringLiteral("raised.csv"));
        QCOMPARE(runner({"--agent", "Desflurane=6", "--agent", "Halothane=0.8", "--fgf", "2",
                         "--minutes", "30", "--decrement", raised, "--wake-fgf", "10"})
                     .status,
                 0);
        const QList<QByteArrayList> faster = rows(fileContents(raised));
        QCOMPARE(faster.size(), times.size());
        for (int i = 1; i < times.size(); ++i) {
            QCOMPARE(faster[i].mid(0, 2), times[i].mid(0, 2));
            QVERIFY(faster[i][4].toDouble() < times[i][4].toDouble());
        }
    }
};

QTEST_GUILESS_MAIN(TestQuenorRun)
#include "tst_quenorrun.moc"
