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
class QDoubleSpinBox;
class QLabel;
class QTableWidget;

// The wake-up forecast of one simulation: for every agent, how long after the
// vaporizers are turned off at the displayed time its VRG falls by 50, 80 and
// 90 %, with the fresh gas flow held as it is and with it raised at wake-up
// (a value remembered in the settings), side by side; and a graph of the 80 %
// times against the time the vaporizers are turned off, every 10 minutes
// from the start, solid for the flow held and dashed for the flow raised.
// The forecast runs copies of the simulation on a thread of its own; the
// window fills in as results arrive and the simulation is never touched.
class QenForecastWindow : public QDialog
{
    Q_OBJECT

public:
    static constexpr quint32 EveryMs = 600000;
    // The two flows of the forecast: as in effect then, and raised at wake-up.
    enum Flow { Held = 0, Raised = 1, FlowCount = 2 };
    static constexpr double DefaultWakeFgf = 10.0;
    // Settings group and key of the raised flow, L/min.
    static const char *const SettingsGroup;
    static const char *const WakeFgfKey;

    explicit QenForecastWindow(QenDoc *doc, QWidget *parent = nullptr);
    ~QenForecastWindow() override;

    // Opens the window of `doc` (one per document), computing from its
    // displayed time.
    static QenForecastWindow *showFor(QenDoc *doc, QWidget *parent);

    // Starts again from the document's displayed time.
    void recompute();
    bool finished() const { return m_done == FlowCount * (m_starts.size() + 1); }
    // Waits for the thread (for tests and the benchmark); true when it finished.
    bool waitUntilFinished();
    qint64 elapsedMs() const { return m_elapsedMs; }

    // The raised flow in L/min; setting it stores it and computes again.
    double wakeFgf() const;
    void setWakeFgf(double litresPerMin);

    // Results so far: the table's times, and the 80 % time of `track` from
    // D = index x 10 minutes (nothing while not computed, not reached, or
    // when the agent's VRG held nothing at D).
    const std::vector<QenDecrement::Times> &table(Flow flow = Held) const { return m_table[flow]; }
    std::optional<double> point(int track, int index, Flow flow = Held) const;
    int pointCount() const { return int(m_starts.size()); }
    QenGraph *graph() const { return m_graph; }

protected:
    bool event(QEvent *event) override;

private:
    void stop();
    void takeTable(Flow flow, const std::vector<QenDecrement::Times> &times);
    void takePoint(Flow flow, size_t index, const std::vector<QenDecrement::Times> &times);
    void showHeading();
    void showProgress();
    void setupGraph();
    double valueAt(int line, double minutes, bool *known) const;
    void wakeFgfEdited();

    QPointer<QenDoc> m_doc;
    QLabel *m_heading = nullptr;
    QDoubleSpinBox *m_wakeFgf = nullptr;
    QLabel *m_graphNote = nullptr;
    QTableWidget *m_tableWidget = nullptr;
    QenGraph *m_graph = nullptr;
    QLabel *m_status = nullptr;

    std::shared_ptr<const QenDecrement> m_forecast;
    QenDecrement::Start m_now;
    // From D = index x 10 minutes, with the flow held.
    std::vector<QenDecrement::Start> m_starts;
    // The flow of each forecast, L/min: held at D's, and raised from D on.
    float m_flow[FlowCount] = {};
    std::vector<QenDecrement::Times> m_table[FlowCount];
    // [flow][D index][track], minutes of the 80 % time.
    std::vector<std::vector<std::optional<double>>> m_points[FlowCount];
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
