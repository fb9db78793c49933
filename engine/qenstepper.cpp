#include "engine/qenstepper.h"

#include "engine/qencatalogue.h"
#include "engine/qenclocks.h"
#include "engine/qenrecording.h"
#include "engine/qensimsettings.h"

#include <algorithm>
#include <cmath>
#include <cstring>

QenStepper::QenStepper(std::vector<Qen> &tracks, QenClocks &clocks, QenSimSettings &settings,
                       QenRecording &recording, const QenCatalogue *const &catalogue)
    : m_tracks(tracks), m_clocks(clocks), m_settings(settings), m_recording(recording),
      m_catalogue(catalogue)
{}

QenBody QenStepper::body() const
{
    return {m_settings.volumes.data(), m_settings.flowFractions, m_clocks.stepMinutes,
            m_clocks.stepMs};
}

QenSample QenStepper::makeSample(int track) const
{
    const Qen &t = m_tracks[size_t(track)];
    QenSample s;
    s.time = m_clocks.simTime;
    s.del = t.del;
    s.fgf = m_settings.fgf;
    s.va = m_settings.va;
    s.co = m_settings.co;
    s.weight = m_settings.weight;
    s.unitDose = t.unitDose;
    s.agent = quint16(t.agent);
    s.flags = quint16((m_settings.venousReturn ? QenSample::VenousReturn : 0) |
                      (m_settings.uptakeEffect ? QenSample::UptakeEffect : 0) |
                      (m_settings.circuitIndex << QenSample::CircuitShift) |
                      (std::clamp(t.pendingDoses, 0, 15) << QenSample::DosesShift) |
                      (m_settings.flush ? QenSample::Flush : 0) |
                      (m_settings.vaporEffect ? QenSample::VaporEffect : 0));
    std::copy(std::begin(t.state), std::end(t.state), std::begin(s.state));
    return s;
}

const QenLevelPlan &QenStepper::planFor(int k, int n)
{
    Qen &t = m_tracks[size_t(k)];
    const QenSample &s = t.samples.back();
    const QenAnesthetic &a = *m_catalogue->at(t.agent);
    const float *e = t.expTable[n];
    PlanInputs in;
    in.stepMinutes = m_clocks.stepMinutes;
    in.fgf = s.fgf;
    in.del = s.del;
    in.va = s.va;
    in.co = s.co;
    in.unitDose = s.unitDose;
    in.flags = s.flags;
    in.doses = t.pendingDoses;
    in.rateCkt = e[CKT];
    in.rateAlv = e[ALV];
    in.liquid = a.liquid;
    in.volatility = a.volatility;
    in.partitionCkt = a.partition[CKT];
    in.partitionAlv = a.partition[ALV];
    in.lambdaBlood = a.lambdaBlood;

    // Settings seldom change from one step to the next, and a plan costs two
    // exponentials and several divisions. The inputs are compared as bits, not
    // as numbers: -0 and 0 compare equal but need not give the same plan.
    PlanMemo &memo = m_plans[size_t(k) * QenLevels + size_t(n)];
    if (memo.valid && std::memcmp(&memo.inputs, &in, sizeof in) == 0) {
        t.flows[CKT] = float(memo.plan.f0);
        t.flows[ALV] = float(memo.plan.f1);
    } else {
        memo.plan = QenStep::planLevel(body(), s, t.pendingDoses, t.flows, e, n, a);
        memo.inputs = in;
        memo.valid = true;
    }
    return memo.plan;
}

bool QenStepper::step()
{
    const quint32 stepNumber = m_clocks.simTime / m_clocks.stepMs;
    if (!m_catalogue || stepNumber >= quint32(QenMaxSteps))
        return false;
    for (const Qen &t : m_tracks)
        if (!m_catalogue->value(t.agent))
            return false;

    m_recording.setStepEntry(stepNumber, qint16(m_tracks.front().samples.size()));
    const int count = int(m_tracks.size());
    const size_t expected = std::min<size_t>(m_clocks.limitMs / m_clocks.stepMs + 1, QenMaxSteps);
    const QenBody step = body();
    for (int k = 0; k < count; ++k) {
        Qen &t = m_tracks[size_t(k)];
        t.appendSample(makeSample(k), expected);
        const Qen::TableKey &key = t.tableKey;
        if (key.agent != t.agent || key.fgf != m_settings.fgf || key.va != m_settings.va ||
            key.co != m_settings.co || key.weight != m_settings.weight)
            QenStep::buildTable(
                step, t, *m_catalogue->at(t.agent),
                {t.agent, m_settings.fgf, m_settings.va, m_settings.co, m_settings.weight});
    }
    m_recording.clearLookupCache();

    m_rates.resize(size_t(count));
    m_plans.resize(size_t(count) * QenLevels);
    bool ranSubsteps = false; // the live states need restoring before a retry
    for (int n = 0; n < QenLevels; ++n) {
        // Flows and decay factors hold for every substep of a level, so they
        // are worked out once. A level too fast for any track is refused here,
        // before any substep computes what would only be thrown away.
        bool accepted = true;
        for (int k = 0; k < count && accepted; ++k)
            accepted = !QenStep::tooFast(step, m_tracks[size_t(k)].samples.back(), planFor(k, n),
                                         m_clocks.simTime, n);
        m_lastLevel = n;
        if (!accepted)
            continue;
        if (ranSubsteps) {
            for (Qen &t : m_tracks)
                std::copy(std::begin(t.samples.back().state), std::end(t.samples.back().state),
                          std::begin(t.state));
        }
        ranSubsteps = true;
        const int substeps = 1 << n;
        for (int sub = 0; sub < substeps && accepted; ++sub) {
            double total = 0.0;
            for (int k = 0; k < count; ++k) {
                const Qen &t = m_tracks[size_t(k)];
                m_rates[size_t(k)] = QenStep::uptakeRate(
                    step, t.samples.back(), t.state, t.expTable[n], n, *m_catalogue->at(t.agent));
                total += m_rates[size_t(k)];
            }
            const bool flushNow = m_settings.flush && sub == 0;
            for (int k = 0; k < count && accepted; ++k) {
                Qen &t = m_tracks[size_t(k)];
                accepted = QenStep::substep(step, t.samples.back(),
                                            m_plans[size_t(k) * QenLevels + size_t(n)].plan,
                                            flushNow, t.state, t.expTable[n], total,
                                            m_rates[size_t(k)], n, *m_catalogue->at(t.agent));
            }
        }
        if (accepted)
            break;
    }

    // An agent piled up far beyond any real pressure (a closed circuit fed
    // for hours at an extreme setting) can take the model past what a float
    // holds; above an atmosphere, the volume drawn in with what the body
    // takes up feeds itself and the alveoli run away from the circuit
    // towards 1e8 %. Neither is a result: a step that leaves a value beyond
    // ten times the most the agent's vaporizer gives (or an atmosphere) is
    // not recorded but undone, and the run stops.
    bool inRange = true;
    for (const Qen &t : m_tracks) {
        const QenAnesthetic *a = m_catalogue->value(t.agent);
        const float bound = 10.0f * std::max(a ? a->max : 0.0f, 100.0f);
        for (int i = 0; i < QenStateSize; ++i) {
            const bool pressure = i < QenCompartments;
            inRange = inRange && std::isfinite(t.state[i]) &&
                      (!pressure || std::fabs(t.state[i]) <= bound);
        }
    }
    if (!inRange) {
        for (Qen &t : m_tracks) {
            std::copy(std::begin(t.samples.back().state), std::end(t.samples.back().state),
                      std::begin(t.state));
            t.samples.pop_back();
            t.current = int(t.samples.size()) - 1;
        }
        m_recording.setStepEntry(stepNumber, -1);
        m_recording.clearLookupCache();
        m_outOfRange = true;
        return false;
    }

    for (Qen &t : m_tracks)
        t.pendingDoses = 0;
    m_clocks.simTime += m_clocks.stepMs;
    m_settings.flush = false;
    m_clocks.liveTime = m_clocks.simTime;
    return true;
}
