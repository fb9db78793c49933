#include "enginefixture.h"

#include <cmath>
#include <vector>

// The engine's recorded steps against a reference written plainly from the
// model: double precision throughout, one loop per substep, nothing of the
// engine's own arithmetic reused. Each recorded step is redone from its own
// sample (settings and starting state), so errors cannot build up.
namespace {

enum { Open = 0, SemiClosed = 1, Closed = 2, Ideal = 3 };

struct Body
{
    double volumes[6];
    double fractions[6];
    double stepMinutes;
};

struct Track
{
    const QenAnesthetic *agent;
    const QenSample *sample;
    double x[8];
};

// The fraction of the way to arterial blood that tissue i does not go in a
// substep of level n. The model keeps these factors (and the tissue flows) as
// single-precision numbers; the uptake, which looks at 1 - e, shows it.
double tissueDecay(const Body &b, const Track &t, int i, int n)
{
    const QenAnesthetic &a = *t.agent;
    const QenSample &s = *t.sample;
    const double dt = b.stepMinutes / (1 << n);
    const float flow = float(a.lambdaBlood * double(s.co) * b.fractions[i]);
    return float(std::exp(-dt * flow / (b.volumes[i] * a.partition[i] * (s.weight / 70.0))));
}

// L/min of vapour taken up by the body over the coming substep of level n.
double uptakeRate(const Body &b, const Track &t, int n)
{
    const QenAnesthetic &a = *t.agent;
    const QenSample &s = *t.sample;
    const double w = s.weight / 70.0;
    double tissue = 0.0;
    for (int i = VRG; i <= FAT; ++i) {
        const double e = tissueDecay(b, t, i, n);
        tissue += b.volumes[i] * a.partition[i] * (t.x[ALV] - t.x[i]) * (1.0 - e);
    }
    double rate = tissue * (1 << n) * w / b.stepMinutes / 100.0;
    if (!s.hasReturn()) {
        rate += a.lambdaBlood * double(s.co) *
                (b.fractions[VRG] * t.x[VRG] + b.fractions[MUS] * t.x[MUS] +
                 b.fractions[FAT] * t.x[FAT]) /
                100.0;
    }
    return rate;
}

// One substep of level n; false when it is refused.
bool substep(const Body &b, Track &t, int n, bool flushNow, double total, double own)
{
    const QenAnesthetic &a = *t.agent;
    const QenSample &s = *t.sample;
    double *x = t.x;
    const double m = 1 << n;
    const double dt = b.stepMinutes / m;
    const double w = s.weight / 70.0;
    const int k = s.doses();

    double q = s.fgf;
    if (s.hasVapor() && a.liquid)
        q = s.del < 99.0f ? q / ((100.0 - s.del) / 100.0) : q * 100.0;
    double v = dt * s.del * q / 100.0;
    if (k > 0) {
        const double injected = a.volatility * double(s.unitDose) * (k / 1000.0 / m);
        v += injected;
        if (s.hasVapor())
            q += injected / dt;
    }
    const double fi = q > 0.0 ? v * 100.0 / (dt * q) : 0.0;
    const double f0 = q * a.partition[CKT];
    const double f1 = a.partition[ALV] * double(s.va);
    const bool uptake = s.hasUptake();

    double targetCkt = 0.0;
    const bool rebreathing = s.circuit() == SemiClosed || s.circuit() == Closed;
    if (s.circuit() == Open) {
        x[CKT] = fi;
    } else if (s.circuit() == Ideal) {
        x[CKT] = f1 > f0 ? (1.0 - f0 / f1) * x[ALV] + f0 / f1 * fi : fi;
    } else {
        if (flushNow)
            x[CKT] = a.ambient;
        const double y = uptake && total < 0.0 ? total * x[ALV] : 0.0;
        targetCkt = f0 + f1 == 0.0 ? x[CKT] : (f0 * fi + f1 * x[ALV] - y) / (f0 + f1);
    }
    const double blood = a.lambdaBlood * double(s.co);
    double u = 0.0;
    if (uptake)
        u = total > 0.0 ? total * x[CKT] : total * x[ALV];
    const double g = f1 + blood;
    const double targetAlv = g == 0.0 ? x[ALV] : (blood * x[VEN] + f1 * x[CKT] + u) / g;
    const double arterial = x[ALV];

    x[QenDelivered] += v;
    x[QenUptake] += dt * own;

    bool refused = false;
    double aCkt = 99.0;
    if (rebreathing) {
        aCkt = std::exp(-dt / (b.volumes[CKT] * a.partition[CKT]) * (f0 + f1));
        x[CKT] = targetCkt * (1.0 - aCkt) + aCkt * x[CKT];
        refused = refused || (n < 4 && x[CKT] < 0.0);
    }
    const double aAlv = std::exp(-dt / (b.volumes[ALV] * a.partition[ALV] * w) * g);
    x[ALV] = targetAlv * (1.0 - aAlv) + aAlv * x[ALV];
    refused = refused || (n < 4 && x[ALV] < 0.0);
    for (int i = VRG; i <= FAT; ++i) {
        const double e = tissueDecay(b, t, i, n);
        x[i] = arterial * (1.0 - e) + e * x[i];
        refused = refused || (n < 4 && x[i] < 0.0);
    }
    // Every step checked here is computed as it happens, so the speed test applies.
    refused = refused || (n < 4 && (aCkt < 0.1 || aAlv < 0.1));
    x[VEN] = s.hasReturn()
                 ? b.fractions[VRG] * x[VRG] + b.fractions[MUS] * x[MUS] + b.fractions[FAT] * x[FAT]
                 : 0.0;
    return !refused;
}

// The states every track reaches at the end of the step its sample records.
void referenceStep(const Body &b, std::vector<Track> &tracks)
{
    const std::vector<Track> start = tracks;
    for (int n = 0; n < QenLevels; ++n) {
        tracks = start;
        bool accepted = true;
        for (int sub = 0; sub < (1 << n) && accepted; ++sub) {
            std::vector<double> rates;
            double total = 0.0;
            for (const Track &t : tracks) {
                rates.push_back(uptakeRate(b, t, n));
                total += rates.back();
            }
            for (size_t k = 0; k < tracks.size() && accepted; ++k)
                accepted = substep(b, tracks[k], n, tracks[k].sample->hasFlush() && sub == 0, total,
                                   rates[k]);
        }
        if (accepted)
            return;
    }
}

} // namespace

class TestQenReference : public QObject
{
    Q_OBJECT

private:
    static QString circuitName(int index) { return QenVocabulary::circuits().at(index); }

    // Redoes every recorded step with the reference and compares the state
    // the engine recorded next (or holds live after the last step).
    static void compareWithReference(QenEngine &e)
    {
        Body b;
        for (int i = 0; i < QenCompartments; ++i) {
            b.volumes[i] = e.volumes()[i];
            b.fractions[i] = e.flowFractions()[i];
        }
        b.stepMinutes = e.stepMinutes();
        const size_t steps = e.track(0).samples.size();
        for (size_t j = 0; j < steps; ++j) {
            std::vector<Track> tracks;
            for (int k = 0; k < e.trackCount(); ++k) {
                const QenSample &s = e.track(k).samples[j];
                Track t{e.catalogue()->at(s.agent), &s, {}};
                std::copy(std::begin(s.state), std::end(s.state), t.x);
                tracks.push_back(t);
            }
            referenceStep(b, tracks);
            for (int k = 0; k < e.trackCount(); ++k) {
                const Qen &own = e.track(k);
                const float *next = j + 1 < steps ? own.samples[j + 1].state : own.state;
                for (int i = 0; i < QenStateSize; ++i) {
                    const double want = tracks[size_t(k)].x[i];
                    if (std::fabs(next[i] - want) > 1e-5 * std::fabs(want) + 1e-7) {
                        QFAIL(qPrintable(QStringLiteral("step %1 agent %2 element %3: engine %4, "
                                                        "reference %5")
                                             .arg(j)
                                             .arg(k)
                                             .arg(i)
                                             .arg(double(next[i]), 0, 'g', 9)
                                             .arg(want, 0, 'g', 9)));
                    }
                }
            }
        }
    }

private slots:
    void stepMatchesReference_data()
    {
        QTest::addColumn<QString>("agent");
        QTest::addColumn<QString>("second"); // with nitrous oxide: the second-gas effect
        QTest::addColumn<int>("circuit");
        QTest::addColumn<float>("weight");
        QTest::addColumn<bool>("venousReturn");
        QTest::newRow("semi-closed, N2O + halothane") << "Halothane"
                                                      << "Nitrous Oxide" << 1 << 70.0f << true;
        QTest::newRow("closed, N2O + isoflurane, dose") << "Isoflurane"
                                                        << "Nitrous Oxide" << 2 << 70.0f << true;
        QTest::newRow("ideal, N2O + sevoflurane") << "Sevoflurane"
                                                  << "Nitrous Oxide" << 3 << 70.0f << true;
        QTest::newRow("open, ether subdivided") << "Ether"
                                                << "" << 0 << 70.0f << true;
        QTest::newRow("35 kg, semi-closed, N2O + enflurane")
            << "Enflurane"
            << "Nitrous Oxide" << 1 << 35.0f << true;
        QTest::newRow("100 kg, closed, desflurane") << "Desflurane"
                                                    << "" << 2 << 100.0f << true;
        QTest::newRow("venous return off, semi-closed") << "Halothane"
                                                        << "Nitrous Oxide" << 1 << 70.0f << false;
    }
    void stepMatchesReference()
    {
        QFETCH(QString, agent);
        QFETCH(QString, second);
        QFETCH(int, circuit);
        QFETCH(float, weight);
        QFETCH(bool, venousReturn);
        EngineFixture f;
        QenEngine &e = *f.engine;
        f.usePrimary(agent.toLatin1().constData());
        e.setWeight(QenUserOrigin, weight);
        e.setCircuit(QenUserOrigin, circuitName(circuit));
        if (!second.isEmpty()) {
            QCOMPARE(e.addAgent(f.displayName(second.toLatin1().constData())), 1);
            e.setDEL(QenUserOrigin, 1, 65.0f);
        }
        e.setDEL(QenUserOrigin, 0, f.agent(agent.toLatin1().constData()).max / 2);
        if (!venousReturn)
            e.disableReturn(true);
        QVERIFY(e.uptakeEffect());
        for (int step = 0; step < 80; ++step) {
            if (step == 20 && e.canInject(0))
                e.injectDose(0);
            if (step == 30 && circuit == SemiClosed)
                e.flushCircuit();
            if (step == 40)
                e.setVA(QenUserOrigin, e.va() * 2.0f);
            if (step == 50)
                e.setDEL(QenUserOrigin, 0, 0.0f); // the body gives the agent back: E < 0
            f.steps(1);
        }
        compareWithReference(e);
    }
};

QTEST_GUILESS_MAIN(TestQenReference)
#include "tst_qenreference.moc"
