#pragma once

#include "engine/qendecrement.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>

#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class QenDoc;
class QenGraph;
class QLabel;
class QTableWidget;

// The wake-up forecast of one simulation: for every agent, how long after the
// vaporizers are turned off at the displayed time its VRG falls by 50, 80 and
// 90 %, and a graph of the 80 % time against the time they are turned off,
// every 10 minutes from the start. The forecast runs copies of the
// simulation on a thread of its own; the window fills in as results arrive
// and the simulation is never touched.
class QenForecastWindow : public QDialog
{
    Q_OBJECT

public:
    static constexpr quint32 EveryMs = 600000;

    explicit QenForecastWindow(QenDoc *doc, QWidget *parent = nullptr);
    ~QenForecastWindow() override;

    // Opens the window of `doc` (one per document), computing from its
    // displayed time.
    static QenForecastWindow *showFor(QenDoc *doc, QWidget *parent);

    // Starts again from the document's displayed time.
    void recompute();
    bool finished() const { return m_done == m_starts.size() + 1; }
    // Waits for the thread (for tests and the benchmark); true when it finished.
    bool waitUntilFinished();
    qint64 elapsedMs() const { return m_elapsedMs; }

    // Results so far: the table's times, and the 80 % time of `track` from
    // D = index x 10 minutes (nothing while not computed or not reached).
    const std::vector<QenDecrement::Times> &table() const { return m_table; }
    std::optional<double> point(int track, int index) const;
    int pointCount() const { return int(m_starts.size()); }
    QenGraph *graph() const { return m_graph; }

protected:
    bool event(QEvent *event) override;

private:
    void stop();
    void takeTable(const std::vector<QenDecrement::Times> &times);
    void takePoint(size_t index, const std::vector<QenDecrement::Times> &times);
    void showProgress();
    void setupGraph();
    double valueAt(int track, double minutes, bool *known) const;

    QPointer<QenDoc> m_doc;
    QLabel *m_heading = nullptr;
    QTableWidget *m_tableWidget = nullptr;
    QenGraph *m_graph = nullptr;
    QLabel *m_status = nullptr;

    std::shared_ptr<const QenDecrement> m_forecast;
    QenDecrement::Start m_now;
    std::vector<QenDecrement::Start> m_starts;
    std::vector<QenDecrement::Times> m_table;
    // [D index][track], minutes of the 80 % time.
    std::vector<std::vector<std::optional<double>>> m_points;
    std::vector<bool> m_pointDone;
    QStringList m_colors;
    size_t m_done = 0;
    // Results of an earlier computation still queued when it was restarted
    // carry an older number and are dropped.
    quint64 m_generation = 0;
    double m_highest = 0.0;

    std::thread m_thread;
    std::atomic<bool> m_cancel{false};
    QElapsedTimer m_clock;
    qint64 m_elapsedMs = -1;
};
