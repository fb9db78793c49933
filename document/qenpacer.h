#pragma once

#include "engine/qenengine.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QenDoc;

// Moves a running simulation's display forward in real time at the chosen
// speed. There is one per document and it lives as long as the document, so
// a run goes on whichever of the document's windows are opened or closed.
//
// While the run goes, every tick adds speed x the real milliseconds since the
// previous tick to the paced total and asks the engine to show that time (as
// fast as possible: one batch per tick). Starting counts from the displayed
// millisecond, so pausing and resuming loses no simulated time.
class QenPacer : public QObject
{
    Q_OBJECT

public:
    explicit QenPacer(QenDoc *document);

    // The timer interval for a speed (1000 = as fast as possible).
    static int intervalForSpeed(int speed);

    // Starts or pauses the run; refused with a message while two tracks
    // give the same agent.
    void toggle();
    void start();
    void pause();
    // The speed changed: a running timer takes the new interval.
    void followSpeed();
    // Stops the timer alone (the simulation it paced is being replaced).
    void stop();

    bool isActive() const { return m_timer.isActive(); }
    int interval() const { return m_timer.interval(); }
    qint64 pacedMs() const { return m_pacedMs; }
    // One tick after `elapsedMs` of real time.
    void tick(qint64 elapsedMs);

private:
    void onTimeout();
    void onStateChanged(AState state);
    int currentInterval() const;

    QenDoc *m_doc;
    QTimer m_timer;
    QElapsedTimer m_stopwatch;
    qint64 m_pacedMs = 0;
};
