#include "views/qengraph.h"

#include "views/qengraphevent.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QFontInfo>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>

#include <algorithm>
#include <climits>
#include <cmath>
#include <iterator>
#include <limits>

QenGraph::QenGraph(QWidget *parent) : QWidget(parent)
{
    m_colors[0] = QColor(255, 255, 0);
    m_colors[1] = QColor(128, 0, 0);
    m_colors[2] = QColor(255, 0, 0);
    m_colors[3] = QColor(0, 128, 0);
    m_colors[4] = QColor(0, 255, 0);
    m_colors[5] = QColor(0, 0, 255);
    normalise();
    m_yExtent = m_p.ySize;
    setMouseTracking(true);
}

QenGraph::~QenGraph() = default;

void QenGraph::normalise()
{
    normaliseGraphParams(m_p);
    // Whatever changed the set-up may change what the data source answers.
    m_cacheValid = false;
}

void QenGraph::repaintUnlessLoading()
{
    if (!m_loading)
        update();
}

void QenGraph::normaliseAndRepaint()
{
    normalise();
    repaintUnlessLoading();
}

void QenGraph::setLoading(bool on)
{
    m_loading = on;
    if (!on)
        update();
}

QColor QenGraph::lineColor(int line) const
{
    return m_colors[validLine(line)];
}

void QenGraph::setLineColor(int line, const QColor &color)
{
    if (line < 0 || line >= MaxLines)
        return;
    m_colors[line] = color;
    normaliseAndRepaint();
}

void QenGraph::setLineStyle(int line, Qt::PenStyle style)
{
    if (line < 0 || line >= MaxLines)
        return;
    m_styles[line] = style;
    normaliseAndRepaint();
}

void QenGraph::setLMarginPct(int pct)
{
    m_p.lMarginPct = pct;
    normaliseAndRepaint();
}

void QenGraph::setRMarginPct(int pct)
{
    m_p.rMarginPct = pct;
    normaliseAndRepaint();
}

void QenGraph::setTMarginPct(int pct)
{
    m_p.tMarginPct = pct;
    normaliseAndRepaint();
}

void QenGraph::setBMarginPct(int pct)
{
    m_p.bMarginPct = pct;
    normaliseAndRepaint();
}

void QenGraph::setOrigin(double minutes)
{
    m_p.origin = float(minutes);
    normaliseAndRepaint();
}

void QenGraph::setMac(double value)
{
    m_mac = float(value);
    normaliseAndRepaint();
}

void QenGraph::setXVal(double minutes)
{
    m_xVal = float(minutes);
    repaintUnlessLoading();
}

void QenGraph::setXValEvery(double minutes)
{
    m_p.xValEvery = float(minutes);
    normalise();
}

void QenGraph::setLineLabelType(int type)
{
    m_lineLabelType = type;
    normalise();
}

void QenGraph::setLineWidth(int px)
{
    m_lineWidth = px;
    normalise();
}

void QenGraph::setEdgeAllCurves(bool on)
{
    m_edgeAll = on;
    repaintUnlessLoading();
}

void QenGraph::setVals(int lines)
{
    m_p.vals = lines;
    normalise();
}

void QenGraph::setXLabelType(int type)
{
    m_xLabelType = type;
    normalise();
}

void QenGraph::setYLabelType(int type)
{
    m_yLabelType = type;
    normalise();
}

void QenGraph::setPaperColor(const QColor &color)
{
    m_paperColor = color;
    normalise();
}

void QenGraph::setXMin(double minutes)
{
    m_p.xMin = float(minutes);
    normaliseAndRepaint();
}

void QenGraph::setXSize(double minutes)
{
    m_p.xSize = float(minutes);
    normaliseAndRepaint();
}

void QenGraph::setXLabelEvery(double minutes)
{
    m_p.xLabelEvery = float(minutes);
    normaliseAndRepaint();
}

void QenGraph::setXTickEvery(double minutes)
{
    m_p.xTickEvery = float(minutes);
    normaliseAndRepaint();
}

void QenGraph::setYMin(double value)
{
    m_p.yMin = float(value);
    normaliseAndRepaint();
}

void QenGraph::setYSize(double value)
{
    m_p.ySize = float(value);
    normalise();
    m_yExtent = m_p.ySize;
    repaintUnlessLoading();
}

void QenGraph::setYLabelEvery(double value)
{
    m_p.yLabelEvery = float(value);
    normaliseAndRepaint();
}

void QenGraph::setYTickEvery(double value)
{
    m_p.yTickEvery = float(value);
    normaliseAndRepaint();
}

int QenGraph::labelChar(int line) const
{
    return m_labelChars[validLine(line)];
}

void QenGraph::setLabelChar(int line, int character)
{
    if (line < 0 || line >= MaxLines)
        return;
    m_labelChars[line] = character;
    normalise();
}

void QenGraph::setGraphKind(int kind)
{
    m_graphKind = kind;
    if (kind == 0)
        m_crosshairShown = false;
    update();
}

void QenGraph::setCrosshairShown(bool shown)
{
    if (m_crosshairShown == shown)
        return;
    m_crosshairShown = shown;
    update();
}

void QenGraph::setZoom(int zoom)
{
    zoom = std::max(zoom, 1);
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    emit zoomChanged();
}

void QenGraph::setDataSource(QObject *source)
{
    m_dataSource = source;
    m_cacheValid = false;
}

void QenGraph::scrollMoved(int x)
{
    setYMin(x / 10.0);
    update();
}

GraphLayout QenGraph::layout() const
{
    return graphLayout(m_graphKind, QRect(m_xPhyZero, m_yPhyZero, m_xPhySize, m_yPhySize),
                       m_p.lMarginPct, m_p.rMarginPct, m_p.tMarginPct, m_p.bMarginPct);
}

GraphWindow QenGraph::window() const
{
    GraphWindow w;
    w.origin = m_p.origin;
    w.xSize = m_p.xSize;
    w.yMin = m_p.yMin;
    w.yExtent = m_yExtent;
    return w;
}

GraphPoint QenGraph::mapToPixel(double t, double v, bool clamp) const
{
    return graphMapToPixel(layout(), window(), t, v, clamp);
}

QFont QenGraph::textFont() const
{
    // On screen the texts grow with the graph, so that a projected graph can
    // be read from the back of the room; a redirected paint (a report) sets
    // its own font.
    QFont f = font();
    const int base = QFontInfo(f).pixelSize();
    int px = graphTextPixelSize(size(), base);
    // The widest value label must still fit left of the plot.
    const GraphLayout g = layout();
    const int room = g.plotLeft - g.yTickLength - 2;
    const QString widest = yLabelText(m_p.yMin + m_p.ySize);
    for (; px > base; --px) {
        f.setPixelSize(px);
        if (QFontMetrics(f).horizontalAdvance(widest) <= room)
            break;
    }
    f.setPixelSize(px);
    return f;
}

QSize QenGraph::minimumSizeHint() const
{
    const int h = fontMetrics().height();
    return QSize(int(h * 1.5 * 100 / m_p.lMarginPct), int(h * 1.5 * 100 / m_p.bMarginPct));
}

bool QenGraph::lineLettersOn(const QPaintDevice *device) const
{
    if (m_p.vals <= 1 || m_lineLabelType == 0)
        return false;
    if (m_lineLabelType != 2)
        return true;
    // Letters tell the lines apart where colours cannot: on two-colour devices.
    // 32-bit images report no colour table, so their depth decides.
    const int depth = device->depth();
    int colors = device->colorCount();
    if (colors <= 0 || depth > 8)
        colors = depth >= 31 ? INT_MAX : 1 << std::max(depth, 0);
    return colors <= 2;
}

void QenGraph::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_graphKind != 0 && event->button() == Qt::LeftButton) {
        m_crosshairShown = !m_crosshairShown;
        m_crosshairPos = event->position().toPoint();
        update();
    }
    QWidget::mouseReleaseEvent(event);
}

void QenGraph::mouseMoveEvent(QMouseEvent *event)
{
    if (m_graphKind != 0 && m_crosshairShown) {
        m_crosshairPos = event->position().toPoint();
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void QenGraph::paintEvent(QPaintEvent *)
{
    paintOn(m_paintTarget ? m_paintTarget : this);
}

void QenGraph::drawGraph()
{
    if (m_paintTarget)
        paintOn(m_paintTarget);
    else
        repaint();
}

void QenGraph::paintOn(QPaintDevice *device)
{
    QPainter painter(device);
    if (!painter.isActive())
        return;
    m_yExtent = m_p.ySize;
    if (device == this) {
        m_xPhyZero = 0;
        m_yPhyZero = 0;
        m_xPhySize = width();
        m_yPhySize = height();
    }
    painter.setFont(device == this ? textFont() : font());
    painter.setBackground(palette().brush(backgroundRole()));
    painter.setPen(palette().color(foregroundRole()));
    const QPen startPen = painter.pen();
    const GraphLayout g = layout();

    for (int i = 0; i < MaxLines; ++i) {
        m_lastLabelTime[i] = 2 * m_p.xSize + m_xVal;
        m_drawnMin[i] = 1;
        m_drawnMax[i] = 0;
    }

    painter.fillRect(QRect(m_xPhyZero, m_yPhyZero, m_xPhySize, m_yPhySize), painter.background());
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(m_paperColor);
    painter.drawRect(
        QRect(QPoint(g.plotLeft, g.plotTop), QPoint(g.plotRight - 1, g.plotBottom - 1)));

    drawMacBand(painter, g);

    if (m_scrollEnb)
        m_p.origin = m_p.xSize > 0 ? m_xVal - m_p.xSize : m_p.origin;
    if (m_p.origin < m_p.xMin)
        m_p.origin = m_p.xMin;

    drawXAxis(painter, g);
    drawYAxis(painter, g);
    if (m_crosshairShown && m_graphKind != 0)
        drawCrosshair(painter, g);

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(startPen);
    drawCurves(painter, g, device);
}

void QenGraph::drawMacBand(QPainter &painter, const GraphLayout &g)
{
    const QRect band = graphMacBand(g, window(), m_mac);
    if (band.isNull())
        return;
    const int f = graphMacBandThickness(g.plotBottom - g.plotTop - 1);
    const QBitmap pattern =
        QBitmap::fromData(QSize(8, 8), graphMacPattern(f), QImage::Format_MonoLSB);
    const QRect inside(QPoint(g.plotLeft + 1, g.plotTop + 1),
                       QPoint(g.plotRight - 1, g.plotBottom - 1));
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.fillRect(band.intersected(inside), QBrush(Qt::black, pattern));
    painter.restore();
}

void QenGraph::drawXAxis(QPainter &painter, const GraphLayout &g)
{
    const double tick = m_p.xTickEvery;
    if (tick == 0)
        return;
    double label = std::floor(double(m_p.xLabelEvery));
    if (label == 0)
        label = 1;
    const GraphWindow w = window();
    const QFontMetrics fm = painter.fontMetrics();
    painter.setBackgroundMode(Qt::TransparentMode);
    const double first = std::ceil(w.origin / tick) * tick;
    for (int k = 0;; ++k) {
        const double t = first + k * tick;
        // A thousandth of a tick absorbs rounding, so that the last tick is not lost.
        if (t > w.origin + w.xSize + tick / 1000)
            break;
        const int px = graphMapToPixel(g, w, t, w.yMin, false).pixel.x();
        const bool labelTick = graphIsLabelTick(t, label, tick);
        const int end = g.plotBottom + g.xTickUnit * (labelTick ? 2 : 1);
        painter.drawLine(px, g.plotBottom, px, end);
        if (labelTick) {
            const QString text = graphFormatLabel(m_xLabelType, t, false);
            const int tw = fm.horizontalAdvance(text);
            // The last label of a window stays whole inside the drawing area.
            const int left = std::max(m_xPhyZero, std::min(px - (tw * g.xDir) / 2 - 5,
                                                           m_xPhyZero + m_xPhySize - tw - 10));
            painter.drawText(QRect(left, end, tw + 10, fm.height()),
                             Qt::AlignHCenter | Qt::AlignTop, text);
        }
    }
}

void QenGraph::drawYAxis(QPainter &painter, const GraphLayout &g)
{
    const double tick = m_p.yTickEvery;
    if (tick == 0)
        return;
    double label = m_p.yLabelEvery;
    if (m_graphKind == 1)
        label = std::floor(label);
    const GraphWindow w = window();
    const QFontMetrics fm = painter.fontMetrics();
    painter.setBackgroundMode(Qt::TransparentMode);
    const int outer = g.plotLeft - g.yTickLength;
    const double first = std::ceil(w.yMin / tick) * tick;
    for (int k = 0;; ++k) {
        const double v = first + k * tick;
        if (v > w.yMin + w.yExtent + tick / 1000)
            break;
        const int py = g.plotBottom + int((v - w.yMin) * g.height / w.yExtent);
        painter.drawLine(g.plotLeft, py, outer, py);
        if (!graphIsLabelTick(v, label, tick))
            continue;
        const QString text = yLabelText(v);
        const int tw = fm.horizontalAdvance(text);
        // A label at the very top or bottom of a thin strip stays whole
        // inside the drawing area rather than centred on its tick.
        const int top = std::max(
            m_yPhyZero, std::min(py - fm.height() / 2, m_yPhyZero + m_yPhySize - fm.height()));
        painter.drawText(QRect(outer - tw - 1, top, tw, fm.height()),
                         Qt::AlignRight | Qt::AlignVCenter, text);
    }
}

void QenGraph::drawCrosshair(QPainter &painter, const GraphLayout &g)
{
    const QFontMetrics fm = painter.fontMetrics();
    const GraphCrosshair probe = graphCrosshair(g, window(), m_crosshairPos);
    // The readout is written in the axis labels' font, so it reads as well.
    const QString timeText = graphFormatLabel(m_xLabelType, probe.time, false);
    const GraphCrosshair c = graphCrosshair(
        g, window(), m_crosshairPos, QSize(fm.horizontalAdvance(timeText) + 8, fm.height() + 2));
    painter.save();
    painter.setOpacity(0.5);
    painter.setPen(QPen(Qt::blue, 0));
    painter.drawLine(c.pos.x(), g.plotTop + 1, c.pos.x(), g.plotBottom);
    painter.drawLine(g.plotLeft, c.pos.y(), g.plotRight, c.pos.y());
    painter.setOpacity(1);
    m_timeBox = c.timeBox;
    m_crosshairTime = c.time;
    // The value list comes with the curves; none when there is no curve.
    m_valueBox = QRect();
    m_readout.clear();
    // The box sits over the axis labels: it is filled so the readout stays legible.
    painter.setBrush(m_paperColor);
    painter.setPen(QPen(Qt::red, 0));
    painter.drawRect(m_timeBox.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    painter.drawText(m_timeBox, Qt::AlignCenter, timeText);
    painter.restore();
}

void QenGraph::drawReadout(QPainter &painter, const GraphLayout &g, const double *values)
{
    const QFontMetrics fm = painter.fontMetrics();
    const int decimals =
        m_graphKind == 2 ? std::max(2, graphLabelDecimals(m_p.yLabelEvery, m_p.yMin) + 1) : 2;
    QStringList texts;
    QList<QColor> colors;
    int width = 0;
    m_readout.clear();
    for (int i = 0; i < std::min(m_p.vals, int(MaxLines)); ++i)
        m_readout << values[i];
    for (int i = 0; i < std::min(m_p.vals, int(MaxLines)); ++i) {
        if (std::isnan(values[i]))
            continue;
        QString text = QString::number(values[i], 'f', decimals);
        if (m_p.vals > 1)
            text = QString(QChar(char16_t(m_labelChars[i]))) + QLatin1Char(' ') + text;
        texts << text;
        // A light curve colour is written in its dark shade, as its edge is drawn.
        const QColor edge = graphCurveEdge(m_colors[i], m_paperColor);
        colors << (edge.isValid() ? edge : m_colors[i]);
        width = std::max(width, fm.horizontalAdvance(text));
    }
    m_valueBox = QRect();
    if (texts.isEmpty())
        return;
    const QSize size(width + 8, int(texts.size()) * fm.height() + 4);
    m_valueBox = graphReadoutBox(g, graphCrosshair(g, window(), m_crosshairPos).pos.x(), size);
    painter.save();
    painter.setClipping(false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(m_paperColor);
    painter.setPen(QPen(Qt::red, 0));
    painter.drawRect(m_valueBox.adjusted(0, 0, -1, -1));
    for (int k = 0; k < int(texts.size()); ++k) {
        painter.setPen(colors[k]);
        painter.drawText(QRect(m_valueBox.left() + 4, m_valueBox.top() + 2 + k * fm.height(), width,
                               fm.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, texts[k]);
    }
    painter.restore();
}

QString QenGraph::yLabelText(double v) const
{
    // The overlay's ratios need decimals; all its labels carry the same number.
    if (m_graphKind == 2 && m_yLabelType != 1)
        return QString::number(v, 'f', graphLabelDecimals(m_p.yLabelEvery, m_p.yMin));
    return graphFormatLabel(m_yLabelType, v, true);
}

GraphSample QenGraph::ask(float time, int line, float previous)
{
    GraphSample sample;
    sample.time = time;
    sample.value = float(line);
    sample.extra = previous;
    if (!m_dataSource) {
        sample.time = -1;
        return sample;
    }
    QenGraphEvent event(&sample, this);
    QCoreApplication::sendEvent(m_dataSource, &event);
    return sample;
}

void QenGraph::drawCurves(QPainter &painter, const GraphLayout &layoutAtStart, QPaintDevice *device)
{
    GraphLayout g = layoutAtStart;
    const double start = graphMapToPixel(g, window(), m_p.origin, m_p.yMin, false).time;
    const double end = graphMapToPixel(g, window(), m_xVal, m_p.yMin, true).time;
    const double step = m_p.xValEvery;
    if (!(start <= end - step))
        return;
    emit beginDrawLines();

    const QRect inside(QPoint(g.plotLeft + 1, g.plotTop + 1),
                       QPoint(g.plotRight - 1, g.plotBottom - 1));
    painter.save();
    painter.setClipRect(inside);
    painter.setBackgroundMode(Qt::TransparentMode);
    const QFontMetrics fm = painter.fontMetrics();
    const bool letters = lineLettersOn(device);
    const bool singleLine = m_p.vals == 1;
    const double letterSpacing = m_p.xSize / 1.5;
    QList<QRect> lettersPlaced;
    struct Letter
    {
        QRect cell;
        QColor color;
        QColor edge;
        QString text;
    };
    QList<Letter> letterQueue;
    // Each curve's value at the crosshair's time, read off the points asked for.
    const bool readout = m_crosshairShown && m_graphKind != 0;
    double readoutValues[MaxLines];
    std::fill(std::begin(readoutValues), std::end(readoutValues),
              std::numeric_limits<double>::quiet_NaN());

    bool allDown = true;
    double lastTime = start;
    for (int i = 0; i < std::min(m_p.vals, int(MaxLines)); ++i) {
        if (m_mask & (1 << i)) {
            allDown = false;
            continue;
        }
        painter.setPen(QPen(m_colors[i], m_lineWidth));
        // Curves are filled outlines: Qt's one-pixel antialiased stroker leaves
        // a pale pixel at every joint, which makes a flat curve look dashed.
        QPainterPathStroker stroker;
        stroker.setWidth(std::max(m_lineWidth, 1));
        stroker.setCapStyle(Qt::SquareCap);
        stroker.setJoinStyle(Qt::RoundJoin);
        if (m_styles[i] != Qt::SolidLine)
            stroker.setDashPattern(m_styles[i]);
        // A light colour on the paper gets a thin dark edge of its own hue.
        const QColor edge = graphCurveEdge(m_colors[i], m_paperColor, m_edgeAll);
        QPainterPathStroker edgeStroker;
        edgeStroker.setWidth(std::max(m_lineWidth, 1) + 2);
        edgeStroker.setCapStyle(Qt::SquareCap);
        edgeStroker.setJoinStyle(Qt::RoundJoin);
        if (m_styles[i] != Qt::SolidLine)
            edgeStroker.setDashPattern(m_styles[i]);
        QPolygonF polyline;
        bool penDown = false;
        double previous = 0;
        float lastValue = 0;
        float lastAsked = 0;
        bool lastMarker = false;
        // A letter that found its place taken waits for a later point.
        double letterDueSince = -1;
        auto flush = [&] {
            if (polyline.size() > 1) {
                QPainterPath path;
                path.addPolygon(polyline);
                if (edge.isValid())
                    painter.fillPath(edgeStroker.createStroke(path), edge);
                painter.fillPath(stroker.createStroke(path), m_colors[i]);
            }
            polyline.clear();
        };
        for (int k = 0;; ++k) {
            const double t = start + k * step;
            if (!(t < end + step / 2))
                break;
            // Samples fall on pixel columns, so a paint asks at most one value per column.
            double ts = graphMapToPixel(g, window(), t, m_p.yMin, true).time;
            ts = std::min(std::max(ts, start), double(m_xVal));
            lastTime = ts;

            float time;
            float value;
            if (m_cacheValid && ts == m_cacheTime) {
                value = m_lastValue[i];
                time = singleLine && m_cacheMarker ? -2.0f : float(ts);
            } else {
                const GraphSample s = ask(float(ts), i, float(penDown ? previous : ts));
                g = layout(); // the data source may have changed the graph
                time = s.time;
                value = s.value;
            }
            if (time == -1) {
                flush();
                penDown = false;
                continue;
            }
            if (readout && m_crosshairTime <= ts) {
                if (penDown && previous <= m_crosshairTime)
                    readoutValues[i] =
                        graphInterpolate(previous, lastAsked, ts, value, m_crosshairTime);
                else if (ts == m_crosshairTime)
                    readoutValues[i] = value;
            }
            lastAsked = value;
            const GraphWindow w = window();
            value = float(std::clamp(double(value), w.yMin, w.yMin + w.yExtent));
            const GraphPoint p = graphMapToPixel(g, w, ts, value, true);
            // Pixel centres keep one-pixel lines crisp with antialiasing on.
            polyline << QPointF(p.pixel) + QPointF(0.5, 0.5);
            penDown = true;
            previous = ts;
            lastValue = value;
            lastMarker = time == -2;

            if (letters) {
                const double q = ts - i * m_p.xSize / 20.0;
                if (q - std::floor(q / letterSpacing) * letterSpacing <= 1.2 * step &&
                    std::fabs(ts - m_lastLabelTime[i]) > letterSpacing / 2 && letterDueSince < 0)
                    letterDueSince = ts;
                if (letterDueSince >= 0 && ts - letterDueSince > letterSpacing / 2)
                    letterDueSince = -1; // no room anywhere near: left out this time
                if (letterDueSince >= 0) {
                    const QString letter(QChar(char16_t(m_labelChars[i])));
                    // The cell is the glyph above its baseline: letters and digits
                    // have no descent, so a curve at the bottom still has room.
                    const QRect cell = graphLetterOnCurve(
                        p.pixel, QSize(fm.horizontalAdvance(letter), fm.ascent()), fm.ascent(),
                        m_lineWidth, lettersPlaced, inside);
                    if (!cell.isNull()) {
                        lettersPlaced.append(cell);
                        letterQueue.append({cell, m_colors[i], edge, letter});
                        m_lastLabelTime[i] = float(ts);
                        letterDueSince = -1;
                    }
                }
            }
            if (lastMarker && singleLine) {
                const double gap = std::fabs(ts - m_lastLabelTime[0]);
                if (gap > letterSpacing / 20 || gap == 0) {
                    const QString caret = QStringLiteral("^");
                    painter.drawText(QPoint(p.pixel.x() - fm.horizontalAdvance(caret) / 2,
                                            g.plotBottom - fm.height() / 2),
                                     caret);
                    m_lastLabelTime[0] = float(ts);
                }
            }
            if (inside.contains(p.pixel)) {
                if (m_drawnMin[i] > m_drawnMax[i]) {
                    m_drawnMin[i] = ts;
                    m_drawnMax[i] = ts;
                } else {
                    m_drawnMin[i] = std::min(m_drawnMin[i], ts);
                    m_drawnMax[i] = std::max(m_drawnMax[i], ts);
                }
            }
        }
        flush();
        if (penDown) {
            m_lastValue[i] = lastValue;
            if (singleLine)
                m_cacheMarker = lastMarker;
        } else {
            allDown = false;
        }
    }
    m_cacheValid = allDown;
    m_cacheTime = lastTime;
    // Letters go over every curve, so that no later curve hides them. Texts
    // stay texts (a printed report keeps them as such); the edge is the letter
    // drawn around it one pixel each way.
    for (const Letter &l : std::as_const(letterQueue)) {
        const QPoint baseline(l.cell.left(), l.cell.top() + fm.ascent());
        if (l.edge.isValid()) {
            painter.setPen(l.edge);
            for (const QPoint d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
                painter.drawText(baseline + d, l.text);
        }
        painter.setPen(l.color);
        painter.drawText(baseline, l.text);
    }
    if (readout)
        drawReadout(painter, g, readoutValues);
    painter.restore();
    emit endDrawLines();
}
