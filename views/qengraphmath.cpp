#include "views/qengraphmath.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace {

// NaN and infinities count as "not a usable size".
bool usable(float x)
{
    return std::isfinite(x) && x > 0;
}

void normaliseAxis(float size, float &label, float &tick)
{
    const double s = size;
    double l = label;
    double t = tick;
    if (!std::isfinite(l))
        l = 0;
    if (!std::isfinite(t))
        t = 0;
    if (l != 0 && (s < l || l < s / 10))
        l = s;
    if (t == 0)
        t = l;
    if (t != 0) {
        const double r = std::fabs(std::fmod(l, t));
        const double d = std::min(r, t - r);
        if (l < t || t < l / 50 || d > t / 1000)
            t = l / 5;
    }
    label = float(l);
    tick = float(t);
}

} // namespace

void normaliseGraphParams(GraphParams &p)
{
    if (p.vals > 6)
        p.vals = 6;
    if (!usable(p.xSize))
        p.xSize = 100;
    if (!usable(p.ySize))
        p.ySize = 10;
    normaliseAxis(p.xSize, p.xLabelEvery, p.xTickEvery);
    normaliseAxis(p.ySize, p.yLabelEvery, p.yTickEvery);

    if ((p.xTickEvery != 0 && p.xTickEvery < p.xValEvery) || p.xSize < p.xValEvery ||
        !usable(p.xValEvery))
        p.xValEvery = p.xTickEvery != 0 ? p.xTickEvery : p.xSize;

    p.lMarginPct = std::clamp(p.lMarginPct, 5, 75);
    p.bMarginPct = std::clamp(p.bMarginPct, 5, 75);
    p.rMarginPct = std::clamp(std::min(p.rMarginPct, 90 - p.lMarginPct), 0, 50);
    p.tMarginPct = std::clamp(std::min(p.tMarginPct, 90 - p.bMarginPct), 0, 50);

    if (!std::isfinite(p.xMin))
        p.xMin = 0;
    if (!std::isfinite(p.origin))
        p.origin = p.xMin;
    if (!std::isfinite(p.yMin))
        p.yMin = 0;
    if (p.xMin > p.origin)
        p.origin = p.xMin;
}

GraphLayout graphLayout(int graphKind, const QRect &phys, int lMarginPct, int rMarginPct,
                        int tMarginPct, int bMarginPct)
{
    const int xSize = phys.width();
    const int ySize = phys.height();
    GraphLayout g;
    // The left edge is fixed so that the Y labels of all graphs line up,
    // whatever their margins.
    g.plotLeft = phys.x() + (graphKind == 2 ? 60 : 50);
    g.plotRight = phys.x() + (lMarginPct * xSize - 50) / 100 +
                  ((100 - rMarginPct - lMarginPct) * xSize + 50) / 100;
    g.plotBottom = phys.y() + ((100 - bMarginPct) * ySize + 50) / 100;
    g.height = -(((100 - bMarginPct - tMarginPct) * ySize + 50) / 100);
    g.plotTop = g.plotBottom + g.height;
    g.width = g.plotRight - g.plotLeft;
    g.xDir = g.width >= 0 ? 1 : -1;
    g.yDir = g.height >= 0 ? 1 : -1;
    g.xTickUnit = (ySize + phys.y() - g.plotBottom) / 4;
    g.yTickLength = (g.plotLeft - phys.x()) / 6;
    return g;
}

GraphPoint graphMapToPixel(const GraphLayout &g, const GraphWindow &w, double t, double v,
                           bool clamp)
{
    // Out-of-range inputs must not overflow the int conversion.
    auto toPixel = [](double x) {
        return int(std::clamp(x, -1.0e8, 1.0e8));
    };
    int px = toPixel(std::floor((t - w.origin) * g.width / w.xSize + g.xDir * 0.5)) + g.plotLeft;
    int py = toPixel(std::ceil((v - w.yMin) * g.height / w.yExtent + g.yDir * 0.5)) + g.plotBottom;
    if (clamp) {
        if (px <= g.plotLeft)
            px = g.plotLeft + 1;
        else if (px >= g.plotRight)
            px = g.plotRight - 1;
        if (py <= g.plotTop)
            py = g.plotTop + 1;
        else if (py >= g.plotBottom)
            py = g.plotBottom - 1;
    }
    GraphPoint p;
    p.pixel = QPoint(px, py);
    p.time = g.width != 0 ? double(px - g.plotLeft) * w.xSize / g.width + w.origin : w.origin;
    p.value = g.height != 0 ? double(py - g.plotBottom) * w.yExtent / g.height + w.yMin : w.yMin;
    return p;
}

QString graphFormatLabel(int type, double x, bool integer)
{
    if (type == 1) {
        const int hours = int(x / 60);
        const int minutes = int(x - 60.0 * hours);
        return QStringLiteral("%1:%2")
            .arg(hours, 2, 10, QLatin1Char(' '))
            .arg(minutes, 2, 10, QLatin1Char('0'));
    }
    if (integer || x > 1000)
        return QStringLiteral("%1").arg(qint64(x));
    return QStringLiteral("%1").arg(x, 0, 'f', 1);
}

int graphLabelDecimals(double labelEvery, double first)
{
    auto whole = [](double v, int decimals) {
        const double scaled = v * std::pow(10.0, decimals);
        return std::fabs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, std::fabs(scaled));
    };
    int decimals = 0;
    while (decimals < 3 && !(whole(labelEvery, decimals) && whole(first, decimals)))
        ++decimals;
    return decimals;
}

bool graphIsLabelTick(double t, double labelEvery, double tickEvery)
{
    const double r = std::fabs(std::fmod(t, labelEvery));
    return r < tickEvery / 2 || labelEvery - r < tickEvery / 2;
}

int graphMacBandThickness(int plotHeight)
{
    if (plotHeight > 300)
        return 16;
    if (plotHeight > 150)
        return 6;
    return 3;
}

QRect graphMacBand(const GraphLayout &g, const GraphWindow &w, double mac)
{
    if (!(w.yMin < mac && mac < w.yMin + w.yExtent))
        return {};
    const int f = graphMacBandThickness(g.plotBottom - g.plotTop - 1);
    const int row = graphMapToPixel(g, w, w.origin, mac, true).pixel.y();
    const int top = std::max(std::min(row - f / 2, g.plotBottom - f), g.plotTop + 1);
    return QRect(g.plotLeft + 1, top, g.plotRight - g.plotLeft - 1, f);
}

const uchar *graphMacPattern(int thickness)
{
    static const uchar wide[8] = {0x00, 0xe0, 0xe0, 0x00, 0x00, 0x0e, 0x0e, 0x00};
    static const uchar middle[8] = {0xc0, 0xc0, 0x0c, 0x0c, 0xc0, 0xc0, 0x0c, 0x0c};
    static const uchar narrow[8] = {0x88, 0x22, 0x88, 0x22, 0x88, 0x22, 0x88, 0x22};
    if (thickness >= 16)
        return wide;
    if (thickness >= 6)
        return middle;
    return narrow;
}

GraphCrosshair graphCrosshair(const GraphLayout &g, const GraphWindow &w, QPoint mouse,
                              QSize timeBox)
{
    GraphCrosshair c;
    const int x =
        std::clamp(mouse.x(), std::min(g.plotLeft, g.plotRight), std::max(g.plotLeft, g.plotRight));
    const int y =
        std::clamp(mouse.y(), std::min(g.plotTop, g.plotBottom), std::max(g.plotTop, g.plotBottom));
    c.pos = QPoint(x, y);
    const int dx = g.plotRight - g.plotLeft;
    const int dy = g.plotBottom - g.plotTop;
    c.time = dx != 0 ? double(x - g.plotLeft) * w.xSize / dx + w.origin : w.origin;
    c.value = dy != 0 ? double(g.plotBottom - y) * w.yExtent / dy + w.yMin : w.yMin;
    c.time = std::max(c.time, 0.0);
    c.value = std::max(c.value, 0.0);

    const int bw = std::max(30, timeBox.width());
    const int bh = std::max(15, timeBox.height());
    int left = x - 5;
    if (left + bw > g.plotRight)
        left = g.plotRight - bw;
    if (x < g.plotLeft + 5 || left < g.plotLeft)
        left = g.plotLeft;
    c.timeBox = QRect(left, g.plotBottom + 1, bw, bh);
    return c;
}

QRect graphReadoutBox(const GraphLayout &g, int x, QSize size)
{
    int left = x + 6;
    if (left + size.width() > g.plotRight - 1)
        left = std::max(g.plotLeft + 1, x - 6 - size.width());
    return QRect(QPoint(left, g.plotTop + 2), size);
}

double graphInterpolate(double t0, double v0, double t1, double v1, double t)
{
    if (t1 == t0)
        return v1;
    return v0 + (v1 - v0) * (t - t0) / (t1 - t0);
}

int graphTextPixelSize(const QSize &size, int basePx)
{
    const int base = std::max(basePx, 1);
    const int grown = std::min(size.height() / 26, size.width() / 60);
    return std::clamp(grown, base, base * 5 / 2);
}

namespace {
double relativeLuminance(const QColor &c)
{
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}
} // namespace

double graphContrast(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor graphCurveEdge(const QColor &line, const QColor &paper, bool always)
{
    if (graphContrast(line, paper) >= 3.0)
        return always ? line.darker(200) : QColor();
    // The darkest needed shade of the same hue: it must stand out well (4.5:1).
    for (int factor = 150; factor <= 1000; factor += 25) {
        const QColor shade = line.darker(factor);
        if (graphContrast(shade, paper) >= 4.5)
            return shade;
    }
    return QColor(Qt::black);
}

QRect graphLetterOnCurve(QPoint point, QSize cell, int ascent, int lineWidth,
                         const QList<QRect> &taken, const QRect &inside)
{
    auto free = [&](const QRect &r) {
        if (!inside.contains(r))
            return false;
        for (const QRect &t : taken)
            if (t.intersects(r))
                return false;
        return true;
    };
    // Half the line and its one-pixel edge lie between the point and the glyph.
    const int clear = (std::max(lineWidth, 1) + 1) / 2 + 1;
    const int left = point.x() - cell.width() / 2;
    const QRect above(QPoint(left, point.y() - clear - ascent), cell);
    if (free(above))
        return above;
    const QRect below(QPoint(left, point.y() + clear + 1), cell);
    if (free(below))
        return below;
    return QRect();
}
