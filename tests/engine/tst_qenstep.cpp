#include "enginefixture.h"

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

// The uptake step against hand calculations.
class TestQenStep : public QObject
{
    Q_OBJECT

private:
    static QString circuitName(int index) { return QenVocabulary::circuits().at(index); }

    // System-origin settings: no coupled rules, so each test sets exactly what it says.
    static void setup(EngineFixture &f, const char *agent, int circuit, float fgf, float va,
                      float co, float del)
    {
        f.usePrimary(agent);
        QenEngine &e = *f.engine;
        e.setCircuit(QenSystemOrigin, circuitName(circuit));
        e.setFGF(QenSystemOrigin, fgf);
        e.setVA(QenSystemOrigin, va);
        e.setCO(QenSystemOrigin, co);
        e.setDEL(QenSystemOrigin, 0, del);
    }

    // One substep as the step would run it alone: plans its level, refuses
    // it when too fast, else advances `state`.
    static bool plainSubstep(const QenBody &body, const QenSample &s, int doses, bool flushNow,
                             float *x, float *flows, const float *row, quint32 now, double total,
                             double own, int n, const QenAnesthetic &a)
    {
        const QenLevelPlan p = QenStep::planLevel(body, s, doses, flows, row, n, a);
        if (QenStep::tooFast(body, s, p, now, n))
            return false;
        return QenStep::substep(body, s, p, flushNow, x, row, total, own, n, a);
    }

    // Redoes the step just taken the plain way, from its samples: every
    // substep plans its own level and refusal is found by running the
    // substeps. The step reuses plans across steps and refuses a level before
    // running it; both must give the same bits.
    static void checkAgainstPlainSubsteps(QenEngine &e)
    {
        const size_t count = size_t(e.trackCount());
        std::vector<std::array<float, QenStateSize>> x(count);
        std::vector<std::array<float, QenCompartments>> flows(count);
        std::vector<double> rates(count);
        int level = 0;
        for (int n = 0; n < QenLevels; ++n) {
            for (size_t k = 0; k < count; ++k) {
                const Qen &t = e.track(int(k));
                std::copy(std::begin(t.samples.back().state), std::end(t.samples.back().state),
                          x[k].begin());
                std::copy(std::begin(t.flows), std::end(t.flows), flows[k].begin());
            }
            bool accepted = true;
            for (int sub = 0; sub < (1 << n) && accepted; ++sub) {
                double total = 0.0;
                for (size_t k = 0; k < count; ++k) {
                    const Qen &t = e.track(int(k));
                    rates[k] = QenStep::uptakeRate(e.body(), t.samples.back(), x[k].data(),
                                                   t.expTable[n], n, *e.agentOf(int(k)));
                    total += rates[k];
                }
                for (size_t k = 0; k < count && accepted; ++k) {
                    const Qen &t = e.track(int(k));
                    const QenSample &s = t.samples.back();
                    accepted = plainSubstep(e.body(), s, s.doses(), s.hasFlush() && sub == 0,
                                            x[k].data(), flows[k].data(), t.expTable[n], s.time,
                                            total, rates[k], n, *e.agentOf(int(k)));
                }
            }
            level = n;
            if (accepted)
                break;
        }
        QCOMPARE(e.lastStepLevel(), level);
        for (size_t k = 0; k < count; ++k) {
            const Qen &t = e.track(int(k));
            QVERIFY(std::memcmp(x[k].data(), t.state, sizeof t.state) == 0);
            QVERIFY(std::memcmp(flows[k].data(), t.flows, 2 * sizeof(float)) == 0);
        }
    }

private slots:
    void openCircuitFollowsDel_data()
    {
        QTest::addColumn<QString>("agent");
        QTest::addColumn<float>("del");
        QTest::newRow("Halothane") << "Halothane" << 2.0f;
        QTest::newRow("Ether, subdivided") << "Ether" << 12.0f;
        QTest::newRow("Nitrous Oxide") << "Nitrous Oxide" << 70.0f;
        QTest::newRow("Desflurane") << "Desflurane" << 6.3f;
    }
    void openCircuitFollowsDel()
    {
        QFETCH(QString, agent);
        QFETCH(float, del);
        EngineFixture f;
        setup(f, agent.toLatin1().constData(), 0, 10.0f, 4.0f, 5.0f, del);
        for (int i = 0; i < 60; ++i) {
            f.steps(1);
            QCOMPARE(f.engine->track(0).state[CKT], del);
        }
    }

    // First step from room air in an open circuit, worked out by hand: the
    // alveoli relax toward CKT weighted by ventilation against blood flow, the
    // tissues see an arterial value of 0 and stay there.
    void openCircuitFirstStepByHand()
    {
        EngineFixture f;
        setup(f, "Halothane", 0, 10.0f, 4.0f, 5.0f, 2.0f);
        f.steps(1);
        const Qen &t = f.engine->track(0);
        const double blood = 2.47 * 5.0, vent = 4.0;
        const double a = std::exp(double(float(-0.1 / 2.5)) * (blood + vent));
        QCOMPARE(f.engine->lastStepLevel(), 0);
        QVERIFY(std::fabs(t.state[ALV] - vent * 2.0 / (blood + vent) * (1.0 - a)) < 1e-6);
        QCOMPARE(t.state[VRG], 0.0f);
        QCOMPARE(t.state[QenUptake], 0.0f);
        QVERIFY(std::fabs(t.state[QenDelivered] - 0.1 * 2.0 * 10.0 / 100.0) < 1e-7);
    }

    // Below VA the circuit holds fresh gas and exhaled gas in the shares
    // FGF/VA and 1 - FGF/VA: shares other than one half tell them apart.
    void idealCircuitMixing_data()
    {
        QTest::addColumn<float>("fgf");
        QTest::addColumn<double>("freshShare");
        QTest::newRow("FGF above VA") << 6.0f << 1.0;
        QTest::newRow("FGF equal to VA") << 4.0f << 1.0;
        QTest::newRow("FGF half of VA") << 2.0f << 0.5;
        QTest::newRow("FGF a quarter of VA") << 1.0f << 0.25;
        QTest::newRow("FGF 0.8 of VA") << 3.2f << 0.8;
    }
    void idealCircuitMixing()
    {
        QFETCH(float, fgf);
        QFETCH(double, freshShare);
        EngineFixture f;
        setup(f, "Isoflurane", 3, fgf, 4.0f, 5.0f, 1.5f);
        for (int i = 0; i < 30; ++i) {
            f.steps(1);
            const Qen &t = f.engine->track(0);
            QCOMPARE(f.engine->lastStepLevel(), 0);
            const double alvBefore = t.samples.back().state[ALV];
            const float expected = float(freshShare * 1.5 + (1.0 - freshShare) * alvBefore);
            QCOMPARE(t.state[CKT], expected);
        }
    }

    void closedCircuitRelaxesThroughVentilation_data()
    {
        QTest::addColumn<float>("va");
        QTest::newRow("VA 4") << 4.0f;
        QTest::newRow("no ventilation") << 0.0f;
    }
    void closedCircuitRelaxesThroughVentilation()
    {
        QFETCH(float, va);
        EngineFixture f;
        setup(f, "Halothane", 1, 8.0f, 4.0f, 5.0f, 3.0f);
        f.steps(20); // CKT well above ALV now
        QenEngine &e = *f.engine;
        e.setCircuit(QenSystemOrigin, circuitName(2));
        e.setFGF(QenSystemOrigin, 0.0f);
        e.setVA(QenSystemOrigin, va);
        f.engine->disableUptake(true);
        const float ckt = e.track(0).state[CKT], alv = e.track(0).state[ALV];
        const float delivered = e.track(0).state[QenDelivered];
        QVERIFY(ckt > alv + 0.1f);

        f.steps(1);
        const Qen &t = e.track(0);
        QCOMPARE(t.flows[CKT], 0.0f);
        const double a = std::exp(double(float(-0.1 / 8.0)) * va);
        QVERIFY(std::fabs(t.state[CKT] - (alv * (1.0 - a) + a * ckt)) < 1e-6);
        QCOMPARE(t.state[QenDelivered], delivered);
    }

    void vaporEffect_data()
    {
        QTest::addColumn<QString>("agent");
        QTest::addColumn<float>("del");
        QTest::addColumn<double>("flowFactor");
        QTest::newRow("N2O at 100: FGF x 100") << "Nitrous Oxide" << 100.0f << 100.0;
        QTest::newRow("N2O at 99: FGF x 100") << "Nitrous Oxide" << 99.0f << 100.0;
        QTest::newRow("N2O at 50: FGF / 0.5") << "Nitrous Oxide" << 50.0f << 2.0;
        QTest::newRow("Nitrogen: unchanged") << "Nitrogen" << 100.0f << 1.0;
    }
    void vaporEffect()
    {
        QFETCH(QString, agent);
        QFETCH(float, del);
        QFETCH(double, flowFactor);
        EngineFixture f;
        setup(f, agent.toLatin1().constData(), 0, 2.0f, 2.0f, 5.0f, del);
        f.engine->enableVapor(true);
        const float before = f.engine->track(0).state[QenDelivered];
        f.steps(1);
        const Qen &t = f.engine->track(0);
        const double expected = 0.1 * del * 2.0 * flowFactor / 100.0;
        QVERIFY(std::fabs((t.state[QenDelivered] - before) / expected - 1.0) < 1e-5);
        QCOMPARE(t.state[CKT], del); // an open circuit still breathes DEL
        QCOMPARE(f.engine->fgfDeliveredAt(0, f.engine->simTime()), float(2.0 * flowFactor));

        // On an agent that is no liquid, the switch leaves every value as it was.
        if (flowFactor == 1.0) {
            EngineFixture plain;
            setup(plain, agent.toLatin1().constData(), 0, 2.0f, 2.0f, 5.0f, del);
            plain.steps(1);
            for (int i = 0; i < QenStateSize; ++i)
                QCOMPARE(plain.engine->track(0).state[i], t.state[i]);
        }
    }

    // Xenon: volatility 200, unit dose 0.5 mL, so each dose is 0.1 L of vapour.
    void injectionIndependentOfSubdivision_data()
    {
        QTest::addColumn<int>("doses");
        QTest::addColumn<float>("va");
        QTest::addColumn<bool>("subdivided");
        QTest::newRow("1 dose") << 1 << 4.0f << false;
        QTest::newRow("3 doses") << 3 << 4.0f << false;
        QTest::newRow("15 doses") << 15 << 4.0f << false;
        QTest::newRow("2 doses, 16 substeps") << 2 << 3000.0f << true;
    }
    void injectionIndependentOfSubdivision()
    {
        QFETCH(int, doses);
        QFETCH(float, va);
        QFETCH(bool, subdivided);
        EngineFixture f;
        setup(f, "Xenon", 1, 8.0f, va, 5.0f, 0.0f);
        for (int i = 0; i < doses; ++i)
            f.engine->injectDose(0);
        f.steps(1);
        const Qen &t = f.engine->track(0);
        QCOMPARE(t.samples.back().doses(), doses);
        QCOMPARE(t.pendingDoses, 0);
        QCOMPARE(f.engine->lastStepLevel() > 0, subdivided);
        QVERIFY(std::fabs(t.state[QenDelivered] - 0.1 * doses) < 1e-6);
    }

    void venousReturnOff()
    {
        EngineFixture f;
        setup(f, "Halothane", 1, 8.0f, 4.0f, 5.0f, 3.0f);
        f.steps(10);
        QenEngine &e = *f.engine;
        e.disableReturn(true);
        f.steps(1);
        const Qen &t = e.track(0);
        QCOMPARE(t.state[VEN], 0.0f);
        QVERIFY(t.state[VRG] > 0.0f);

        // The rate counts what venous blood would have brought back.
        const QenSample &s = t.samples.back();
        QVERIFY(!s.hasReturn());
        QenSample on = s;
        on.flags |= QenSample::VenousReturn;
        const QenAnesthetic &a = f.agent("Halothane");
        const double withReturn = QenStep::uptakeRate(e.body(), on, t.state, t.expTable[0], 0, a);
        const double without = QenStep::uptakeRate(e.body(), s, t.state, t.expTable[0], 0, a);
        const double venous = 2.47 * double(s.co) *
                              (0.76 * double(t.state[VRG]) + 0.18 * double(t.state[MUS]) +
                               0.06 * double(t.state[FAT])) /
                              100.0;
        QVERIFY(std::fabs((without - withReturn) / venous - 1.0) < 1e-6);
    }

    // With the uptake effect off the agents never meet; with it on, what the
    // body takes up of one shifts the alveolar value of the other.
    void twoAgents_data()
    {
        QTest::addColumn<bool>("uptakeEffect");
        QTest::newRow("uptake effect off") << false;
        QTest::newRow("uptake effect on") << true;
    }
    void twoAgents()
    {
        QFETCH(bool, uptakeEffect);
        EngineFixture both, alone;
        setup(both, "Nitrous Oxide", 1, 8.0f, 4.0f, 5.0f, 70.0f);
        setup(alone, "Isoflurane", 1, 8.0f, 4.0f, 5.0f, 1.5f);
        QCOMPARE(both.engine->addAgent(both.displayName("Isoflurane")), 1);
        both.engine->setDEL(QenSystemOrigin, 1, 1.5f);
        both.engine->disableUptake(!uptakeEffect);
        alone.engine->disableUptake(!uptakeEffect);
        both.steps(30);
        alone.steps(30);
        const Qen &withN2O = both.engine->track(1);
        const Qen &solo = alone.engine->track(0);
        bool same = true;
        for (int i = 0; i < QenStateSize; ++i)
            same = same && withN2O.state[i] == solo.state[i];
        QCOMPARE(same, !uptakeEffect);
        if (uptakeEffect) // the second-gas effect raises the partner's alveolar value
            QVERIFY(withN2O.state[ALV] > solo.state[ALV]);
    }

    void etherNeedsTwoSubsteps()
    {
        EngineFixture f;
        setup(f, "Ether", 1, 8.0f, 4.0f, 5.0f, 12.0f);
        const QenAnesthetic &ether = f.agent("Ether");
        QCOMPARE(ether.lambdaBlood, 12.0f);
        for (int i = 0; i < 20; ++i) {
            f.steps(1);
            QCOMPARE(f.engine->lastStepLevel(), 1);
        }
        const Qen &t = f.engine->track(0);
        QVERIFY(std::exp(t.expTable[0][ALV] * 64.0) < 0.1);
        QVERIFY(std::fabs(std::exp(t.expTable[1][ALV] * 64.0) - 0.278) < 0.001);
    }

    void levelFourAlwaysAccepted()
    {
        EngineFixture f;
        setup(f, "Ether", 1, 8.0f, 100000.0f, 5.0f, 12.0f);
        f.steps(3);
        QCOMPARE(f.engine->lastStepLevel(), 4);
        QCOMPARE(f.engine->simTime(), 18000u);
    }

    void tableBuiltOnlyWhenKeyChanges()
    {
        EngineFixture f;
        f.steps(1);
        const Qen &t = f.engine->track(0);
        const float decay = t.expTable[2][VRG];
        // Halving the rate from one level to the next squares the root of the decay.
        QVERIFY(std::fabs(double(t.expTable[1][VRG]) * t.expTable[1][VRG] - t.expTable[0][VRG]) <
                1e-6);
        f.engine->setCO(QenSystemOrigin, 10.0f);
        f.steps(1);
        QVERIFY(t.expTable[2][VRG] < decay);
        QCOMPARE(t.tableKey.co, 10.0f);
    }
    // Changes during a run that alter a level's fresh gas, flows or decay
    // factors, so plans kept from earlier steps must not be reused.
    // Twenty hours of each agent of the table at its vaporizer's maximum:
    // whatever the circuit, no value stops being a number. (Nitrogen at 1600
    // in a closed circuit piles up without end; the run stops there instead
    // of recording what a float cannot hold.)
    void everyAgentAtItsMaximumStaysFinite_data()
    {
        QTest::addColumn<int>("circuit");
        for (int c = 0; c < 4; ++c)
            QTest::newRow(qPrintable(circuitName(c))) << c;
    }
    void everyAgentAtItsMaximumStaysFinite()
    {
        QFETCH(int, circuit);
        EngineFixture probe;
        for (int i = 0; i < probe.catalogue.size(); ++i) {
            EngineFixture f;
            QenEngine &e = *f.engine;
            const QenAnesthetic &agent = *f.catalogue.at(i);
            QVERIFY(e.setAgent(QenUserOrigin, 0, agent.displayName));
            e.setCircuit(QenUserOrigin, circuitName(circuit));
            e.setDEL(QenUserOrigin, 0, agent.max);
            e.setSpeed(QenSystemOrigin, 1000);
            while (e.advanceOneStep()) {
            }
            const bool whole = e.simTime() == e.limitMs() + e.stepMs();
            QCOMPARE(!whole, e.stepOutOfRange());
            QCOMPARE(e.track(0).samples.size(), size_t(e.simTime() / e.stepMs()));
            for (float x : e.track(0).state)
                QVERIFY(std::isfinite(x));
            for (const QenSample &s : e.track(0).samples) {
                for (float x : s.state)
                    QVERIFY2(std::isfinite(x),
                             qPrintable(QStringLiteral("%1 at %2 ms").arg(agent.name).arg(s.time)));
            }
        }
    }

    void stepMatchesPlainSubsteps_data()
    {
        QTest::addColumn<int>("scenario");
        QTest::newRow("Ether, open, DEL and FGF changed") << 0;
        QTest::newRow("two agents: doses, flush, vapour, DEL, circuit") << 1;
        QTest::newRow("16 substeps, agent's blood solubility edited") << 2;
    }

    void stepMatchesPlainSubsteps()
    {
        QFETCH(int, scenario);
        EngineFixture f;
        QenEngine &e = *f.engine;
        if (scenario == 0) {
            setup(f, "Ether", 0, 10.0f, 4.0f, 5.0f, 12.0f);
        } else if (scenario == 1) {
            setup(f, "Halothane", 1, 3.0f, 4.0f, 5.0f, 2.0f);
            QVERIFY(e.addAgent(f.displayName("Nitrous Oxide")) == 1);
            e.setDEL(QenSystemOrigin, 1, 60.0f);
        } else {
            setup(f, "Ether", 1, 8.0f, 100000.0f, 5.0f, 12.0f);
        }
        QenAnesthetic &agent0 = *f.catalogue.at(e.track(0).agent);
        for (int step = 0; step < 30; ++step) {
            if (scenario == 0 && step == 5)
                e.setDEL(QenSystemOrigin, 0, 20.0f);
            if (scenario == 0 && step == 12)
                e.setFGF(QenSystemOrigin, 14.0f);
            if (scenario == 1 && (step == 3 || step == 4)) {
                QVERIFY(e.canInject(0));
                e.injectDose(0);
            }
            if (scenario == 1 && step == 6)
                e.flushCircuit();
            if (scenario == 1 && step == 8)
                e.enableVapor(true);
            if (scenario == 1 && step == 12)
                e.setDEL(QenSystemOrigin, 0, 4.0f);
            if (scenario == 1 && step == 15)
                e.setCircuit(QenSystemOrigin, circuitName(2));
            if (scenario == 2 && step == 5)
                agent0.lambdaBlood = 3.0f; // the agents dialog may edit it mid-run
            f.steps(1);
            checkAgainstPlainSubsteps(e);
            if (QTest::currentTestFailed())
                return;
        }
        if (scenario == 0)
            QCOMPARE(e.lastStepLevel(), 1);
        if (scenario == 2)
            QCOMPARE(e.lastStepLevel(), 4);
    }
};

QTEST_GUILESS_MAIN(TestQenStep)
#include "tst_qenstep.moc"
