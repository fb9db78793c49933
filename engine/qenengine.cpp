#include "engine/qenengine.h"

#include "engine/qencatalogue.h"
#include "engine/qenfootprint.h"
#include "engine/qenprompt.h"
#include "engine/qenvocabulary.h"

#include <QDataStream>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr int OpenCircuit = 0;
constexpr int SemiClosedCircuit = 1;
constexpr int ClosedCircuit = 2;

constexpr quint32 ReachMs = 900000; // how far one advance may move the display
constexpr quint32 MinuteMs = 60000;
constexpr int AfapSpeed = 1000;

int circuitOf(const QString &name)
{
    const int index = QenVocabulary::circuitIndex(name);
    return index < 0 ? OpenCircuit : index;
}

// Holds `value` to [low, high]; false, leaving it alone, when it is not a
// finite number.
bool withinRange(float &value, float low, float high)
{
    if (!std::isfinite(value))
        return false;
    value = std::clamp(value, low, high);
    return true;
}

// Takes a stored value into a setting when it is usable.
void take(float &setting, float value, float low, float high)
{
    if (withinRange(value, low, high))
        setting = value;
}

// (x)^0.75 as the model has always computed it.
double power075(double x)
{
    return std::sqrt(std::sqrt(x * x * x));
}

} // namespace

QenEngine::QenEngine(const QenCatalogue *catalogue, QenEngineHost *host, QObject *parent)
    : QObject(parent), m_catalogue(catalogue), m_host(host ? host : &m_quietHost)
{
    m_stepIndex.fill(-1);
    m_circuit = QenVocabulary::circuits().at(SemiClosedCircuit);
    m_circuitIndex = SemiClosedCircuit;
    m_tracks.emplace_back();
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &QenEngine::idle);
}

QenEngine::~QenEngine()
{
    stopTimer();
}

void QenEngine::setHost(QenEngineHost *host)
{
    m_host = host ? host : &m_quietHost;
}

void QenEngine::notice(int agentNumber, int hints, QenOrigin origin)
{
    emit updateControl();
    m_host->notify(agentNumber, hints, origin);
}

double QenEngine::bodyScale() const
{
    return power075(double(m_weight) / 70.0);
}

float QenEngine::circuitFgf(bool started) const
{
    switch (m_circuitIndex) {
    case OpenCircuit:
        return std::max(m_va, 10.0f);
    case ClosedCircuit:
        return float(0.25 * bodyScale());
    default:
        return started ? float(double(m_defaults.fgf) * 3.0 * 0.125) : m_defaults.fgf;
    }
}

void QenEngine::reset(const QenDefaults &defaults)
{
    stopTimer();
    m_defaults = defaults;
    m_tracks.resize(1);
    Qen &primary = m_tracks.front();
    primary.samples.clear();
    primary.samples.shrink_to_fit();
    primary.current = -1;
    primary.pendingDoses = 0;
    primary.invalidateTable();
    m_current = 0;
    notice(0, QenHint::Reset, QenSystemOrigin);

    m_state = ANotRun;
    m_simTime = m_displayTime = m_targetTime = m_endTime = m_liveTime = 0;
    m_stopPending = false;
    m_afapKey = false;
    m_marks.clearBookmarks();
    m_stepIndex.fill(-1);
    invalidateCaches();

    m_weight = defaults.weight;
    std::copy(std::begin(defaults.volumes), std::end(defaults.volumes), std::begin(m_volumes));
    std::copy(std::begin(defaults.flows), std::end(defaults.flows), std::begin(m_flowFractions));
    m_circuit =
        defaults.circuit.isEmpty() ? QenVocabulary::circuits().at(OpenCircuit) : defaults.circuit;
    m_circuitIndex = circuitOf(m_circuit);
    const double s = bodyScale();
    m_va = float(double(defaults.va) * s);
    m_co = float(double(defaults.co) * s);
    m_fgf = m_circuitIndex == OpenCircuit ? 10.0f : circuitFgf(false);
    m_uptakeEffect = true;
    m_venousReturn = true;
    m_vaporEffect = false;
    m_flush = false;
    m_speed = defaults.speed;
    m_stepMs = 6000;
    m_stepMinutes = float(6000 / 60000.0);
    m_limit = 6000u * MaxStepsPerRun;

    int agent = -1;
    if (m_catalogue && !m_catalogue->isEmpty()) {
        agent = m_catalogue->findByName(defaults.agent);
        if (agent < 0)
            agent = 0;
    }
    primary.agent = agent;
    if (const QenAnesthetic *a = agentOf(0)) {
        primary.displayName = a->displayName;
        primary.del = a->defaultDel;
        primary.unitDose = a->defUnitDose;
        primary.resetState(a->ambient);
    } else {
        primary.displayName.clear();
        primary.del = primary.unitDose = 0.0f;
        primary.resetState(0.0f);
    }
}

// --- Settings -----------------------------------------------------------------

const QenAnesthetic *QenEngine::agentOf(int track) const
{
    if (!m_catalogue || track < 0 || track >= trackCount())
        return nullptr;
    return m_catalogue->value(m_tracks[size_t(track)].agent);
}

float QenEngine::costPerLitre(int track) const
{
    const QenAnesthetic *a = agentOf(track);
    if (!a)
        return 0.0f;
    const double divisor = double(a->bottleSize) * double(a->volatility);
    return divisor == 0.0 ? 0.0f : float(double(a->bottleCost) * 1000.0 / divisor);
}

void QenEngine::setCurrentTrack(int track)
{
    if (track >= 0 && track < trackCount())
        m_current = track;
}

float QenEngine::maxDel(int track) const
{
    const QenAnesthetic *a = agentOf(track);
    return a ? std::max(a->max, 0.0f) : std::numeric_limits<float>::max();
}

void QenEngine::setDEL(QenOrigin origin, int track, float value)
{
    if (track < 0 || track >= trackCount() || !withinRange(value, 0.0f, maxDel(track)))
        return;
    m_tracks[size_t(track)].del = value;
    notice(track + 1, QenHint::Del, origin);
    if (isUser(origin))
        eraseForward();
}

void QenEngine::setFGF(QenOrigin origin, float value)
{
    if (!withinRange(value, 0.0f, MaxFlow))
        return;
    m_fgf = value;
    notice(0, QenHint::Fgf, origin);
    if (!isUser(origin))
        return;
    eraseForward();
    if (value == 0.0f && m_circuitIndex != ClosedCircuit)
        setCircuit(QenUserOrigin, QenVocabulary::circuits().at(ClosedCircuit));
    if (value < m_va && m_circuitIndex == OpenCircuit)
        setVA(QenUserOrigin, value);
}

void QenEngine::setVA(QenOrigin origin, float value)
{
    if (!withinRange(value, 0.0f, MaxFlow))
        return;
    m_va = value;
    notice(0, QenHint::Va, origin);
    if (!isUser(origin))
        return;
    eraseForward();
    if (value > m_fgf && m_circuitIndex == OpenCircuit)
        setFGF(QenUserOrigin, value);
}

void QenEngine::setCO(QenOrigin origin, float value)
{
    if (!withinRange(value, 0.0f, MaxFlow))
        return;
    m_co = value;
    notice(0, QenHint::Co, origin);
    if (isUser(origin))
        eraseForward();
}

void QenEngine::setWeight(QenOrigin origin, float value)
{
    // A weight that is not positive would make the step length and every
    // body scale meaningless.
    if (!withinRange(value, MinWeight, MaxWeight))
        return;
    const double ratio = double(value) / double(m_weight);
    m_weight = value;
    notice(0, QenHint::Weight, origin);
    if (!isUser(origin))
        return;

    eraseForward();
    const double scale = power075(ratio);
    setVA(QenUserOrigin, float(double(m_va) * scale));
    m_co = std::min(float(double(m_co) * scale), MaxFlow);
    notice(0, QenHint::Co, QenUserOrigin);
    eraseForward();
    if (m_circuitIndex == ClosedCircuit)
        setFGF(QenUserOrigin, float(0.25 * bodyScale()));

    if (m_simTime == 0) {
        const float q = std::sqrt(std::sqrt(value));
        const double ms = std::trunc(double(q) * 10.0 / 28.925079345703125 * 6000.0 + 0.5);
        setStepMs(quint16(std::clamp(ms, 1.0, 65535.0)));
    }
}

void QenEngine::setStepMs(quint16 ms)
{
    m_stepMs = std::max<quint16>(ms, 1);
    m_stepMinutes = float(m_stepMs / 60000.0);
    const quint64 limit = quint64(m_stepMs) * MaxStepsPerRun;
    m_limit = quint32(std::min<quint64>(limit, LongestRunMs));
}

void QenEngine::setCircuit(QenOrigin origin, const QString &name)
{
    m_circuit = name;
    m_circuitIndex = circuitOf(name);
    notice(0, QenHint::Circuit, origin);
    if (!isUser(origin))
        return;
    eraseForward();
    const float wanted = circuitFgf(m_displayTime != 0);
    if (wanted != m_fgf)
        setFGF(QenUserOrigin, wanted);
}

bool QenEngine::setAgent(QenOrigin origin, int track, const QString &name)
{
    if (!m_catalogue || track < 0 || track >= trackCount())
        return false;
    const int index = m_catalogue->findByDisplayName(name);
    if (index < 0)
        return false;
    const QenAnesthetic *a = m_catalogue->at(index);
    Qen &t = m_tracks[size_t(track)];
    t.agent = index;
    t.displayName = a->displayName;
    t.unitDose = a->defUnitDose;
    notice(track + 1, QenHint::Agent, origin);
    if (isUser(origin)) {
        eraseForward();
        t.del = a->defaultDel;
        notice(track + 1, QenHint::Del, QenUserOrigin);
        if (m_displayTime == 0) {
            t.resetState(a->ambient);
            notice(track + 1, QenHint::Values, QenUserOrigin);
        }
    }
    emit agentChanged(track, t.displayName);
    return true;
}

int QenEngine::addAgent(const QString &name)
{
    if (!m_catalogue || m_catalogue->findByDisplayName(name) < 0)
        return -1;
    eraseForward();
    m_tracks.emplace_back();
    const int index = trackCount() - 1;
    m_current = index;
    invalidateCaches();
    setAgent(QenUserOrigin, index, name);
    // A new track starts from room air whenever it is added.
    if (const QenAnesthetic *a = agentOf(index))
        m_tracks.back().resetState(a->ambient);
    return index;
}

bool QenEngine::removeAgent(int track)
{
    if (track < 0 || track >= trackCount() || trackCount() < 2)
        return false;
    eraseForward();
    m_tracks.erase(m_tracks.begin() + track);
    if (m_current >= trackCount() || m_current > track)
        m_current = std::max(0, m_current - 1);
    if (track == 0)
        rebuildStepIndex();
    invalidateCaches();
    return true;
}

void QenEngine::setSwitch(bool &target, bool value)
{
    pause();
    if (!replayGuard(true))
        return;
    target = value;
    emit updateControl();
}

void QenEngine::disableUptake(bool on)
{
    setSwitch(m_uptakeEffect, !on);
}

void QenEngine::disableReturn(bool on)
{
    setSwitch(m_venousReturn, !on);
}

void QenEngine::enableVapor(bool on)
{
    setSwitch(m_vaporEffect, on);
}

void QenEngine::flushCircuit()
{
    m_flush = true;
    for (Qen &t : m_tracks) {
        t.pendingDoses = 0;
        if (const QenAnesthetic *a = m_catalogue ? m_catalogue->value(t.agent) : nullptr)
            t.values[CKT] = a->ambient;
    }
    notice(0, QenHint::Values, QenUserOrigin);
}

void QenEngine::injectDose(int track)
{
    if (track < 0 || track >= trackCount())
        return;
    // The step records at most 15 doses in its four bits; more would spill
    // into the flush mark.
    Qen &t = m_tracks[size_t(track)];
    t.pendingDoses = std::min(t.pendingDoses + 1, 15);
}

bool QenEngine::hasDuplicateAgents() const
{
    for (size_t i = 0; i < m_tracks.size(); ++i)
        for (size_t j = i + 1; j < m_tracks.size(); ++j)
            if (m_tracks[i].displayName == m_tracks[j].displayName)
                return true;
    return false;
}

bool QenEngine::canInject(int track) const
{
    if (track < 0 || track >= trackCount())
        return false;
    return m_tracks[size_t(track)].unitDose > 0.0f &&
           (m_circuitIndex == SemiClosedCircuit || m_circuitIndex == ClosedCircuit);
}

void QenEngine::setSpeed(QenOrigin origin, int value)
{
    const bool changed = value != m_speed;
    m_speed = value;
    notice(0, QenHint::Speed, origin);
    // The file keeps the speed, so closing must not lose a new one unasked.
    if (changed && isUser(origin))
        emit modified(true);
}

void QenEngine::setUnitDose(int track, float value)
{
    if (track >= 0 && track < trackCount() && withinRange(value, 0.0f, MaxUnitDose))
        m_tracks[size_t(track)].unitDose = value;
}

void QenEngine::setVolume(int compartment, float litres)
{
    if (compartment < 0 || compartment >= QenCompartments)
        return;
    m_volumes[compartment] = litres;
    for (Qen &t : m_tracks)
        t.invalidateTable();
}

void QenEngine::setFlowFraction(int compartment, float fraction)
{
    if (compartment < 0 || compartment >= QenCompartments)
        return;
    m_flowFractions[compartment] = fraction;
    for (Qen &t : m_tracks)
        t.invalidateTable();
}

// --- Step ---------------------------------------------------------------------

QenSample QenEngine::makeSample(int track) const
{
    const Qen &t = m_tracks[size_t(track)];
    QenSample s;
    s.time = m_simTime;
    s.del = t.del;
    s.fgf = m_fgf;
    s.va = m_va;
    s.co = m_co;
    s.weight = m_weight;
    s.unitDose = t.unitDose;
    s.agent = quint16(t.agent);
    s.flags =
        quint16((m_venousReturn ? QenSample::VenousReturn : 0) |
                (m_uptakeEffect ? QenSample::UptakeEffect : 0) |
                (m_circuitIndex << QenSample::CircuitShift) |
                (std::clamp(t.pendingDoses, 0, 15) << QenSample::DosesShift) |
                (m_flush ? QenSample::Flush : 0) | (m_vaporEffect ? QenSample::VaporEffect : 0));
    std::copy(std::begin(t.state), std::end(t.state), std::begin(s.state));
    return s;
}

const QenLevelPlan &QenEngine::planFor(int k, int n)
{
    Qen &t = m_tracks[size_t(k)];
    const QenSample &s = t.samples.back();
    const QenAnesthetic &a = *m_catalogue->at(t.agent);
    const float *e = t.expTable[n];
    PlanInputs in;
    in.stepMinutes = m_stepMinutes;
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

bool QenEngine::runsAfap() const
{
    return (m_state == ARunning && m_afapKey) || m_speed == AfapSpeed;
}

bool QenEngine::advanceOneStep()
{
    m_outOfRange = false;
    if (m_targetTime != 0 && m_simTime >= m_targetTime) {
        showTarget();
        return true;
    }
    if (m_displayTime < m_endTime)
        return false;
    if (m_simTime > m_limit)
        return false;
    if (!runsAfap()) {
        const qint64 lead = m_targetTime != 0 ? qint64(m_simTime) - qint64(m_targetTime)
                                              : qint64(m_simTime) - qint64(m_displayTime);
        if (lead >= m_stepMs || (m_speed > 0 && lead / m_speed >= 300000))
            return false;
    }
    const quint32 stepNumber = m_simTime / m_stepMs;
    if (!m_catalogue || stepNumber >= quint32(QenMaxSteps))
        return false;
    for (const Qen &t : m_tracks)
        if (!m_catalogue->value(t.agent))
            return false;

    m_stepIndex[stepNumber] = qint16(m_tracks.front().samples.size());
    const int count = trackCount();
    const size_t expected = std::min<size_t>(m_limit / m_stepMs + 1, QenMaxSteps);
    const QenBody step = body();
    for (int k = 0; k < count; ++k) {
        Qen &t = m_tracks[size_t(k)];
        t.appendSample(makeSample(k), expected);
        const Qen::TableKey &key = t.tableKey;
        if (key.agent != t.agent || key.fgf != m_fgf || key.va != m_va || key.co != m_co ||
            key.weight != m_weight)
            QenStep::buildTable(step, t, *m_catalogue->at(t.agent),
                                {t.agent, m_fgf, m_va, m_co, m_weight});
    }
    clearLookupCache();

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
                                         m_simTime, n);
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
            const bool flushNow = m_flush && sub == 0;
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
        m_stepIndex[stepNumber] = -1;
        clearLookupCache();
        m_outOfRange = true;
        return false;
    }

    for (Qen &t : m_tracks)
        t.pendingDoses = 0;
    m_simTime += m_stepMs;
    m_flush = false;
    m_liveTime = m_simTime;
    return true;
}

// --- Run control --------------------------------------------------------------

void QenEngine::restoreClocks(quint32 simTime, quint32 endTime, quint32 liveTime)
{
    m_simTime = simTime;
    m_endTime = endTime;
    m_liveTime = liveTime;
    m_targetTime = 0;
    invalidateCaches();
}

void QenEngine::stopTimer()
{
    m_timer.stop();
    m_timerActive = false;
}

void QenEngine::enterStopState(AState state)
{
    emit stateChanged(state);
    m_state = state;
    m_targetTime = 0;
    notice(0, QenHint::RunState, QenSystemOrigin);
    stopTimer();
    m_host->refreshActions();
}

void QenEngine::setState(QenOrigin origin, AState state)
{
    emit stateChanged(state);
    m_state = state;
    m_targetTime = 0;
    notice(0, QenHint::RunState, origin);
    if (state != ARunning) {
        stopTimer();
    } else {
        m_afapKey = m_host->ctrlHeld();
        ensureTimer();
    }
    m_host->refreshActions();
}

void QenEngine::pause()
{
    if (m_state == ARunning)
        enterStopState(APaused);
}

void QenEngine::advance(int targetMs)
{
    const quint64 reach = quint64(m_displayTime) + ReachMs;
    quint64 target;
    if (targetMs < 0)
        target = std::max<quint64>(reach, std::max(m_endTime, m_simTime));
    else
        target = std::min<quint64>(quint64(targetMs), reach);
    target = std::min<quint64>(target, m_limit);
    // A pacing total that starts below the displayed time (it is rounded down
    // to whole seconds) must not move the display back into its own past.
    target = std::max<quint64>(target, m_displayTime);
    if (targetMs >= 0 && !m_afapKey && m_speed < 20 && target / MinuteMs > m_displayTime / MinuteMs)
        target = quint64(m_displayTime / MinuteMs + 1) * MinuteMs;
    m_targetTime = quint32(target);

    m_stopPending = false;
    m_stopCauses = 0;
    if (targetMs > 0 && breakpointHit()) {
        m_stopPending = true;
        m_stopCauses |= StopBreakpoint;
    }
    // The earliest bookmark ahead, whatever the order they were entered in:
    // a later one must not carry the display past a pause prepared before it.
    for (quint32 b : m_marks.bookmarks()) {
        if (m_displayTime < b && b <= m_targetTime) {
            m_targetTime = b;
            m_stopPending = true;
            m_stopCauses |= StopBookmark;
        }
    }
    for (quint32 w : m_marks.wakeUps()) {
        if (m_displayTime < w && w <= m_targetTime) {
            if (w < m_targetTime)
                m_stopCauses &= ~StopBookmark;
            m_targetTime = w;
            m_stopPending = true;
            break;
        }
    }
    if (m_displayTime < m_endTime && m_endTime <= m_targetTime) {
        if (m_endTime < m_targetTime)
            m_stopCauses &= ~StopBookmark;
        m_targetTime = m_endTime;
        m_stopPending = true;
        m_stopCauses |= StopEndOfRecording;
    }
    if (quint64(m_targetTime) < quint64(m_simTime) + m_stepMs)
        showTarget();
    else
        ensureTimer();
}

void QenEngine::ensureTimer()
{
    if (m_timerActive) {
        if (m_sinceTick.elapsed() > 500)
            tick();
        return;
    }
    m_timerActive = true;
    m_timer.start(0);
    m_sinceTick.restart();
}

void QenEngine::idle()
{
    for (int i = 0; i < 2 && m_timerActive; ++i)
        tick();
}

void QenEngine::tick()
{
    if (!advanceOneStep()) {
        stopTimer();
        if (m_outOfRange && m_state == ARunning) {
            enterStopState(APaused);
            emit runStopped(tr("Stopped at %1: the values have left the range the model can "
                               "compute")
                                .arg(clockText(m_simTime)));
        }
    }
    m_sinceTick.restart();
}

void QenEngine::applySampleSettings()
{
    const QenSample *first = sampleOf(0, m_displayTime);
    if (!first)
        return;
    const QenSample s = *first;
    if (s.weight != m_weight)
        setWeight(QenSystemOrigin, s.weight);
    if (s.circuit() != m_circuitIndex)
        setCircuit(QenSystemOrigin, QenVocabulary::circuits().at(s.circuit()));
    if (s.fgf != m_fgf)
        setFGF(QenSystemOrigin, s.fgf);
    if (s.va != m_va)
        setVA(QenSystemOrigin, s.va);
    if (s.co != m_co)
        setCO(QenSystemOrigin, s.co);
    m_venousReturn = s.hasReturn();
    m_uptakeEffect = s.hasUptake();
    m_vaporEffect = s.hasVapor();

    for (int k = 0; k < trackCount(); ++k) {
        const QenSample *own = sampleOf(k, m_displayTime);
        if (!own)
            continue;
        const QenSample t = *own;
        setDEL(QenSystemOrigin, k, t.del);
        if (int(t.agent) != m_tracks[size_t(k)].agent) {
            if (const QenAnesthetic *a = m_catalogue ? m_catalogue->value(t.agent) : nullptr)
                setAgent(QenSystemOrigin, k, a->displayName);
        }
        m_tracks[size_t(k)].unitDose = t.unitDose;
    }
}

void QenEngine::showTarget()
{
    const quint32 old = m_displayTime;
    m_displayTime = m_targetTime;
    m_targetTime = 0;

    if (old / m_stepMs != m_displayTime / m_stepMs && !m_tracks.front().samples.empty()) {
        applySampleSettings();
        for (int k = 0; k < trackCount(); ++k) {
            const float *state = stateAt(k, m_displayTime);
            std::copy(state, state + QenStateSize, m_tracks[size_t(k)].values);
        }
    }
    if (m_endTime < m_displayTime) {
        m_endTime = m_displayTime;
        emit modified(true);
    }
    if (old / 1000 != m_displayTime / 1000)
        notice(0, QenHint::Values, QenSystemOrigin);
    minuteSignal();

    if (m_displayTime < m_limit && !m_stopPending) {
        if (m_state == ARunning)
            ensureTimer();
        return;
    }
    const QString why = stopMessage();
    enterStopState(m_displayTime >= m_limit ? AFinished : APaused);
    if (!why.isEmpty())
        emit runStopped(why);
}

QString QenEngine::stopMessage() const
{
    if (m_displayTime >= m_limit)
        return tr("End of simulation");
    const QString at = clockText(m_displayTime);
    QStringList parts;
    if (m_stopCauses & StopBreakpoint)
        parts << tr("Breakpoint %1 reached at %2").arg(m_marks.breakpointText(), at);
    if (m_stopCauses & StopBookmark)
        parts << tr("Stopped at bookmark %1").arg(at);
    if (parts.isEmpty() && (m_stopCauses & StopEndOfRecording))
        parts << tr("End of recording at %1").arg(at);
    return parts.join(QStringLiteral("; "));
}

QString QenEngine::clockText(quint32 ms)
{
    const quint32 seconds = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void QenEngine::minuteSignal()
{
    const int click = m_defaults.click;
    if (click == 0 || m_afapKey || m_speed >= 20 || m_displayTime % MinuteMs != 0 ||
        !m_host->isActiveDocument())
        return;
    if (click == 1) {
        m_host->beep();
    } else if (click >= 2 && click <= 5) {
        const QString file =
            m_ini.value(QStringLiteral("Signals"), QStringLiteral("System_%1").arg(click - 1))
                .toString();
        // A chosen signal is never silent: without its sound file it beeps.
        if (!file.isEmpty() && QFile::exists(file))
            m_host->playSound(file);
        else
            m_host->beep();
    }
}

void QenEngine::rewind()
{
    if (m_tracks.front().samples.empty())
        return;
    pause();
    emit stateChanged(ANotRun);
    m_state = ANotRun;
    m_displayTime = 0;
    m_targetTime = 0;

    const QenSample s = m_tracks.front().samples.front();
    m_circuitIndex = s.circuit();
    m_circuit = QenVocabulary::circuits().at(m_circuitIndex);
    take(m_weight, s.weight, MinWeight, MaxWeight);
    m_venousReturn = s.hasReturn();
    m_uptakeEffect = s.hasUptake();
    m_vaporEffect = s.hasVapor();
    // The first step consumed any flush it recorded: replaying it again is
    // not a new one, and a flush left pending would empty the circuit at the
    // first step computed after the recording.
    m_flush = false;
    take(m_fgf, s.fgf, 0.0f, MaxFlow);
    take(m_va, s.va, 0.0f, MaxFlow);
    take(m_co, s.co, 0.0f, MaxFlow);
    for (Qen &t : m_tracks) {
        if (t.samples.empty())
            continue;
        const QenSample &own = t.samples.front();
        t.agent = own.agent;
        const QenAnesthetic *a = m_catalogue ? m_catalogue->value(t.agent) : nullptr;
        if (a)
            t.displayName = a->displayName;
        take(t.unitDose, own.unitDose, 0.0f, MaxUnitDose);
        take(t.del, own.del, 0.0f, a ? std::max(a->max, 0.0f) : std::numeric_limits<float>::max());
        const float ambient = a ? a->ambient : 0.0f;
        std::fill(t.values, t.values + QenCompartments, ambient);
        t.values[QenUptake] = t.values[QenDelivered] = 0.0f;
        t.pendingDoses = 0;
    }
    // The value at the end of the run is not the one before the start.
    resetBreakpoint();
    notice(0, QenHint::All, QenSystemOrigin);
}

void QenEngine::skipForward()
{
    if (m_displayTime >= m_endTime)
        return;
    pause();
    advance(-1);
}

bool QenEngine::replayGuard(bool eraseNow)
{
    if (m_displayTime < m_endTime) {
        pause();
        m_host->releaseMouseGrab();
        int answer = QenPrompt::Ok;
        if (QenPrompt *prompt = m_host->prompt()) {
            answer = prompt->warning(
                tr("Quenor® "),
                tr("<p>Changing conditions while replaying a simulation will erase it from this "
                   "point forward! (This won't affect any saved versions.)<p>Press 'OK' to "
                   "proceed..."),
                QenPrompt::Ok | QenPrompt::Cancel, QenPrompt::Cancel);
        }
        if (answer != QenPrompt::Ok) {
            emit updatePanel();
            emit updateControl();
            return false;
        }
    }
    if (eraseNow)
        eraseForward();
    return true;
}

void QenEngine::eraseForward()
{
    emit modified(true);
    if (m_simTime == 0)
        return;
    if (m_displayTime < m_simTime) {
        const quint32 f = m_displayTime - m_displayTime % m_stepMs;
        if (f < m_liveTime) {
            for (int k = 0; k < trackCount(); ++k) {
                const float *state = stateAt(k, f);
                std::copy(state, state + QenStateSize, m_tracks[size_t(k)].state);
            }
            m_liveTime = f;
        }

        const std::vector<QenSample> &first = m_tracks.front().samples;
        const size_t firstCount = first.size();
        size_t g = 0;
        if (firstCount > 0) {
            g = size_t(sampleAt(f));
            if (first[g].time == f) {
                clearLookupCache();
            } else if (first[g].time < f) {
                ++g;
                m_lookupLast = std::min(m_lookupLast, f);
            }
        }
        for (Qen &t : m_tracks) {
            // Tracks added later hold only the most recent steps.
            const size_t offset = firstCount - std::min(firstCount, t.samples.size());
            const size_t from = g > offset ? g - offset : 0;
            for (size_t j = from; j < t.samples.size(); ++j) {
                const QenSample &s = t.samples[j];
                if (s.time <= m_displayTime) {
                    t.pendingDoses = std::min(t.pendingDoses + s.doses(), 15);
                    if (s.hasFlush())
                        m_flush = true;
                }
            }
            if (from < t.samples.size())
                t.samples.erase(t.samples.begin() + std::ptrdiff_t(from), t.samples.end());
            t.current = -1;
        }
        if (f < m_cacheEnd) {
            m_cacheEnd = f + m_stepMs;
            if (m_cacheStart > m_cacheEnd)
                m_cacheStart = m_cacheEnd;
        }
        m_simTime = f;
    }
    // The recording now ends where the display stands, also when the display
    // stands on the live time itself.
    m_endTime = m_displayTime;
    m_host->refreshActions();
}

bool QenEngine::eraseKeepSettings(const QString &name)
{
    pause();
    if (QenPrompt *prompt = m_host->prompt()) {
        const int answer = prompt->question(
            tr("Quenor®"), tr("<p>Erase simulation %1 but keep current settings?").arg(name),
            QenPrompt::Ok | QenPrompt::Cancel, QenPrompt::Cancel);
        if (answer != QenPrompt::Ok)
            return false;
    }
    emit stateChanged(ANotRun);
    m_state = ANotRun;
    m_displayTime = 0;
    m_targetTime = 0;
    eraseForward();
    // The run starts afresh with the current settings: a flush or doses given
    // at its start went with the recording and do not come back.
    m_flush = false;
    for (int k = 0; k < trackCount(); ++k) {
        const QenAnesthetic *a = agentOf(k);
        m_tracks[size_t(k)].resetState(a ? a->ambient : 0.0f);
        m_tracks[size_t(k)].pendingDoses = 0;
    }
    resetBreakpoint();
    invalidateCaches();
    notice(0, QenHint::All, QenSystemOrigin);
    return true;
}

// --- Lookups ------------------------------------------------------------------

void QenEngine::invalidateCaches()
{
    clearLookupCache();
    m_cacheStart = m_cacheEnd = 0;
}

void QenEngine::rebuildStepIndex()
{
    m_stepIndex.fill(-1);
    const std::vector<QenSample> &first = m_tracks.front().samples;
    for (size_t i = 0; i < first.size(); ++i) {
        const quint32 step = first[i].time / m_stepMs;
        if (step < quint32(QenMaxSteps) && m_stepIndex[step] < 0)
            m_stepIndex[step] = qint16(i);
    }
    clearLookupCache();
}

void QenEngine::setStepIndex(const QenStepIndex &table)
{
    m_stepIndex = table;
    clearLookupCache();
}

void QenEngine::serializeStepIndex(QDataStream &stream, bool writing, QenStepIndex &table)
{
    for (qint16 &entry : table) {
        if (writing)
            stream << entry;
        else
            stream >> entry;
    }
}

int QenEngine::sampleAt(quint32 t)
{
    const std::vector<QenSample> &s = m_tracks.front().samples;
    const int n = int(s.size());
    if (n == 0)
        return -1;
    if (t >= m_simTime)
        return n - 1;
    if (m_lookupIndex >= 0 && m_lookupIndex < n && t >= m_lookupFirst && t <= m_lookupLast)
        return m_lookupIndex;
    const quint32 step = t / m_stepMs;
    int i = step < quint32(QenMaxSteps) ? m_stepIndex[step] : n - 1;
    // The table comes from a file too: walk from wherever it points.
    if (i < 0 || i >= n)
        i = 0;
    while (i > 0 && s[size_t(i)].time > t)
        --i;
    while (i + 1 < n && s[size_t(i) + 1].time <= t)
        ++i;
    m_lookupIndex = i;
    m_lookupFirst = s[size_t(i)].time;
    m_lookupLast = i + 1 < n ? s[size_t(i) + 1].time - 1 : m_simTime;
    return i;
}

const QenSample *QenEngine::sampleOf(int track, quint32 t)
{
    if (track < 0 || track >= trackCount())
        return nullptr;
    const int index0 = sampleAt(t);
    if (index0 < 0)
        return nullptr;
    const std::vector<QenSample> &first = m_tracks.front().samples;
    const std::vector<QenSample> &own = m_tracks[size_t(track)].samples;
    if (track == 0)
        return &first[size_t(index0)];
    if (own.empty())
        return nullptr;
    // Every track records each step it exists for, so its samples line up
    // with the last ones of the first track; check, and search when not.
    const qint64 j = qint64(index0) - qint64(first.size()) + qint64(own.size());
    if (j >= 0 && j < qint64(own.size()) && own[size_t(j)].time == first[size_t(index0)].time)
        return &own[size_t(j)];
    auto it = std::upper_bound(own.begin(), own.end(), t,
                               [](quint32 value, const QenSample &s) { return value < s.time; });
    return it == own.begin() ? nullptr : &*(it - 1);
}

void QenEngine::loadQueryBuffers(int index0)
{
    const quint32 t = m_tracks.front().samples[size_t(index0)].time;
    for (int k = 0; k < trackCount(); ++k) {
        Qen &track = m_tracks[size_t(k)];
        const QenSample *s = sampleOf(k, t);
        // A track added later shows, before it existed, what it started with.
        const float *from = s                        ? s->state
                            : !track.samples.empty() ? track.samples.front().state
                                                     : track.state;
        std::copy(from, from + QenStateSize, track.query);
    }
}

const float *QenEngine::stateAt(int track, quint32 t)
{
    Qen &own = m_tracks[size_t(track)];
    if (t >= m_liveTime)
        return own.state;
    if (t < m_cacheStart || t >= m_cacheEnd) {
        const int i = sampleAt(t);
        if (i < 0)
            return own.state;
        const std::vector<QenSample> &first = m_tracks.front().samples;
        loadQueryBuffers(i);
        m_cacheStart = first[size_t(i)].time;
        m_cacheEnd = size_t(i) + 1 < first.size() ? first[size_t(i) + 1].time : m_simTime;
    }
    return own.query;
}

bool QenEngine::breakpointHit()
{
    const Qen &primary = m_tracks.front();
    return m_marks.breakpointHit({m_fgf, primary.del, primary.values});
}

// --- Value queries ------------------------------------------------------------

quint32 QenEngine::queryMs(float minutes) const
{
    const double ms = double(minutes) * 60000.0;
    quint32 t = 0;
    if (ms >= 4294967295.0)
        t = 0xFFFFFFFFu;
    else if (ms > 0.0)
        t = quint32(ms);
    return std::min(t, m_endTime);
}

float QenEngine::compartmentAt(int track, int element, quint32 t)
{
    if (track < 0 || track >= trackCount() || element < 0 || element >= QenStateSize)
        return 0.0f;
    if (t < m_simTime)
        return stateAt(track, t)[element];
    return m_tracks[size_t(track)].values[element];
}

float QenEngine::coAt(quint32 t)
{
    if (t < m_simTime) {
        if (const QenSample *s = sampleOf(0, t))
            return s->co;
    }
    return m_co;
}

float QenEngine::fgfDeliveredAt(int track, quint32 t)
{
    if (track < 0 || track >= trackCount())
        return 0.0f;
    auto liquid = [this](int agent) {
        const QenAnesthetic *a = m_catalogue ? m_catalogue->value(agent) : nullptr;
        return a && a->liquid;
    };
    if (t < m_simTime) {
        if (const QenSample *s = sampleOf(track, t)) {
            if (s->hasFlush() && t - s->time < m_stepMs)
                return 30.0f;
            if (s->hasVapor() && liquid(s->agent))
                return float(double(s->fgf) * 100.0 / (100.0 - std::min(s->del, 99.0f)));
            return s->fgf;
        }
    }
    const Qen &own = m_tracks[size_t(track)];
    if (m_flush)
        return 30.0f;
    if (m_vaporEffect && liquid(own.agent))
        return float(double(m_fgf) * 100.0 / (100.0 - std::min(own.del, 99.0f)));
    return m_fgf;
}

float QenEngine::vaBreathedAt(quint32 t)
{
    const int count = trackCount();
    std::vector<double> now(size_t(count), 0.0);
    double va = m_va;
    bool uptake = m_uptakeEffect;
    const bool past = t < m_simTime;
    if (past) {
        if (const QenSample *s = sampleOf(0, t)) {
            va = s->va;
            uptake = s->hasUptake();
        }
    }
    if (!uptake || t < m_stepMs)
        return float(va);
    for (int k = 0; k < count; ++k)
        now[size_t(k)] = past ? stateAt(k, t)[QenUptake] : m_tracks[size_t(k)].values[QenUptake];
    double sum = 0.0;
    for (int k = 0; k < count; ++k)
        sum += (now[size_t(k)] - stateAt(k, t - m_stepMs)[QenUptake]) / m_stepMinutes;
    return float(va + sum);
}

float QenEngine::delDeliveredAt(int track, quint32 t, quint32 other, bool *event)
{
    if (track < 0 || track >= trackCount())
        return 0.0f;
    const Qen &own = m_tracks[size_t(track)];
    const bool past = t < m_simTime;

    if (event) {
        if (!past) {
            *event = own.pendingDoses > 0;
        } else {
            *event = false;
            const quint32 low = std::min(t, other);
            const quint32 high = std::max(t, other);
            const QenSample *s = sampleOf(track, low);
            const QenSample *end = own.samples.data() + own.samples.size();
            if (!s && !own.samples.empty())
                s = own.samples.data();
            for (; s && s < end && s->time <= high; ++s) {
                if (s->time >= low && (s->flags & QenSample::EventMask)) {
                    *event = true;
                    break;
                }
            }
        }
    }

    const QenSample *current = past ? sampleOf(track, t) : nullptr;
    if (past && current && current->hasFlush() && t - current->time < m_stepMs)
        return 0.0f;
    if (!past && m_flush)
        return 0.0f;
    if (t >= m_stepMs) {
        const QenSample *before = sampleOf(track, t - m_stepMs);
        if (before && before->fgf != 0.0f) {
            const double delivered =
                past ? double(stateAt(track, t)[QenDelivered]) : double(own.values[QenDelivered]);
            const double earlier = stateAt(track, t - m_stepMs)[QenDelivered];
            const double fgfEarlier = fgfDeliveredAt(track, t - m_stepMs);
            return float((delivered - earlier) * 100.0 / fgfEarlier / m_stepMinutes);
        }
    }
    if (past && current)
        return current->del;
    return own.del;
}

float QenEngine::costAt(int track, quint32 t)
{
    const float perLitre = costPerLitre(track);
    if (!(perLitre > 0.0f))
        return 0.0f;
    return float(double(compartmentAt(track, QenDelivered, t)) * perLitre);
}

QString QenEngine::copyValues(int track) const
{
    if (track < 0 || track >= trackCount())
        return QString();
    const Qen &t = m_tracks[size_t(track)];
    QStringList fields;
    fields << clockText(m_displayTime);
    auto number = [](double v) {
        return QString::number(v, 'f', 6);
    };
    fields << number(t.del);
    for (int i = 0; i < QenStateSize; ++i)
        fields << number(t.values[i]);
    const double perLitre = costPerLitre(track);
    fields << number(t.values[QenUptake] * perLitre) << number(t.values[QenDelivered] * perLitre);
    // The footprint of what was delivered; empty when the agent's is unknown.
    const std::optional<double> co2e =
        QenFootprint::co2eKg(agentOf(track), double(t.values[QenDelivered]));
    fields << (co2e ? number(*co2e) : QString());
    return fields.join(QLatin1Char('\t'));
}
