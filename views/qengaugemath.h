#pragma once

// Geometry and value arithmetic of the bar gauge, kept apart from painting.

// The bar occupies the right half of the widget. Its frame lies on the rows
// frameTop and frameBottom and on the columns frameLeft and frameRight; the
// inner* values name the first and last pixel inside the frame.
struct GaugeLayout
{
    int frameLeft = 0;
    int frameRight = 0;
    int frameTop = 0;
    int frameBottom = 0;
    int innerLeft = 0;
    int innerRight = 0;
    int innerTop = 0;
    int innerBottom = 0;

    int innerHeight() const { return innerBottom - innerTop + 1; }
};

GaugeLayout gaugeLayout(int width, int height);

// Max <= 0 becomes 10; a tick spacing that is negative or above Max becomes
// Max; a long-tick spacing that is not a multiple of the tick spacing becomes it.
void normaliseGauge(int &max, int &tickEvery, int &lTickEvery);

// Row of the tick for value v: Max on the frame's top row, 0 on its bottom row.
int gaugeTickRow(const GaugeLayout &g, int v, int max);
// First filled row for a value (clamped to 0..max); below innerBottom when empty.
int gaugeValueRow(const GaugeLayout &g, int value, int max);
// The value a drag puts at row y (the grab offset already added): the inverse
// of gaugeValueRow, Max above the bar and 0 below it.
int gaugeValueAt(const GaugeLayout &g, int y, int max);
