#include "document/qenpacer.h"

#include "document/qendoc.h"
#include "document/qendochost.h"
#include "engine/qenprompt.h"

#include <algorithm>
#include <climits>

namespace {
constexpr int afapIntervalMs = 250;
constexpr int AfapSpeed = 1000;
} // namespace

QenPacer::QenPacer(QenDoc *document) : QObject(document), m_doc(document)
{
    connect(&m_timer, &QTimer::timeout, this, &QenPacer::onTimeout);
    connect(m_doc, &QenDoc::stateChanged, this, &QenPacer::onStateChanged);
}

int QenPacer::intervalForSpeed(int speed)
{
    switch (speed) {
    case 1:
    case 2:
    case 5:
    case 10:
        return 1000 / speed;
    case AfapSpeed:
        return afapIntervalMs;
    default:
        return 100;
    }
}

int QenPacer::currentInterval() const
{
    const QenEngine *e = m_doc->engine();
    return e->afapKey() ? afapIntervalMs : intervalForSpeed(e->speed());
}

void QenPacer::toggle()
{
    QenEngine *e = m_doc->engine();
    if (e->hasDuplicateAgents()) {
        if (QenPrompt *prompt = m_doc->host()->prompt())
            prompt->warning(tr("Quenor®"),
                            tr("<p>Two of the same agents are being administered. You must "
                               "remove one before starting the simulation."));
        return;
    }
    if (e->state() == ARunning)
        pause();
    else
        start();
}

void QenPacer::start()
{
    QenEngine *e = m_doc->engine();
    e->setState(QenUserOrigin, ARunning);
    if (e->state() != ARunning)
        return;
    m_pacedMs = e->displayTime();
    m_stopwatch.restart();
    m_timer.start(currentInterval());
}

void QenPacer::pause()
{
    m_timer.stop();
    m_doc->engine()->pause();
}

void QenPacer::stop()
{
    m_timer.stop();
}

void QenPacer::followSpeed()
{
    if (m_timer.isActive())
        m_timer.setInterval(currentInterval());
}

void QenPacer::onStateChanged(AState state)
{
    // The run stopped by itself (end of the recording, a bookmark, the
    // breakpoint) or was paused by any command.
    if (state != ARunning)
        m_timer.stop();
}

void QenPacer::onTimeout()
{
    if (m_doc->engine()->state() != ARunning) {
        m_timer.stop();
        return;
    }
    qint64 elapsed = m_stopwatch.restart();
    if (elapsed < 0)
        elapsed = m_timer.interval();
    tick(elapsed);
}

void QenPacer::tick(qint64 elapsedMs)
{
    QenEngine *e = m_doc->engine();
    if (e->speed() == AfapSpeed || (e->state() == ARunning && e->afapKey())) {
        e->advance(-1);
        return;
    }
    m_pacedMs += qint64(e->speed()) * std::max<qint64>(elapsedMs, 0);
    m_pacedMs = std::min<qint64>(m_pacedMs, INT_MAX);
    e->advance(int(m_pacedMs));
}
