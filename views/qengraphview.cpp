#include "views/qengraphview.h"
#include "ui_qengraphview.h"

#include "document/qendoc.h"
#include "document/qendochost.h"
#include "document/qenupdateevent.h"
#include "engine/qenvocabulary.h"
#include "views/qengraph.h"
#include "views/qengraphevent.h"
#include "views/qenicon.h"

#include <QBuffer>
#include <QKeyEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

const QString defaultsGroup = QStringLiteral("Defaults");

// Compartment of each line of the compartment graph, and its colour.
constexpr int lineCompartment[5] = {FAT, MUS, VRG, ALV, CKT};
const QColor lineColors[5] = {QColor(Qt::yellow), QColor(Qt::darkRed), QColor(Qt::red),
                              QColor(Qt::darkGreen), QColor(Qt::green)};

// Every time value the graph asks for is spaced so that one window holds this
// many points: the strips are thin, so fewer will do.
constexpr int pointsFgf = 157;
constexpr int pointsFgfOpen = 83;
constexpr int pointsDel = 151;
constexpr int pointsDelOpen = 79;
constexpr int pointsCompartments = 89;
constexpr int pointsReport = 151;

// RAII for a graph's Loading bracket.
class Loading
{
public:
    explicit Loading(QenGraph *graph) : m_graph(graph) { m_graph->setLoading(true); }
    ~Loading() { m_graph->setLoading(false); }

private:
    QenGraph *m_graph;
};

} // namespace

// --- arithmetic kept apart for the tests

QenGraphView::YScale QenGraphView::yScale(int top)
{
    YScale s;
    s.size = top;
    s.labelEvery = top;
    s.tickEvery = top < 10    ? 1
                  : top < 20  ? 2
                  : top < 50  ? 5
                  : top < 100 ? 10
                  : top < 200 ? 20
                  : top < 500 ? 50
                              : 100;
    return s;
}

QenGraphView::YScale QenGraphView::compartmentYScale(int top)
{
    YScale s = yScale(top);
    const int tick = int(s.tickEvery);
    for (const int most : {6, 10}) {
        for (int label = tick; label < top; label += tick) {
            const int intervals = top / label;
            if (top % label == 0 && intervals >= 2 && intervals <= most) {
                s.labelEvery = label;
                return s;
            }
        }
    }
    return s;
}

double QenGraphView::jumpOrigin(int span, int scrollPercent, double minutes)
{
    const int jumpBy = (span * scrollPercent + 50) / 100;
    if (jumpBy <= 0)
        return 0;
    const double n = std::floor((minutes - (span - jumpBy)) / jumpBy);
    return std::max(0.0, jumpBy * n);
}

void QenGraphView::timeAxis(int span, double *labelEvery, double *tickEvery)
{
    struct Row
    {
        int span, label, tick;
    };
    static const Row rows[] = {{5, 1, 1},     {10, 2, 1},    {15, 5, 1},
                               {30, 10, 5},   {45, 15, 5},   {60, 20, 10},
                               {120, 30, 10}, {300, 60, 30}, {600, 120, 60}};
    for (const Row &r : rows) {
        if (r.span == span) {
            *labelEvery = r.label;
            *tickEvery = r.tick;
            return;
        }
    }
    *labelEvery = 5;
    *tickEvery = 1;
}

QenGraphView::ReportAxis QenGraphView::reportAxis(quint32 displayMs)
{
    ReportAxis axis;
    axis.minutes = std::max(1.0, displayMs / 60000.0);
    // Label spacing and its ticks, in minutes: the first that needs at most
    // eight labels; beyond the table, whole days.
    static const int rows[][2] = {{1, 1},    {2, 1},     {5, 1},     {10, 5},    {15, 5},
                                  {20, 10},  {30, 10},   {60, 30},   {120, 60},  {180, 60},
                                  {240, 60}, {360, 120}, {720, 240}, {1440, 720}};
    constexpr double maxLabels = 8;
    for (const auto &row : rows) {
        if (axis.minutes / row[0] <= maxLabels) {
            axis.labelEvery = row[0];
            axis.tickEvery = row[1];
            return axis;
        }
    }
    axis.labelEvery = std::ceil(axis.minutes / maxLabels / 1440.0) * 1440.0;
    axis.tickEvery = axis.labelEvery / 2;
    return axis;
}

int QenGraphView::parseSpan(const QString &text)
{
    return QenVocabulary::graphSpanFromText(text);
}

QString QenGraphView::spanText(int minutes)
{
    return minutes < 60 ? tr("%1 Min").arg(minutes) : tr("%1 Hr").arg(minutes / 60);
}

// --- construction

QenGraphView::QenGraphView(QenDoc *document, QenChildWindowInterface *owner, QWidget *parent)
    : QenViewCommon(document, owner, parent), m_ui(std::make_unique<Ui::QenGraphView>())
{
    m_ui->setupUi(this);
    loadSettings();

    for (QenGraph *g : {m_ui->m_FGFGraph, m_ui->m_DELGraph}) {
        g->setRMarginPct(3);
        g->setTMarginPct(5);
        g->setBMarginPct(30);
        g->setGraphKind(0);
        g->setLineColor(0, Qt::black);
        g->setDataSource(this);
    }
    QenGraph *c = m_ui->m_IARMGraph;
    c->setRMarginPct(3);
    c->setTMarginPct(5);
    c->setBMarginPct(20);
    c->setVals(5);
    const char letters[5] = {'F', 'M', 'R', 'A', 'I'};
    for (int i = 0; i < 5; ++i) {
        c->setLabelChar(i, letters[i]);
        c->setLineColor(i, lineColors[i]);
    }
    c->setGraphKind(1);
    c->setCursor(Qt::CrossCursor);
    c->setDataSource(this);
    m_paper = c->paperColor();

    m_ui->viewComboBox->addItems(QenVocabulary::graphSpans());
    m_ui->CKTscroll->hide();
    m_ui->hsbGraph->setEnabled(false);

    connect(m_ui->hsbGraph, &QScrollBar::valueChanged, this, &QenGraphView::scrollMoved);
    connect(m_ui->viewComboBox, &QComboBox::currentIndexChanged, this,
            [this](int index) { ChangeScale(m_ui->viewComboBox->itemText(index)); });
    connect(m_ui->CKTscroll, &QScrollBar::valueChanged, c, &QenGraph::scrollMoved);
    connect(c, &QenGraph::zoomChanged, this, &QenGraphView::onZoomChanged);
    connect(m_ui->checkBoxCKT, &QCheckBox::stateChanged, this, &QenGraphView::onDrawCKT);
    connect(m_ui->checkBoxALV, &QCheckBox::stateChanged, this, &QenGraphView::onDrawALV);
    connect(m_ui->checkBoxVRG, &QCheckBox::stateChanged, this, &QenGraphView::onDrawVRG);
    connect(m_ui->checkBoxMUS, &QCheckBox::stateChanged, this, &QenGraphView::onDrawMUS);
    connect(m_ui->checkBoxFAT, &QCheckBox::stateChanged, this, &QenGraphView::onDrawFAT);
    connect(m_ui->bt_coll, &QToolButton::clicked, this, &QenGraphView::onCollapse);
    if (document)
        // The tops are the simulation's, typed on any of its pictures.
        connect(document, &QenDoc::scaleTopChanged, this, [this] { refreshScales(); });

    m_ui->bt_coll->setIcon(qenIcon(QStringLiteral(":/images/collapse.png")));
    m_ui->bt_coll->setToolTip(
        tr("Press \"H\" to hide/show this button \nHotkey to Collapse/Expand is \"C\""));
    m_ui->bt_coll->hide();
    setFocusPolicy(Qt::StrongFocus);

    m_span = document ? document->graphMinutes() : 15;
    if (!QenVocabulary::graphSpanMinutes().contains(m_span))
        m_span = 15;
    m_spanText = spanText(m_span);
    m_scaleBusy = true;
    m_ui->viewComboBox->setCurrentIndex(m_ui->viewComboBox->findText(m_spanText));
    m_scaleBusy = false;
    colorCheckBoxes();
}

QenGraphView::~QenGraphView()
{
    removeWakeUp();
}

QenGraphView::Settings QenGraphView::readSettings(const QenIni &ini)
{
    Settings s;
    const QVariantList v = ini.values(defaultsGroup, {{QStringLiteral("GraphPaper"), true},
                                                      {QStringLiteral("Scroll"), true},
                                                      {QStringLiteral("LineLabels"), 1},
                                                      {QStringLiteral("LineWidth"), 1},
                                                      {QStringLiteral("ScrollPercent"), 90}});
    s.graphPaper = v.at(0).toBool();
    s.scroll = v.at(1).toBool();
    s.lineLabels = v.at(2).toInt();
    s.lineWidth = v.at(3).toInt();
    const int percent = v.at(4).toInt();
    s.scrollPercent = percent < 25 || percent > 100 ? 90 : percent;
    return s;
}

void QenGraphView::loadSettings()
{
    if (const QenDoc *doc = document())
        m_settings = readSettings(doc->host()->ini());
}

void QenGraphView::reloadGraphSettings()
{
    loadSettings();
    if (m_agent < 0)
        return;
    if (isRunning()) {
        for (QenGraph *g : graphs())
            g->setScrollEnb(m_settings.scroll);
    }
    setUpGraphs(true);
}

void QenGraphView::setScrolling(bool on)
{
    m_settings.scroll = on;
    if (m_agent < 0)
        return;
    if (isRunning()) {
        for (QenGraph *g : graphs())
            g->setScrollEnb(on);
    }
    setUpGraphs(true);
}

bool QenGraphView::currentAgent(int *agent) const
{
    if (agent)
        *agent = m_agent;
    return true;
}

std::array<QenGraph *, 3> QenGraphView::graphs() const
{
    return {m_ui->m_FGFGraph, m_ui->m_DELGraph, m_ui->m_IARMGraph};
}

QenGraph *QenGraphView::fgfGraph() const
{
    return m_ui->m_FGFGraph;
}
QenGraph *QenGraphView::delGraph() const
{
    return m_ui->m_DELGraph;
}
QenGraph *QenGraphView::compartmentGraph() const
{
    return m_ui->m_IARMGraph;
}
QScrollBar *QenGraphView::timeScrollBar() const
{
    return m_ui->hsbGraph;
}
QScrollBar *QenGraphView::compartmentScrollBar() const
{
    return m_ui->CKTscroll;
}
QComboBox *QenGraphView::spanBox() const
{
    return m_ui->viewComboBox;
}
QToolButton *QenGraphView::collapseButton() const
{
    return m_ui->bt_coll;
}
QString QenGraphView::stripLabel(int strip) const
{
    return strip == 0 ? m_ui->lFGF->text() : m_ui->lDEL->text();
}
QString QenGraphView::agentLabel() const
{
    return m_ui->agent->text();
}

// --- what the view reads

int QenGraphView::limitFor(int setting) const
{
    const QenDoc *doc = document();
    return doc ? doc->scaleTop(setting, m_agent) : 10;
}

bool QenGraphView::isOpenCircuit() const
{
    return QenVocabulary::circuitIndex(m_circuit) == 0;
}

bool QenGraphView::isRunning() const
{
    const QenDoc *doc = document();
    return doc && doc->engine()->state() == ARunning;
}

quint32 QenGraphView::displayMs() const
{
    const QenDoc *doc = document();
    return doc ? doc->engine()->displayTime() : 0;
}

int QenGraphView::tenthsNow() const
{
    return int(displayMs() / 6000);
}

// --- value requests

void QenGraphView::answer(QEvent *event)
{
    auto *request = static_cast<QenGraphEvent *>(event);
    GraphSample *s = request->sample();
    QenDoc *doc = document();
    if (!doc || m_agent < 0 || m_agent >= doc->agentCount()) {
        s->time = -1;
        return;
    }
    QenEngine *e = doc->engine();
    const float t = s->time;
    if (request->graph() == m_ui->m_FGFGraph) {
        s->value = isOpenCircuit() ? e->vaBreathed(t) : e->fgfDelivered(m_agent, t);
    } else if (request->graph() == m_ui->m_DELGraph) {
        if (isOpenCircuit()) {
            s->value = e->cardiacOutput(t);
        } else {
            bool injected = false;
            s->value = e->delDelivered(m_agent, t, s->extra, &injected);
            if (injected)
                s->time = -2;
        }
    } else if (request->graph() == m_ui->m_IARMGraph) {
        const int line = int(s->value);
        if (line < 0 || line >= 5) {
            s->time = -1;
            return;
        }
        s->value = e->compartment(m_agent, lineCompartment[line], t);
    } else {
        s->time = -1;
    }
}

// --- agent and set-up

void QenGraphView::selectAgent(int agent)
{
    m_agent = agent;
    QenDoc *doc = document();
    if (!doc || agent < 0)
        return;
    showAgentInfo();
    const int stored = doc->graphMinutes();
    if (QenVocabulary::graphSpanMinutes().contains(stored)) {
        m_span = stored;
        m_spanText = spanText(stored);
    }
    m_scaleBusy = true;
    m_ui->viewComboBox->setCurrentIndex(m_ui->viewComboBox->findText(m_spanText));
    m_scaleBusy = false;

    const int now = tenthsNow();
    m_ui->hsbGraph->setRange(std::min(m_span * 10, now), now);
    m_ui->hsbGraph->setValue(now);
    m_ui->m_FGFGraph->setLineColor(0, Qt::black);
    m_ui->m_DELGraph->setLineColor(0, Qt::black);
    showStripLabels();
    if (!isRunning()) {
        setUpStopped();
    } else {
        m_ui->hsbGraph->setEnabled(false);
        for (QenGraph *g : graphs())
            g->setScrollEnb(m_settings.scroll);
    }
    setUpGraphs(true);
    colorCheckBoxes();
}

void QenGraphView::showAgentInfo()
{
    const QenDoc *doc = document();
    if (!doc || m_agent < 0 || m_agent >= doc->agentCount())
        return;
    m_agentName = doc->agentName(m_agent);
    m_ui->agent->setText(QStringLiteral("<b>%1</b>").arg(m_agentName.toHtmlEscaped()));
    const QenAnesthetic *a = doc->engine()->agentOf(m_agent);
    m_mac = a ? a->mac : 0.0;
    m_circuit = doc->engine()->circuit();
}

void QenGraphView::showStripLabels()
{
    if (isOpenCircuit()) {
        m_ui->lFGF->setText(tr("VA\nL/M"));
        m_ui->lDEL->setText(tr("CO\nL/M"));
    } else {
        m_ui->lFGF->setText(tr("FGF\nL/M"));
        m_ui->lDEL->setText(tr("DEL\n%atm"));
    }
}

void QenGraphView::refreshScales()
{
    if (m_agent >= 0)
        setUpGraphs(true);
}

void QenGraphView::setUpGraphs(bool repaint)
{
    const double x =
        m_ui->hsbGraph->isEnabled() ? m_ui->hsbGraph->value() / 10.0 : displayMs() / 60000.0;
    const bool open = isOpenCircuit();
    const int tops[3] = {limitFor(open ? QenDoc::VaScale : QenDoc::FgfScale),
                         limitFor(open ? QenDoc::CoScale : QenDoc::DelScale),
                         limitFor(QenDoc::DelScale)};
    const int points[3] = {open ? pointsFgfOpen : pointsFgf, open ? pointsDelOpen : pointsDel,
                           pointsCompartments};
    const QColor paper = m_settings.graphPaper ? m_paper : palette().color(QPalette::Window);
    const std::array<QenGraph *, 3> all = graphs();
    for (int i = 0; i < 3; ++i) {
        QenGraph *g = all[size_t(i)];
        g->setLoading(true);
        const YScale y = i == 2 ? compartmentYScale(tops[i]) : yScale(tops[i]);
        g->setYSize(y.size);
        g->setYLabelEvery(y.labelEvery);
        g->setYTickEvery(y.tickEvery);
        g->setPaperColor(paper);
        g->setXSize(m_span);
        if (i == 2) {
            double label = 0;
            double tick = 0;
            timeAxis(m_span, &label, &tick);
            g->setXLabelEvery(label);
            g->setXTickEvery(tick);
            g->setMac(m_mac);
            g->setLineLabelType(m_settings.lineLabels);
        }
        g->setLineWidth(m_settings.lineWidth);
        g->setXValEvery(double(m_span) / points[i]);
        g->setXVal(x);
        g->invalidateCache();
        // Closing the bracket schedules a paint, which is all a repaint asks for.
        g->setLoading(false);
    }
    Q_UNUSED(repaint);
}

void QenGraphView::setUpStopped()
{
    const int now = tenthsNow();
    const int low = std::min(m_span * 10 / std::max(1, zoom()), now);
    m_ui->hsbGraph->setVisible(low != now);
    m_ui->hsbGraph->setRange(low, now);
    m_ui->hsbGraph->setValue(now);
    m_ui->hsbGraph->setEnabled(true);
    for (QenGraph *g : graphs()) {
        g->setScrollEnb(true);
        g->setXVal(m_ui->hsbGraph->value() / 10.0);
    }
}

void QenGraphView::refreshRange()
{
    const int now = tenthsNow();
    const int low = std::min(m_span * 10 / std::max(1, zoom()), now);
    // The scroll bar keeps its value, clamped into the new range.
    m_ui->hsbGraph->setRange(low, now);
    if (m_ui->hsbGraph->isEnabled())
        m_ui->hsbGraph->setVisible(low != now);
}

void QenGraphView::followRun()
{
    m_ui->hsbGraph->setEnabled(false);
    for (QenGraph *g : graphs())
        g->setScrollEnb(m_settings.scroll);
    jump();
}

void QenGraphView::jump()
{
    if (m_settings.scroll || !isRunning() || m_agent < 0)
        return;
    const double origin = jumpOrigin(m_span, m_settings.scrollPercent, displayMs() / 60000.0);
    if (origin != m_ui->m_FGFGraph->origin()) {
        for (QenGraph *g : graphs())
            g->setOrigin(origin);
    }
    registerWakeUp();
}

void QenGraphView::registerWakeUp()
{
    removeWakeUp();
    QenDoc *doc = document();
    if (!doc)
        return;
    // Only a graph on show stops the run at the edge of its window.
    if (owner() && owner()->viewType() != QenChildWindowInterface::Graph)
        return;
    QenEngine *e = doc->engine();
    if (int(e->wakeUps().size()) >= QenEngine::MaxWakeUps)
        return;
    m_wakeUp = quint32(std::llround((m_ui->m_IARMGraph->origin() + m_span) * 60000.0));
    e->addWakeUp(m_wakeUp);
}

void QenGraphView::removeWakeUp()
{
    if (m_wakeUp == 0)
        return;
    if (QenDoc *doc = document())
        doc->engine()->removeWakeUp(m_wakeUp);
    m_wakeUp = 0;
}

// --- slots

void QenGraphView::scrollMoved(int value)
{
    for (QenGraph *g : graphs())
        g->setXVal(value / 10.0);
}

void QenGraphView::ChangeScale(const QString &scale)
{
    if (m_scaleBusy)
        return;
    m_scaleBusy = true;
    const int minutes = parseSpan(scale);
    const QString text = spanText(minutes);
    m_ui->viewComboBox->setCurrentIndex(m_ui->viewComboBox->findText(text));
    if (minutes != m_span || text != m_spanText) {
        m_span = minutes;
        m_spanText = text;
        if (QenDoc *doc = document())
            doc->setGraphMinutes(minutes);
        refreshRange();
        removeWakeUp();
        jump();
        if (m_agent >= 0)
            setUpGraphs(false);
    }
    m_scaleBusy = false;
}

int QenGraphView::zoom() const
{
    return m_ui->m_IARMGraph->zoom();
}

void QenGraphView::setZoom(int zoom)
{
    m_ui->m_IARMGraph->setZoom(zoom);
}

void QenGraphView::onZoomChanged()
{
    const int z = zoom();
    m_ui->m_FGFGraph->setZoom(z);
    m_ui->m_DELGraph->setZoom(z);
    QScrollBar *bar = m_ui->CKTscroll;
    if (z == 1) {
        bar->hide();
        bar->setValue(0);
    } else {
        bar->setRange(0, int(m_ui->m_IARMGraph->ySize() * z * 10 / (z + 1)));
        bar->show();
    }
    if (!isRunning())
        refreshRange();
}

void QenGraphView::setMaskBit(int bit, int state)
{
    QenGraph *g = m_ui->m_IARMGraph;
    if (state == Qt::Checked)
        g->setMask(g->mask() & ~(1 << bit));
    else
        g->setMask(g->mask() | (1 << bit));
    g->update();
}

void QenGraphView::onDrawFAT(int state)
{
    setMaskBit(0, state);
}
void QenGraphView::onDrawMUS(int state)
{
    setMaskBit(1, state);
}
void QenGraphView::onDrawVRG(int state)
{
    setMaskBit(2, state);
}
void QenGraphView::onDrawALV(int state)
{
    setMaskBit(3, state);
}
void QenGraphView::onDrawCKT(int state)
{
    setMaskBit(4, state);
}

void QenGraphView::onCollapse()
{
    const bool show = m_ui->m_FGFGraph->isHidden();
    for (QWidget *w :
         {static_cast<QWidget *>(m_ui->lFGF), static_cast<QWidget *>(m_ui->m_FGFGraph),
          static_cast<QWidget *>(m_ui->lDEL), static_cast<QWidget *>(m_ui->m_DELGraph)})
        w->setVisible(show);
    m_ui->bt_coll->setIcon(qenIcon(show ? QStringLiteral(":/images/collapse.png")
                                        : QStringLiteral(":/images/expand.png")));
}

void QenGraphView::hideCollapse()
{
    m_ui->bt_coll->setVisible(m_ui->bt_coll->isHidden());
}

void QenGraphView::colorCheckBoxes()
{
    QCheckBox *boxes[5] = {m_ui->checkBoxFAT, m_ui->checkBoxMUS, m_ui->checkBoxVRG,
                           m_ui->checkBoxALV, m_ui->checkBoxCKT};
    for (int i = 0; i < 5; ++i) {
        QPalette p = boxes[i]->palette();
        // A line colour as light as the yellow of FAT cannot be read as text on
        // the window's grey: such a text gets a deeper shade of the same hue.
        QColor color = m_ui->m_IARMGraph->lineColor(i);
        if (qGray(color.rgb()) > 180)
            color = color.darker(150);
        p.setColor(QPalette::WindowText, color);
        boxes[i]->setPalette(p);
    }
}

// --- events

bool QenGraphView::event(QEvent *event)
{
    if (event->type() == QenGraphEventType && dynamic_cast<QenGraphEvent *>(event)) {
        answer(event);
        return true;
    }
    if (event->type() != QenUpdateEvent::eventType)
        return QenViewCommon::event(event);

    auto *update = static_cast<QenUpdateEvent *>(event);
    if (!concernsMe(update) || m_agent < 0)
        return true;
    const int hints = update->hints();
    if (hints & QenHint::Reset)
        m_agent = 0;
    if (hints == QenHint::All) {
        const int now = tenthsNow();
        m_ui->hsbGraph->setRange(std::min(m_span * 10, now), now);
        m_ui->hsbGraph->setValue(now);
        showAgentInfo();
        showStripLabels();
        setUpGraphs(false);
        return true;
    }
    if (hints & QenHint::Agent) {
        showAgentInfo();
        emit agentDataChanged(m_agent);
        showStripLabels();
        setUpGraphs(true);
    }
    if (hints & QenHint::Circuit) {
        const bool wasOpen = isOpenCircuit();
        m_circuit = document()->engine()->circuit();
        if (wasOpen != isOpenCircuit()) {
            showStripLabels();
            setUpGraphs(true);
        }
    }
    if (hints & QenHint::Values) {
        const double minutes = displayMs() / 60000.0;
        for (QenGraph *g : graphs())
            g->setXVal(minutes);
        // A run that passed the end of the window without stopping there
        // (the wake-up list was full) still moves the window on.
        if (!m_settings.scroll && isRunning() && minutes > m_ui->m_IARMGraph->origin() + m_span)
            jump();
    }
    if (hints & QenHint::RunState) {
        if (isRunning())
            followRun();
        else
            setUpStopped();
    }
    return true;
}

void QenGraphView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        m_ui->m_IARMGraph->setCrosshairShown(false);
        m_ui->m_IARMGraph->update();
        return;
    case Qt::Key_H:
        hideCollapse();
        return;
    case Qt::Key_C:
        onCollapse();
        return;
    default:
        QenViewCommon::keyPressEvent(event);
    }
}

void QenGraphView::wheelEvent(QWheelEvent *event)
{
    const QPoint delta = event->angleDelta();
    QScrollBar *vertical = m_ui->CKTscroll;
    QScrollBar *time = m_ui->hsbGraph;
    if (delta.y() != 0) {
        if (vertical->isVisible())
            vertical->setValue(vertical->value() + delta.y() / 120);
        else if (time->isVisible() && time->isEnabled())
            time->setValue(time->value() + 10 * delta.y() / 120);
        else
            return event->ignore();
    } else if (delta.x() != 0) {
        if (time->isVisible() && time->isEnabled())
            time->setValue(time->value() + delta.x() / 120);
        else
            return event->ignore();
    }
    event->accept();
}

void QenGraphView::paintEvent(QPaintEvent *event)
{
    QenViewCommon::paintEvent(event);
    QPainter painter(this);
    const std::array<QenGraph *, 3> all = graphs();
    for (size_t i = 0; i < all.size(); ++i) {
        if (!m_cache[i].isNull())
            painter.drawPixmap(all[i]->geometry().topLeft(), m_cache[i]);
    }
}

// --- report

QImage QenGraphView::reportImage(const QSize &pageSize)
{
    QImage image(pageSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (pageSize.isEmpty() || m_agent < 0)
        return image;

    // While the graphs draw on the page, the screen shows what they showed.
    const std::array<QenGraph *, 3> all = graphs();
    for (size_t i = 0; i < all.size(); ++i)
        m_cache[i] = all[i]->grab();

    const int w = pageSize.width();
    const int h = pageSize.height();
    QFont font(QStringLiteral("Times"));
    font.setPixelSize(std::max(1, w / 40));
    QFont unitFont = font;
    unitFont.setPixelSize(std::max(1, w * 3 / 160));
    const QFontMetrics unitMetrics(unitFont);
    const int nameWidth = std::max(QFontMetrics(font).horizontalAdvance(QStringLiteral("MUS ")),
                                   unitMetrics.horizontalAdvance(QStringLiteral("L/min "))) +
                          w / 80;

    const bool open = isOpenCircuit();
    struct Band
    {
        QenGraph *graph;
        int bottomPct;
        int mask; // compartment lines hidden in this band
        QStringList names;
        QString unit;
    };
    // Units are the same in every language, as on the graph page's strips.
    const QString flow = QStringLiteral("L/min");
    const QString pressure = QStringLiteral("%atm");
    QenGraph *c = m_ui->m_IARMGraph;
    const Band bands[6] = {
        {m_ui->m_FGFGraph, 13, 0, {open ? QStringLiteral("VA") : QStringLiteral("FGF")}, flow},
        {m_ui->m_DELGraph,
         26,
         0,
         {open ? QStringLiteral("CO") : QStringLiteral("DEL")},
         open ? flow : pressure},
        {c, 39, 0x0f, {QStringLiteral("CKT")}, pressure},
        {c, 52, 0x17, {QStringLiteral("ALV")}, pressure},
        {c, 76, 0x19, {QStringLiteral("VRG"), QStringLiteral("MUS")}, pressure},
        {c, 100, 0x1e, {QStringLiteral("FAT")}, pressure},
    };

    // The whole run, whatever window the view shows; each graph's own
    // window comes back afterwards.
    struct Window
    {
        double origin, xSize, xVal, labelEvery, tickEvery, valEvery;
        bool scroll;
    };
    std::array<Window, 3> kept;
    const ReportAxis axis = reportAxis(displayMs());
    for (size_t i = 0; i < all.size(); ++i) {
        QenGraph *g = all[i];
        kept[i] = {g->origin(),     g->xSize(),     g->xVal(),     g->xLabelEvery(),
                   g->xTickEvery(), g->xValEvery(), g->scrollEnb()};
        g->setScrollEnb(false);
        g->setXSize(axis.minutes);
        g->setOrigin(0);
        g->setXVal(displayMs() / 60000.0);
        g->setXLabelEvery(axis.labelEvery);
        g->setXTickEvery(axis.tickEvery);
    }
    // A point every two pixels or so, so that a long run keeps its steps.
    const double valEvery = axis.minutes / std::max(pointsReport, (w - nameWidth) / 2);

    QPainter names(&image);
    int top = 0;
    for (const Band &band : bands) {
        const int bottom = h * band.bottomPct / 100;
        QenGraph *g = band.graph;
        // Only the lowest band carries the time axis: the labels of a band
        // higher up would run into the band below it.
        const bool lowest = &band == &bands[5];
        const QPalette palette = g->palette();
        QPalette white = palette;
        white.setColor(g->backgroundRole(), Qt::white);
        g->setPalette(white);
        if (!lowest) {
            g->setXLabelEvery(0);
            g->setXTickEvery(0);
        }
        const int mask = g->mask();
        const QFont graphFont = g->font();
        const bool crosshair = g->crosshairShown();
        const int lineWidth = g->lineWidth();

        g->setMask(band.mask);
        g->setXValEvery(valEvery);
        g->setFont(font);
        g->setCrosshairShown(false);
        g->setLineWidth(std::max(1, w / 800));
        g->setPaintTarget(&image);
        g->setXPhyZero(nameWidth);
        g->setYPhyZero(top);
        g->setXPhySize(w - nameWidth);
        g->setYPhySize(bottom - top);
        if (names.isActive())
            names.end();
        g->drawGraph();
        names.begin(&image);
        names.setPen(Qt::black);
        // Each name with its unit below it, in the middle of its share.
        const int rowHeight = (bottom - top) / std::max<int>(1, int(band.names.size()));
        const int unitHeight = unitMetrics.height();
        for (int i = 0; i < band.names.size(); ++i) {
            const int rowTop = top + i * rowHeight;
            names.setFont(font);
            names.drawText(QRect(0, rowTop, nameWidth, rowHeight / 2),
                           Qt::AlignHCenter | Qt::AlignBottom, band.names.at(i));
            names.setFont(unitFont);
            names.drawText(QRect(0, rowTop + rowHeight / 2, nameWidth, rowHeight - rowHeight / 2),
                           Qt::AlignHCenter | Qt::AlignTop, band.unit);
        }
        if (lowest) {
            // The time axis is labelled in hours and minutes of the run.
            names.setFont(unitFont);
            names.drawText(QRect(0, bottom - unitHeight * 2, nameWidth, unitHeight * 2),
                           Qt::AlignHCenter | Qt::AlignVCenter, tr("h:min"));
        }

        g->setPaintTarget(nullptr);
        g->setPalette(palette);
        if (!lowest) {
            g->setXTickEvery(axis.tickEvery);
            g->setXLabelEvery(axis.labelEvery);
        }
        g->setMask(mask);
        g->setFont(graphFont);
        g->setCrosshairShown(crosshair);
        g->setLineWidth(lineWidth);
        top = bottom;
    }
    names.end();

    for (size_t i = 0; i < all.size(); ++i) {
        QenGraph *g = all[i];
        const Window &k = kept[i];
        g->setXSize(k.xSize);
        g->setXLabelEvery(k.labelEvery);
        g->setXTickEvery(k.tickEvery);
        g->setXValEvery(k.valEvery);
        g->setOrigin(k.origin);
        g->setXVal(k.xVal);
        g->setScrollEnb(k.scroll);
        g->invalidateCache();
    }
    for (QPixmap &p : m_cache)
        p = QPixmap();
    update();
    return image;
}

QByteArray QenGraphView::reportImageBase64(const QSize &pageSize)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    reportImage(pageSize).save(&buffer, "PNG");
    return png.toBase64();
}
