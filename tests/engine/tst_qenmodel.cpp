#include "enginefixture.h"

#include <QSignalSpy>

#include <cmath>
#include <limits>

// Settings of the patient and circuit: coupled rules, the weight rule, reset.
class TestQenModel : public QObject
{
    Q_OBJECT

private:
    static QString circuitName(int index) { return QenVocabulary::circuits().at(index); }

private slots:
    void resetFromDefaults()
    {
        EngineFixture f;
        const QenEngine &e = *f.engine;
        QCOMPARE(e.trackCount(), 1);
        QCOMPARE(e.track(0).displayName, QStringLiteral("Halothane"));
        QCOMPARE(e.track(0).del, 3.3f);
        QCOMPARE(e.track(0).unitDose, 0.5f);
        QCOMPARE(e.circuitIndex(), 1);
        QCOMPARE(e.fgf(), 8.0f);
        QCOMPARE(e.va(), 4.0f);
        QCOMPARE(e.co(), 5.0f);
        QCOMPARE(e.state(), ANotRun);
        QCOMPARE(e.stepMs(), quint16(6000));
        QCOMPARE(e.limitMs(), 71994000u);
        QVERIFY(e.uptakeEffect() && e.venousReturn() && !e.vaporEffect());
        QVERIFY(f.host.noticed(0, QenHint::Reset));
    }

    void resetCircuitFlow_data()
    {
        QTest::addColumn<QString>("circuit");
        QTest::addColumn<float>("weight");
        QTest::addColumn<float>("fgf");
        QTest::addColumn<float>("va");
        QTest::newRow("Open gives 10") << "Open" << 70.0f << 10.0f << 4.0f;
        QTest::newRow("Ideal gives the default") << "Ideal" << 70.0f << 8.0f << 4.0f;
        QTest::newRow("Closed at 70 kg") << "Closed" << 70.0f << 0.25f << 4.0f;
        QTest::newRow("Closed at 35 kg") << "Closed" << 35.0f << float(0.25 * std::pow(0.5, 0.75))
                                         << float(4 * std::pow(0.5, 0.75));
    }
    void resetCircuitFlow()
    {
        QFETCH(QString, circuit);
        QFETCH(float, weight);
        QFETCH(float, fgf);
        QFETCH(float, va);
        EngineFixture f;
        QenDefaults d = f.defaults;
        d.circuit = circuit;
        d.weight = weight;
        f.engine->reset(d);
        QCOMPARE(f.engine->fgf(), fgf);
        QCOMPARE(f.engine->va(), va);
        QCOMPARE(f.engine->stepMs(), quint16(6000)); // whatever the weight
    }

    void coupledRules_data()
    {
        QTest::addColumn<int>("circuit");
        QTest::addColumn<float>("va");
        QTest::addColumn<QString>("change");
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("wantCircuit");
        QTest::addColumn<float>("wantFgf");
        QTest::addColumn<float>("wantVa");
        // Closing the circuit applies the circuit's own flow, the patient's
        // metabolic uptake (0.25 L/min at 70 kg).
        QTest::newRow("FGF 0 closes a semi-closed circuit")
            << 1 << 4.0f << "fgf" << 0.0f << 2 << 0.25f << 4.0f;
        QTest::newRow("FGF 0 in a closed circuit stays 0")
            << 2 << 4.0f << "fgf" << 0.0f << 2 << 0.0f << 4.0f;
        QTest::newRow("open: VA above FGF raises FGF")
            << 0 << 4.0f << "va" << 12.0f << 0 << 12.0f << 12.0f;
        QTest::newRow("open: FGF below VA lowers VA")
            << 0 << 4.0f << "fgf" << 3.0f << 0 << 3.0f << 3.0f;
        QTest::newRow("semi-closed: VA above FGF alone")
            << 1 << 4.0f << "va" << 12.0f << 1 << 8.0f << 12.0f;
        QTest::newRow("Open with VA 4 gives 10")
            << 1 << 4.0f << "circuit" << 0.0f << 0 << 10.0f << 4.0f;
        QTest::newRow("Open with VA 12 gives 12")
            << 1 << 12.0f << "circuit" << 0.0f << 0 << 12.0f << 12.0f;
        QTest::newRow("Semi-closed before the start gives 8")
            << 0 << 4.0f << "circuit" << 1.0f << 1 << 8.0f << 4.0f;
        QTest::newRow("Closed gives the metabolic flow")
            << 1 << 4.0f << "circuit" << 2.0f << 2 << 0.25f << 4.0f;
    }
    void coupledRules()
    {
        QFETCH(int, circuit);
        QFETCH(float, va);
        QFETCH(QString, change);
        QFETCH(float, value);
        QFETCH(int, wantCircuit);
        QFETCH(float, wantFgf);
        QFETCH(float, wantVa);
        EngineFixture f;
        QenEngine &e = *f.engine;
        e.setCircuit(QenSystemOrigin, circuitName(circuit));
        e.setFGF(QenSystemOrigin, circuit == 0 ? 10.0f : 8.0f);
        e.setVA(QenSystemOrigin, va);
        if (change == QLatin1String("fgf"))
            e.setFGF(QenUserOrigin, value);
        else if (change == QLatin1String("va"))
            e.setVA(QenUserOrigin, value);
        else
            e.setCircuit(QenUserOrigin, circuitName(int(value)));
        QCOMPARE(e.circuitIndex(), wantCircuit);
        QCOMPARE(e.fgf(), wantFgf);
        QCOMPARE(e.va(), wantVa);
    }

    void semiClosedAfterStartGivesThreeEighths()
    {
        EngineFixture f;
        f.steps(3);
        f.engine->setCircuit(QenUserOrigin, circuitName(0));
        QCOMPARE(f.engine->fgf(), 10.0f);
        f.engine->setCircuit(QenUserOrigin, circuitName(3));
        QCOMPARE(f.engine->fgf(), 3.0f);
    }

    void systemChangesApplyNoRules()
    {
        EngineFixture f;
        QenEngine &e = *f.engine;
        f.steps(5);
        f.host.notices.clear();
        e.setFGF(QenSystemOrigin, 0.0f);
        QCOMPARE(e.circuitIndex(), 1);
        QCOMPARE(e.track(0).samples.size(), size_t(5));
        QCOMPARE(f.host.notices.size(), 1);
        QCOMPARE(f.host.notices[0].hints, int(QenHint::Fgf));
        QCOMPARE(f.host.notices[0].origin, QenSystemOrigin);
    }

    void noticesCarryTrackAndOrigin()
    {
        EngineFixture f;
        QenEngine &e = *f.engine;
        f.host.notices.clear();
        QSignalSpy control(&e, &QenEngine::updateControl);
        const QenOrigin view = 0x1234;
        e.setSpeed(view, 10);
        e.setDEL(QenUserOrigin, 0, 2.0f);
        QCOMPARE(f.host.notices.size(), 2);
        QCOMPARE(f.host.notices[0].origin, view);
        QCOMPARE(f.host.notices[0].hints, int(QenHint::Speed));
        QCOMPARE(f.host.notices[1].agentNumber, 1);
        QCOMPARE(f.host.notices[1].hints, int(QenHint::Del));
        QCOMPARE(control.count(), 2);
    }

    void weightRule_data()
    {
        QTest::addColumn<float>("weight");
        QTest::addColumn<int>("stepMs");
        QTest::addColumn<uint>("limit");
        QTest::newRow("35 kg") << 35.0f << 5045 << 60534955u;
        QTest::newRow("100 kg") << 100.0f << 6560 << 72000000u;
        QTest::newRow("70 kg") << 70.0f << 6000 << 71994000u;
    }
    void weightRule()
    {
        QFETCH(float, weight);
        QFETCH(int, stepMs);
        QFETCH(uint, limit);
        EngineFixture f;
        QenEngine &e = *f.engine;
        e.setWeight(QenUserOrigin, weight);
        QCOMPARE(int(e.stepMs()), stepMs);
        QCOMPARE(e.limitMs(), quint32(limit));
        QVERIFY(std::fabs(e.stepMinutes() - stepMs / 60000.0) < 1e-7);
        const double scale = std::pow(weight / 70.0, 0.75);
        QVERIFY(std::fabs(e.va() - 4.0 * scale) < 1e-5);
        QVERIFY(std::fabs(e.co() - 5.0 * scale) < 1e-5);
        QVERIFY(f.host.noticed(0, QenHint::Weight));
    }

    void weightAfterStartKeepsStep()
    {
        EngineFixture f;
        f.steps(2);
        f.engine->setWeight(QenUserOrigin, 35.0f);
        QCOMPARE(f.engine->stepMs(), quint16(6000));
        QCOMPARE(f.engine->limitMs(), 71994000u);
        QVERIFY(std::fabs(f.engine->va() - 4.0 * std::pow(0.5, 0.75)) < 1e-5);
    }

    void weightInClosedCircuitResetsMetabolicFlow()
    {
        EngineFixture f;
        f.engine->setCircuit(QenUserOrigin, circuitName(2));
        f.engine->setWeight(QenUserOrigin, 35.0f);
        QVERIFY(std::fabs(f.engine->fgf() - 0.25 * std::pow(0.5, 0.75)) < 1e-6);
    }

    void weightOfOpenCircuitRaisesFlow()
    {
        EngineFixture f;
        f.engine->setCircuit(QenUserOrigin, circuitName(0));
        f.engine->setVA(QenUserOrigin, 10.0f);
        f.engine->setWeight(QenUserOrigin, 140.0f);
        QVERIFY(f.engine->va() > 16.0f);
        QCOMPARE(f.engine->fgf(), f.engine->va());
    }

    void userAgentChangeAtTimeZero()
    {
        EngineFixture f;
        QenEngine &e = *f.engine;
        QSignalSpy changed(&e, &QenEngine::agentChanged);
        QVERIFY(e.setAgent(QenUserOrigin, 0, f.displayName("Nitrogen")));
        QCOMPARE(e.track(0).del, 400.0f);
        QCOMPARE(e.track(0).state[ALV], 80.0f);
        QCOMPARE(e.track(0).values[FAT], 80.0f);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed[0][0].toInt(), 0);
        QVERIFY(!e.setAgent(QenUserOrigin, 0, QStringLiteral("Chloroform")));
    }

    void injectionsAndFlush()
    {
        EngineFixture f;
        QenEngine &e = *f.engine;
        QVERIFY(e.canInject(0));
        for (int i = 0; i < 20; ++i) // four bits hold at most 15
            e.injectDose();
        QCOMPARE(e.track(0).pendingDoses, 15);
        e.flushCircuit();
        QCOMPARE(e.track(0).pendingDoses, 0);
        QVERIFY(e.flushPending());
        f.steps(1);
        QCOMPARE(e.track(0).samples.back().flags & 0x3f0, int(QenSample::Flush));
        QVERIFY(!e.flushPending());
        e.setCircuit(QenUserOrigin, circuitName(0));
        QVERIFY(!e.canInject(0));
    }

    void duplicateAgents()
    {
        EngineFixture f;
        QVERIFY(!f.engine->hasDuplicateAgents());
        QCOMPARE(f.engine->addAgent(f.displayName("Halothane")), 1);
        QVERIFY(f.engine->hasDuplicateAgents());
        QCOMPARE(f.engine->currentTrack(), 1);
        QVERIFY(f.engine->removeAgent(1));
        QVERIFY(!f.engine->removeAgent(0));
    }

    // Whatever reaches a setter, by any path (a field, a file, the runner),
    // the step sees a value within the setting's range or the one before.
    void settingsStayInRange_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<float>("value");
        QTest::addColumn<float>("expected"); // NaN: unchanged
        const float same = std::nanf("");
        const float inf = std::numeric_limits<float>::infinity();
        QTest::newRow("DEL above the maximum") << "del" << 500.0f << 25.0f;
        QTest::newRow("DEL below 0") << "del" << -1.0f << 0.0f;
        QTest::newRow("DEL NaN") << "del" << std::nanf("") << same;
        QTest::newRow("DEL infinite") << "del" << inf << same;
        QTest::newRow("FGF huge") << "fgf" << 1e9f << 500.0f;
        QTest::newRow("FGF NaN") << "fgf" << std::nanf("") << same;
        QTest::newRow("VA NaN") << "va" << std::nanf("") << same;
        QTest::newRow("VA huge") << "va" << 501.0f << 500.0f;
        QTest::newRow("CO negative") << "co" << -5.0f << 0.0f;
        QTest::newRow("CO infinite") << "co" << inf << same;
        QTest::newRow("weight 0") << "weight" << 0.0f << 0.05f;
        QTest::newRow("weight huge") << "weight" << 1e6f << 1500.0f;
        QTest::newRow("weight NaN") << "weight" << std::nanf("") << same;
        QTest::newRow("unit dose huge") << "unitDose" << 1e4f << 20.0f;
    }
    void settingsStayInRange()
    {
        QFETCH(QString, setting);
        QFETCH(float, value);
        QFETCH(float, expected);
        for (QenOrigin origin : {QenSystemOrigin, QenUserOrigin}) {
            EngineFixture f;
            QenEngine &e = *f.engine;
            f.usePrimary("Isoflurane");
            QCOMPARE(f.agent("Isoflurane").max, 25.0f);
            auto current = [&] {
                if (setting == QLatin1String("del"))
                    return e.track(0).del;
                if (setting == QLatin1String("fgf"))
                    return e.fgf();
                if (setting == QLatin1String("va"))
                    return e.va();
                if (setting == QLatin1String("co"))
                    return e.co();
                if (setting == QLatin1String("weight"))
                    return e.weight();
                return e.track(0).unitDose;
            };
            const float before = current();
            if (setting == QLatin1String("del"))
                e.setDEL(origin, 0, value);
            else if (setting == QLatin1String("fgf"))
                e.setFGF(origin, value);
            else if (setting == QLatin1String("va"))
                e.setVA(origin, value);
            else if (setting == QLatin1String("co"))
                e.setCO(origin, value);
            else if (setting == QLatin1String("weight"))
                e.setWeight(origin, value);
            else
                e.setUnitDose(0, value);
            QCOMPARE(current(), std::isnan(expected) ? before : expected);
            f.steps(3);
            for (float x : e.track(0).state)
                QVERIFY(std::isfinite(x));
        }
    }

    void costPerLitre()
    {
        EngineFixture f;
        // Halothane: 15 per 240 mL bottle, 240 mL vapour per mL.
        QVERIFY(std::fabs(f.engine->costPerLitre(0) - 15.0 * 1000 / (240.0 * 240.0)) < 1e-6);
        f.engine->setAgent(QenUserOrigin, 0, f.displayName("Nitrogen"));
        QCOMPARE(f.engine->costPerLitre(0), 0.0f);
    }
};

QTEST_GUILESS_MAIN(TestQenModel)
#include "tst_qenmodel.moc"
