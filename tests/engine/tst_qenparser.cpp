#include "enginefixture.h"

#include "engine/qenparser.h"

// Breakpoint conditions: what the parser accepts and when a breakpoint fires.
class TestQenParser : public QObject
{
    Q_OBJECT

private:
    // Puts chosen values on display for the primary agent.
    static void show(QenEngine &e, float ckt, float alv, float vrg)
    {
        Qen &t = e.tracks().front();
        t.values[CKT] = ckt;
        t.values[ALV] = alv;
        t.values[VRG] = vrg;
    }

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("legal");
        QTest::addColumn<QStringList>("operands");
        QTest::addColumn<QString>("operators");
        QTest::addColumn<float>("target");
        QTest::newRow("ALV-CKT = 0.5")
            << "ALV-CKT = 0.5" << true << QStringList{"ALV", "CKT"} << "-" << 0.5f;
        QTest::newRow("CKT/ALV=0.9")
            << "CKT/ALV=0.9" << true << QStringList{"CKT", "ALV"} << "/" << 0.9f;
        QTest::newRow("all names")
            << "  FGF +DEL*  MUS/FAT - VRG  =  -2 " << true
            << QStringList{"FGF", "DEL", "MUS", "FAT", "VRG"} << "+*/-" << -2.0f;
        QTest::newRow("=3") << "=3" << false << QStringList{} << "" << 0.0f;
        QTest::newRow("CKT ALV=1") << "CKT ALV=1" << false << QStringList{} << "" << 0.0f;
        QTest::newRow("CKT+=1") << "CKT+=1" << false << QStringList{} << "" << 0.0f;
        QTest::newRow("ckt=1") << "ckt=1" << false << QStringList{} << "" << 0.0f;
        QTest::newRow("CKT=abc") << "CKT=abc" << false << QStringList{} << "" << 0.0f;
        QTest::newRow("CKT=1=2") << "CKT=1=2" << false << QStringList{} << "" << 0.0f;
        QTest::newRow("CKT*2=1") << "CKT*2=1" << false << QStringList{} << "" << 0.0f;
        QTest::newRow("CKT") << "CKT" << false << QStringList{} << "" << 0.0f;
        QTest::newRow("leading operator") << "-CKT=1" << false << QStringList{} << "" << 0.0f;
        QTest::newRow("VEN is no operand") << "VEN=1" << false << QStringList{} << "" << 0.0f;
        QTest::newRow("empty") << "   " << false << QStringList{} << "" << 0.0f;
        // No value ever equals or crosses these: accepting them would set a
        // breakpoint that never stops the run.
        QTest::newRow("ALV=nan") << "ALV=nan" << false << QStringList{} << "" << 0.0f;
        QTest::newRow("ALV=inf") << "ALV=inf" << false << QStringList{} << "" << 0.0f;
        QTest::newRow("FGF=-inf") << "FGF=-inf" << false << QStringList{} << "" << 0.0f;
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, legal);
        QFETCH(QStringList, operands);
        QFETCH(QString, operators);
        QFETCH(float, target);
        QenParser parser;
        QCOMPARE(parser.parse(text), legal);
        QCOMPARE(parser.operands(), operands);
        QCOMPARE(parser.operators(), operators);
        QCOMPARE(parser.target(), target);
    }

    void setAndClear()
    {
        EngineFixture f;
        QenEngine &e = *f.engine;
        QVERIFY(e.setBreakpoint(QStringLiteral("  ALV  -  CKT = 0.5 ")));
        QCOMPARE(e.breakpointText(), QStringLiteral("ALV - CKT = 0.5"));
        QCOMPARE(e.breakpointLastValue(), 0.5f);
        QVERIFY(!e.setBreakpoint(QStringLiteral("CKT+=1")));
        QCOMPARE(e.breakpointText(), QStringLiteral("ALV - CKT = 0.5")); // unchanged
        QVERIFY(e.setBreakpoint(QStringLiteral("CKT=1")));               // corrected
        QVERIFY(e.setBreakpoint(QStringLiteral("  ")));
        QVERIFY(e.breakpointText().isEmpty());
        QVERIFY(e.breakpointOperands().isEmpty());
        QVERIFY(!e.breakpointHit());
    }

    // A sequence of displayed values and, for each, whether the breakpoint fires.
    void firing_data()
    {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QList<float>>("ckt");
        QTest::addColumn<QList<float>>("alv");
        QTest::addColumn<QList<float>>("vrg");
        QTest::addColumn<QList<bool>>("hits");
        QTest::newRow("ALV=1: first evaluation silent, then crossing")
            << "ALV=1" << QList<float>{0, 0, 0, 0} << QList<float>{0.8f, 0.9f, 1.05f, 1.2f}
            << QList<float>{0, 0, 0, 0} << QList<bool>{false, false, true, false};
        QTest::newRow("ALV-CKT=0 either way")
            << "ALV-CKT=0" << QList<float>{2, 2, 2, 2, 2} << QList<float>{1, 3, 3, 1.5f, 1}
            << QList<float>{0, 0, 0, 0, 0} << QList<bool>{false, true, false, true, false};
        // A target other than 0 tells ALV - CKT from CKT - ALV.
        QTest::newRow("ALV-CKT=0.5 rising and falling")
            << "ALV-CKT=0.5" << QList<float>{2, 2, 2, 2, 2}
            << QList<float>{1, 2.3f, 2.7f, 2.6f, 2.4f} << QList<float>{0, 0, 0, 0, 0}
            << QList<bool>{false, false, true, false, true};
        QTest::newRow("CKT-ALV-VRG=0.25 from the left")
            << "CKT-ALV-VRG=0.25" << QList<float>{3, 3, 3, 3} << QList<float>{1, 1, 1, 1}
            << QList<float>{1.9f, 1.6f, 1.7f, 1.8f} << QList<bool>{false, true, false, true};
        QTest::newRow("within 0.0001 counts")
            << "ALV=1" << QList<float>{0, 0} << QList<float>{0.5f, 0.99995f} << QList<float>{0, 0}
            << QList<bool>{false, true};
        QTest::newRow("CKT/VRG=2: VRG 0 leaves the last value")
            << "CKT/VRG=2" << QList<float>{1, 5, 5, 3} << QList<float>{0, 0, 0, 0}
            << QList<float>{1, 0, 0, 1} << QList<bool>{false, false, false, true};
        QTest::newRow("CKT+ALV*VRG=3 is (CKT+ALV)*VRG")
            << "CKT+ALV*VRG=3" << QList<float>{1} << QList<float>{0.5f} << QList<float>{2}
            << QList<bool>{true};
    }
    void firing()
    {
        QFETCH(QString, condition);
        QFETCH(QList<float>, ckt);
        QFETCH(QList<float>, alv);
        QFETCH(QList<float>, vrg);
        QFETCH(QList<bool>, hits);
        EngineFixture f;
        QenEngine &e = *f.engine;
        QVERIFY(e.setBreakpoint(condition));
        for (int i = 0; i < hits.size(); ++i) {
            show(e, ckt[i], alv[i], vrg[i]);
            QVERIFY2(e.breakpointHit() == hits[i], qPrintable(QString::number(i)));
        }
    }

    void divisionByZeroKeepsLastValue()
    {
        EngineFixture f;
        QenEngine &e = *f.engine;
        QVERIFY(e.setBreakpoint(QStringLiteral("CKT/VRG=2")));
        show(e, 1, 0, 1);
        QVERIFY(!e.breakpointHit());
        QCOMPARE(e.breakpointLastValue(), 1.0f);
        show(e, 5, 0, 0);
        QVERIFY(!e.breakpointHit());
        QCOMPARE(e.breakpointLastValue(), 1.0f);
    }

    // A hit in an advance makes the run stop there; runs as fast as possible
    // do not look.
    void runStopsAtTheBreakpoint()
    {
        EngineFixture f;
        QenEngine &e = *f.engine;
        QVERIFY(e.setBreakpoint(QStringLiteral("ALV=0.5")));
        e.setSpeed(QenSystemOrigin, 60);
        e.setState(QenUserOrigin, ARunning);
        quint32 total = 0;
        for (int i = 0; i < 1000 && e.state() == ARunning; ++i) {
            total += 6000;
            e.advance(int(total));
            f.pump();
        }
        QCOMPARE(e.state(), APaused);
        QVERIFY(e.track(0).values[ALV] >= 0.5f);
        QVERIFY(e.stateAt(0, e.displayTime() - 6000)[ALV] < 0.5f ||
                e.stateAt(0, e.displayTime() - 12000)[ALV] < 0.5f);
    }
};

QTEST_GUILESS_MAIN(TestQenParser)
#include "tst_qenparser.moc"
