#include "views/qengaugemath.h"

#include <algorithm>

GaugeLayout gaugeLayout(int width, int height)
{
    GaugeLayout g;
    g.frameLeft = width / 2;
    g.frameRight = width - 1;
    g.frameTop = 0;
    g.frameBottom = height - 1;
    g.innerLeft = g.frameLeft + 1;
    g.innerRight = g.frameRight - 1;
    g.innerTop = g.frameTop + 1;
    g.innerBottom = g.frameBottom - 1;
    return g;
}

void normaliseGauge(int &max, int &tickEvery, int &lTickEvery)
{
    if (max <= 0)
        max = 10;
    if (tickEvery != 0 && (tickEvery < 0 || tickEvery > max))
        tickEvery = max;
    // Without ticks there are no long ticks either (and no division by zero).
    const bool multiple = tickEvery != 0 ? lTickEvery % tickEvery == 0 : lTickEvery == 0;
    if (lTickEvery < 0 || !multiple)
        lTickEvery = tickEvery;
}

int gaugeTickRow(const GaugeLayout &g, int v, int max)
{
    return g.innerTop + (g.innerBottom - g.innerTop + 2) * (max - v) / max - 1;
}

int gaugeValueRow(const GaugeLayout &g, int value, int max)
{
    value = std::clamp(value, 0, max);
    return g.innerTop + g.innerHeight() * (max - value) / max;
}

int gaugeValueAt(const GaugeLayout &g, int y, int max)
{
    const int h = g.innerHeight();
    if (h <= 0)
        return 0;
    // The row just below the bar is the empty bar's row, so that a drag below
    // the bottom reaches 0 whatever Max is.
    const int row = std::clamp(y, g.innerTop, g.innerBottom + 1);
    return (g.innerBottom - row + 1) * max / h;
}
