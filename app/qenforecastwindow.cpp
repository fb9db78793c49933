#include "app/qenforecastwindow.h"

#include "document/qendoc.h"
#include "views/qengraph.h"
#include "views/qengraphevent.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int EightyPercent = 1; // index of 80 % among the levels

QString clockText(quint32 ms)
{
    const quint32 seconds = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// A round step for an axis of `extent` units, about `parts` steps long.
double roundStep(double extent, int parts)
{
    static const double steps[] = {1, 2, 5, 10, 15, 20, 30, 60, 120, 180, 240, 360, 480, 600};
    for (double s : steps)
        if (extent / s <= parts)
            return s;
    return std::ceil(extent / parts / 600.0) * 600.0;
}

QIcon swatch(const QColor &color)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.setBrush(color);
    painter.drawRect(0, 0, 11, 11);
    return QIcon(pixmap);
}

} // namespace

QenForecastWindow::QenForecastWindow(QenDoc *doc, QWidget *parent) : QDialog(parent), m_doc(doc)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("QenForecastWindow"));
    setWindowTitle(tr("Wake-up Forecast - %1").arg(doc->title()));

    auto *layout = new QVBoxLayout(this);
    m_heading = new QLabel(this);
    m_heading->setWordWrap(true);
    layout->addWidget(m_heading);

    m_tableWidget = new QTableWidget(0, 5, this);
    m_tableWidget->setObjectName(QStringLiteral("twForecast"));
    m_tableWidget->setHorizontalHeaderLabels(
        {tr("Agent"), tr("VRG now (%atm)"), tr("50 % (min)"), tr("80 % (min)"), tr("90 % (min)")});
    m_tableWidget->verticalHeader()->hide();
    m_tableWidget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableWidget->setSelectionMode(QAbstractItemView::NoSelection);
    m_tableWidget->setFocusPolicy(Qt::NoFocus);
    m_tableWidget->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    layout->addWidget(m_tableWidget);

    auto *graphTitle = new QLabel(
        tr("<b>80 % decrement time</b> (minutes, up) against the time the vaporizers are turned "
           "off (h:mm, across)"),
        this);
    graphTitle->setWordWrap(true);
    layout->addWidget(graphTitle);
    m_graph = new QenGraph(this);
    m_graph->setObjectName(QStringLiteral("m_ForecastGraph"));
    m_graph->setMinimumSize(460, 240);
    m_graph->setDataSource(this);
    layout->addWidget(m_graph, 1);

    auto *note = new QLabel(
        tr("Computed by this simulation's model with every vaporizer at 0 and all other settings "
           "held; not a prediction for a patient. \">\" means not reached before the "
           "simulation's time limit; such points are left out of the graph."),
        this);
    note->setWordWrap(true);
    layout->addWidget(note);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lStatus"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *refresh = buttons->addButton(tr("&Refresh"), QDialogButtonBox::ActionRole);
    refresh->setToolTip(tr("Compute again from the time now displayed"));
    connect(refresh, &QPushButton::clicked, this, &QenForecastWindow::recompute);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);

    // The simulation going away leaves nothing to forecast.
    connect(doc, &QObject::destroyed, this, &QDialog::close);
    resize(620, 560);
    recompute();
}

QenForecastWindow::~QenForecastWindow()
{
    stop();
}

QenForecastWindow *QenForecastWindow::showFor(QenDoc *doc, QWidget *parent)
{
    if (!doc)
        return nullptr;
    for (QenForecastWindow *w : parent->findChildren<QenForecastWindow *>()) {
        if (w->m_doc == doc) {
            w->recompute();
            w->show();
            w->raise();
            w->activateWindow();
            return w;
        }
    }
    auto *window = new QenForecastWindow(doc, parent);
    window->setWindowFlag(Qt::Window);
    window->show();
    return window;
}

void QenForecastWindow::stop()
{
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
    m_cancel = false;
}

void QenForecastWindow::recompute()
{
    stop();
    if (!m_doc)
        return;
    QenEngine &engine = *m_doc->engine();
    m_forecast = std::make_shared<const QenDecrement>(m_doc->catalogue());
    const quint32 shown = engine.displayTime();
    m_now = QenDecrement::startAt(engine, shown);
    m_starts.clear();
    for (quint32 d = 0; d <= shown; d += EveryMs)
        m_starts.push_back(QenDecrement::startAt(engine, d));
    m_colors = m_doc->agentColors();
    m_table.clear();
    m_points.assign(m_starts.size(), {});
    m_pointDone.assign(m_starts.size(), false);
    m_done = 0;
    m_highest = 0.0;
    m_elapsedMs = -1;

    m_heading->setText(tr("<b>Vaporizers off at %1</b> of %2: minutes until the vessel-rich "
                          "group (brain) has fallen by")
                           .arg(clockText(shown), m_doc->title().toHtmlEscaped()));
    m_tableWidget->setRowCount(int(m_now.tracks.size()));
    for (int k = 0; k < int(m_now.tracks.size()); ++k) {
        auto *name = new QTableWidgetItem(m_now.tracks[size_t(k)].displayName);
        name->setIcon(swatch(QColor(m_colors.value(k))));
        m_tableWidget->setItem(k, 0, name);
        for (int c = 1; c < 5; ++c)
            m_tableWidget->setItem(k, c, new QTableWidgetItem(c == 1 ? QString() : tr("...")));
    }
    // The table as tall as its rows, so the graph gets the room.
    int height =
        m_tableWidget->horizontalHeader()->sizeHint().height() + 2 * m_tableWidget->frameWidth();
    for (int k = 0; k < m_tableWidget->rowCount(); ++k)
        height += m_tableWidget->rowHeight(k);
    m_tableWidget->setFixedHeight(height);
    setupGraph();
    showProgress();

    m_clock.start();
    // The thread reads only what was copied out above; results come back as
    // queued calls, and stop() joins it before this window goes.
    const quint64 generation = ++m_generation;
    m_thread =
        std::thread([this, generation, forecast = m_forecast, now = m_now, starts = m_starts] {
            auto post = [this, generation](auto call) {
                QMetaObject::invokeMethod(
                    this,
                    [this, generation, call = std::move(call)] {
                        if (generation == m_generation)
                            call();
                    },
                    Qt::QueuedConnection);
            };
            if (auto times = forecast->run(now, QenDecrement::Levels, &m_cancel))
                post([this, t = *times] { takeTable(t); });
            for (size_t i = 0; i < starts.size(); ++i) {
                auto times = forecast->run(starts[i], EightyPercent + 1, &m_cancel);
                if (!times)
                    return;
                post([this, i, t = *times] { takePoint(i, t); });
            }
        });
}

bool QenForecastWindow::waitUntilFinished()
{
    if (m_thread.joinable())
        m_thread.join();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    return finished();
}

void QenForecastWindow::takeTable(const std::vector<QenDecrement::Times> &times)
{
    m_table = times;
    ++m_done;
    for (int k = 0; k < int(times.size()) && k < m_tableWidget->rowCount(); ++k) {
        const QenDecrement::Times &t = times[size_t(k)];
        auto *vrg = m_tableWidget->item(k, 1);
        vrg->setText(QString::number(double(t.vrgAtStart), 'f', 3));
        vrg->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        for (int level = 0; level < QenDecrement::Levels; ++level) {
            const std::optional<double> &m = t.minutes[size_t(level)];
            QTableWidgetItem *cell = m_tableWidget->item(k, 2 + level);
            cell->setText(m ? QString::number(*m, 'f', 1)
                            : tr("> %1").arg(QString::number(t.remainingMin, 'f', 0)));
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    showProgress();
}

void QenForecastWindow::takePoint(size_t index, const std::vector<QenDecrement::Times> &times)
{
    if (index >= m_points.size())
        return;
    auto &row = m_points[index];
    row.clear();
    for (const QenDecrement::Times &t : times) {
        row.push_back(t.minutes[EightyPercent]);
        if (t.minutes[EightyPercent])
            m_highest = std::max(m_highest, *t.minutes[EightyPercent]);
    }
    m_pointDone[index] = true;
    ++m_done;
    setupGraph();
    showProgress();
}

void QenForecastWindow::showProgress()
{
    const size_t total = m_starts.size() + 1;
    if (m_done < total) {
        m_status->setText(tr("Computing... %1 of %2").arg(m_done).arg(total));
        return;
    }
    if (m_elapsedMs < 0)
        m_elapsedMs = m_clock.elapsed();
    m_status->setText(tr("Computed in %1 s").arg(double(m_elapsedMs) / 1000.0, 0, 'f', 1));
}

std::optional<double> QenForecastWindow::point(int track, int index) const
{
    if (index < 0 || size_t(index) >= m_points.size() || track < 0 ||
        size_t(track) >= m_points[size_t(index)].size())
        return std::nullopt;
    return m_points[size_t(index)][size_t(track)];
}

void QenForecastWindow::setupGraph()
{
    const double shownMin = m_starts.empty() ? 0.0 : double(m_now.fromMs) / 60000.0;
    const double xSize = std::max(10.0, std::ceil(shownMin / 10.0) * 10.0);
    const double xLabel = xSize <= 60.0 ? 10.0 : 60.0 * std::ceil(xSize / 600.0);
    const double yStep = roundStep(std::max(m_highest, 5.0), 6);
    const double ySize = std::max(yStep, std::ceil(std::max(m_highest, 5.0) / yStep) * yStep);

    m_graph->setLoading(true);
    m_graph->setVals(std::clamp(int(m_now.tracks.size()), 1, QenGraph::MaxLines));
    for (int k = 0; k < int(m_now.tracks.size()) && k < QenGraph::MaxLines; ++k)
        m_graph->setLineColor(k, QColor(m_colors.value(k, QStringLiteral("black"))));
    m_graph->setLineWidth(2);
    m_graph->setXLabelType(1);
    m_graph->setYLabelType(0);
    m_graph->setXMin(0);
    m_graph->setOrigin(0);
    m_graph->setXSize(xSize);
    m_graph->setXLabelEvery(xLabel);
    m_graph->setXTickEvery(xLabel / (xLabel >= 60.0 ? 6.0 : 2.0));
    m_graph->setXValEvery(xSize / 240.0);
    m_graph->setYMin(0);
    m_graph->setYSize(ySize);
    m_graph->setYLabelEvery(yStep);
    m_graph->setYTickEvery(yStep);
    // The line ends at the last point computed from, not at the displayed time.
    m_graph->setXVal(double(m_starts.empty() ? 0 : m_starts.size() - 1) * EveryMs / 60000.0);
    m_graph->invalidateCache();
    m_graph->setLoading(false);
}

double QenForecastWindow::valueAt(int track, double minutes, bool *known) const
{
    // Straight lines between the computed points; a point not yet computed
    // or not reached lifts the pen.
    const double every = EveryMs / 60000.0;
    const int last = int(m_points.size()) - 1;
    const int i = std::clamp(int(std::floor(minutes / every)), 0, std::max(last, 0));
    const int j = std::min(i + 1, last);
    const std::optional<double> a = point(track, i);
    const std::optional<double> b = point(track, j);
    *known = a && (b || i == j || minutes <= i * every + 1e-6);
    if (!*known)
        return 0.0;
    if (i == j || !b)
        return *a;
    const double f = std::clamp((minutes - i * every) / every, 0.0, 1.0);
    return *a + (*b - *a) * f;
}

bool QenForecastWindow::event(QEvent *event)
{
    if (event->type() == QenGraphEventType) {
        if (auto *request = dynamic_cast<QenGraphEvent *>(event)) {
            GraphSample *s = request->sample();
            bool known = false;
            const double v =
                request->graph() == m_graph ? valueAt(int(s->value), double(s->time), &known) : 0.0;
            s->value = float(v);
            if (!known)
                s->time = -1;
            return true;
        }
    }
    return QDialog::event(event);
}
