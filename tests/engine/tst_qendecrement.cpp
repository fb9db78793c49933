#include "enginefixture.h"
#include "testfiles.h"

#include "engine/qendecrement.h"
#include "engine/qenfootprint.h"
#include "engine/qengwpupdate.h"

#include <QDataStream>
#include <QSignalSpy>

#include <cmath>

// The greenhouse footprint and the wake-up forecast, against hand calculations
// and against the simulation itself carried on with its vaporizers off.
class TestQenDecrement : public QObject
{
    Q_OBJECT

private:
    // Runs `f`'s simulation with `iniName` at `del` in a semi-closed circuit
    // at FGF 2 for `minutes`.
    static void record(EngineFixture &f, const char *iniName, float del, int minutes)
    {
        f.usePrimary(iniName);
        f.engine->setFGF(QenUserOrigin, 2.0f);
        f.engine->setDEL(QenUserOrigin, 0, del);
        f.steps(minutes * 10);
    }

    // The oracle: the simulation itself, with its DEL set to 0 at the live end
    // as the user would, stepped until its VRG falls to each level.
    static std::array<std::optional<double>, 3> byHand(EngineFixture &f)
    {
        const quint32 from = f.engine->simTime();
        const double vrg = f.engine->track(0).state[VRG];
        f.engine->setDEL(QenUserOrigin, 0, 0.0f);
        std::array<std::optional<double>, 3> found;
        const double left[3] = {0.5, 0.2, 0.1};
        while (!found[2] && f.engine->simTime() < f.engine->limitMs()) {
            f.steps(1);
            for (int i = 0; i < 3; ++i)
                if (!found[size_t(i)] && f.engine->track(0).state[VRG] <= left[i] * vrg)
                    found[size_t(i)] = (f.engine->simTime() - from) / 60000.0;
        }
        return found;
    }

private slots:
    // Litres / 24.055 x g/mol / 1000 x GWP100, worked out by hand; the
    // constants come from the delivered INI, whose comment lines must not
    // disturb the reading.
    void footprint_data()
    {
        QTest::addColumn<QString>("agent");
        QTest::addColumn<double>("litres");
        QTest::addColumn<double>("expected"); // -1: unknown
        QTest::newRow("desflurane, one hour at 6 % and 2 L/min")
            << "Desflurane" << 7.2 << 130.2685479110372;
        QTest::newRow("nitrous oxide") << "Nitrous Oxide" << 100.0 << 49.95031802120141;
        QTest::newRow("xenon is known to be harmless") << "Xenon" << 50.0 << 0.0;
        QTest::newRow("halothane") << "Halothane" << 3.0 << 1.107723965911453;
        QTest::newRow("enflurane") << "Enflurane" << 2.0 << 10.03171565163168;
        QTest::newRow("ether has no published value here") << "Ether" << 3.0 << -1.0;
    }
    void footprint()
    {
        QFETCH(QString, agent);
        QFETCH(double, litres);
        QFETCH(double, expected);
        EngineFixture f;
        const std::optional<double> co2e =
            QenFootprint::co2eKg(&f.agent(agent.toLatin1().constData()), litres);
        if (expected < 0) {
            QVERIFY(!co2e);
            return;
        }
        QVERIFY(co2e);
        QVERIFY2(std::fabs(*co2e - expected) <= 1e-4 * std::max(1.0, expected),
                 qPrintable(QString::number(*co2e)));
    }

    // Settings seeded from the earlier built-in copy (2012 values, none for
    // halothane and enflurane) take the current table's values; a value the
    // user changed or removed stays, and the update runs once.
    void earlierSettingsTakeTheCurrentTable_data()
    {
        QTest::addColumn<QString>("edit"); // applied to the earlier copy
        // desflurane, isoflurane, sevoflurane, halothane, enflurane; -1: no key
        QTest::addColumn<QList<double>>("expected");
        QTest::addColumn<int>("changed");
        QTest::newRow("as seeded") << "" << QList<double>{2590, 539, 195, 45, 654} << 5;
        QTest::newRow("desflurane changed by the user")
            << "Desflurane=2000" << QList<double>{2000, 539, 195, 45, 654} << 4;
        QTest::newRow("desflurane made unknown by the user")
            << "Desflurane=" << QList<double>{-1, 539, 195, 45, 654} << 4;
        QTest::newRow("halothane rated by the user")
            << "Halothane=50" << QList<double>{2590, 539, 195, 50, 654} << 4;
        QTest::newRow("already updated once")
            << "GwpTable" << QList<double>{2540, 510, 130, -1, -1} << 0;
    }
    void earlierSettingsTakeTheCurrentTable()
    {
        QFETCH(QString, edit);
        QFETCH(QList<double>, expected);
        QFETCH(int, changed);
        // The earlier copy: today's with the earlier values put back.
        QString text =
            QString::fromUtf8(fileContents(QStringLiteral(":/safeCopy/quenor_en_US.ini")));
        const char *names[] = {"Desflurane", "Isoflurane", "Sevoflurane", "Halothane", "Enflurane"};
        const char *earlier[] = {"2540", "510", "130", nullptr, nullptr};
        for (int i = 0; i < 5; ++i) {
            const qsizetype section = text.indexOf(QStringLiteral("[%1]").arg(names[i]));
            const qsizetype key = text.indexOf(QStringLiteral("GWP100="), section);
            QVERIFY(section >= 0 && key > section);
            const qsizetype end = text.indexOf(QLatin1Char('\n'), key);
            QString line = earlier[i] ? QStringLiteral("GWP100=%1").arg(earlier[i]) : QString();
            if (edit.startsWith(QLatin1String(names[i])))
                line = QStringLiteral("GWP100=") + edit.section(QLatin1Char('='), 1);
            text.replace(key, end - key, line);
        }
        if (edit != QLatin1String("GwpTable"))
            text.remove(QStringLiteral("GwpTable=2021\n"));
        QTemporaryDir dir;
        const QenIni settings(writeIniText(dir.path(), text));
        const QenIni builtIn(QStringLiteral(":/safeCopy/quenor_en_US.ini"));

        QCOMPARE(QenGwpUpdate::apply(settings, builtIn).size(), changed);
        for (int i = 0; i < 5; ++i) {
            const QVariant v = QenIni(settings.path()).value(names[i], QStringLiteral("GWP100"));
            if (expected[i] < 0)
                QVERIFY2(v.toString().isEmpty(), names[i]);
            else
                QCOMPARE(v.toDouble(), expected[i]);
        }
        // Once is enough: a value typed again afterwards is the user's.
        QVERIFY(settings.setValue(QStringLiteral("Isoflurane"), QStringLiteral("GWP100"), 510));
        QCOMPARE(QenGwpUpdate::apply(settings, builtIn).size(), 0);
        QCOMPARE(settings.value(QStringLiteral("Isoflurane"), QStringLiteral("GWP100")).toDouble(),
                 510.0);
    }

    // Unusable constants leave the footprint unknown and never cost the agent
    // its place in the catalogue; a saved simulation's agents take them from
    // the INI, since files do not carry them.
    void unusableKeys_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("known");
        QTest::newRow("both") << "GWP100=100\nMolarMass=50" << true;
        QTest::newRow("none") << "" << false;
        QTest::newRow("text") << "GWP100=lots\nMolarMass=50" << false;
        QTest::newRow("negative") << "GWP100=-3\nMolarMass=50" << false;
        QTest::newRow("no mass") << "GWP100=100\nMolarMass=0" << false;
        QTest::newRow("empty") << "GWP100=\nMolarMass=50" << false;
    }
    void unusableKeys()
    {
        QFETCH(QString, keys);
        QFETCH(bool, known);
        QTemporaryDir dir;
        const QString path = writeIniText(
            dir.path(), QStringLiteral("[Agents]\nAgents=Gas\n[Gas]\nLambda=1\nVRG=1\nMUS=1\n"
                                       "FAT=1\n; a comment line between keys\n%1\n")
                            .arg(keys));
        const QenIni ini(path);
        ScriptedPrompt prompt;
        QenCatalogue catalogue;
        QCOMPARE(catalogue.load(ini, QenVocabulary::colorNames(), &prompt), 1);
        QCOMPARE(QenFootprint::co2eKg(catalogue.at(0), 24.055).has_value(), known);
        if (known)
            QCOMPARE(*QenFootprint::co2eKg(catalogue.at(0), 24.055), 5.0);

        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        catalogue.at(0)->serialize(out, true, 4);
        QDataStream in(bytes);
        QenAnesthetic read;
        read.serialize(in, false, 4, &ini);
        QCOMPARE(QenFootprint::co2eKg(&read, 24.055).has_value(), known);
    }

    // Copy Data ends with the footprint of what was delivered, empty when unknown.
    void copyDataField_data()
    {
        QTest::addColumn<QString>("agent");
        QTest::addColumn<double>("gwp");
        QTest::addColumn<double>("mass");
        QTest::newRow("isoflurane") << "Isoflurane" << 539.0 << 184.49;
        QTest::newRow("halothane") << "Halothane" << 45.0 << 197.38;
        QTest::newRow("ether") << "Ether" << -1.0 << 0.0;
    }
    void copyDataField()
    {
        QFETCH(QString, agent);
        QFETCH(double, gwp);
        QFETCH(double, mass);
        EngineFixture f;
        record(f, agent.toLatin1().constData(), 1.5f, 10);
        const QStringList fields = f.engine->copyValues(0).split(QLatin1Char('\t'));
        QCOMPARE(fields.size(), 13);
        const double delivered = fields[9].toDouble();
        QVERIFY(delivered > 0.2);
        if (gwp < 0)
            QVERIFY(fields[12].isEmpty());
        else
            QVERIFY(std::fabs(fields[12].toDouble() - delivered / 24.055 * mass / 1000 * gwp) <
                    1e-4);
    }

    // The forecast from the live end, and from a time in the past, equals the
    // simulation itself carried on from there with its DEL at 0. From inside
    // a step it starts from that step's recorded state and counts its minutes
    // from the time asked for, not from the step's start.
    void equalsTheSimulationCarriedOn_data()
    {
        QTest::addColumn<int>("fromMin");
        QTest::addColumn<int>("recordedMin");
        QTest::addColumn<int>("intoStepMs");
        QTest::newRow("live end") << 45 << 45 << 0;
        QTest::newRow("in the past") << 30 << 60 << 0;
        QTest::newRow("in the past, 2.5 s into a step") << 30 << 60 << 2500;
        QTest::newRow("in the past, late in a step") << 20 << 60 << 5900;
    }
    void equalsTheSimulationCarriedOn()
    {
        QFETCH(int, fromMin);
        QFETCH(int, recordedMin);
        QFETCH(int, intoStepMs);
        EngineFixture f;
        record(f, "Sevoflurane", 2.1f, recordedMin);
        QVERIFY(intoStepMs < f.engine->stepMs());
        const QenDecrement forecast(f.catalogue);
        const auto times =
            forecast.run(QenDecrement::startAt(*f.engine, fromMin * 60000u + quint32(intoStepMs)));
        QVERIFY(times && times->size() == 1);
        QVERIFY((*times)[0].vrgAtStart > 0.5f);

        EngineFixture oracle;
        record(oracle, "Sevoflurane", 2.1f, fromMin);
        const auto expected = byHand(oracle);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(expected[size_t(i)]);
            const std::optional<double> &got = (*times)[0].minutes[size_t(i)];
            QVERIFY(got);
            QCOMPARE(*got, *expected[size_t(i)] - intoStepMs / 60000.0);
        }
        QVERIFY(*expected[0] < *expected[1] && *expected[1] < *expected[2]);
    }

    // With the flow changed at wake-up the forecast equals the simulation
    // itself, shown at D between two step ends, given DEL 0 and the new flow
    // there as the user would, and stepped on; raising the flow shortens
    // every time.
    void wakeFlowEqualsTheSimulationCarriedOn_data()
    {
        QTest::addColumn<QString>("agent");
        QTest::addColumn<float>("del");
        QTest::addColumn<float>("fgf");
        QTest::addColumn<int>("fromMs");
        QTest::addColumn<int>("recordedMin");
        QTest::addColumn<float>("wakeFgf");
        QTest::newRow("live end, 2 raised to 10")
            << "Sevoflurane" << 2.1f << 2.0f << 45 * 60000 - 2500 << 45 << 10.0f;
        QTest::newRow("in the past, 1.5 raised to 7.5")
            << "Isoflurane" << 1.3f << 1.5f << 30 * 60000 + 3300 << 60 << 7.5f;
        QTest::newRow("desflurane after 2 h, 2 raised to 12")
            << "Desflurane" << 6.0f << 2.0f << 120 * 60000 + 1700 << 125 << 12.0f;
    }
    void wakeFlowEqualsTheSimulationCarriedOn()
    {
        QFETCH(QString, agent);
        QFETCH(float, del);
        QFETCH(float, fgf);
        QFETCH(int, fromMs);
        QFETCH(int, recordedMin);
        QFETCH(float, wakeFgf);
        const quint32 from = quint32(fromMs);
        auto recordTo = [&](EngineFixture &f, quint32 shownMs, quint32 endMs) {
            f.usePrimary(agent.toLatin1().constData());
            f.engine->setFGF(QenUserOrigin, fgf);
            f.engine->setDEL(QenUserOrigin, 0, del);
            f.steps(int((endMs + f.engine->stepMs() - 1) / f.engine->stepMs()));
            // Back to the start and on to D, as a replay shows it.
            f.engine->rewind();
            for (int i = 0; i < 1000 && f.engine->displayTime() < shownMs; ++i) {
                f.engine->advance(int(shownMs));
                f.pump();
            }
        };
        EngineFixture f;
        recordTo(f, from, quint32(recordedMin) * 60000u);
        QCOMPARE(f.engine->displayTime(), from);
        QVERIFY(from % f.engine->stepMs() != 0);
        const QenDecrement forecast(f.catalogue);
        QenDecrement::Start start = QenDecrement::startAt(*f.engine, from);
        const auto held = forecast.run(start);
        start.wakeFgf = wakeFgf;
        const auto raised = forecast.run(start);
        QVERIFY(held && raised);

        // The oracle: the live simulation shown at D, changed there and stepped.
        EngineFixture oracle;
        const quint32 stepEnd = (from / oracle.engine->stepMs() + 1) * oracle.engine->stepMs();
        recordTo(oracle, from, stepEnd);
        QCOMPARE(oracle.engine->displayTime(), from);
        oracle.engine->setDEL(QenUserOrigin, 0, 0.0f);
        oracle.engine->setFGF(QenUserOrigin, wakeFgf);
        // The change takes the step that holds D back to its start.
        QCOMPARE(oracle.engine->simTime(), stepEnd - oracle.engine->stepMs());
        const double vrg = oracle.engine->track(0).state[VRG];
        std::array<std::optional<double>, 3> expected;
        const double left[3] = {0.5, 0.2, 0.1};
        while (!expected[2] && oracle.engine->simTime() < oracle.engine->limitMs()) {
            QVERIFY(oracle.engine->advanceOneStep());
            for (int i = 0; i < 3; ++i)
                if (!expected[size_t(i)] && oracle.engine->track(0).state[VRG] <= left[i] * vrg)
                    expected[size_t(i)] = (oracle.engine->simTime() - double(from)) / 60000.0;
        }
        QCOMPARE(double((*raised)[0].vrgAtStart), vrg);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(expected[size_t(i)]);
            QCOMPARE((*raised)[0].minutes[size_t(i)], expected[size_t(i)]);
            QVERIFY(*(*raised)[0].minutes[size_t(i)] < *(*held)[0].minutes[size_t(i)]);
        }
    }

    // The batch runner's table at a raised flow is the forecast at that flow,
    // and without one it is the forecast at the flow of each D.
    void csvTakesTheWakeFlow()
    {
        EngineFixture f;
        record(f, "Desflurane", 6.0f, 20);
        const QenDecrement forecast(f.catalogue);
        QenDecrement::Start start = QenDecrement::startAt(*f.engine, 20 * 60000);
        const auto held = forecast.run(start);
        start.wakeFgf = 10.0f;
        const auto raised = forecast.run(start);
        for (const auto &[wake, times] :
             {std::pair{std::optional<float>(), held}, std::pair{std::optional(10.0f), raised}}) {
            const QList<QByteArray> rows = QenDecrement::csv(*f.engine, 600000, wake).split('\n');
            QCOMPARE(rows.size(), 4);
            QByteArray expected = "Desflurane,20";
            for (const std::optional<double> &m : (*times)[0].minutes)
                expected += ',' + QByteArray::number(*m, 'g', 9);
            QCOMPARE(rows[2], expected);
        }
        QVERIFY(*(*raised)[0].minutes[2] < *(*held)[0].minutes[2]);
    }

    // A soluble agent takes longer to leave the longer it was given; a
    // poorly soluble one leaves quickly whatever the duration.
    void growsWithDurationForSolubleAgents()
    {
        EngineFixture f;
        record(f, "Halothane", 0.8f, 0);
        QVERIFY(f.engine->addAgent(f.displayName("Desflurane")) == 1);
        f.engine->setDEL(QenUserOrigin, 1, 6.0f);
        f.steps(2400);
        const QenDecrement forecast(f.catalogue);
        double previous = 0.0;
        double ratio = 1.0;
        for (quint32 minutes : {30u, 120u, 240u}) {
            const auto times = forecast.run(QenDecrement::startAt(*f.engine, minutes * 60000u), 2);
            QVERIFY(times && times->size() == 2);
            const double halothane = (*times)[0].minutes[1].value_or(1e9);
            const double desflurane = (*times)[1].minutes[1].value_or(1e9);
            QVERIFY2(halothane > previous * 1.1, qPrintable(QString::number(halothane)));
            QVERIFY2(desflurane < 30.0, qPrintable(QString::number(desflurane)));
            QVERIFY(halothane / desflurane > ratio * 1.5);
            ratio = halothane / desflurane;
            previous = halothane;
        }
    }

    // Forecasting reads the recording and changes nothing of the simulation.
    void leavesTheSimulationAlone()
    {
        EngineFixture f;
        record(f, "Isoflurane", 1.1f, 30);
        f.engine->rewind();
        f.engine->advance(int(15 * 60000));
        const quint32 clocks[] = {f.engine->simTime(), f.engine->displayTime(), f.engine->endTime(),
                                  f.engine->liveTime()};
        const std::vector<QenSample> samples = f.engine->track(0).samples;
        const float del = f.engine->track(0).del;
        QSignalSpy modified(f.engine.get(), &QenEngine::modified);
        const int notices = f.host.notices.size();

        const QByteArray table = QenDecrement::csv(*f.engine);
        QCOMPARE(table.count('\n'), 1 + 3);

        QCOMPARE(f.engine->simTime(), clocks[0]);
        QCOMPARE(f.engine->displayTime(), clocks[1]);
        QCOMPARE(f.engine->endTime(), clocks[2]);
        QCOMPARE(f.engine->liveTime(), clocks[3]);
        QCOMPARE(f.engine->track(0).del, del);
        QCOMPARE(f.engine->track(0).samples.size(), samples.size());
        QVERIFY(std::memcmp(f.engine->track(0).samples.data(), samples.data(),
                            samples.size() * sizeof(QenSample)) == 0);
        QCOMPARE(modified.count(), 0);
        QCOMPARE(f.host.notices.size(), notices);
    }

    // Near the end of the longest simulation a slow fall is "more than" the
    // minutes left, and the CSV leaves its field empty.
    void moreThanNearTheLimit()
    {
        EngineFixture f;
        record(f, "Halothane", 0.8f, 0);
        f.steps(int(f.engine->limitMs() / f.engine->stepMs()) - 20);
        const quint32 from = f.engine->simTime();
        const auto times = QenDecrement(f.catalogue).run(QenDecrement::startAt(*f.engine, from));
        QVERIFY(times);
        const QenDecrement::Times &t = (*times)[0];
        QVERIFY(!t.minutes[2]);
        QCOMPARE(t.remainingMin, (f.engine->limitMs() - from) / 60000.0);
        QVERIFY(t.remainingMin < 2.5);

        const QList<QByteArray> rows = QenDecrement::csv(*f.engine).split('\n');
        QCOMPARE(rows.size(), 2 + int(from / 600000));
        QVERIFY(rows[rows.size() - 2].endsWith(','));
    }
};

QTEST_GUILESS_MAIN(TestQenDecrement)
#include "tst_qendecrement.moc"
