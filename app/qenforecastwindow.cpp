#include "app/qenforecastwindow.h"

#include "document/qendoc.h"
#include "document/qendochost.h"
#include "views/qengraph.h"
#include "views/qengraphevent.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
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
// The graph draws two lines per agent, so it shows this many agents.
constexpr int GraphAgents = QenGraph::MaxLines / QenForecastWindow::FlowCount;
constexpr double LowestWakeFgf = 0.5;
constexpr double HighestWakeFgf = 100.0;

QString flowText(float litresPerMin)
{
    return QString::number(double(litresPerMin), 'g', 4);
}

// The start for the raised flow: never below the flow already in effect.
QenDecrement::Start raisedStart(QenDecrement::Start start, double wakeFgf)
{
    start.wakeFgf = std::max(float(wakeFgf), start.fgf);
    return start;
}

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

const char *const QenForecastWindow::SettingsGroup = "Forecast";
const char *const QenForecastWindow::WakeFgfKey = "WakeFGF";

QenForecastWindow::QenForecastWindow(QenDoc *doc, QWidget *parent) : QDialog(parent), m_doc(doc)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("QenForecastWindow"));
    setWindowTitle(tr("Wake-up Forecast - %1").arg(doc->title()));

    auto *layout = new QVBoxLayout(this);
    m_heading = new QLabel(this);
    m_heading->setWordWrap(true);
    layout->addWidget(m_heading);

    auto *flowRow = new QHBoxLayout;
    auto *flowLabel = new QLabel(tr("Fresh gas flow raised at &wake-up to:"), this);
    m_wakeFgf = new QDoubleSpinBox(this);
    m_wakeFgf->setObjectName(QStringLiteral("dsbWakeFgf"));
    m_wakeFgf->setRange(LowestWakeFgf, HighestWakeFgf);
    m_wakeFgf->setDecimals(1);
    m_wakeFgf->setSingleStep(0.5);
    m_wakeFgf->setSuffix(tr(" L/min"));
    // Computing again on every key typed would restart the thread each time.
    m_wakeFgf->setKeyboardTracking(false);
    const QenIni &ini = doc->host()->ini();
    bool number = false;
    const double stored =
        ini.value(QLatin1String(SettingsGroup), QLatin1String(WakeFgfKey), DefaultWakeFgf)
            .toDouble(&number);
    m_wakeFgf->setValue(number && std::isfinite(stored) && stored >= LowestWakeFgf &&
                                stored <= HighestWakeFgf
                            ? stored
                            : DefaultWakeFgf);
    flowLabel->setBuddy(m_wakeFgf);
    connect(m_wakeFgf, &QDoubleSpinBox::valueChanged, this, &QenForecastWindow::wakeFgfEdited);
    flowRow->addWidget(flowLabel);
    flowRow->addWidget(m_wakeFgf);
    flowRow->addStretch(1);
    layout->addLayout(flowRow);

    m_tableWidget = new QTableWidget(0, 2 + FlowCount * QenDecrement::Levels, this);
    m_tableWidget->setObjectName(QStringLiteral("twForecast"));
    m_tableWidget->verticalHeader()->hide();
    m_tableWidget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableWidget->setSelectionMode(QAbstractItemView::NoSelection);
    m_tableWidget->setFocusPolicy(Qt::NoFocus);
    m_tableWidget->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // The names and the VRG as wide as they need; the times share the rest.
    m_tableWidget->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_tableWidget->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    layout->addWidget(m_tableWidget);

    auto *graphTitle = new QLabel(
        tr("<b>80 % decrement time</b> (minutes, up) against the time the vaporizers are turned "
           "off (h:mm, across): solid with the flow held as it was then, dashed with the flow "
           "raised at wake-up"),
        this);
    graphTitle->setWordWrap(true);
    layout->addWidget(graphTitle);
    m_graph = new QenGraph(this);
    m_graph->setObjectName(QStringLiteral("m_ForecastGraph"));
    m_graph->setMinimumSize(460, 240);
    m_graph->setDataSource(this);
    layout->addWidget(m_graph, 1);
    m_graphNote = new QLabel(this);
    m_graphNote->setWordWrap(true);
    layout->addWidget(m_graphNote);

    auto *note = new QLabel(
        tr("Computed by this simulation's model with every vaporizer at 0, the fresh gas flow "
           "held or raised, and all other settings held; not a prediction for a patient. After "
           "a low-flow anaesthetic the gas breathed back keeps the brain's partial pressure up: "
           "raising the flow washes it out. \">\" means not reached before the simulation's "
           "time limit; such points are left out of the graph."),
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
    resize(860, 600);
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
    const double wake = wakeFgf();
    m_flow[Held] = m_now.fgf;
    m_flow[Raised] = QenDecrement::flowFromD(raisedStart(m_now, wake));
    for (int flow = 0; flow < FlowCount; ++flow) {
        m_table[flow].clear();
        m_points[flow].assign(m_starts.size(), {});
    }
    m_done = 0;
    m_highest = 0.0;
    m_elapsedMs = -1;

    showHeading();
    QStringList headers = {tr("Agent"), tr("VRG now (%atm)")};
    for (int flow = 0; flow < FlowCount; ++flow)
        for (int level : QenDecrement::Percents)
            headers << tr("%1 % (min)\nat %2 L/min").arg(level).arg(flowText(m_flow[flow]));
    m_tableWidget->setHorizontalHeaderLabels(headers);
    m_tableWidget->setRowCount(int(m_now.tracks.size()));
    for (int k = 0; k < int(m_now.tracks.size()); ++k) {
        auto *name = new QTableWidgetItem(m_now.tracks[size_t(k)].displayName);
        name->setIcon(swatch(QColor(m_colors.value(k))));
        m_tableWidget->setItem(k, 0, name);
        for (int c = 1; c < m_tableWidget->columnCount(); ++c)
            m_tableWidget->setItem(k, c, new QTableWidgetItem(c == 1 ? QString() : tr("...")));
    }
    m_graphNote->setVisible(int(m_now.tracks.size()) > GraphAgents);
    m_graphNote->setText(tr("The graph shows the first %1 agents.").arg(GraphAgents));
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
    m_thread = std::thread([this, generation, wake, forecast = m_forecast, now = m_now,
                            starts = m_starts] {
        auto post = [this, generation](auto call) {
            QMetaObject::invokeMethod(
                this,
                [this, generation, call = std::move(call)] {
                    if (generation == m_generation)
                        call();
                },
                Qt::QueuedConnection);
        };
        auto startFor = [wake](const QenDecrement::Start &start, int flow) {
            return flow == Raised ? raisedStart(start, wake) : start;
        };
        for (int flow = 0; flow < FlowCount; ++flow) {
            auto times = forecast->run(startFor(now, flow), QenDecrement::Levels, &m_cancel);
            if (!times)
                return;
            post([this, flow, t = *times] { takeTable(Flow(flow), t); });
        }
        for (size_t i = 0; i < starts.size(); ++i) {
            for (int flow = 0; flow < FlowCount; ++flow) {
                auto times = forecast->run(startFor(starts[i], flow), EightyPercent + 1, &m_cancel);
                if (!times)
                    return;
                post([this, flow, i, t = *times] { takePoint(Flow(flow), i, t); });
            }
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

double QenForecastWindow::wakeFgf() const
{
    return m_wakeFgf->value();
}

void QenForecastWindow::setWakeFgf(double litresPerMin)
{
    m_wakeFgf->setValue(litresPerMin);
}

void QenForecastWindow::wakeFgfEdited()
{
    if (!m_doc)
        return;
    const QenIni &ini = m_doc->host()->ini();
    const QVariant stored = ini.value(QLatin1String(SettingsGroup), QLatin1String(WakeFgfKey));
    if (!stored.isValid() || stored.toDouble() != wakeFgf())
        ini.setValue(QLatin1String(SettingsGroup), QLatin1String(WakeFgfKey), wakeFgf());
    recompute();
}

void QenForecastWindow::showHeading()
{
    QString flows;
    if (m_flow[Raised] > m_flow[Held])
        flows = tr("with the fresh gas flow held at %1 L/min, and with it raised to %2 L/min at "
                   "wake-up")
                    .arg(flowText(m_flow[Held]), flowText(m_flow[Raised]));
    else
        flows = tr("with the fresh gas flow held at %1 L/min, already at or above the %2 L/min "
                   "set for wake-up, in both")
                    .arg(flowText(m_flow[Held]), flowText(float(wakeFgf())));
    m_heading->setText(tr("<b>Vaporizers off at %1</b> of %2: minutes until the vessel-rich "
                          "group (brain) has fallen by 50, 80 and 90 %, %3.")
                           .arg(clockText(m_now.fromMs), m_doc->title().toHtmlEscaped(), flows));
}

void QenForecastWindow::takeTable(Flow flow, const std::vector<QenDecrement::Times> &times)
{
    m_table[flow] = times;
    ++m_done;
    for (int k = 0; k < int(times.size()) && k < m_tableWidget->rowCount(); ++k) {
        const QenDecrement::Times &t = times[size_t(k)];
        auto *vrg = m_tableWidget->item(k, 1);
        vrg->setText(QString::number(double(t.vrgAtStart), 'f', 3));
        vrg->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        for (int level = 0; level < QenDecrement::Levels; ++level) {
            const std::optional<double> &m = t.minutes[size_t(level)];
            QTableWidgetItem *cell =
                m_tableWidget->item(k, 2 + flow * QenDecrement::Levels + level);
            cell->setText(m ? QString::number(*m, 'f', 1)
                            : tr("> %1").arg(QString::number(t.remainingMin, 'f', 0)));
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    showProgress();
}

void QenForecastWindow::takePoint(Flow flow, size_t index,
                                  const std::vector<QenDecrement::Times> &times)
{
    if (index >= m_points[flow].size())
        return;
    auto &row = m_points[flow][index];
    row.clear();
    for (const QenDecrement::Times &t : times) {
        // Nothing in the brain (before the agent was given): nothing to forecast.
        const bool forecast = t.vrgAtStart > 0.0f && t.minutes[EightyPercent];
        row.push_back(forecast ? t.minutes[EightyPercent] : std::nullopt);
        if (forecast)
            m_highest = std::max(m_highest, *t.minutes[EightyPercent]);
    }
    ++m_done;
    setupGraph();
    showProgress();
}

void QenForecastWindow::showProgress()
{
    const size_t total = FlowCount * (m_starts.size() + 1);
    if (m_done < total) {
        m_status->setText(tr("Computing... %1 of %2").arg(m_done).arg(total));
        return;
    }
    if (m_elapsedMs < 0)
        m_elapsedMs = m_clock.elapsed();
    m_status->setText(tr("Computed in %1 s").arg(double(m_elapsedMs) / 1000.0, 0, 'f', 1));
}

std::optional<double> QenForecastWindow::point(int track, int index, Flow flow) const
{
    const auto &points = m_points[flow];
    if (index < 0 || size_t(index) >= points.size() || track < 0 ||
        size_t(track) >= points[size_t(index)].size())
        return std::nullopt;
    return points[size_t(index)][size_t(track)];
}

void QenForecastWindow::setupGraph()
{
    const double shownMin = m_starts.empty() ? 0.0 : double(m_now.fromMs) / 60000.0;
    const double xSize = std::max(10.0, std::ceil(shownMin / 10.0) * 10.0);
    const double xLabel = xSize <= 60.0 ? 10.0 : 60.0 * std::ceil(xSize / 600.0);
    const double yStep = roundStep(std::max(m_highest, 5.0), 6);
    const double ySize = std::max(yStep, std::ceil(std::max(m_highest, 5.0) / yStep) * yStep);

    m_graph->setLoading(true);
    const int agents = std::clamp(int(m_now.tracks.size()), 1, GraphAgents);
    m_graph->setVals(FlowCount * agents);
    for (int k = 0; k < agents; ++k) {
        const QColor color(m_colors.value(k, QStringLiteral("black")));
        for (int flow = 0; flow < FlowCount; ++flow) {
            m_graph->setLineColor(FlowCount * k + flow, color);
            m_graph->setLineStyle(FlowCount * k + flow,
                                  flow == Held ? Qt::SolidLine : Qt::DashLine);
        }
    }
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

double QenForecastWindow::valueAt(int line, double minutes, bool *known) const
{
    // Straight lines between the computed points; a point not yet computed,
    // not reached or with nothing to forecast lifts the pen.
    const int track = line / FlowCount;
    const Flow flow = Flow(line % FlowCount);
    const double every = EveryMs / 60000.0;
    const int last = int(m_points[flow].size()) - 1;
    const int i = std::clamp(int(std::floor(minutes / every)), 0, std::max(last, 0));
    const int j = std::min(i + 1, last);
    const std::optional<double> a = point(track, i, flow);
    const std::optional<double> b = point(track, j, flow);
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
