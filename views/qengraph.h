#pragma once

#include "views/qengraphmath.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

class QPaintDevice;
class QPainter;
struct GraphSample;

// The strip chart of the program: a time axis, a value axis, a paper-coloured
// plot, an optional hatched band at the agent's MAC, up to six curves with
// optional line letters and an optional crosshair readout.
//
// It holds no data: while painting it asks its data source for every value
// through a QenGraphEvent sent synchronously. It is configured entirely
// through properties so that forms can set it up; a batch of changes goes
// inside a Loading bracket (set Loading, change, clear Loading) so that it
// repaints once.
class QenGraph : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool ScrollEnb READ scrollEnb WRITE setScrollEnb)
    Q_PROPERTY(bool Loading READ loading WRITE setLoading)
    Q_PROPERTY(QColor Color0 READ color0 WRITE setColor0)
    Q_PROPERTY(QColor Color1 READ color1 WRITE setColor1)
    Q_PROPERTY(QColor Color2 READ color2 WRITE setColor2)
    Q_PROPERTY(QColor Color3 READ color3 WRITE setColor3)
    Q_PROPERTY(QColor Color4 READ color4 WRITE setColor4)
    Q_PROPERTY(int LMarginPct READ lMarginPct WRITE setLMarginPct)
    Q_PROPERTY(int RMarginPct READ rMarginPct WRITE setRMarginPct)
    Q_PROPERTY(int TMarginPct READ tMarginPct WRITE setTMarginPct)
    Q_PROPERTY(int BMarginPct READ bMarginPct WRITE setBMarginPct)
    Q_PROPERTY(int XPhySize READ xPhySize WRITE setXPhySize)
    Q_PROPERTY(int YPhySize READ yPhySize WRITE setYPhySize)
    Q_PROPERTY(int XPhyZero READ xPhyZero WRITE setXPhyZero)
    Q_PROPERTY(int YPhyZero READ yPhyZero WRITE setYPhyZero)
    Q_PROPERTY(double Origin READ origin WRITE setOrigin)
    Q_PROPERTY(double MAC READ mac WRITE setMac)
    Q_PROPERTY(double XVal READ xVal WRITE setXVal)
    Q_PROPERTY(double XValEvery READ xValEvery WRITE setXValEvery)
    Q_PROPERTY(int Mask READ mask WRITE setMask)
    Q_PROPERTY(int LineLabelType READ lineLabelType WRITE setLineLabelType)
    Q_PROPERTY(int LineWidth READ lineWidth WRITE setLineWidth)
    Q_PROPERTY(int Vals READ vals WRITE setVals)
    Q_PROPERTY(int XLabelType READ xLabelType WRITE setXLabelType)
    Q_PROPERTY(int YLabelType READ yLabelType WRITE setYLabelType)
    Q_PROPERTY(QColor PaperColor READ paperColor WRITE setPaperColor)
    Q_PROPERTY(double XMin READ xMin WRITE setXMin)
    Q_PROPERTY(double XSize READ xSize WRITE setXSize)
    Q_PROPERTY(double XLabelEvery READ xLabelEvery WRITE setXLabelEvery)
    Q_PROPERTY(double XTickEvery READ xTickEvery WRITE setXTickEvery)
    Q_PROPERTY(double YMin READ yMin WRITE setYMin)
    Q_PROPERTY(double YSize READ ySize WRITE setYSize)
    Q_PROPERTY(double YLabelEvery READ yLabelEvery WRITE setYLabelEvery)
    Q_PROPERTY(double YTickEvery READ yTickEvery WRITE setYTickEvery)
    Q_PROPERTY(int LabelChar0 READ labelChar0 WRITE setLabelChar0)
    Q_PROPERTY(int LabelChar1 READ labelChar1 WRITE setLabelChar1)
    Q_PROPERTY(int LabelChar2 READ labelChar2 WRITE setLabelChar2)
    Q_PROPERTY(int LabelChar3 READ labelChar3 WRITE setLabelChar3)
    Q_PROPERTY(int LabelChar4 READ labelChar4 WRITE setLabelChar4)

public:
    static constexpr int MaxLines = 6;

    explicit QenGraph(QWidget *parent = nullptr);
    ~QenGraph() override;

    bool scrollEnb() const { return m_scrollEnb; }
    void setScrollEnb(bool on) { m_scrollEnb = on; }
    bool loading() const { return m_loading; }
    void setLoading(bool on);

    // Lines 0..5; line 5 has no property of its own.
    QColor lineColor(int line) const;
    void setLineColor(int line, const QColor &color);
    // Solid unless set: a second line of the same colour can be told apart.
    Qt::PenStyle lineStyle(int line) const { return m_styles[validLine(line)]; }
    void setLineStyle(int line, Qt::PenStyle style);
    QColor color0() const { return lineColor(0); }
    QColor color1() const { return lineColor(1); }
    QColor color2() const { return lineColor(2); }
    QColor color3() const { return lineColor(3); }
    QColor color4() const { return lineColor(4); }
    void setColor0(const QColor &c) { setLineColor(0, c); }
    void setColor1(const QColor &c) { setLineColor(1, c); }
    void setColor2(const QColor &c) { setLineColor(2, c); }
    void setColor3(const QColor &c) { setLineColor(3, c); }
    void setColor4(const QColor &c) { setLineColor(4, c); }

    int lMarginPct() const { return m_p.lMarginPct; }
    int rMarginPct() const { return m_p.rMarginPct; }
    int tMarginPct() const { return m_p.tMarginPct; }
    int bMarginPct() const { return m_p.bMarginPct; }
    void setLMarginPct(int pct);
    void setRMarginPct(int pct);
    void setTMarginPct(int pct);
    void setBMarginPct(int pct);

    int xPhySize() const { return m_xPhySize; }
    int yPhySize() const { return m_yPhySize; }
    int xPhyZero() const { return m_xPhyZero; }
    int yPhyZero() const { return m_yPhyZero; }
    void setXPhySize(int px) { m_xPhySize = px; }
    void setYPhySize(int px) { m_yPhySize = px; }
    void setXPhyZero(int px) { m_xPhyZero = px; }
    void setYPhyZero(int px) { m_yPhyZero = px; }

    double origin() const { return m_p.origin; }
    void setOrigin(double minutes);
    double mac() const { return m_mac; }
    void setMac(double value);
    double xVal() const { return m_xVal; }
    void setXVal(double minutes);
    double xValEvery() const { return m_p.xValEvery; }
    void setXValEvery(double minutes);
    int mask() const { return m_mask; }
    void setMask(int bits) { m_mask = bits; }
    int lineLabelType() const { return m_lineLabelType; }
    void setLineLabelType(int type);
    int lineWidth() const { return m_lineWidth; }
    void setLineWidth(int px);
    // Every curve with a thin edge, not only those that stand out too little.
    bool edgeAllCurves() const { return m_edgeAll; }
    void setEdgeAllCurves(bool on);
    int vals() const { return m_p.vals; }
    void setVals(int lines);
    int xLabelType() const { return m_xLabelType; }
    void setXLabelType(int type);
    int yLabelType() const { return m_yLabelType; }
    void setYLabelType(int type);
    QColor paperColor() const { return m_paperColor; }
    void setPaperColor(const QColor &color);

    double xMin() const { return m_p.xMin; }
    void setXMin(double minutes);
    double xSize() const { return m_p.xSize; }
    void setXSize(double minutes);
    double xLabelEvery() const { return m_p.xLabelEvery; }
    void setXLabelEvery(double minutes);
    double xTickEvery() const { return m_p.xTickEvery; }
    void setXTickEvery(double minutes);
    double yMin() const { return m_p.yMin; }
    void setYMin(double value);
    double ySize() const { return m_p.ySize; }
    void setYSize(double value);
    double yLabelEvery() const { return m_p.yLabelEvery; }
    void setYLabelEvery(double value);
    double yTickEvery() const { return m_p.yTickEvery; }
    void setYTickEvery(double value);

    // Lines 0..5; line 5 has no property of its own.
    int labelChar(int line) const;
    void setLabelChar(int line, int character);
    int labelChar0() const { return labelChar(0); }
    int labelChar1() const { return labelChar(1); }
    int labelChar2() const { return labelChar(2); }
    int labelChar3() const { return labelChar(3); }
    int labelChar4() const { return labelChar(4); }
    void setLabelChar0(int c) { setLabelChar(0, c); }
    void setLabelChar1(int c) { setLabelChar(1, c); }
    void setLabelChar2(int c) { setLabelChar(2, c); }
    void setLabelChar3(int c) { setLabelChar(3, c); }
    void setLabelChar4(int c) { setLabelChar(4, c); }

    // 0 strip graph, 1 compartment graph, 2 overlay graph. Kinds other than 0
    // have a crosshair.
    int graphKind() const { return m_graphKind; }
    void setGraphKind(int kind);
    bool crosshairShown() const { return m_crosshairShown; }
    void setCrosshairShown(bool shown);
    QPoint crosshairPos() const { return m_crosshairPos; }
    // The readout boxes of the last paint with the crosshair shown: the time
    // under the plot, and the list of each curve's value at that time.
    QRect timeBox() const { return m_timeBox; }
    QRect valueBox() const { return m_valueBox; }
    // Each line's value at the crosshair's time in that paint (NaN: none).
    QList<double> crosshairValues() const { return m_readout; }

    int zoom() const { return m_zoom; }
    void setZoom(int zoom);

    QObject *dataSource() const { return m_dataSource; }
    void setDataSource(QObject *source);

    // Where paints go; nullptr means the widget itself. While redirected
    // (report rendering) the caller sets XPhyZero/YPhyZero/XPhySize/YPhySize.
    QPaintDevice *paintTarget() const { return m_paintTarget; }
    void setPaintTarget(QPaintDevice *device) { m_paintTarget = device; }
    // Paints now on a redirected target; repaints the widget otherwise.
    void drawGraph();

    // The plot rectangle for the current physical area and margins.
    GraphLayout layout() const;
    GraphWindow window() const;
    GraphPoint mapToPixel(double t, double v, bool clamp) const;

    // Times of the first and last point drawn inside the plot for a line in
    // the last paint; min > max when none was.
    double drawnFrom(int line) const { return m_drawnMin[validLine(line)]; }
    double drawnTo(int line) const { return m_drawnMax[validLine(line)]; }

    // Forgets the value kept from the previous paint, for a data source whose
    // data changed under the same times.
    void invalidateCache() { m_cacheValid = false; }

    // True when line letters go on this paint device.
    bool lineLettersOn(const QPaintDevice *device) const;

    QSize minimumSizeHint() const override;
    // The font of the axis labels and curve letters as painted on screen.
    QFont textFont() const;

public slots:
    // Vertical panning of the compartment graph: the slider counts tenths.
    void scrollMoved(int x);

signals:
    void beginDrawLines();
    void endDrawLines();
    void zoomChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    static int validLine(int line) { return line < 0 ? 0 : line >= MaxLines ? MaxLines - 1 : line; }
    void normalise();
    void normaliseAndRepaint();
    void repaintUnlessLoading();
    void paintOn(QPaintDevice *device);
    void drawMacBand(QPainter &painter, const GraphLayout &g);
    void drawXAxis(QPainter &painter, const GraphLayout &g);
    void drawYAxis(QPainter &painter, const GraphLayout &g);
    void drawCrosshair(QPainter &painter, const GraphLayout &g);
    // The crosshair's list of each curve's value (NaN: none) at its time.
    void drawReadout(QPainter &painter, const GraphLayout &g, const double *values);
    void drawCurves(QPainter &painter, const GraphLayout &g, QPaintDevice *device);
    GraphSample ask(float time, int line, float previous);
    QString yLabelText(double v) const;

    GraphParams m_p;
    bool m_scrollEnb = false;
    bool m_loading = false;
    QColor m_colors[MaxLines];
    Qt::PenStyle m_styles[MaxLines] = {Qt::SolidLine, Qt::SolidLine, Qt::SolidLine,
                                       Qt::SolidLine, Qt::SolidLine, Qt::SolidLine};
    int m_xPhySize = 0;
    int m_yPhySize = 0;
    int m_xPhyZero = 0;
    int m_yPhyZero = 0;
    float m_mac = 0;
    float m_xVal = 0;
    int m_mask = 0;
    int m_lineLabelType = 0;
    int m_lineWidth = 1;
    bool m_edgeAll = false;
    int m_xLabelType = 1;
    int m_yLabelType = 0;
    QColor m_paperColor{192, 192, 192};
    int m_labelChars[MaxLines] = {'1', '2', '3', '4', '5', '6'};

    float m_yExtent = 10;
    int m_graphKind = 0;
    bool m_crosshairShown = false;
    QPoint m_crosshairPos;
    double m_crosshairTime = 0;
    QList<double> m_readout;
    QRect m_timeBox{QPoint(0, 0), QPoint(14, 9)};
    QRect m_valueBox{QPoint(0, 0), QPoint(14, 9)};
    int m_zoom = 1;
    QPointer<QObject> m_dataSource;
    QPaintDevice *m_paintTarget = nullptr;

    float m_lastLabelTime[MaxLines] = {};
    float m_lastValue[MaxLines] = {};
    bool m_cacheValid = false;
    bool m_cacheMarker = false; // the cached point of a single-line graph was a marker
    double m_cacheTime = 0;
    double m_drawnMin[MaxLines] = {};
    double m_drawnMax[MaxLines] = {};
};
