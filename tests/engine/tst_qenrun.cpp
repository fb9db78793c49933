#include "enginefixture.h"

#include <QBuffer>
#include <QDataStream>
#include <QSignalSpy>

#include <cmath>
#include <cstring>

// Run control: pacing, stops, replay, erase-forward, lookups and value queries.
class TestQenRun : public QObject
{
    Q_OBJECT

private:
    // Paces a running simulation as the panel view does: its total grows by
    // speed x the real milliseconds of each tick. Returns every displayed time.
    static QList<quint32> pace(EngineFixture &f, int tickMs, quint32 until)
    {
        QenEngine &e = *f.engine;
        QList<quint32> shown;
        quint32 total = e.displayTime() / 1000 * 1000;
        for (int i = 0; i < 100000 && e.state() == ARunning && e.displayTime() < until; ++i) {
            total += quint32(e.speed() * tickMs);
            e.advance(int(total));
            f.pump();
            if (shown.isEmpty() || shown.last() != e.displayTime())
                shown.append(e.displayTime());
        }
        return shown;
    }

    static void start(EngineFixture &f, int speed)
    {
        f.engine->setSpeed(QenSystemOrigin, speed);
        f.engine->setState(QenUserOrigin, ARunning);
    }

    // Records `count` steps with a dose injected into the step that starts at
    // 3:24 (step 34).
    static void recordWithDose(EngineFixture &f, int count)
    {
        f.steps(34);
        f.engine->injectDose(0);
        f.steps(count - 34);
        f.engine->setSpeed(QenSystemOrigin, 60);
    }

    // Rewinds and replays the recording at 1x up to `displayMs`.
    static void replayTo(EngineFixture &f, uint displayMs)
    {
        f.engine->rewind();
        start(f, 60);
        f.engine->advance(int(displayMs));
        f.pump();
    }

private slots:
    void wholeMinutesBelowTwentyX_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<bool>("landsOnMinutes");
        QTest::newRow("1x") << 1 << true;
        QTest::newRow("5x") << 5 << true;
        QTest::newRow("10x") << 10 << true;
        QTest::newRow("20x") << 20 << false;
        QTest::newRow("60x") << 60 << false;
    }
    void wholeMinutesBelowTwentyX()
    {
        QFETCH(int, speed);
        QFETCH(bool, landsOnMinutes);
        EngineFixture f;
        start(f, speed);
        const QList<quint32> shown = pace(f, 700, 185000);
        QCOMPARE(shown.contains(60000u) && shown.contains(120000u) && shown.contains(180000u),
                 landsOnMinutes);
        QCOMPARE(f.engine->state(), ARunning);
        // Never more than one step computed ahead of the display.
        QVERIFY(f.engine->simTime() <= f.engine->displayTime() + 2 * f.engine->stepMs());
    }

    void minuteSignal_data()
    {
        QTest::addColumn<int>("click");
        QTest::addColumn<int>("speed");
        QTest::addColumn<bool>("active");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<int>("sounds");
        QTest::newRow("beep at 10x") << 1 << 10 << true << 3 << 0;
        QTest::newRow("never at 20x") << 1 << 20 << true << 0 << 0;
        QTest::newRow("only the active document") << 1 << 10 << false << 0 << 0;
        QTest::newRow("off") << 0 << 10 << true << 0 << 0;
        QTest::newRow("sound file") << 2 << 5 << true << 0 << 3;
        QTest::newRow("sound file missing beeps") << 3 << 5 << true << 3 << 0;
        QTest::newRow("no sound chosen beeps") << 4 << 5 << true << 3 << 0;
    }
    void minuteSignal()
    {
        QFETCH(int, click);
        QFETCH(int, speed);
        QFETCH(bool, active);
        QFETCH(int, beeps);
        QFETCH(int, sounds);
        EngineFixture f;
        const QString wav = f.dir.filePath(QStringLiteral("tick.wav"));
        QFile file(wav);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        f.ini.setValue(QStringLiteral("Signals"), QStringLiteral("System_1"), wav);
        f.ini.setValue(QStringLiteral("Signals"), QStringLiteral("System_2"),
                       f.dir.filePath(QStringLiteral("missing.wav")));
        QenDefaults d = f.defaults;
        d.click = click;
        f.engine->setDefaults(d);
        f.host.active = active;
        start(f, speed);
        pace(f, 700, 185000);
        QCOMPARE(f.host.beeps, beeps);
        QCOMPARE(f.host.sounds.size(), sounds);
        if (sounds)
            QCOMPARE(f.host.sounds.first(), wav);
    }

    void ctrlMakesTheRunAfap()
    {
        EngineFixture f;
        f.host.ctrl = true;
        start(f, 5);
        QVERIFY(f.engine->afapKey());
        const QList<quint32> shown = pace(f, 700, 100000);
        QVERIFY(!shown.contains(60000u)); // no whole-minute stops
    }

    void bookmarks()
    {
        EngineFixture f;
        QSignalSpy states(f.engine.get(), &QenEngine::stateChanged);
        QSignalSpy why(f.engine.get(), &QenEngine::runStopped);
        f.engine->setBookmarks({300000u, 660000u, 600000u});
        start(f, 60);
        pace(f, 700, 1000000);
        QCOMPARE(f.engine->displayTime(), 300000u);
        QCOMPARE(f.engine->state(), APaused);
        QCOMPARE(states.last().at(0).value<AState>(), APaused);
        QCOMPARE(why.count(), 1);
        QCOMPARE(why.last().at(0).toString(), QStringLiteral("Stopped at bookmark 0:05:00"));

        // A bookmark behind the display does not stop the run again; of two in
        // one advance the earlier stops it first, whatever order they were
        // entered in, and the stored order stays.
        f.engine->setState(QenUserOrigin, ARunning);
        f.engine->advance(400000);
        f.pump();
        QCOMPARE(f.engine->state(), ARunning);
        for (quint32 expected : {600000u, 660000u}) {
            f.engine->setState(QenUserOrigin, ARunning);
            f.engine->advance(1000000);
            f.pump();
            QCOMPARE(f.engine->displayTime(), expected);
            QCOMPARE(f.engine->state(), APaused);
        }
        QCOMPARE(why.last().at(0).toString(), QStringLiteral("Stopped at bookmark 0:11:00"));
        f.engine->setState(QenUserOrigin, ARunning);
        f.engine->advance(1000000);
        f.pump();
        QCOMPARE(f.engine->state(), ARunning);
        QVERIFY(f.engine->displayTime() > 660000u);
        QCOMPARE(f.engine->bookmarks(), (QList<quint32>{300000u, 660000u, 600000u}));
    }

    void wakeUps()
    {
        EngineFixture f;
        QenEngine &e = *f.engine;
        for (quint32 i = 1; i <= 21; ++i)
            e.addWakeUp(i * 60000u);
        QCOMPARE(e.wakeUps().size(), size_t(20));
        QVERIFY(e.wakeUps().back() == 1200000u);
        e.removeWakeUp(60000u);
        e.removeWakeUp(60000u); // gone already
        QCOMPARE(e.wakeUps().front(), 120000u);
        QCOMPARE(e.wakeUps().size(), size_t(19));

        start(f, 60);
        pace(f, 700, 1000000);
        QCOMPARE(e.displayTime(), 120000u);
        QCOMPARE(e.state(), APaused);
    }

    // A pacing total that starts below the display (it is rounded down to whole
    // seconds) keeps the display where it is and the run going.
    void advanceNeverMovesBack()
    {
        EngineFixture f;
        start(f, 1);
        f.engine->advance(10500);
        f.pump();
        f.engine->pause();
        QCOMPARE(f.engine->displayTime(), 10500u);
        f.engine->setState(QenUserOrigin, ARunning);
        for (quint32 total = 10100; total < 12000; total += 100) {
            f.engine->advance(int(total));
            f.pump();
            QVERIFY(f.engine->displayTime() >= 10500u);
        }
        QCOMPARE(f.engine->state(), ARunning);
        QCOMPARE(f.engine->displayTime(), 11900u);
    }

    void replayStopsAtTheEnd()
    {
        EngineFixture f;
        QenEngine &e = *f.engine;
        f.steps(50);
        e.setFGF(QenUserOrigin, 5.0f); // at 5:00, the live time: nothing to erase
        f.steps(50);
        QCOMPARE(e.endTime(), 600000u);
        QCOMPARE(e.track(0).samples.size(), size_t(100));

        e.rewind();
        QCOMPARE(e.state(), ANotRun);
        QCOMPARE(e.displayTime(), 0u);
        QCOMPARE(e.fgf(), 8.0f);
        QCOMPARE(e.track(0).values[ALV], 0.0f);
        QCOMPARE(e.endTime(), 600000u);

        start(f, 60);
        e.advance(120000);
        f.pump();
        QCOMPARE(e.displayTime(), 120000u);
        QCOMPARE(e.compartment(0, ALV, 2.0f), e.track(0).samples[20].state[ALV]);
        QSignalSpy why(&e, &QenEngine::runStopped);
        e.advance(-1);
        f.pump();
        QCOMPARE(e.displayTime(), 600000u);
        QCOMPARE(e.state(), APaused);
        QCOMPARE(why.count(), 1);
        QCOMPARE(why.last().at(0).toString(), QStringLiteral("End of recording at 0:10:00"));
        QCOMPARE(e.fgf(), 5.0f); // the replay brought the recorded change back
        QCOMPARE(e.track(0).samples.size(), size_t(100));

        e.setState(QenUserOrigin, ARunning);
        e.advance(700000);
        f.pump();
        QCOMPARE(e.displayTime(), 700000u);
        QCOMPARE(e.endTime(), 700000u);
        QVERIFY(e.track(0).samples.size() > 100);
    }

    void skipForwardJumpsToBookmarkOrEnd()
    {
        EngineFixture f;
        f.steps(100);
        f.engine->rewind();
        f.engine->setBookmarks({240000u});
        f.engine->skipForward();
        QCOMPARE(f.engine->displayTime(), 240000u);
        QCOMPARE(f.engine->state(), APaused);
        f.engine->skipForward();
        QCOMPARE(f.engine->displayTime(), 600000u);
    }

    // The recording holds a dose in the step 3:24-3:30. A change shown inside
    // that step erases it and gives the dose again; a change shown at 3:30
    // itself keeps the step whose result is already on display.
    void eraseForwardAtThreeThirty_data()
    {
        QTest::addColumn<uint>("displayMs");
        QTest::addColumn<int>("kept");
        QTest::addColumn<int>("redone");
        QTest::newRow("inside the step from 3:24") << 207000u << 34 << 1;
        QTest::newRow("at 3:30") << 210000u << 35 << 0;
    }
    void eraseForwardAtThreeThirty()
    {
        QFETCH(uint, displayMs);
        QFETCH(int, kept);
        QFETCH(int, redone);
        EngineFixture f;
        QenEngine &e = *f.engine;
        recordWithDose(f, 100);
        const QenSample first = e.track(0).samples[size_t(kept)];
        QCOMPARE(e.track(0).samples[34].doses(), 1);

        replayTo(f, displayMs);
        QCOMPARE(e.displayTime(), quint32(displayMs));

        f.prompt.expect(QenPrompt::Ok);
        QVERIFY(e.replayGuard(true));
        e.setFGF(QenUserOrigin, 4.0f);
        QCOMPARE(f.prompt.records().size(), 1);
        const ScriptedPrompt::Record &asked = f.prompt.records().first();
        QCOMPARE(asked.icon, QenPrompt::Warning);
        QCOMPARE(asked.title, QStringLiteral("Quenor® "));
        QVERIFY(asked.text.startsWith(QStringLiteral("<p>Changing conditions while replaying")));
        QCOMPARE(asked.defaultButton, int(QenPrompt::Cancel));
        QCOMPARE(e.state(), APaused);

        const Qen &t = e.track(0);
        QCOMPARE(t.samples.size(), size_t(kept));
        QCOMPARE(e.simTime(), first.time);
        QCOMPARE(e.endTime(), quint32(displayMs));
        for (int i = 0; i < QenStateSize; ++i)
            QCOMPARE(t.state[i], first.state[i]);
        QCOMPARE(t.pendingDoses, redone);
        if (kept > 34)
            QCOMPARE(t.samples[34].doses(), 1); // kept with the step that holds it

        e.setState(QenUserOrigin, ARunning);
        e.advance(int(displayMs) + 1000);
        f.pump();
        const QenSample &again = t.samples[size_t(kept)];
        QCOMPARE(again.time, first.time);
        QCOMPARE(again.fgf, 4.0f);
        QCOMPARE(again.doses(), redone);
        const double delivered =
            t.samples[size_t(kept) + 1].state[QenDelivered] - again.state[QenDelivered];
        const double expected = redone * 240 * 0.5 / 1000.0 + 0.1 * 3.3 * 4.0 / 100.0;
        QVERIFY(std::fabs(delivered - expected) < 1e-6);
        // The dose reached the patient once, whichever step holds it now.
        QVERIFY(std::fabs(t.samples[size_t(kept) + 1].state[QenDelivered] -
                          (0.12 + 0.1 * 3.3 * 8.0 / 100.0 * kept + 0.1 * 3.3 * 4.0 / 100.0)) <
                1e-4);
    }

    void replayGuardCancelled()
    {
        EngineFixture f;
        QenEngine &e = *f.engine;
        f.steps(20);
        e.rewind();
        e.advance(60000);
        QSignalSpy panel(&e, &QenEngine::updatePanel);
        f.prompt.expect(QenPrompt::Cancel);
        QVERIFY(!e.replayGuard(true));
        QCOMPARE(panel.count(), 1);
        QCOMPARE(e.track(0).samples.size(), size_t(20));
        QCOMPARE(e.endTime(), 120000u);
        // At the live end of the recording nothing is asked.
        e.advance(-1);
        QVERIFY(e.replayGuard(false));
        QCOMPARE(f.prompt.records().size(), 1);
    }

    void eraseKeepSettings()
    {
        EngineFixture f;
        QenEngine &e = *f.engine;
        e.injectDose(0);
        e.flushCircuit();
        f.steps(20);
        e.setFGF(QenUserOrigin, 6.0f);
        f.prompt.expect(QenPrompt::Cancel);
        QVERIFY(!e.eraseKeepSettings(QStringLiteral("Untitled1")));
        QCOMPARE(e.track(0).samples.size(), size_t(20));
        f.prompt.expect(QenPrompt::Ok);
        QVERIFY(e.eraseKeepSettings(QStringLiteral("Untitled1")));
        QCOMPARE(f.prompt.records().last().text,
                 QStringLiteral("<p>Erase simulation Untitled1 but keep current settings?"));
        QCOMPARE(f.prompt.records().last().title, QStringLiteral("Quenor®"));
        QVERIFY(e.track(0).samples.empty());
        QCOMPARE(e.simTime(), 0u);
        QCOMPARE(e.endTime(), 0u);
        QCOMPARE(e.state(), ANotRun);
        QCOMPARE(e.fgf(), 6.0f);
        QCOMPARE(e.track(0).state[ALV], 0.0f);
        QCOMPARE(e.track(0).state[QenDelivered], 0.0f);
        // What the erased start held does not come back into the new run.
        QVERIFY(!e.flushPending());
        QCOMPARE(e.track(0).pendingDoses, 0);
    }

    // A flush and a dose given at the start belong to the first step: after
    // a rewind the replay shows them, and the run continued from the end of
    // the recording is the one that would have been computed straight on.
    void continuedRunEqualsStraightRun()
    {
        auto begin = [](EngineFixture &f) {
            f.usePrimary("Halothane");
            f.engine->injectDose(0);
            f.engine->flushCircuit();
        };
        EngineFixture straight;
        begin(straight);
        straight.steps(33);

        EngineFixture f;
        QenEngine &e = *f.engine;
        begin(f);
        f.steps(30);
        e.rewind();
        QVERIFY(!e.flushPending());
        QCOMPARE(e.track(0).pendingDoses, 0);
        start(f, 1000);
        e.advance(-1);
        f.pump();
        QCOMPARE(e.displayTime(), 180000u);
        f.steps(3);

        const std::vector<QenSample> &want = straight.engine->track(0).samples;
        const std::vector<QenSample> &got = e.track(0).samples;
        QCOMPARE(got.size(), want.size());
        for (size_t i = 0; i < got.size(); ++i)
            QVERIFY2(std::memcmp(&got[i], &want[i], sizeof(QenSample)) == 0,
                     qPrintable(QStringLiteral("sample %1").arg(i)));
        QVERIFY(got[0].hasFlush());
        QVERIFY(!got[30].hasFlush());
    }

    // After the display jumps back to 0, the breakpoint stops the replay where
    // its condition is crossed, not at once because of the value at the end.
    void breakpointAfterJumpingBack_data()
    {
        QTest::addColumn<bool>("erase");
        QTest::newRow("rewind") << false;
        QTest::newRow("erase, keep settings") << true;
    }
    void breakpointAfterJumpingBack()
    {
        QFETCH(bool, erase);
        EngineFixture f;
        QenEngine &e = *f.engine;
        QVERIFY(e.setBreakpoint(QStringLiteral("ALV=0.3")));
        QSignalSpy why(&e, &QenEngine::runStopped);
        start(f, 60);
        pace(f, 700, 900000);
        const quint32 crossing = e.displayTime();
        QCOMPARE(e.state(), APaused);
        QVERIFY(crossing > 0 && crossing < 600000);
        QCOMPARE(
            why.last().at(0).toString(),
            QStringLiteral("Breakpoint ALV=0.3 reached at %1").arg(QenEngine::clockText(crossing)));
        e.setState(QenUserOrigin, ARunning);
        pace(f, 700, 900000);
        QVERIFY(e.displayTime() >= 900000);

        if (erase) {
            f.prompt.expect(QenPrompt::Ok);
            QVERIFY(e.eraseKeepSettings(QStringLiteral("Untitled1")));
        } else {
            e.rewind();
        }
        start(f, 60);
        pace(f, 700, 900000);
        QCOMPARE(e.displayTime(), crossing);
        QCOMPARE(e.state(), APaused);
    }

    // In the GUI the engine runs a step ahead of the display: a change made
    // with the display at 3:30 erases the step 3:30-3:36 already computed,
    // and a dose given at 3:30 comes back with it.
    void eraseGivesBackTheDoseOfTheStepOnDisplay()
    {
        EngineFixture f;
        QenEngine &e = *f.engine;
        f.steps(35);
        QCOMPARE(e.displayTime(), 210000u);
        e.injectDose(0);
        e.setSpeed(QenSystemOrigin, 60);
        QVERIFY(e.advanceOneStep());
        QCOMPARE(e.simTime(), 216000u);
        QCOMPARE(e.track(0).samples.back().doses(), 1);
        QCOMPARE(e.track(0).pendingDoses, 0);

        e.setFGF(QenUserOrigin, 4.0f);
        QCOMPARE(e.simTime(), 210000u);
        QCOMPARE(e.track(0).samples.size(), size_t(35));
        QCOMPARE(e.track(0).pendingDoses, 1);
    }

    // The recording holds a flush in the step 3:24-3:30. A change shown
    // inside that step erases it and the flush is pending again, so the step
    // computed anew records it; a change shown before it (the flush was not
    // yet on display) or at 3:30 (its step is kept) leaves none pending.
    void eraseGivesBackTheFlushOnDisplay_data()
    {
        QTest::addColumn<uint>("displayMs");
        QTest::addColumn<uint>("cutMs");
        QTest::addColumn<bool>("given");
        QTest::newRow("3:18, before the step from 3:24") << 198000u << 198000u << false;
        QTest::newRow("3:27, inside the step from 3:24") << 207000u << 204000u << true;
        QTest::newRow("3:30, after it") << 210000u << 210000u << false;
    }
    void eraseGivesBackTheFlushOnDisplay()
    {
        QFETCH(uint, displayMs);
        QFETCH(uint, cutMs);
        QFETCH(bool, given);
        EngineFixture f;
        QenEngine &e = *f.engine;
        f.steps(34);
        e.flushCircuit();
        f.steps(66);
        QVERIFY(e.track(0).samples[34].hasFlush());
        replayTo(f, displayMs);
        QCOMPARE(e.displayTime(), quint32(displayMs));

        f.prompt.expect(QenPrompt::Ok);
        QVERIFY(e.replayGuard(true));
        QCOMPARE(e.simTime(), quint32(cutMs));
        QCOMPARE(e.flushPending(), given);
        e.setSpeed(QenSystemOrigin, 1000);
        QVERIFY(e.advanceOneStep());
        QCOMPARE(e.track(0).samples.back().time, quint32(cutMs));
        QCOMPARE(e.track(0).samples.back().hasFlush(), given);
    }

    // A run whose values leave what the model can compute stops there and
    // says so, recording nothing that is not a number.
    void runStopsWhereTheValuesLeaveTheRange_data()
    {
        QTest::addColumn<QString>("agent");
        QTest::addColumn<int>("circuit");
        QTest::addColumn<float>("del");
        QTest::addColumn<bool>("venousReturn");
        QTest::addColumn<float>("va");
        // A closed circuit fed nitrogen at its vaporizer's top overflows float.
        QTest::newRow("nitrogen, closed") << "Nitrogen" << 2 << 1600.0f << true << 4.0f;
        // Above an atmosphere, an open circuit without venous return: the
        // alveoli ran away from the circuit's 150 % to 2.3e8 % within the hour.
        QTest::newRow("nitrous oxide, open") << "Nitrous Oxide" << 0 << 150.0f << false << 0.5f;
    }
    void runStopsWhereTheValuesLeaveTheRange()
    {
        QFETCH(QString, agent);
        QFETCH(int, circuit);
        QFETCH(float, del);
        QFETCH(bool, venousReturn);
        QFETCH(float, va);
        EngineFixture f;
        QenEngine &e = *f.engine;
        f.usePrimary(agent.toLatin1().constData());
        e.setCircuit(QenUserOrigin, QenVocabulary::circuits().at(circuit));
        e.setDEL(QenUserOrigin, 0, del);
        e.setVA(QenUserOrigin, va);
        e.disableReturn(!venousReturn);
        QSignalSpy why(&e, &QenEngine::runStopped);
        start(f, 1000);
        for (int i = 0; i < 100 && e.state() == ARunning; ++i) {
            e.advance(-1);
            f.pump();
        }
        QCOMPARE(e.state(), APaused);
        QVERIFY(e.simTime() < e.limitMs());
        QCOMPARE(why.count(), 1);
        QVERIFY(why.last().at(0).toString().startsWith(
            QStringLiteral("Stopped at %1: ").arg(QenEngine::clockText(e.simTime()))));
        // What was recorded stays within ten times the vaporizer's top.
        for (const QenSample &s : e.track(0).samples)
            for (int c = 0; c < QenCompartments; ++c)
                QVERIFY2(std::fabs(s.state[c]) <= 10.0f * std::max(del, 100.0f),
                         qPrintable(QString::number(s.state[c])));
    }

    void runEndsAtTheLimit()
    {
        EngineFixture f;
        QenEngine &e = *f.engine;
        QSignalSpy states(&e, &QenEngine::stateChanged);
        QSignalSpy why(&e, &QenEngine::runStopped);
        // Crossed early on; a run as fast as possible never looks at it.
        QVERIFY(e.setBreakpoint(QStringLiteral("ALV=0.3")));
        start(f, 1000);
        for (int i = 0; i < 1000 && e.state() == ARunning; ++i) {
            e.advance(-1);
            f.pump();
        }
        QCOMPARE(e.state(), AFinished);
        QCOMPARE(e.displayTime(), 71994000u);
        QCOMPARE(why.count(), 1);
        QCOMPARE(why.last().at(0).toString(), QStringLiteral("End of simulation"));
        QCOMPARE(e.breakpointLastValue(), 0.3f);
        QCOMPARE(states.last().at(0).value<AState>(), AFinished);
        QVERIFY(e.track(0).samples.size() <= size_t(QenMaxSteps));
        QVERIFY(!e.advanceOneStep());
        // The last minutes still answer queries from the recording.
        QCOMPARE(e.compartment(0, ALV, 1199.0f), e.stateAt(0, 71940000u)[ALV]);
    }

    void lookupsAcrossTracks()
    {
        EngineFixture f;
        QenEngine &e = *f.engine;
        f.steps(50);
        QCOMPARE(e.addAgent(f.displayName("Nitrous Oxide")), 1);
        f.steps(50);
        const Qen &late = e.track(1);
        QCOMPARE(late.samples.size(), size_t(50));
        QCOMPARE(late.samples.front().time, 300000u);
        for (quint32 t = 0; t < e.simTime(); t += 1234) {
            const int i = e.sampleAt(t);
            const QenSample &s = e.track(0).samples[size_t(i)];
            QVERIFY(s.time <= t && t < s.time + 6000);
            QCOMPARE(e.stateAt(0, t)[VRG], s.state[VRG]);
            const float *n2o = e.stateAt(1, t);
            const QenSample &own = t < 300000u ? late.samples.front() : late.samples[i - 50];
            QCOMPARE(n2o[ALV], own.state[ALV]);
        }

        // Erasing back before the second track existed leaves it no samples;
        // the next steps record both again in step.
        e.rewind();
        e.advance(120000);
        e.setCO(QenUserOrigin, 6.0f);
        QCOMPARE(e.track(0).samples.size(), size_t(20));
        QVERIFY(e.track(1).samples.empty());
        f.steps(3);
        QCOMPARE(e.track(1).samples.size(), size_t(3));
        QCOMPARE(e.sampleOf(1, 125000u)->time, 120000u);
    }

    void valueQueries()
    {
        EngineFixture f;
        QenEngine &e = *f.engine;
        e.setCircuit(QenUserOrigin, QenVocabulary::circuits().at(0));
        e.setDEL(QenUserOrigin, 0, 2.0f);
        f.steps(10);
        e.setCO(QenUserOrigin, 7.0f);
        f.steps(10);
        e.flushCircuit();
        f.steps(10);
        const Qen &t = e.track(0);

        QCOMPARE(e.cardiacOutput(0.5f), 5.0f);
        QCOMPARE(e.cardiacOutput(1.5f), 7.0f);
        // An open circuit delivers exactly what the vaporizer is set to.
        QVERIFY(std::fabs(e.delDelivered(0, 0.55f) - 2.0f) < 1e-4);
        QCOMPARE(e.delDelivered(0, 0.05f), 2.0f); // no step before to compare with
        // The flush marks its step: 30 L/min of oxygen, no agent.
        QCOMPARE(e.fgfDelivered(0, 2.05f), 30.0f);
        QCOMPARE(e.delDelivered(0, 2.05f), 0.0f);
        QCOMPARE(e.fgfDelivered(0, 2.15f), 10.0f);

        // VA as breathed adds the uptake of the last step.
        const quint32 at = 90000;
        const double uptake =
            (t.samples[15].state[QenUptake] - t.samples[14].state[QenUptake]) / 0.1f;
        QVERIFY(std::fabs(e.vaBreathedAt(at) - (4.0 + uptake)) < 1e-5);
        QVERIFY(uptake > 0.0);
        e.disableUptake(true);
        QCOMPARE(e.vaBreathedAt(e.displayTime()), 4.0f);

        const float perLitre = e.costPerLitre(0);
        QCOMPARE(e.cost(0, 1.0f), float(double(t.samples[10].state[QenDelivered]) * perLitre));
        // Minutes past the end of the recording are answered at its end.
        QCOMPARE(e.queryMs(500.0f), e.endTime());
    }

    void eventFlag()
    {
        EngineFixture f;
        QenEngine &e = *f.engine;
        recordWithDose(f, 60);
        bool event = false;
        e.delDelivered(0, 3.0f, 3.5f, &event);
        QVERIFY(event);
        e.delDelivered(0, 3.5f, 3.0f, &event);
        QVERIFY(event);
        e.delDelivered(0, 1.0f, 2.0f, &event);
        QVERIFY(!event);
        e.injectDose(0);
        e.delDelivered(0, 6.0f, 5.0f, &event);
        QVERIFY(event); // at the live end: a dose is pending
    }

    void trackStreamRoundTrip()
    {
        EngineFixture f;
        recordWithDose(f, 40);
        const Qen &t = f.engine->track(0);
        QByteArray bytes;
        {
            QDataStream out(&bytes, QIODevice::WriteOnly);
            out.setVersion(QDataStream::Qt_4_0);
            out.setFloatingPointPrecision(QDataStream::SinglePrecision);
            Qen copy = t;
            QVERIFY(copy.serialize(out, true, f.catalogue, nullptr));
        }
        QCOMPARE(bytes.size(), 4 + 40 * 64 + 32);

        QDataStream in(bytes);
        in.setVersion(QDataStream::Qt_4_0);
        in.setFloatingPointPrecision(QDataStream::SinglePrecision);
        Qen read;
        QVERIFY(read.serialize(in, false, f.catalogue, nullptr));
        QCOMPARE(read.samples.size(), size_t(40));
        QCOMPARE(read.displayName, QStringLiteral("Halothane"));
        QCOMPARE(read.current, 39);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(read.samples.data()), 40 * 64),
                 QByteArray(reinterpret_cast<const char *>(t.samples.data()), 40 * 64));
        QCOMPARE(std::memcmp(read.state, t.state, sizeof t.state), 0);

        // A cut stream or a foreign agent index is refused and changes nothing.
        QDataStream cut(bytes.left(bytes.size() - 10));
        cut.setFloatingPointPrecision(QDataStream::SinglePrecision);
        Qen untouched;
        QVERIFY(!untouched.serialize(cut, false, f.catalogue, nullptr));
        QVERIFY(untouched.samples.empty());
        QByteArray foreign = bytes;
        foreign[4 + 28] = char(0x7f); // high byte of the first sample's agent
        QDataStream bad(foreign);
        bad.setFloatingPointPrecision(QDataStream::SinglePrecision);
        QVERIFY(!untouched.serialize(bad, false, f.catalogue, nullptr));
    }

    void emptyTrackStreamsItsSettings()
    {
        EngineFixture f;
        f.engine->setDEL(QenUserOrigin, 0, 1.25f);
        QenSample settings = f.engine->makeSample(0);
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setFloatingPointPrecision(QDataStream::SinglePrecision);
        Qen copy = f.engine->track(0);
        QVERIFY(copy.serialize(out, true, f.catalogue, &settings));
        QCOMPARE(bytes.size(), 4 + 64);

        QDataStream in(bytes);
        in.setFloatingPointPrecision(QDataStream::SinglePrecision);
        Qen read;
        QenSample back;
        QVERIFY(read.serialize(in, false, f.catalogue, &back));
        QVERIFY(read.samples.empty());
        QCOMPARE(read.del, 1.25f);
        QCOMPARE(read.unitDose, 0.5f);
        QCOMPARE(back.flags, settings.flags);
    }

    void changesBetween_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("mask");
        QTest::newRow("same") << "" << 0;
        QTest::newRow("agent") << "agent" << 1;
        QTest::newRow("circuit") << "circuit" << 2;
        QTest::newRow("vapour") << "vapor" << 2;
        QTest::newRow("DEL") << "del" << 8;
        QTest::newRow("FGF") << "fgf" << 16;
        QTest::newRow("VA") << "va" << 32;
        QTest::newRow("CO") << "co" << 64;
        QTest::newRow("weight") << "weight" << 512;
        QTest::newRow("doses") << "doses" << 1024;
        QTest::newRow("flush") << "flush" << 1024;
    }
    void changesBetween()
    {
        QFETCH(QString, field);
        QFETCH(int, mask);
        QenSample a;
        a.del = 2.0f;
        a.fgf = 8.0f;
        a.va = 4.0f;
        a.co = 5.0f;
        a.weight = 70.0f;
        a.flags = 0x0007;
        QenSample b = a;
        b.time = 6000;
        b.state[ALV] = 1.0f;
        if (field == QLatin1String("agent"))
            b.agent = 3;
        else if (field == QLatin1String("circuit"))
            b.flags = 0x000b;
        else if (field == QLatin1String("vapor"))
            b.flags |= QenSample::VaporEffect;
        else if (field == QLatin1String("del"))
            b.del = 3.0f;
        else if (field == QLatin1String("fgf"))
            b.fgf = 3.0f;
        else if (field == QLatin1String("va"))
            b.va = 3.0f;
        else if (field == QLatin1String("co"))
            b.co = 3.0f;
        else if (field == QLatin1String("weight"))
            b.weight = 3.0f;
        else if (field == QLatin1String("doses"))
            b.flags |= 2 << QenSample::DosesShift;
        else if (field == QLatin1String("flush"))
            b.flags |= QenSample::Flush;
        QCOMPARE(QenSample::changesBetween(a, b), mask);
    }

    void copyValuesLine()
    {
        EngineFixture f;
        f.steps(35);
        const QStringList fields = f.engine->copyValues(0).split(QLatin1Char('\t'));
        QCOMPARE(fields.size(), 13); // the last, the footprint, is empty for halothane
        QCOMPARE(fields[0], QStringLiteral("0:03:30"));
        QCOMPARE(fields[1], QStringLiteral("3.300000"));
        QCOMPARE(fields[3], QString::number(f.engine->track(0).values[ALV], 'f', 6));
    }
};

QTEST_GUILESS_MAIN(TestQenRun)
#include "tst_qenrun.moc"
