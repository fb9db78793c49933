#include "enginefixture.h"
#include "testfiles.h"

#include "engine/qendecrement.h"
#include "engine/qenfootprint.h"

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
            << "Desflurane" << 7.2 << 127.75371107877778;
        QTest::newRow("nitrous oxide") << "Nitrous Oxide" << 100.0 << 49.95031802120141;
        QTest::newRow("xenon is known to be harmless") << "Xenon" << 50.0 << 0.0;
        QTest::newRow("halothane has no published value here") << "Halothane" << 3.0 << -1.0;
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
        QTest::newRow("isoflurane") << "Isoflurane" << 510.0 << 184.49;
        QTest::newRow("halothane") << "Halothane" << -1.0 << 0.0;
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
