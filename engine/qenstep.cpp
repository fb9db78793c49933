#include "engine/qenstep.h"

#include "engine/qenanesthetic.h"
#include "engine/qensample.h"

#include <cmath>

namespace {

constexpr int OpenCircuit = 0;
constexpr int SemiClosedCircuit = 1;
constexpr int ClosedCircuit = 2;
constexpr int IdealCircuit = 3;

} // namespace

namespace QenStep {

void buildTable(const QenBody &body, Qen &track, const QenAnesthetic &a, const Qen::TableKey &key)
{
    const double w = double(key.weight) / 70.0;
    for (int i = VRG; i <= FAT; ++i)
        track.flows[i] = float(double(a.lambdaBlood) * key.co * body.flowFractions[i]);

    // The circuit and alveolar columns keep the rate alone: their flows
    // change with every substep. The tissues' decay is finished here, so a
    // step computes no exponential for them.
    const double dt = body.stepMinutes;
    double rate[FAT + 1];
    rate[CKT] = -dt / (double(body.volumes[CKT]) * a.partition[CKT]);
    rate[ALV] = -dt / (double(body.volumes[ALV]) * a.partition[ALV] * w);
    for (int i = VRG; i <= FAT; ++i)
        rate[i] = -dt * track.flows[i] / (double(body.volumes[i]) * a.partition[i] * w);
    for (int n = 0; n < QenLevels; ++n) {
        track.expTable[n][CKT] = float(rate[CKT]);
        track.expTable[n][ALV] = float(rate[ALV]);
        for (int i = VRG; i <= FAT; ++i)
            track.expTable[n][i] = float(std::exp(rate[i]));
        track.expTable[n][VEN] = 0.0f;
        for (double &r : rate)
            r *= 0.5;
    }
    track.tableKey = key;
}

double uptakeRate(const QenBody &body, const QenSample &sample, const float *x, const float *e,
                  int n, const QenAnesthetic &a)
{
    // What the tissues take from arterial blood over the substep, as a rate
    // for the whole body (volumes scale with weight).
    double tissue = 0.0;
    for (int i = VRG; i <= FAT; ++i)
        tissue += double(body.volumes[i]) * a.partition[i] * (double(x[ALV]) - x[i]) * (1.0 - e[i]);
    double rate =
        tissue * double(1 << n) * (double(sample.weight) / 70.0) / body.stepMinutes / 100.0;
    if (!sample.hasReturn()) {
        // Without venous return, what the blood would have brought back
        // counts as taken up.
        const float *f = body.flowFractions;
        rate += double(a.lambdaBlood) * sample.co *
                (double(f[VRG]) * x[VRG] + double(f[MUS]) * x[MUS] + double(f[FAT]) * x[FAT]) /
                100.0;
    }
    return rate;
}

QenLevelPlan planLevel(const QenBody &body, const QenSample &s, int doses, float *flows,
                       const float *e, int n, const QenAnesthetic &a)
{
    QenLevelPlan p;
    const double m = double(1 << n);
    const double dt = double(body.stepMinutes) / m;
    p.dt = dt;

    // Fresh gas, and the vapour a liquid agent adds to it.
    double q = s.fgf;
    if (s.hasVapor() && a.liquid)
        q = s.del < 99.0f ? q / ((100.0 - s.del) / 100.0) : q * 100.0;
    double v = dt * s.del * q / 100.0;
    if (doses > 0) {
        const double injected = double(a.volatility) * s.unitDose * (double(doses) / 1000.0 / m);
        v = v + injected;
        if (s.hasVapor())
            q = q + injected / dt;
    }
    p.v = v;
    p.fi = q > 0.0 ? v * 100.0 / (dt * q) : 0.0;
    flows[CKT] = float(q * a.partition[CKT]);
    flows[ALV] = float(double(a.partition[ALV]) * s.va);
    p.f0 = flows[CKT];
    p.f1 = flows[ALV];
    p.blood = double(a.lambdaBlood) * s.co;

    const int circuit = s.circuit();
    if (circuit == SemiClosedCircuit || circuit == ClosedCircuit)
        p.aCkt = std::exp(e[CKT] * (p.f0 + p.f1));
    p.aAlv = std::exp(e[ALV] * (p.blood + p.f1));
    return p;
}

bool tooFast(const QenBody &body, const QenSample &s, const QenLevelPlan &p, quint32 now, int n)
{
    // Changes this fast would overshoot at this level: try smaller substeps,
    // unless the step lies well in the past. The factors are tested first:
    // they are seldom small, and the division is slow.
    return n < 4 && (p.aCkt < 0.1 || p.aAlv < 0.1) && (now - s.time) / body.stepMs < 3;
}

bool substep(const QenBody &body, const QenSample &s, const QenLevelPlan &p, bool flushNow,
             float *x, const float *e, double totalUptake, double ownUptake, int n,
             const QenAnesthetic &a)
{
    const double E = totalUptake;
    const double dt = p.dt;
    const double fi = p.fi;
    const double f0 = p.f0;
    const double f1 = p.f1;
    const bool uptake = s.hasUptake();
    const int circuit = s.circuit();
    const bool rebreathing = circuit == SemiClosedCircuit || circuit == ClosedCircuit;

    // The circuit: an open one breathes fresh gas, an ideal one mixes it with
    // exhaled gas when ventilation exceeds it, a rebreathing one relaxes
    // toward the mix of fresh and exhaled gas (less what the body gives back).
    double t0 = 0.0;
    if (circuit == OpenCircuit) {
        x[CKT] = float(fi);
    } else if (circuit == IdealCircuit) {
        if (f1 > f0) {
            const double g = f0 / f1;
            x[CKT] = float((1.0 - g) * x[ALV] + g * fi);
        } else {
            x[CKT] = float(fi);
        }
    } else {
        if (flushNow)
            x[CKT] = a.ambient;
        if (f0 + f1 == 0.0) {
            t0 = x[CKT];
        } else {
            const double y = (uptake && E < 0.0) ? E * x[ALV] : 0.0;
            t0 = (f0 * fi + f1 * x[ALV] - y) / (f0 + f1);
        }
    }

    // The alveoli relax toward what ventilation and venous blood bring; the
    // volume the body takes up is drawn in with inspired gas (concentration
    // and second-gas effects), or given back with alveolar gas.
    const double blood = p.blood;
    const double g = f1 + blood;
    double t1;
    if (g == 0.0) {
        t1 = x[ALV];
    } else {
        double u = 0.0;
        if (uptake)
            u = E > 0.0 ? E * x[CKT] : E * x[ALV];
        t1 = (blood * x[VEN] + f1 * x[CKT] + u) / g;
    }
    const double arterial = x[ALV];

    x[QenDelivered] = float(x[QenDelivered] + p.v);
    x[QenUptake] = float(x[QenUptake] + dt * ownUptake);

    bool refused = false;
    auto relax = [&](int i, double target, double factor) {
        x[i] = float(target * (1.0 - factor) + factor * x[i]);
        if (n < 4 && x[i] < 0.0f)
            refused = true;
    };
    if (rebreathing)
        relax(CKT, t0, p.aCkt);
    relax(ALV, t1, p.aAlv);
    for (int i = VRG; i <= FAT; ++i)
        relax(i, arterial, e[i]);

    const float *f = body.flowFractions;
    x[VEN] =
        s.hasReturn()
            ? float(double(f[VRG]) * x[VRG] + double(f[MUS]) * x[MUS] + double(f[FAT]) * x[FAT])
            : 0.0f;
    return !refused;
}

} // namespace QenStep
