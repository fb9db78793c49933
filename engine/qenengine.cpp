#include "engine/qenengine.h"

#include "engine/qencatalogue.h"
#include "engine/qenfootprint.h"
#include "engine/qenvocabulary.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int OpenCircuit = 0;
constexpr int SemiClosedCircuit = 1;
constexpr int ClosedCircuit = 2;

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

} // namespace

QenEngine::QenEngine(const QenCatalogue *catalogue, QenEngineHost *host, QObject *parent)
    : QObject(parent), m_catalogue(catalogue), m_host(host ? host : &m_quietHost),
      m_recording(m_tracks, m_clocks, m_settings, m_catalogue),
      m_stepper(m_tracks, m_clocks, m_settings, m_recording, m_catalogue),
      m_run(*this, m_clocks, m_settings, m_tracks, m_recording, m_stepper, m_marks)
{
    m_settings.circuit = QenVocabulary::circuits().at(SemiClosedCircuit);
    m_settings.circuitIndex = SemiClosedCircuit;
    m_tracks.emplace_back();
}

QenEngine::~QenEngine()
{
    m_run.stopTimer();
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

float QenEngine::circuitFgf(bool started) const
{
    switch (m_settings.circuitIndex) {
    case OpenCircuit:
        return std::max(m_settings.va, 10.0f);
    case ClosedCircuit:
        return float(0.25 * m_settings.bodyScale());
    default:
        return started ? float(double(m_defaults.fgf) * 3.0 * 0.125) : m_defaults.fgf;
    }
}

void QenEngine::reset(const QenDefaults &defaults)
{
    m_run.stopTimer();
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

    m_run.clear();
    m_clocks.simTime = m_clocks.displayTime = m_clocks.targetTime = m_clocks.endTime =
        m_clocks.liveTime = 0;
    m_marks.clearBookmarks();
    m_recording.clearStepIndex();
    m_recording.invalidateCaches();

    m_settings.weight = defaults.weight;
    std::copy(std::begin(defaults.volumes), std::end(defaults.volumes),
              std::begin(m_settings.volumes));
    std::copy(std::begin(defaults.flows), std::end(defaults.flows),
              std::begin(m_settings.flowFractions));
    m_settings.circuit =
        defaults.circuit.isEmpty() ? QenVocabulary::circuits().at(OpenCircuit) : defaults.circuit;
    m_settings.circuitIndex = circuitOf(m_settings.circuit);
    const double s = m_settings.bodyScale();
    m_settings.va = float(double(defaults.va) * s);
    m_settings.co = float(double(defaults.co) * s);
    m_settings.fgf = m_settings.circuitIndex == OpenCircuit ? 10.0f : circuitFgf(false);
    m_settings.uptakeEffect = true;
    m_settings.venousReturn = true;
    m_settings.vaporEffect = false;
    m_settings.flush = false;
    m_settings.speed = defaults.speed;
    m_clocks.stepMs = 6000;
    m_clocks.stepMinutes = float(6000 / 60000.0);
    m_clocks.limitMs = 6000u * MaxStepsPerRun;

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
    m_settings.fgf = value;
    notice(0, QenHint::Fgf, origin);
    if (!isUser(origin))
        return;
    eraseForward();
    if (value == 0.0f && m_settings.circuitIndex != ClosedCircuit)
        setCircuit(QenUserOrigin, QenVocabulary::circuits().at(ClosedCircuit));
    if (value < m_settings.va && m_settings.circuitIndex == OpenCircuit)
        setVA(QenUserOrigin, value);
}

void QenEngine::setVA(QenOrigin origin, float value)
{
    if (!withinRange(value, 0.0f, MaxFlow))
        return;
    m_settings.va = value;
    notice(0, QenHint::Va, origin);
    if (!isUser(origin))
        return;
    eraseForward();
    if (value > m_settings.fgf && m_settings.circuitIndex == OpenCircuit)
        setFGF(QenUserOrigin, value);
}

void QenEngine::setCO(QenOrigin origin, float value)
{
    if (!withinRange(value, 0.0f, MaxFlow))
        return;
    m_settings.co = value;
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
    const double ratio = double(value) / double(m_settings.weight);
    m_settings.weight = value;
    notice(0, QenHint::Weight, origin);
    if (!isUser(origin))
        return;

    eraseForward();
    const double scale = QenSimSettings::power075(ratio);
    setVA(QenUserOrigin, float(double(m_settings.va) * scale));
    m_settings.co = std::min(float(double(m_settings.co) * scale), MaxFlow);
    notice(0, QenHint::Co, QenUserOrigin);
    eraseForward();
    if (m_settings.circuitIndex == ClosedCircuit)
        setFGF(QenUserOrigin, float(0.25 * m_settings.bodyScale()));

    if (m_clocks.simTime == 0) {
        const float q = std::sqrt(std::sqrt(value));
        const double ms = std::trunc(double(q) * 10.0 / 28.925079345703125 * 6000.0 + 0.5);
        setStepMs(quint16(std::clamp(ms, 1.0, 65535.0)));
    }
}

void QenEngine::setCircuit(QenOrigin origin, const QString &name)
{
    m_settings.circuit = name;
    m_settings.circuitIndex = circuitOf(name);
    notice(0, QenHint::Circuit, origin);
    if (!isUser(origin))
        return;
    eraseForward();
    const float wanted = circuitFgf(m_clocks.displayTime != 0);
    if (wanted != m_settings.fgf)
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
        if (m_clocks.displayTime == 0) {
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
    setSwitch(m_settings.uptakeEffect, !on);
}

void QenEngine::disableReturn(bool on)
{
    setSwitch(m_settings.venousReturn, !on);
}

void QenEngine::enableVapor(bool on)
{
    setSwitch(m_settings.vaporEffect, on);
}

void QenEngine::flushCircuit()
{
    m_settings.flush = true;
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
           (m_settings.circuitIndex == SemiClosedCircuit ||
            m_settings.circuitIndex == ClosedCircuit);
}

void QenEngine::setSpeed(QenOrigin origin, int value)
{
    const bool changed = value != m_settings.speed;
    m_settings.speed = value;
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
    m_settings.volumes[compartment] = litres;
    for (Qen &t : m_tracks)
        t.invalidateTable();
}

void QenEngine::setFlowFraction(int compartment, float fraction)
{
    if (compartment < 0 || compartment >= QenCompartments)
        return;
    m_settings.flowFractions[compartment] = fraction;
    for (Qen &t : m_tracks)
        t.invalidateTable();
}

// --- Marks and values ---------------------------------------------------------

bool QenEngine::breakpointHit()
{
    const Qen &primary = m_tracks.front();
    return m_marks.breakpointHit({m_settings.fgf, primary.del, primary.values});
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
    fields << clockText(m_clocks.displayTime);
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
