#pragma once

#include "engine/qen.h"
#include "engine/qendefaults.h"
#include "engine/qenenginehost.h"
#include "engine/qenini.h"
#include "engine/qenmarks.h"
#include "engine/qenstep.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <array>
#include <vector>

class QenCatalogue;

// Run state of a simulation.
enum AState { ARunning = 0, APaused = 1, ANotRun = 2, AFinished = 3 };

// One simulation: the settings of the patient and circuit, one track per agent
// with its recorded samples, the clocks that drive a run, the bookmarks and the
// breakpoint. The document owns one; views and the application read and change
// the simulation here, through QenDoc::engine(), and go to the document only
// for what it adds (file, windows, colours, modified mark). Every change still
// reaches all views, because the engine reports it to the document through its
// host and the document sends the notice. The catalogue and the host belong to
// the caller and must outlive the engine.
class QenEngine : public QObject
{
    Q_OBJECT

public:
    // A simulation keeps at most this many bookmarks, and as many wake-ups.
    static constexpr int MaxBookmarks = QenMarks::MaxBookmarks;
    static constexpr int MaxWakeUps = QenMarks::MaxWakeUps;
    static constexpr quint32 LongestRunMs = 72000000;
    static constexpr int MaxStepsPerRun = 11999;

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
    float weight() const { return m_weight; }
    float fgf() const { return m_fgf; }
    float va() const { return m_va; }
    float co() const { return m_co; }
    const QString &circuit() const { return m_circuit; }
    int circuitIndex() const { return m_circuitIndex; } // 0 Open .. 3 Ideal
    bool uptakeEffect() const { return m_uptakeEffect; }
    bool venousReturn() const { return m_venousReturn; }
    bool vaporEffect() const { return m_vaporEffect; }
    bool flushPending() const { return m_flush; }
    int speed() const { return m_speed; }
    const float *volumes() const { return m_volumes.data(); }
    const float *flowFractions() const { return m_flowFractions; }

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
    void setFlush(bool on) { m_flush = on; }

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
    quint16 stepMs() const { return m_stepMs; }
    float stepMinutes() const { return m_stepMinutes; }
    quint32 limitMs() const { return m_limit; }
    // The step length as a saved simulation gives it; derives the time limit.
    void setStepMs(quint16 ms);

    bool advanceOneStep();
    // What the step reads of the patient and the step length now.
    QenBody body() const { return {m_volumes.data(), m_flowFractions, m_stepMinutes, m_stepMs}; }
    // True when the last advanceOneStep() refused a step whose values were
    // no longer finite numbers.
    bool stepOutOfRange() const { return m_outOfRange; }
    // Subdivision level (0-4) at which the last step was accepted.
    int lastStepLevel() const { return m_lastLevel; }
    // The sample a step of `track` records now.
    QenSample makeSample(int track) const;

    // --- Run control --------------------------------------------------------
    AState state() const { return m_state; }
    quint32 simTime() const { return m_simTime; }
    quint32 displayTime() const { return m_displayTime; }
    quint32 targetTime() const { return m_targetTime; }
    quint32 endTime() const { return m_endTime; }
    quint32 liveTime() const { return m_liveTime; }
    bool afapKey() const { return m_afapKey; }
    bool stopPending() const { return m_stopPending; }
    bool timerActive() const { return m_timerActive; }
    // Clocks as a saved simulation gives them (no notices, no checks of the run).
    void restoreClocks(quint32 simTime, quint32 endTime, quint32 liveTime);

    void setState(QenOrigin origin, AState state);
    void pause();
    void advance(int targetMs);
    void rewind();
    void skipForward();
    bool replayGuard(bool eraseNow);
    void eraseForward();
    // Asks whether to erase the recording of simulation `name` and keeps the
    // settings; false when the user cancels.
    bool eraseKeepSettings(const QString &name);
    void ensureTimer();
    void tick();
    void showTarget();

    // Index of the first track's sample that holds time `t` (-1 without samples).
    int sampleAt(quint32 t);
    // The recorded sample of `track` that holds time `t`, or null when the
    // track has recorded nothing up to `t`.
    const QenSample *sampleOf(int track, quint32 t);
    // State of `track` at time `t` (8 values); valid until the next query.
    const float *stateAt(int track, quint32 t);
    qint16 stepIndexEntry(int step) const { return m_stepIndex[size_t(step)]; }
    const QenStepIndex &stepIndex() const { return m_stepIndex; }
    // The table as a saved simulation gives it; lookups walk from any entry.
    void setStepIndex(const QenStepIndex &table);
    // The step-to-sample table in its stream form (12000 16-bit entries).
    static void serializeStepIndex(QDataStream &stream, bool writing, QenStepIndex &table);
    void rebuildStepIndex();
    void invalidateCaches();

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
    static QString clockText(quint32 ms);

    // --- Value queries (time in float minutes, or ms) -------------------------
    quint32 queryMs(float minutes) const;
    // Element 0-5 a partial pressure, 6 uptake, 7 delivered.
    float compartmentAt(int track, int element, quint32 t);
    float coAt(quint32 t);
    float fgfDeliveredAt(int track, quint32 t);
    float vaBreathedAt(quint32 t);
    float delDeliveredAt(int track, quint32 t, quint32 other = 0, bool *event = nullptr);
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
    void idle();

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
    bool isUser(QenOrigin origin) const { return origin != QenSystemOrigin; }
    void notice(int agentNumber, int hints, QenOrigin origin);
    bool runsAfap() const;
    float circuitFgf(bool started) const;
    double bodyScale() const; // (weight / 70)^0.75
    void stopTimer();
    void enterStopState(AState state);
    void loadQueryBuffers(int index0);
    void clearLookupCache() { m_lookupIndex = -1; }
    void applySampleSettings();
    void minuteSignal();
    void setSwitch(bool &target, bool value);
    QString stopMessage() const;

    const QenCatalogue *m_catalogue = nullptr;
    QenEngineHost *m_host = nullptr;
    QenEngineHost m_quietHost;
    QenIni m_ini;
    QenDefaults m_defaults;

    // Settings of the whole simulation.
    float m_weight = 70.0f;
    std::array<float, QenCompartments> m_volumes = QenTextbookVolumesL;
    float m_flowFractions[QenCompartments] = {1.0f, 1.0f, 0.76f, 0.18f, 0.06f, 1.0f};
    QString m_circuit;
    int m_circuitIndex = 0;
    float m_fgf = 8.0f;
    float m_va = 4.0f;
    float m_co = 5.0f;
    bool m_uptakeEffect = true;
    bool m_venousReturn = true;
    bool m_vaporEffect = false;
    bool m_flush = false;
    int m_speed = 60;

    std::vector<Qen> m_tracks;
    int m_current = 0;

    // Step length and limit.
    quint16 m_stepMs = 6000;
    float m_stepMinutes = 0.1f;
    quint32 m_limit = 6000u * MaxStepsPerRun;

    // Clocks and run data.
    quint32 m_simTime = 0;
    quint32 m_displayTime = 0;
    quint32 m_targetTime = 0;
    quint32 m_endTime = 0;
    quint32 m_liveTime = 0;
    quint32 m_cacheStart = 0;
    quint32 m_cacheEnd = 0;
    AState m_state = ANotRun;
    bool m_afapKey = false;
    bool m_stopPending = false;
    // Why the pending stop was set, for the message shown when the run stops.
    enum StopCause { StopBreakpoint = 1, StopBookmark = 2, StopEndOfRecording = 4 };
    int m_stopCauses = 0;
    QenStepIndex m_stepIndex;
    int m_lookupIndex = -1;
    quint32 m_lookupFirst = 0;
    quint32 m_lookupLast = 0;
    QTimer m_timer;
    QElapsedTimer m_sinceTick;
    bool m_timerActive = false;
    QenMarks m_marks;

    int m_lastLevel = 0;
    bool m_outOfRange = false;
    // Scratch of the step, kept to avoid allocating per step.
    std::vector<double> m_rates;

    // Everything planLevel() reads, as stored bits: equal inputs give an
    // equal plan, so one worked out for an earlier step can serve again.
    struct PlanInputs
    {
        float stepMinutes = 0.0f;
        float fgf = 0.0f;
        float del = 0.0f;
        float va = 0.0f;
        float co = 0.0f;
        float unitDose = 0.0f;
        quint32 flags = 0;
        qint32 doses = 0;
        float rateCkt = 0.0f; // expTable[n][CKT]
        float rateAlv = 0.0f; // expTable[n][ALV]
        quint32 liquid = 0;
        quint32 volatility = 0;
        float partitionCkt = 0.0f;
        float partitionAlv = 0.0f;
        float lambdaBlood = 0.0f;
    };
    struct PlanMemo
    {
        bool valid = false;
        PlanInputs inputs;
        QenLevelPlan plan;
    };
    // The plan of track k at level n, from the memo when its inputs are unchanged.
    const QenLevelPlan &planFor(int k, int n);
    // Track k's memo for level n is entry k * QenLevels + n.
    std::vector<PlanMemo> m_plans;
};
