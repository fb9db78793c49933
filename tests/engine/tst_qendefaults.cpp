#include "engine/qendefaults.h"
#include "engine/qenini.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTest>

class TestQenDefaults : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QenDefaults load(const QString &text)
    {
        return QenDefaults::load(QenIni(writeIniText(m_dir.path(), text)));
    }

private slots:
    void speed_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("speed");
        QTest::newRow("AFAP") << "AFAP" << 1000;
        QTest::newRow("afap") << "afap" << 20;
        QTest::newRow("30") << "30" << 20;
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("120") << "120" << 120;
        QTest::newRow("1000") << "1000" << 1000;
        QTest::newRow("0") << "0" << 20;
        QTest::newRow("text") << "fast" << 20;
        QTest::newRow("absent") << QString() << 20;
    }
    void speed()
    {
        QFETCH(QString, value);
        QFETCH(int, speed);
        const QString line = value.isNull() ? QString() : QStringLiteral("Speed=") + value;
        QCOMPARE(load(QStringLiteral("[Defaults]\n%1\n").arg(line)).speed, speed);
    }

    void circuit_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("circuit");
        QTest::newRow("closed") << "closed"
                                << "Closed";
        QTest::newRow("Semi-closed") << "Semi-closed"
                                     << "Semi-closed";
        QTest::newRow("s") << "s"
                           << "Semi-closed";
        QTest::newRow("IDEAL") << "IDEAL"
                               << "Ideal";
        QTest::newRow("Open") << "Open"
                              << "Open";
        QTest::newRow("xyz") << "xyz"
                             << "Open";
        QTest::newRow("absent") << QString() << "Open";
    }
    void circuit()
    {
        QFETCH(QString, value);
        QFETCH(QString, circuit);
        const QString line = value.isNull() ? QString() : QStringLiteral("Circuit=") + value;
        QCOMPARE(load(QStringLiteral("[Defaults]\n%1\n").arg(line)).circuit, circuit);
    }

    void flowsAndWeight_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<float>("fgf");
        QTest::addColumn<float>("va");
        QTest::addColumn<float>("co");
        QTest::addColumn<float>("weight");
        QTest::newRow("absent") << "" << 8.0f << 4.0f << 5.0f << 70.0f;
        QTest::newRow("in range") << "FGF=0\nVA=500\nCO=6.5\nWeight=0.05" << 0.0f << 500.0f << 6.5f
                                  << 0.05f;
        QTest::newRow("out of range")
            << "FGF=-0.1\nVA=500.1\nCO=-1\nWeight=1500.5" << 8.0f << 4.0f << 5.0f << 70.0f;
        QTest::newRow("weight too small") << "Weight=0.04" << 8.0f << 4.0f << 5.0f << 70.0f;
        QTest::newRow("weight at limit") << "Weight=1500" << 8.0f << 4.0f << 5.0f << 1500.0f;
        QTest::newRow("not finite")
            << "FGF=nan\nVA=inf\nCO=-inf\nWeight=NaN" << 8.0f << 4.0f << 5.0f << 70.0f;
        QTest::newRow("not numbers, others kept")
            << "FGF=6.5\nVA=1,5\nCO=five\nWeight=82" << 6.5f << 4.0f << 5.0f << 82.0f;
        QTest::newRow("number with a unit") << "FGF=3 L\nCO=7.25" << 8.0f << 4.0f << 7.25f << 70.0f;
    }
    void flowsAndWeight()
    {
        QFETCH(QString, lines);
        QFETCH(float, fgf);
        QFETCH(float, va);
        QFETCH(float, co);
        QFETCH(float, weight);
        const QenDefaults d = load(QStringLiteral("[defaults]\n%1\n").arg(lines));
        QCOMPARE(d.fgf, fgf);
        QCOMPARE(d.va, va);
        QCOMPARE(d.co, co);
        QCOMPARE(d.weight, weight);
    }

    void volumes_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QList<float>>("volumes");
        const QList<float> fallbacks{8.0f, 2.5f, 6.0f, 33.0f, 14.5f, 1.0f};
        QTest::newRow("absent") << "" << fallbacks;
        QTest::newRow("at the limits")
            << "CKT=100\nALV=100\nVRG=100\nMUS=1000\nFAT=100\nVEN=10"
            << QList<float>{100.0f, 100.0f, 100.0f, 1000.0f, 100.0f, 10.0f};
        QTest::newRow("past the limits")
            << "CKT=100.1\nALV=0\nVRG=-1\nMUS=1000.5\nFAT=101\nVEN=10.1" << fallbacks;
        QTest::newRow("not finite") << "CKT=nan\nALV=2\nVRG=inf\nMUS=40\nFAT=-inf\nVEN=x"
                                    << QList<float>{8.0f, 2.0f, 6.0f, 40.0f, 14.5f, 1.0f};
        QTest::newRow("small but positive")
            << "CKT=0.01\nvrg=7" << QList<float>{0.01f, 2.5f, 7.0f, 33.0f, 14.5f, 1.0f};
    }
    void volumes()
    {
        QFETCH(QString, lines);
        QFETCH(QList<float>, volumes);
        const QenDefaults d = load(QStringLiteral("[Volumes]\n%1\n").arg(lines));
        for (int c = 0; c < QenCompartments; ++c)
            QCOMPARE(d.volumes[c], volumes[c]);
    }

    void ratio_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QList<float>>("shares"); // VRG, MUS, FAT
        const QList<float> textbook{0.76f, 0.18f, 0.06f};
        QTest::newRow("percentages") << "VRG=76\nMUS=18\nFAT=6" << textbook;
        QTest::newRow("percentages other")
            << "VRG=50\nMUS=30\nFAT=20" << QList<float>{0.5f, 0.3f, 0.2f};
        QTest::newRow("fractions, one missing")
            << "VRG=0.5\nMUS=0.5" << QList<float>{0.5f, 0.5f, 0.0f};
        QTest::newRow("fractions near 1")
            << "VRG=0.7\nMUS=0.2\nFAT=0.1005" << QList<float>{0.7f, 0.2f, 0.1005f};
        QTest::newRow("sum 3") << "VRG=1\nMUS=1\nFAT=1" << textbook;
        QTest::newRow("negative ignored")
            << "VRG=0.8\nMUS=0.2\nFAT=-0.5" << QList<float>{0.8f, 0.2f, 0.0f};
        QTest::newRow("absent") << "" << textbook;
        QTest::newRow("sum 99") << "VRG=75\nMUS=18\nFAT=6" << textbook;
        QTest::newRow("NaN share counts as none")
            << "VRG=nan\nMUS=0.9\nFAT=0.1" << QList<float>{0.0f, 0.9f, 0.1f};
        QTest::newRow("infinite share")
            << "VRG=0.7\nMUS=inf\nFAT=0.3" << QList<float>{0.7f, 0.0f, 0.3f};
        QTest::newRow("text share, sum off") << "VRG=60\nMUS=much\nFAT=20" << textbook;
    }
    void ratio()
    {
        QFETCH(QString, lines);
        QFETCH(QList<float>, shares);
        const QenDefaults d = load(QStringLiteral("[Ratio]\n%1\n").arg(lines));
        QCOMPARE(d.flows[VRG], shares[0]);
        QCOMPARE(d.flows[MUS], shares[1]);
        QCOMPARE(d.flows[FAT], shares[2]);
        QCOMPARE(d.flows[CKT], 1.0f);
        QCOMPARE(d.flows[ALV], 1.0f);
        QCOMPARE(d.flows[VEN], 1.0f);
    }

    // Every value present and refused is named once, with the file and what
    // was used; absent keys and accepted values are not.
    void refusalsAreNamed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("nothing refused") << "[Defaults]\nFGF=6\nVA=3.5\n[Volumes]\nVRG=7\n"
                                         << QStringList();
        QTest::newRow("absent and empty") << "[Defaults]\nFGF=\n[Volumes]\n" << QStringList();
        QTest::newRow("NaN flows") << "[Defaults]\nFGF=nan\nVA=3.5\nCO=inf\n"
                                   << QStringList{"[Defaults] FGF=nan: 8 is used instead.",
                                                  "[Defaults] CO=inf: 5 is used instead."};
        QTest::newRow("VA with a decimal comma")
            << "[Defaults]\nVA=1,5\n"
            << QStringList{"[Defaults] VA=1,5: 4 is used instead."};
        QTest::newRow("CO spelt out, weight too large")
            << "[Defaults]\nCO=five\nWeight=2000\n"
            << QStringList{"[Defaults] CO=five: 5 is used instead.",
                           "[Defaults] Weight=2000: 70 is used instead."};
        QTest::newRow("volume NaN, volume 0")
            << "[Volumes]\nVRG=nan\nMUS=0\n"
            << QStringList{"[Volumes] VRG=nan: 6 is used instead.",
                           "[Volumes] MUS=0: 33 is used instead."};
        QTest::newRow("share NaN, the others add up")
            << "[Ratio]\nVRG=nan\nMUS=0.9\nFAT=0.1\n"
            << QStringList{"[Ratio] VRG=nan: 0 is used instead."};
        QTest::newRow("share text, textbook split")
            << "[Ratio]\nVRG=0.5\nMUS=<b>\nFAT=0.1\n"
            << QStringList{"[Ratio] MUS=&lt;b&gt;: 0.18 is used instead."};
    }
    void refusalsAreNamed()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        const QString path = writeIniText(m_dir.path(), text);
        const QenDefaults d = QenDefaults::load(QenIni(path));
        QCOMPARE(d.refused.size(), lines.size());
        const QString message = d.refusalMessage(path);
        if (lines.isEmpty()) {
            QVERIFY(message.isEmpty());
            return;
        }
        QCOMPARE(message,
                 QStringLiteral("<p>Some settings in %1 are not numbers within their range:</p>"
                                "<p>%2</p>")
                     .arg(path, lines.join(QStringLiteral("<br>"))));
    }
};

QTEST_GUILESS_MAIN(TestQenDefaults)
#include "tst_qendefaults.moc"
