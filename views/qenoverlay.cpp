#include "views/qenoverlay.h"
#include "ui_qenoverlay.h"

#include "document/qendoc.h"
#include "document/qendochost.h"
#include "engine/qenprompt.h"
#include "engine/qenvocabulary.h"
#include "views/qengraph.h"
#include "views/qengraphevent.h"

#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPushButton>
#include <QSaveFile>

#include <algorithm>
#include <limits>

namespace {

const char *const quantityNames[] = {"DEL", "CKT", "ALV", "VRG", "MUS", "FAT", "VEN"};

// A window asks for points at this many times across its width: about one per
// recorded step at a 30-minute span.
constexpr int pointsPerWindow = 301;

// The jump threshold grows with the time between two points asked for, so
// that it means the same slope whatever the span.
constexpr double slopeScale = 500;

// Graph times are floats: a run stopped exactly at the window's left edge
// still counts as having reached it.
constexpr double originTolerance = 1e-4;

double minutesNow(const QenDoc *doc)
{
    return doc->engine()->displayTime() / 60000.0;
}

} // namespace

QenOverlay::QenOverlay(const QenGraph *source, const QList<Run> &candidates,
                       const OverlaySettings &settings, QenDocHost *host, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::QenOverlay>()), m_host(host), m_settings(settings),
      m_height(settings.height)
{
    m_ui->setupUi(this);
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose);

    m_showGroup = new QButtonGroup(this);
    m_overGroup = new QButtonGroup(this);
    const QList<QAbstractButton *> shows = {m_ui->rbDEL, m_ui->rbCKT, m_ui->rbALV, m_ui->rbVRG,
                                            m_ui->rbMUS, m_ui->rbFAT, m_ui->rbVEN, m_ui->rbCost};
    const QList<QAbstractButton *> overs = {m_ui->rbOverDEL, m_ui->rbOverCKT, m_ui->rbOverALV,
                                            m_ui->rbOverVRG, m_ui->rbOverMUS, m_ui->rbOverFAT,
                                            m_ui->rbOverVEN, m_ui->rbOverMAC, m_ui->rbOverOne};
    const QStringList names = {tr("DEL"), tr("CKT"), tr("ALV"),  tr("VRG"), tr("MUS"),
                               tr("FAT"), tr("VEN"), tr("Cost"), tr("MAC"), tr("One")};
    for (int id = 0; id < int(shows.size()); ++id) {
        m_showGroup->addButton(shows[id], id);
        shows[id]->setToolTip(tr("Show %1").arg(names[id]));
    }
    for (int id = 0; id < int(overs.size()); ++id) {
        m_overGroup->addButton(overs[id], id);
        overs[id]->setToolTip(id == OverlayOne ? tr("Show the values as they are")
                                               : tr("Divide by %1").arg(names[id + (id >= 7)]));
    }
    connect(m_showGroup, &QButtonGroup::buttonClicked, this, &QenOverlay::selectionClicked);
    connect(m_overGroup, &QButtonGroup::buttonClicked, this, &QenOverlay::selectionClicked);
    connect(m_ui->buttonBox, &QDialogButtonBox::rejected, this, &QWidget::close);
    connect(m_ui->buttonBox, &QDialogButtonBox::helpRequested, this, &QenOverlay::help);
    connect(m_ui->m_Graph, &QenGraph::endDrawLines, this, &QenOverlay::endPainting);
    connect(m_ui->pbCopyImage, &QPushButton::clicked, this, &QenOverlay::copyImage);
    connect(m_ui->pbSaveImage, &QPushButton::clicked, this, [this] { saveImage(); });
    m_ui->pbCopyImage->setToolTip(tr("Copy the graph with its legend to the clipboard"));
    m_ui->pbSaveImage->setToolTip(tr("Save the graph with its legend as a PNG picture"));
    setHelpHandler(nullptr);

    m_ui->cbSpan->addItem(tr("Whole run"), 0);
    const QStringList spanNames = QenVocabulary::graphSpans();
    const QList<int> spans = QenVocabulary::graphSpanMinutes();
    for (int k = 0; k < int(spans.size()) && k < int(spanNames.size()); ++k)
        m_ui->cbSpan->addItem(spanNames[k], spans[k]);
    m_ui->cbSpan->setToolTip(tr("The time shown: the whole run, or the last minutes of it"));
    connect(m_ui->cbSpan, &QComboBox::currentIndexChanged, this,
            [this](int index) { setSpanMinutes(m_ui->cbSpan->itemData(index).toInt()); });
    // The note keeps its line, so that the graph does not move when it appears.
    m_ui->lClipped->setMinimumHeight(m_ui->lClipped->fontMetrics().height());
    connect(m_ui->m_Graph, &QenGraph::beginDrawLines, this, [this] {
        if (!m_measuring)
            m_clipped = 0;
    });

    QenGraph *g = m_ui->m_Graph;
    g->setLoading(true);
    setUpGraph(source);
    // Every run shows from its start, so every run is a candidate.
    setUpLines(chooseRuns(candidates, 0));
    showSpan();
    g->setLoading(false);
    showLegend();

    m_showGroup->button(std::clamp(settings.show, 0, int(OverlayCost)))->setChecked(true);
    m_overGroup->button(std::clamp(settings.over, 0, int(OverlayOne)))->setChecked(true);
    // Lay the window out now, so that a picture taken before it is shown has
    // the graph at its real size.
    layout()->activate();
    selectionClicked(nullptr);
}

QenOverlay::~QenOverlay() = default;

QList<QenOverlay::Run> QenOverlay::chooseRuns(QList<Run> candidates, double originMinutes)
{
    std::stable_sort(candidates.begin(), candidates.end(), [](const Run &a, const Run &b) {
        return QString::localeAwareCompare(a.title, b.title) < 0;
    });
    QList<Run> chosen;
    for (const Run &run : std::as_const(candidates)) {
        if (!run.doc || run.agent < 0 || run.agent >= run.doc->agentCount())
            continue;
        if (minutesNow(run.doc) < originMinutes - originTolerance)
            continue;
        // Every window of a run shows its agent: the Control, the picture and
        // the graphs would otherwise each add the same curve again.
        const bool seen = std::any_of(chosen.cbegin(), chosen.cend(), [&run](const Run &c) {
            return c.doc == run.doc && c.agent == run.agent;
        });
        if (seen)
            continue;
        chosen << run;
        if (chosen.size() == MaxLines)
            break;
    }
    return chosen;
}

void QenOverlay::setUpGraph(const QenGraph *source)
{
    QenGraph *g = m_ui->m_Graph;
    g->setGraphKind(2);
    g->setDataSource(this);
    g->setCursor(Qt::CrossCursor);
    if (source) {
        g->setPaperColor(source->paperColor());
        g->setLineWidth(source->lineWidth());
        g->setLineLabelType(source->lineLabelType());
    }
    // Lines told apart by colour alone look alike only when all are drawn
    // alike: each gets the same thin edge.
    g->setEdgeAllCurves(true);
    g->setXMin(0);
}

void QenOverlay::showSpan()
{
    const OverlayTimeAxis a =
        m_span > 0 ? overlaySpan(m_span, m_latest) : overlayWholeRun(m_latest);
    QenGraph *g = m_ui->m_Graph;
    const bool loading = g->loading();
    g->setLoading(true);
    g->setXSize(a.size);
    g->setXLabelEvery(a.labelEvery);
    g->setXTickEvery(a.tickEvery);
    g->setOrigin(a.origin);
    g->setXValEvery(a.size / pointsPerWindow);
    g->setLoading(loading);
}

void QenOverlay::setSpanMinutes(int minutes)
{
    if (minutes != 0 && !QenVocabulary::graphSpanMinutes().contains(minutes))
        minutes = 0;
    const int index = m_ui->cbSpan->findData(minutes);
    if (index >= 0 && index != m_ui->cbSpan->currentIndex()) {
        // The box's signal comes back here with the same minutes.
        m_ui->cbSpan->setCurrentIndex(index);
        return;
    }
    if (minutes == m_span)
        return;
    m_span = minutes;
    showSpan();
    // Another span holds other values: the scale is measured again.
    remeasure();
}

QComboBox *QenOverlay::spanBox() const
{
    return m_ui->cbSpan;
}

QString QenOverlay::clippedNote() const
{
    return m_ui->lClipped->text();
}

void QenOverlay::setUpLines(const QList<Run> &runs)
{
    QStringList wanted;
    QList<OverlayRunFacts> facts;
    double latest = 0;
    for (const Run &run : runs) {
        QenDoc *doc = run.doc;
        QenEngine *e = doc->engine();
        Line line;
        line.run = run;
        const QenAnesthetic *agent = e->agentOf(run.agent);
        line.mac = agent ? agent->mac : 0.0;
        m_lines << line;
        wanted << doc->agentColor(run.agent);
        facts << overlayRunFacts(doc->title(), doc->agentName(run.agent), e->circuit(),
                                 e->track(run.agent).del, e->fgf(), e->va(), e->co(), e->weight());
        latest = std::max(latest, minutesNow(doc));
    }
    const QStringList colors = overlayColors(wanted, m_host ? m_host->colorList() : QStringList(),
                                             m_ui->m_Graph->paperColor());
    const QStringList legends = overlayLegends(facts);
    QenGraph *g = m_ui->m_Graph;
    g->setVals(std::max(1, int(m_lines.size())));
    for (int i = 0; i < int(m_lines.size()); ++i) {
        m_lines[i].color = QColor(colors[i]);
        if (!m_lines[i].color.isValid())
            m_lines[i].color = Qt::black;
        m_lines[i].legend = legends[i];
        g->setLineColor(i, m_lines[i].color);
    }
    g->setXVal(latest);
    m_latest = latest;
}

void QenOverlay::showLegend()
{
    const QList<QLabel *> labels = {m_ui->lGraph_0, m_ui->lGraph_1, m_ui->lGraph_2, m_ui->lGraph_3,
                                    m_ui->lGraph_4};
    // The graph writes the line numbers on the curves where colours alone
    // cannot tell them apart; the legend then gives the numbers too.
    const bool numbered = m_ui->m_Graph->lineLettersOn(m_ui->m_Graph);
    for (int i = 0; i < int(labels.size()); ++i) {
        QLabel *label = labels[i];
        if (i >= lineCount()) {
            label->setVisible(i == 0);
            label->setText(tr("No simulation has reached the start of this time window."));
            continue;
        }
        const Line &line = m_lines[i];
        QString text = line.legend.toHtmlEscaped();
        if (numbered)
            text = QStringLiteral("%1 ").arg(QChar(char16_t(m_ui->m_Graph->labelChar(i)))) + text;
        label->setText(QStringLiteral("<span style=\"color:%1; font-weight:bold\">"
                                      "&#9473;&#9473;&#9473;</span>&nbsp;%2")
                           .arg(line.color.name(), text));
        label->setVisible(true);
    }
}

void QenOverlay::showCaption()
{
    QString caption;
    if (m_show == OverlayCost)
        caption = tr("Cost ($)");
    else if (m_over == OverlayOne)
        caption = tr("%1 (%atm)").arg(QLatin1String(quantityNames[m_show]));
    else
        caption = QStringLiteral("%1 / %2").arg(
            QLatin1String(quantityNames[m_show]),
            m_over == OverlayMAC ? tr("MAC") : QLatin1String(quantityNames[m_over]));
    m_ui->lQuantity->setText(QStringLiteral("<b>%1</b>").arg(caption.toHtmlEscaped()));
}

void QenOverlay::selectionClicked(QAbstractButton *)
{
    int show = m_showGroup->checkedId();
    int over = m_overGroup->checkedId();
    show = show < 0 ? OverlayALV : show;
    over = over < 0 ? OverlayOne : over;
    // A cost divided by anything means nothing: it is shown as it is.
    if (show == OverlayCost && over != OverlayOne) {
        over = OverlayOne;
        m_overGroup->button(OverlayOne)->setChecked(true);
    }
    for (QAbstractButton *b : m_overGroup->buttons())
        b->setEnabled(show != OverlayCost || m_overGroup->id(b) == OverlayOne);
    const bool changed = show != m_show || over != m_over;
    m_show = show;
    m_over = over;
    if (changed)
        emit selectionChanged(show, over);
    showCaption();
    remeasure();
}

void QenOverlay::remeasure()
{
    QenGraph *g = m_ui->m_Graph;
    m_measuring = false;
    m_rescale = false;
    m_height = m_settings.height;
    g->setLoading(true);
    g->setYMin(0);
    g->setYSize(m_settings.height);
    g->setYTickEvery(1.0);
    g->setYLabelEvery(m_settings.height);
    g->setMac(0);
    g->setLoading(false);

    // Values shown as they are have no spike to leave out: every point counts
    // toward the top, so that no line is cut off.
    const bool absolute = m_over == OverlayOne && m_show != OverlayCost;
    m_measure.start(absolute ? std::numeric_limits<double>::infinity()
                             : m_settings.slope * slopeScale * g->xValEvery());
    m_measuring = true;
    m_rescale = true;
    // Measured at once off screen, so that the window never shows the empty
    // measuring graph.
    finishMeasuring();
}

void QenOverlay::endPainting()
{
    if (!m_rescale) {
        // A ratio's first point may lie far above the rest (its denominator
        // starts near nothing); it is left out of the scale, and the user is
        // told that something was not drawn.
        m_ui->lClipped->setText(
            m_clipped > 0 ? tr("Some values lie above the top of the graph and are not drawn.")
                          : QString());
        return;
    }
    m_rescale = false;
    m_measuring = false;
    QenGraph *g = m_ui->m_Graph;
    g->setLoading(true);
    if (m_measure.count() > 0) {
        const bool absolute = m_over == OverlayOne && m_show != OverlayCost;
        const OverlayScale s = absolute
                                   ? overlayAbsoluteScale(m_measure.maximum(), m_settings.height)
                                   : overlayScale(m_measure.maximum());
        // Label spacing before tick: a tick finer than the old labels would
        // otherwise be repaired away.
        g->setYSize(s.height);
        g->setYLabelEvery(s.labelEvery);
        g->setYTickEvery(s.tickEvery);
        m_height = s.height;
        if (overlayRatioBand(m_over, s.height))
            g->setMac(1.0);
    }
    g->setLoading(false);
}

void QenOverlay::finishMeasuring()
{
    if (!m_rescale)
        return;
    QImage scratch(m_ui->m_Graph->size(), QImage::Format_ARGB32_Premultiplied);
    m_ui->m_Graph->render(&scratch);
}

bool QenOverlay::event(QEvent *event)
{
    if (event->type() == QenGraphEventType) {
        answer(static_cast<QenGraphEvent *>(event));
        return true;
    }
    return QDialog::event(event);
}

double QenOverlay::quantity(const Line &line, int id, bool over, float minutes) const
{
    QenEngine *e = line.run.doc->engine();
    const int agent = line.run.agent;
    if (id == OverlayDEL)
        return e->delDelivered(agent, minutes);
    if (id >= OverlayCKT && id <= OverlayVEN)
        return e->compartment(agent, id - OverlayCKT, minutes);
    if (id == OverlayCost)
        return over ? line.mac : e->cost(agent, minutes);
    return 1.0;
}

void QenOverlay::answer(QenGraphEvent *request)
{
    GraphSample *s = request->sample();
    const int i = int(s->value);
    double ratio = -1;
    if (request->graph() == m_ui->m_Graph && i >= 0 && i < lineCount()) {
        const Line &line = m_lines[i];
        const QenDoc *doc = line.run.doc;
        if (doc && line.run.agent < doc->agentCount() && s->time <= minutesNow(doc)) {
            const double d = quantity(line, m_over, true, s->time);
            const double n = quantity(line, m_show, false, s->time);
            ratio = overlayRatio(n, d);
        }
    }
    if (m_measuring) {
        m_measure.add(i, ratio);
        s->time = -1;
        return;
    }
    if (ratio > m_height)
        ++m_clipped;
    if (ratio < 0 || ratio > m_height) {
        s->time = -1;
        return;
    }
    s->value = float(ratio);
}

QenDoc *QenOverlay::lineDocument(int line) const
{
    return line >= 0 && line < lineCount() ? m_lines[line].run.doc.data() : nullptr;
}

int QenOverlay::lineAgent(int line) const
{
    return line >= 0 && line < lineCount() ? m_lines[line].run.agent : -1;
}

QString QenOverlay::legend(int line) const
{
    return line >= 0 && line < lineCount() ? m_lines[line].legend : QString();
}

QColor QenOverlay::lineColor(int line) const
{
    return line >= 0 && line < lineCount() ? m_lines[line].color : QColor();
}

QLabel *QenOverlay::legendLabel(int line) const
{
    const QList<QLabel *> labels = {m_ui->lGraph_0, m_ui->lGraph_1, m_ui->lGraph_2, m_ui->lGraph_3,
                                    m_ui->lGraph_4};
    return labels.value(line);
}

QAbstractButton *QenOverlay::showButton(int id) const
{
    return m_showGroup->button(id);
}

QAbstractButton *QenOverlay::overButton(int id) const
{
    return m_overGroup->button(id);
}

QenGraph *QenOverlay::graph() const
{
    return m_ui->m_Graph;
}

void QenOverlay::setHelpHandler(std::function<void()> handler)
{
    m_help = std::move(handler);
    QPushButton *button = m_ui->buttonBox->button(QDialogButtonBox::Help);
    button->setEnabled(bool(m_help));
    button->setToolTip(m_help ? QString() : tr("Help for this window is not available"));
}

void QenOverlay::help()
{
    if (m_help)
        m_help();
}

QImage QenOverlay::picture(qreal scale)
{
    if (scale <= 0)
        scale = 2 * devicePixelRatioF();
    finishMeasuring();
    QWidget *w = m_ui->wPicture;
    QImage image((QSizeF(w->size()) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(w->palette().color(QPalette::Window));
    w->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    // Programs that honour the resolution place it at the size it had on screen.
    const int dotsPerMeter = qRound(logicalDpiX() * scale / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

void QenOverlay::copyImage()
{
    QGuiApplication::clipboard()->setImage(picture());
}

bool QenOverlay::saveImage()
{
    const QString dir = m_host ? m_host->lastSaveDirectory() : QString();
    const QString proposal = QDir(dir).filePath(tr("Overlay") + QStringLiteral(".png"));
    const QString title = tr("Save Image");
    const QString filter = tr("PNG pictures (*.png)");
    QString path = m_saveDialog ? m_saveDialog(this, title, proposal, filter)
                                : QFileDialog::getSaveFileName(this, title, proposal, filter);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    return saveImageTo(path);
}

bool QenOverlay::saveImageTo(const QString &path)
{
    const QImage image = picture();
    QSaveFile file(path);
    QString error;
    if (!file.open(QIODevice::WriteOnly))
        error = file.errorString();
    else if (!image.save(&file, "PNG"))
        error = file.errorString().isEmpty() ? tr("The picture could not be encoded.")
                                             : file.errorString();
    else if (!file.commit())
        error = file.errorString();
    if (error.isEmpty())
        return true;
    file.cancelWriting();
    if (QenPrompt *prompt = m_host ? m_host->prompt() : nullptr)
        prompt->critical(tr("Quenor®"), tr("The picture could not be saved to %1:\n%2")
                                            .arg(QDir::toNativeSeparators(path), error));
    return false;
}
