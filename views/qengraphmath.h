#pragma once

#include <QColor>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// The arithmetic of the strip-chart widget, kept apart from painting so that
// it can be checked number by number.

// The axis and margin values that QenGraph repairs together whenever one of
// them changes. Times are in minutes; the float storage is deliberate (the
// values round-trip through the widget's properties as floats).
struct GraphParams
{
    int lMarginPct = 10;
    int rMarginPct = 5;
    int tMarginPct = 10;
    int bMarginPct = 10;
    int vals = 1;
    float origin = 0;
    float xValEvery = 1.0f;
    float xMin = 0;
    float xSize = 0;
    float xLabelEvery = 0;
    float xTickEvery = 0;
    float yMin = 0;
    float ySize = 0;
    float yLabelEvery = 0;
    float yTickEvery = 0;
};

// Repairs inconsistent sizes, spacings and margins instead of rejecting them.
void normaliseGraphParams(GraphParams &p);

// The plot rectangle of one paint. The frame lies on the rows plotTop and
// plotBottom and on the columns plotLeft and plotRight; curves stay inside.
struct GraphLayout
{
    int plotLeft = 0;
    int plotRight = 0;
    int plotTop = 0;
    int plotBottom = 0;
    int width = 0;  // plotRight - plotLeft
    int height = 0; // plotTop - plotBottom: negative, values grow upward
    int xDir = 1;
    int yDir = -1;
    int xTickUnit = 0;   // a quarter of the bottom margin
    int yTickLength = 0; // a sixth of the room left of the plot
};

// phys is the drawing area in device pixels (XPhyZero, YPhyZero, XPhySize, YPhySize).
GraphLayout graphLayout(int graphKind, const QRect &phys, int lMarginPct, int rMarginPct,
                        int tMarginPct, int bMarginPct);

// The visible window in axis units.
struct GraphWindow
{
    double origin = 0;
    double xSize = 100;
    double yMin = 0;
    double yExtent = 10;
};

// A pixel and the time and value that pixel stands for.
struct GraphPoint
{
    QPoint pixel;
    double time = 0;
    double value = 0;
};

// Maps (t, v) to a pixel; with clamp the pixel is kept strictly inside the frame.
GraphPoint graphMapToPixel(const GraphLayout &layout, const GraphWindow &window, double t, double v,
                           bool clamp);

// Axis and readout label text: type 1 is hours:minutes of a time in minutes.
QString graphFormatLabel(int type, double x, bool integer);

// Whether the tick at t is also a label tick.
bool graphIsLabelTick(double t, double labelEvery, double tickEvery);

// The hatched MAC band: thickness by plot height, its rectangle (null when the
// MAC lies on or outside the value range) and its 8x8 pattern (LSB first).
int graphMacBandThickness(int plotHeight);
QRect graphMacBand(const GraphLayout &layout, const GraphWindow &window, double mac);
const uchar *graphMacPattern(int thickness);

// The crosshair readout for a mouse position.
struct GraphCrosshair
{
    QPoint pos; // clamped into the plot rectangle
    double time = 0;
    double value = 0;
    QRect timeBox;
};
GraphCrosshair graphCrosshair(const GraphLayout &layout, const GraphWindow &window, QPoint mouse);
// The value box ends two pixels left of the plot, at the crosshair's row.
QRect graphValueBox(const GraphLayout &layout, int y, int textWidth);

// Legibility on a large screen or a projector.
//
// The pixel size of the graph's texts (axis labels and curve letters) for a
// widget of `size` whose own font is `basePx` high: it grows with the widget
// (a 26th of its height, a 60th of its width, whichever is less), never below
// the base and never above two and a half times it.
int graphTextPixelSize(const QSize &size, int basePx);
// WCAG contrast ratio of two colours, 1 (none) to 21 (black on white).
double graphContrast(const QColor &a, const QColor &b);
// A curve whose colour stands out from the paper by less than 3:1 (yellow or
// light green on grey) is drawn with a thin edge of a dark shade of its own
// hue; this is that shade, or an invalid colour when no edge is needed.
QColor graphCurveEdge(const QColor &line, const QColor &paper);
// Where a curve letter wanted at `wanted` goes so that it overlaps none of the
// letters placed before it and stays inside `inside`: the first free place
// moving up, then down, by whole letter heights; a null rectangle when there
// is none (the letter is left out).
QRect graphPlaceLetter(const QRect &wanted, const QList<QRect> &taken, const QRect &inside);
