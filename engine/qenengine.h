#pragma once

#include "engine/qen.h"
#include "engine/qenclocks.h"
#include "engine/qendefaults.h"
#include "engine/qenenginehost.h"
#include "engine/qenini.h"
#include "engine/qenmarks.h"
#include "engine/qenrecording.h"
#include "engine/qenruncontrol.h"
#include "engine/qensimsettings.h"
#include "engine/qenstep.h"
#include "engine/qenstepper.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

class QenCatalogue;

// One simulation: the settings of the patient and circuit, one track per agent
// with its recorded samples, the clocks that drive a run, the bookmarks and the
// breakpoint. The document owns one; views and the application read and change
// the simulation here, through QenDoc::engine(), and go to the document only
// for what it adds (file, windows, colours, modified mark). Every change still
// reaches all views, because the engine reports it to the document through its
// host and the document sends the notice. The catalogue and the host belong to
// the caller and must outlive the engine.
//
// The engine holds the settings and the tracks and composes the parts that
// work on them: the recording and its queries (QenRecording), the step
// (QenStepper), run control and its clocks (QenRunControl, QenClocks) and the
// marks (QenMarks). Its interface forwards to them, so callers keep one way in.
class QenEngine : public QObject
{
    Q_OBJECT

public:
    // A simulation keeps at most this many bookmarks, and as many wake-ups.
    static constexpr int MaxBookmarks = QenMarks::MaxBookmarks;
    static constexpr int MaxWakeUps = QenMarks::MaxWakeUps;
    static constexpr quint32 LongestRunMs = QenClocks::LongestRunMs;
    static constexpr int MaxStepsPerRun = QenClocks::MaxStepsPerRun;

    explicit QenEngine(const QenCatalogue *catalogue, QenEngineHost *host = nullptr,
                       QObject *parent = nullptr);
    ~QenEngine() override;

    void setHost(QenEngineHost *host);
    void setCatalogue(const QenCatalogue *catalogue) { m_catalogue = catalogue; }
    const QenCatalogue *catalogue() const { return m_catalogue; }
    // The INI file that names the sound files of the minute signal.
    void setIni(const QenIni &ini) { m_ini = ini; }
    // The defaults a reset and the circuit rule use (and the minute signal option).
    void setDefaults(const QenDefaults &defaults) { m_defaults = defaults; }
    const QenDefaults &defaults() const { return m_defaults; }

    // A new simulation: one track of the default agent, every setting from
    // `defaults`, all clocks 0, nothing recorded, no bookmarks.
    void reset(const QenDefaults &defaults);

    // --- Settings -----------------------------------------------------------
    float weight() const { return m_settings.weight; }
    float fgf() const { return m_settings.fgf; }
    float va() const { return m_settings.va; }
    float co() const { return m_settings.co; }
    const QString &circuit() const { return m_settings.circuit; }
    int circuitIndex() const { return m_settings.circuitIndex; } // 0 Open .. 3 Ideal
    bool uptakeEffect() const { return m_settings.uptakeEffect; }
    bool venousReturn() const { return m_settings.venousReturn; }
    bool vaporEffect() const { return m_settings.vaporEffect; }
    bool flushPending() const { return m_settings.flush; }
    int speed() const { return m_settings.speed; }
    const float *volumes() const { return m_settings.volumes.data(); }
    const float *flowFractions() const { return m_settings.flowFractions; }

    void setDEL(QenOrigin origin, int track, float value);
    void setFGF(QenOrigin origin, float value);
    void setVA(QenOrigin origin, float value);
    void setCO(QenOrigin origin, float value);
    void setWeight(QenOrigin origin, float value);
    void setCircuit(QenOrigin origin, const QString &name);
    // Sets the agent by display name; false when the catalogue has no such agent.
    bool setAgent(QenOrigin origin, int track, const QString &name);
    // Appends a track for the agent and makes it current; returns its index, or
    // -1 when the catalogue has no such agent.
    int addAgent(const QString &name);
    // Truncates the recording at the displayed time and removes the track;
    // the last track cannot be removed.
    bool removeAgent(int track);
    void disableUptake(bool on);
    void disableReturn(bool on);
    void enableVapor(bool on);
    void flushCircuit();
    void injectDose() { injectDose(m_current); }
    void injectDose(int track);
    bool hasDuplicateAgents() const;
    bool canInject(int track) const;
    void setSpeed(QenOrigin origin, int value);
    void setUnitDose(int track, float value);
    // Patient compartments (70 kg volumes and shares of cardiac output); the
    // exponent tables are rebuilt before the next step.
    void setVolume(int compartment, float litres);
    void setFlowFraction(int compartment, float fraction);
    void setFlush(bool on) { m_settings.flush = on; }

    // The ranges every way in is held to: a value outside is clamped, a value
    // that is not a number is ignored, so nothing unusable ever reaches a step.
    static constexpr float MaxFlow = 500.0f; // FGF, VA and CO, L/min
    static constexpr float MinWeight = 0.05f;
    static constexpr float MaxWeight = 1500.0f;
    static constexpr float MaxUnitDose = 20.0f;
    // The highest DEL the track's agent allows (its vaporizer's maximum).
    float maxDel(int track) const;

    int currentTrack() const { return m_current; }
    void setCurrentTrack(int track);
    int trackCount() const { return int(m_tracks.size()); }
    const Qen &track(int index) const { return m_tracks.at(size_t(index)); }
    // Direct access for the file reader; call invalidateCaches() after changing.
    std::vector<Qen> &tracks() { return m_tracks; }
    const std::vector<Qen> &tracks() const { return m_tracks; }
    const QenAnesthetic *agentOf(int track) const;
    // Cost of one litre of the track's agent's vapour, 0 when unknown.
    float costPerLitre(int track) const;

    // --- Step ---------------------------------------------------------------
    quint16 stepMs() const { return m_clocks.stepMs; }
    float stepMinutes() const { return m_clocks.stepMinutes; }
    quint32 limitMs() const { return m_clocks.limitMs; }
    // The step length as a saved simulation gives it; derives the time limit.
    void setStepMs(quint16 ms) { m_clocks.setStepMs(ms); }

    bool advanceOneStep() { return m_run.advanceOneStep(); }
    // What the step reads of the patient and the step length now.
    QenBody body() const { return m_stepper.body(); }
    // True when the last advanceOneStep() refused a step whose values were
    // no longer finite numbers.
    bool stepOutOfRange() const { return m_stepper.outOfRange(); }
    // Subdivision level (0-4) at which the last step was accepted.
    int lastStepLevel() const { return m_stepper.lastLevel(); }
    // The sample a step of `track` records now.
    QenSample makeSample(int track) const { return m_stepper.makeSample(track); }

    // --- Run control --------------------------------------------------------
    AState state() const { return m_run.state(); }
    quint32 simTime() const { return m_clocks.simTime; }
    quint32 displayTime() const { return m_clocks.displayTime; }
    quint32 targetTime() const { return m_clocks.targetTime; }
    quint32 endTime() const { return m_clocks.endTime; }
    quint32 liveTime() const { return m_clocks.liveTime; }
    bool afapKey() const { return m_run.afapKey(); }
    bool stopPending() const { return m_run.stopPending(); }
    bool timerActive() const { return m_run.timerActive(); }
    // Clocks as a saved simulation gives them (no notices, no checks of the run).
    void restoreClocks(quint32 simTime, quint32 endTime, quint32 liveTime)
    {
        m_run.restoreClocks(simTime, endTime, liveTime);
    }

    void setState(QenOrigin origin, AState state) { m_run.setState(origin, state); }
    void pause() { m_run.pause(); }
    void advance(int targetMs) { m_run.advance(targetMs); }
    void rewind() { m_run.rewind(); }
    void skipForward() { m_run.skipForward(); }
    bool replayGuard(bool eraseNow) { return m_run.replayGuard(eraseNow); }
    void eraseForward() { m_run.eraseForward(); }
    // Asks whether to erase the recording of simulation `name` and keeps the
    // settings; false when the user cancels.
    bool eraseKeepSettings(const QString &name) { return m_run.eraseKeepSettings(name); }
    void ensureTimer() { m_run.ensureTimer(); }
    void tick() { m_run.tick(); }
    void showTarget() { m_run.showTarget(); }

    // Index of the first track's sample that holds time `t` (-1 without samples).
    int sampleAt(quint32 t) { return m_recording.sampleAt(t); }
    // The recorded sample of `track` that holds time `t`, or null when the
    // track has recorded nothing up to `t`.
    const QenSample *sampleOf(int track, quint32 t) { return m_recording.sampleOf(track, t); }
    // State of `track` at time `t` (8 values); valid until the next query.
    const float *stateAt(int track, quint32 t) { return m_recording.stateAt(track, t); }
    qint16 stepIndexEntry(int step) const { return m_recording.stepIndex()[size_t(step)]; }
    const QenStepIndex &stepIndex() const { return m_recording.stepIndex(); }
    // The table as a saved simulation gives it; lookups walk from any entry.
    void setStepIndex(const QenStepIndex &table) { m_recording.setStepIndex(table); }
    // The step-to-sample table in its stream form (12000 16-bit entries).
    static void serializeStepIndex(QDataStream &stream, bool writing, QenStepIndex &table)
    {
        QenRecording::serializeStepIndex(stream, writing, table);
    }
    void rebuildStepIndex() { m_recording.rebuildStepIndex(); }
    void invalidateCaches() { m_recording.invalidateCaches(); }

    void addWakeUp(quint32 t) { m_marks.addWakeUp(t); }
    void removeWakeUp(quint32 t) { m_marks.removeWakeUp(t); }
    const std::vector<quint32> &wakeUps() const { return m_marks.wakeUps(); }

    void setBookmarks(const QList<quint32> &bookmarks) { m_marks.setBookmarks(bookmarks); }
    const QList<quint32> &bookmarks() const { return m_marks.bookmarks(); }
    int bookmarkCount() const { return int(m_marks.bookmarks().size()); }

    // Sets the breakpoint as the dialog's OK does: an empty text clears it, a
    // legal one replaces it (its last value starts at its target); an illegal
    // one is refused and changes nothing.
    bool setBreakpoint(const QString &text) { return m_marks.setBreakpoint(text); }
    const QString &breakpointText() const { return m_marks.breakpointText(); }
    const QStringList &breakpointOperands() const { return m_marks.breakpointOperands(); }
    const QString &breakpointOperators() const { return m_marks.breakpointOperators(); }
    float breakpointTarget() const { return m_marks.breakpointTarget(); }
    float breakpointLastValue() const { return m_marks.breakpointLastValue(); }
    // Evaluates the breakpoint on the values on display.
    bool breakpointHit();
    // Makes the next evaluation start afresh, as right after the breakpoint was
    // set: used when the display jumps back, so the value at the end of the
    // run does not count as the previous one.
    void resetBreakpoint() { m_marks.resetBreakpoint(); }
    // Simulated time as the status bar and the clipboard show it: "h:mm:ss".
    static QString clockText(quint32 ms) { return QenRunControl::clockText(ms); }

    // --- Value queries (time in float minutes, or ms) -------------------------
    quint32 queryMs(float minutes) const { return m_recording.queryMs(minutes); }
    // Element 0-5 a partial pressure, 6 uptake, 7 delivered.
    float compartmentAt(int track, int element, quint32 t)
    {
        return m_recording.compartmentAt(track, element, t);
    }
    float coAt(quint32 t) { return m_recording.coAt(t); }
    float fgfDeliveredAt(int track, quint32 t) { return m_recording.fgfDeliveredAt(track, t); }
    float vaBreathedAt(quint32 t) { return m_recording.vaBreathedAt(t); }
    float delDeliveredAt(int track, quint32 t, quint32 other = 0, bool *event = nullptr)
    {
        return m_recording.delDeliveredAt(track, t, other, event);
    }
    float costAt(int track, quint32 t);

    float compartment(int track, int element, float minutes)
    {
        return compartmentAt(track, element, queryMs(minutes));
    }
    float cardiacOutput(float minutes) { return coAt(queryMs(minutes)); }
    float fgfDelivered(int track, float minutes) { return fgfDeliveredAt(track, queryMs(minutes)); }
    float vaBreathed(float minutes) { return vaBreathedAt(queryMs(minutes)); }
    float delDelivered(int track, float minutes, float otherMinutes = 0.0f, bool *event = nullptr)
    {
        return delDeliveredAt(track, queryMs(minutes), queryMs(otherMinutes), event);
    }
    float cost(int track, float minutes) { return costAt(track, queryMs(minutes)); }

    // The current values of `track` as one tab-separated line for the clipboard.
    QString copyValues(int track) const;

public slots:
    void idle() { m_run.idle(); }

signals:
    void updateControl();
    void updatePanel();
    void modified(bool m);
    void stateChanged(AState state);
    void agentChanged(int track, const QString &name);
    // A run stopped by itself (bookmark, breakpoint, end of the recording or
    // of the simulation); `why` says so in the user's words.
    void runStopped(const QString &why);

private:
    // Run control drives the whole engine: steps, setters and notices.
    friend class QenRunControl;

    bool isUser(QenOrigin origin) const { return origin != QenSystemOrigin; }
    void notice(int agentNumber, int hints, QenOrigin origin);
    float circuitFgf(bool started) const;
    void setSwitch(bool &target, bool value);

    const QenCatalogue *m_catalogue = nullptr;
    QenEngineHost *m_host = nullptr;
    QenEngineHost m_quietHost;
    QenIni m_ini;
    QenDefaults m_defaults;

    QenSimSettings m_settings;
    std::vector<Qen> m_tracks;
    int m_current = 0;
    QenClocks m_clocks;
    QenMarks m_marks;
    // The parts below read and change the members above, so they come after.
    QenRecording m_recording;
    QenStepper m_stepper;
    QenRunControl m_run;
};
