#include "engine/qenruncontrol.h"

#include "engine/qencatalogue.h"
#include "engine/qenclocks.h"
#include "engine/qenengine.h"
#include "engine/qenprompt.h"
#include "engine/qenvocabulary.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr quint32 ReachMs = 900000; // how far one advance may move the display
constexpr quint32 MinuteMs = 60000;
constexpr int AfapSpeed = 1000;

// Takes a stored value into a setting when it is a number, held to [low, high].
void take(float &setting, float value, float low, float high)
{
    if (std::isfinite(value))
        setting = std::clamp(value, low, high);
}

} // namespace

QenRunControl::QenRunControl(QenEngine &engine, QenClocks &clocks, QenSimSettings &settings,
                             std::vector<Qen> &tracks, QenRecording &recording, QenStepper &stepper,
                             QenMarks &marks)
    : m_engine(engine), m_clocks(clocks), m_settings(settings), m_tracks(tracks),
      m_recording(recording), m_stepper(stepper), m_marks(marks)
{
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, &engine, &QenEngine::idle);
}

QenEngineHost &QenRunControl::host() const
{
    return *m_engine.m_host;
}

void QenRunControl::clear()
{
    m_state = ANotRun;
    m_stopPending = false;
    m_afapKey = false;
}

bool QenRunControl::runsAfap() const
{
    return (m_state == ARunning && m_afapKey) || m_settings.speed == AfapSpeed;
}

bool QenRunControl::advanceOneStep()
{
    m_stepper.clearOutOfRange();
    if (m_clocks.targetTime != 0 && m_clocks.simTime >= m_clocks.targetTime) {
        showTarget();
        return true;
    }
    if (m_clocks.displayTime < m_clocks.endTime)
        return false;
    if (m_clocks.simTime > m_clocks.limitMs)
        return false;
    if (!runsAfap()) {
        const qint64 lead = m_clocks.targetTime != 0
                                ? qint64(m_clocks.simTime) - qint64(m_clocks.targetTime)
                                : qint64(m_clocks.simTime) - qint64(m_clocks.displayTime);
        if (lead >= m_clocks.stepMs || (m_settings.speed > 0 && lead / m_settings.speed >= 300000))
            return false;
    }
    return m_stepper.step();
}

void QenRunControl::restoreClocks(quint32 simTime, quint32 endTime, quint32 liveTime)
{
    m_clocks.simTime = simTime;
    m_clocks.endTime = endTime;
    m_clocks.liveTime = liveTime;
    m_clocks.targetTime = 0;
    m_recording.invalidateCaches();
}

void QenRunControl::stopTimer()
{
    m_timer.stop();
    m_timerActive = false;
}

void QenRunControl::enterStopState(AState state)
{
    emit m_engine.stateChanged(state);
    m_state = state;
    m_clocks.targetTime = 0;
    m_engine.notice(0, QenHint::RunState, QenSystemOrigin);
    stopTimer();
    host().refreshActions();
}

void QenRunControl::setState(QenOrigin origin, AState state)
{
    emit m_engine.stateChanged(state);
    m_state = state;
    m_clocks.targetTime = 0;
    m_engine.notice(0, QenHint::RunState, origin);
    if (state != ARunning) {
        stopTimer();
    } else {
        m_afapKey = host().ctrlHeld();
        ensureTimer();
    }
    host().refreshActions();
}

void QenRunControl::pause()
{
    if (m_state == ARunning)
        enterStopState(APaused);
}

void QenRunControl::advance(int targetMs)
{
    const quint64 reach = quint64(m_clocks.displayTime) + ReachMs;
    quint64 target;
    if (targetMs < 0)
        target = std::max<quint64>(reach, std::max(m_clocks.endTime, m_clocks.simTime));
    else
        target = std::min<quint64>(quint64(targetMs), reach);
    target = std::min<quint64>(target, m_clocks.limitMs);
    // A pacing total that starts below the displayed time (it is rounded down
    // to whole seconds) must not move the display back into its own past.
    target = std::max<quint64>(target, m_clocks.displayTime);
    if (targetMs >= 0 && !m_afapKey && m_settings.speed < 20 &&
        target / MinuteMs > m_clocks.displayTime / MinuteMs)
        target = quint64(m_clocks.displayTime / MinuteMs + 1) * MinuteMs;
    m_clocks.targetTime = quint32(target);

    m_stopPending = false;
    m_stopCauses = 0;
    if (targetMs > 0 && m_engine.breakpointHit()) {
        m_stopPending = true;
        m_stopCauses |= StopBreakpoint;
    }
    // The earliest bookmark ahead, whatever the order they were entered in:
    // a later one must not carry the display past a pause prepared before it.
    for (quint32 b : m_marks.bookmarks()) {
        if (m_clocks.displayTime < b && b <= m_clocks.targetTime) {
            m_clocks.targetTime = b;
            m_stopPending = true;
            m_stopCauses |= StopBookmark;
        }
    }
    for (quint32 w : m_marks.wakeUps()) {
        if (m_clocks.displayTime < w && w <= m_clocks.targetTime) {
            if (w < m_clocks.targetTime)
                m_stopCauses &= ~StopBookmark;
            m_clocks.targetTime = w;
            m_stopPending = true;
            break;
        }
    }
    if (m_clocks.displayTime < m_clocks.endTime && m_clocks.endTime <= m_clocks.targetTime) {
        if (m_clocks.endTime < m_clocks.targetTime)
            m_stopCauses &= ~StopBookmark;
        m_clocks.targetTime = m_clocks.endTime;
        m_stopPending = true;
        m_stopCauses |= StopEndOfRecording;
    }
    if (quint64(m_clocks.targetTime) < quint64(m_clocks.simTime) + m_clocks.stepMs)
        showTarget();
    else
        ensureTimer();
}

void QenRunControl::ensureTimer()
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

void QenRunControl::idle()
{
    for (int i = 0; i < 2 && m_timerActive; ++i)
        tick();
}

void QenRunControl::tick()
{
    if (!advanceOneStep()) {
        stopTimer();
        if (m_stepper.outOfRange() && m_state == ARunning) {
            enterStopState(APaused);
            emit m_engine.runStopped(
                QenEngine::tr("Stopped at %1: the values have left the range the model can "
                              "compute")
                    .arg(clockText(m_clocks.simTime)));
        }
    }
    m_sinceTick.restart();
}

void QenRunControl::applySampleSettings()
{
    const QenSample *first = m_recording.sampleOf(0, m_clocks.displayTime);
    if (!first)
        return;
    const QenSample s = *first;
    if (s.weight != m_settings.weight)
        m_engine.setWeight(QenSystemOrigin, s.weight);
    if (s.circuit() != m_settings.circuitIndex)
        m_engine.setCircuit(QenSystemOrigin, QenVocabulary::circuits().at(s.circuit()));
    if (s.fgf != m_settings.fgf)
        m_engine.setFGF(QenSystemOrigin, s.fgf);
    if (s.va != m_settings.va)
        m_engine.setVA(QenSystemOrigin, s.va);
    if (s.co != m_settings.co)
        m_engine.setCO(QenSystemOrigin, s.co);
    m_settings.venousReturn = s.hasReturn();
    m_settings.uptakeEffect = s.hasUptake();
    m_settings.vaporEffect = s.hasVapor();

    for (int k = 0; k < m_engine.trackCount(); ++k) {
        const QenSample *own = m_recording.sampleOf(k, m_clocks.displayTime);
        if (!own)
            continue;
        const QenSample t = *own;
        m_engine.setDEL(QenSystemOrigin, k, t.del);
        if (int(t.agent) != m_tracks[size_t(k)].agent) {
            if (const QenAnesthetic *a =
                    m_engine.catalogue() ? m_engine.catalogue()->value(t.agent) : nullptr)
                m_engine.setAgent(QenSystemOrigin, k, a->displayName);
        }
        m_tracks[size_t(k)].unitDose = t.unitDose;
    }
}

void QenRunControl::showTarget()
{
    const quint32 old = m_clocks.displayTime;
    m_clocks.displayTime = m_clocks.targetTime;
    m_clocks.targetTime = 0;

    if (old / m_clocks.stepMs != m_clocks.displayTime / m_clocks.stepMs &&
        !m_tracks.front().samples.empty()) {
        applySampleSettings();
        for (int k = 0; k < m_engine.trackCount(); ++k) {
            const float *state = m_recording.stateAt(k, m_clocks.displayTime);
            std::copy(state, state + QenStateSize, m_tracks[size_t(k)].values);
        }
    }
    if (m_clocks.endTime < m_clocks.displayTime) {
        m_clocks.endTime = m_clocks.displayTime;
        emit m_engine.modified(true);
    }
    if (old / 1000 != m_clocks.displayTime / 1000)
        m_engine.notice(0, QenHint::Values, QenSystemOrigin);
    minuteSignal();

    if (m_clocks.displayTime < m_clocks.limitMs && !m_stopPending) {
        if (m_state == ARunning)
            ensureTimer();
        return;
    }
    const QString why = stopMessage();
    enterStopState(m_clocks.displayTime >= m_clocks.limitMs ? AFinished : APaused);
    if (!why.isEmpty())
        emit m_engine.runStopped(why);
}

QString QenRunControl::stopMessage() const
{
    if (m_clocks.displayTime >= m_clocks.limitMs)
        return QenEngine::tr("End of simulation");
    const QString at = clockText(m_clocks.displayTime);
    QStringList parts;
    if (m_stopCauses & StopBreakpoint)
        parts << QenEngine::tr("Breakpoint %1 reached at %2").arg(m_marks.breakpointText(), at);
    if (m_stopCauses & StopBookmark)
        parts << QenEngine::tr("Stopped at bookmark %1").arg(at);
    if (parts.isEmpty() && (m_stopCauses & StopEndOfRecording))
        parts << QenEngine::tr("End of recording at %1").arg(at);
    return parts.join(QStringLiteral("; "));
}

QString QenRunControl::clockText(quint32 ms)
{
    const quint32 seconds = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void QenRunControl::minuteSignal()
{
    const int click = m_engine.defaults().click;
    if (click == 0 || m_afapKey || m_settings.speed >= 20 || m_clocks.displayTime % MinuteMs != 0 ||
        !host().isActiveDocument())
        return;
    if (click == 1) {
        host().beep();
    } else if (click >= 2 && click <= 5) {
        const QString file =
            m_engine.m_ini
                .value(QStringLiteral("Signals"), QStringLiteral("System_%1").arg(click - 1))
                .toString();
        // A chosen signal is never silent: without its sound file it beeps.
        if (!file.isEmpty() && QFile::exists(file))
            host().playSound(file);
        else
            host().beep();
    }
}

void QenRunControl::rewind()
{
    if (m_tracks.front().samples.empty())
        return;
    pause();
    emit m_engine.stateChanged(ANotRun);
    m_state = ANotRun;
    m_clocks.displayTime = 0;
    m_clocks.targetTime = 0;

    const QenSample s = m_tracks.front().samples.front();
    m_settings.circuitIndex = s.circuit();
    m_settings.circuit = QenVocabulary::circuits().at(m_settings.circuitIndex);
    take(m_settings.weight, s.weight, QenEngine::MinWeight, QenEngine::MaxWeight);
    m_settings.venousReturn = s.hasReturn();
    m_settings.uptakeEffect = s.hasUptake();
    m_settings.vaporEffect = s.hasVapor();
    // The first step consumed any flush it recorded: replaying it again is
    // not a new one, and a flush left pending would empty the circuit at the
    // first step computed after the recording.
    m_settings.flush = false;
    take(m_settings.fgf, s.fgf, 0.0f, QenEngine::MaxFlow);
    take(m_settings.va, s.va, 0.0f, QenEngine::MaxFlow);
    take(m_settings.co, s.co, 0.0f, QenEngine::MaxFlow);
    for (Qen &t : m_tracks) {
        if (t.samples.empty())
            continue;
        const QenSample &own = t.samples.front();
        t.agent = own.agent;
        const QenAnesthetic *a =
            m_engine.catalogue() ? m_engine.catalogue()->value(t.agent) : nullptr;
        if (a)
            t.displayName = a->displayName;
        take(t.unitDose, own.unitDose, 0.0f, QenEngine::MaxUnitDose);
        take(t.del, own.del, 0.0f, a ? std::max(a->max, 0.0f) : std::numeric_limits<float>::max());
        const float ambient = a ? a->ambient : 0.0f;
        std::fill(t.values, t.values + QenCompartments, ambient);
        t.values[QenUptake] = t.values[QenDelivered] = 0.0f;
        t.pendingDoses = 0;
    }
    // The value at the end of the run is not the one before the start.
    m_marks.resetBreakpoint();
    m_engine.notice(0, QenHint::All, QenSystemOrigin);
}

void QenRunControl::skipForward()
{
    if (m_clocks.displayTime >= m_clocks.endTime)
        return;
    pause();
    advance(-1);
}

bool QenRunControl::replayGuard(bool eraseNow)
{
    if (m_clocks.displayTime < m_clocks.endTime) {
        pause();
        host().releaseMouseGrab();
        int answer = QenPrompt::Ok;
        if (QenPrompt *prompt = host().prompt()) {
            answer = prompt->warning(
                QenEngine::tr("Quenor® "),
                QenEngine::tr(
                    "<p>Changing conditions while replaying a simulation will erase it from this "
                    "point forward! (This won't affect any saved versions.)<p>Press 'OK' to "
                    "proceed..."),
                QenPrompt::Ok | QenPrompt::Cancel, QenPrompt::Cancel);
        }
        if (answer != QenPrompt::Ok) {
            emit m_engine.updatePanel();
            emit m_engine.updateControl();
            return false;
        }
    }
    if (eraseNow)
        eraseForward();
    return true;
}

void QenRunControl::eraseForward()
{
    emit m_engine.modified(true);
    if (m_clocks.simTime == 0)
        return;
    if (m_clocks.displayTime < m_clocks.simTime) {
        const quint32 f = m_clocks.displayTime - m_clocks.displayTime % m_clocks.stepMs;
        if (f < m_clocks.liveTime) {
            for (int k = 0; k < m_engine.trackCount(); ++k) {
                const float *state = m_recording.stateAt(k, f);
                std::copy(state, state + QenStateSize, m_tracks[size_t(k)].state);
            }
            m_clocks.liveTime = f;
        }

        if (m_recording.cutAfter(f, m_clocks.displayTime))
            m_settings.flush = true;
        m_clocks.simTime = f;
    }
    // The recording now ends where the display stands, also when the display
    // stands on the live time itself.
    m_clocks.endTime = m_clocks.displayTime;
    host().refreshActions();
}

bool QenRunControl::eraseKeepSettings(const QString &name)
{
    pause();
    if (QenPrompt *prompt = host().prompt()) {
        const int answer = prompt->question(
            QenEngine::tr("Quenor®"),
            QenEngine::tr("<p>Erase simulation %1 but keep current settings?").arg(name),
            QenPrompt::Ok | QenPrompt::Cancel, QenPrompt::Cancel);
        if (answer != QenPrompt::Ok)
            return false;
    }
    emit m_engine.stateChanged(ANotRun);
    m_state = ANotRun;
    m_clocks.displayTime = 0;
    m_clocks.targetTime = 0;
    eraseForward();
    // The run starts afresh with the current settings: a flush or doses given
    // at its start went with the recording and do not come back.
    m_settings.flush = false;
    for (int k = 0; k < m_engine.trackCount(); ++k) {
        const QenAnesthetic *a = m_engine.agentOf(k);
        m_tracks[size_t(k)].resetState(a ? a->ambient : 0.0f);
        m_tracks[size_t(k)].pendingDoses = 0;
    }
    m_marks.resetBreakpoint();
    m_recording.invalidateCaches();
    m_engine.notice(0, QenHint::All, QenSystemOrigin);
    return true;
}
