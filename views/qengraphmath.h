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

// The decimals that write every value label of an axis alike: enough for
// the label spacing and the first value (at most three).
int graphLabelDecimals(double labelEvery, double first);

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
// The time box under the plot is `timeBox` large (at least 30 x 15 pixels).
GraphCrosshair graphCrosshair(const GraphLayout &layout, const GraphWindow &window, QPoint mouse,
                              QSize timeBox = QSize(30, 15));
// The box that lists each curve's value at the crosshair's time: at the top
// of the plot, right of the vertical line, or left of it where the right has
// no room.
QRect graphReadoutBox(const GraphLayout &layout, int x, QSize size);
// The value at `t` on the straight line through (t0, v0) and (t1, v1).
double graphInterpolate(double t0, double v0, double t1, double v1, double t);

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
// With `always`, every curve has an edge: a line that stands out on its own
// gets a darker shade of its hue, so that all curves look equally thick.
QColor graphCurveEdge(const QColor &line, const QColor &paper, bool always = false);
// The cell of a curve letter (`cell` large, its baseline `ascent` below the
// top) for the curve point `point`: centred on the point's column and
// standing on the curve, or hanging just below it where above there is no
// room. A null rectangle when neither place is free of the letters `taken`
// and inside `inside`: the letter then waits for a later point of its curve.
QRect graphLetterOnCurve(QPoint point, QSize cell, int ascent, int lineWidth,
                         const QList<QRect> &taken, const QRect &inside);
