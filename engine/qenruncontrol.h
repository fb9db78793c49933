#pragma once

#include "engine/qen.h"
#include "engine/qenenginehost.h"

#include <QElapsedTimer>
#include <QString>
#include <QTimer>

#include <vector>

class QenEngine;
class QenMarks;
class QenRecording;
class QenStepper;
struct QenClocks;
struct QenSimSettings;

// Run state of a simulation.
enum AState { ARunning = 0, APaused = 1, ANotRun = 2, AFinished = 3 };

// Runs, pauses and replays a simulation: moves the displayed time towards its
// target (stopping at bookmarks, wake-ups, the breakpoint and the end of the
// recording), paces the steps on an idle timer, rewinds, and erases the
// recording ahead of the display when the user changes the conditions. It
// drives the whole engine (steps, setters, notices), so it holds a reference
// to it; the engine owns it and forwards its run-control interface here.
class QenRunControl
{
public:
    QenRunControl(QenEngine &engine, QenClocks &clocks, QenSimSettings &settings,
                  std::vector<Qen> &tracks, QenRecording &recording, QenStepper &stepper,
                  QenMarks &marks);

    AState state() const { return m_state; }
    bool afapKey() const { return m_afapKey; }
    bool stopPending() const { return m_stopPending; }
    bool timerActive() const { return m_timerActive; }

    // A new simulation: not run, no stop pending (the clocks are the engine's).
    void clear();
    void restoreClocks(quint32 simTime, quint32 endTime, quint32 liveTime);
    void setState(QenOrigin origin, AState state);
    void pause();
    void advance(int targetMs);
    bool advanceOneStep();
    void rewind();
    void skipForward();
    bool replayGuard(bool eraseNow);
    void eraseForward();
    bool eraseKeepSettings(const QString &name);
    void ensureTimer();
    void stopTimer();
    void idle();
    void tick();
    void showTarget();

    static QString clockText(quint32 ms);

private:
    enum StopCause { StopBreakpoint = 1, StopBookmark = 2, StopEndOfRecording = 4 };

    QenEngineHost &host() const;
    bool runsAfap() const;
    void enterStopState(AState state);
    void applySampleSettings();
    void minuteSignal();
    QString stopMessage() const;

    QenEngine &m_engine;
    QenClocks &m_clocks;
    QenSimSettings &m_settings;
    std::vector<Qen> &m_tracks;
    QenRecording &m_recording;
    QenStepper &m_stepper;
    QenMarks &m_marks;

    AState m_state = ANotRun;
    bool m_afapKey = false;
    bool m_stopPending = false;
    // Why the pending stop was set, for the message shown when the run stops.
    int m_stopCauses = 0;
    QTimer m_timer;
    QElapsedTimer m_sinceTick;
    bool m_timerActive = false;
};
