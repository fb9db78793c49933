#include "views/qengraph.h"
#include "views/qengraphevent.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QTest>

#include <cmath>
#include <functional>

namespace {

// Answers each request through a function of (time, line) and records it.
class Source : public QObject
{
public:
    std::function<void(GraphSample &)> answer = [](GraphSample &s) {
        s.value = 5;
    };
    QList<GraphSample> asked;

    bool event(QEvent *e) override
    {
        if (e->type() != QenGraphEventType)
            return QObject::event(e);
        GraphSample *s = static_cast<QenGraphEvent *>(e)->sample();
        asked.append(*s);
        answer(*s);
        return true;
    }
};

// A paint device that draws nothing and records the texts painted on it, with
// the colour depth of a screen or of a two-colour printer.
class TextRecorder : public QPaintDevice
{
    class Engine : public QPaintEngine
    {
    public:
        explicit Engine(QStringList *texts) : QPaintEngine(AllFeatures), m_texts(texts) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override {}
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawPath(const QPainterPath &) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF &, const QTextItem &item) override
        {
            m_texts->append(item.text());
        }
        Type type() const override { return User; }

    private:
        QStringList *m_texts;
    };

public:
    explicit TextRecorder(int depth) : m_depth(depth), m_engine(&texts) {}
    QStringList texts;
    QPaintEngine *paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return 400;
        case PdmHeight:
            return 300;
        case PdmWidthMM:
        case PdmHeightMM:
            return 100;
        case PdmNumColors:
            return m_depth == 1 ? 2 : INT_MAX;
        case PdmDepth:
            return m_depth;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    int m_depth;
    mutable Engine m_engine;
};

QImage render(QenGraph &g)
{
    QImage image(g.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    g.render(&image);
    return image;
}

bool isBlack(QRgb p)
{
    return qRed(p) < 40 && qGreen(p) < 40 && qBlue(p) < 40;
}

bool isRedLine(QRgb p)
{
    return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60;
}

// A compartment-style set-up with no axes, so that only paper, band and curves show.
void plain(QenGraph &g, QSize size)
{
    g.resize(size);
    g.setXSize(15);
    g.setYSize(10);
    g.setXValEvery(15.0 / 89);
}

} // namespace

class TestQenGraph : public QObject
{
    Q_OBJECT

private slots:
    // Rows: properties set in order ("Name=value"), then the values expected.
    // Texts grow with the graph within bounds: a 26th of the height or a
    // 60th of the width, from the widget's own size up to 2.5 times it.
    void textPixelSize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("expected");
        QTest::newRow("smallest graph view") << QSize(395, 320) << 11;
        QTest::newRow("thin strip") << QSize(1800, 90) << 11;
        QTest::newRow("maximised compartment graph") << QSize(1800, 700) << 26;
        QTest::newRow("wide, height decides") << QSize(1800, 520) << 20;
        QTest::newRow("tall, width decides") << QSize(960, 900) << 16;
        QTest::newRow("huge, capped") << QSize(4000, 2000) << 27;
    }
    void textPixelSize()
    {
        QFETCH(QSize, size);
        QFETCH(int, expected);
        QCOMPARE(graphTextPixelSize(size, 11), expected);
    }

    // Contrast ratios by hand from the sRGB luminances: yellow 0.9278,
    // green 0.7152, grey 192 0.5271, black 0, white 1.
    void contrastAndEdges_data()
    {
        QTest::addColumn<QColor>("line");
        QTest::addColumn<double>("contrast");
        QTest::addColumn<bool>("edged");
        QTest::newRow("yellow") << QColor(255, 255, 0) << 1.694 << true;
        QTest::newRow("green") << QColor(0, 255, 0) << 1.326 << true;
        QTest::newRow("dark red") << QColor(128, 0, 0) << 6.02 << false;
        QTest::newRow("black") << QColor(0, 0, 0) << 11.54 << false;
        QTest::newRow("white") << QColor(255, 255, 255) << 1.819 << true;
    }
    void contrastAndEdges()
    {
        QFETCH(QColor, line);
        QFETCH(double, contrast);
        QFETCH(bool, edged);
        const QColor paper(192, 192, 192);
        QVERIFY(std::fabs(graphContrast(line, paper) - contrast) < 0.02);
        QCOMPARE(graphContrast(line, paper), graphContrast(paper, line));
        QVERIFY(std::fabs(graphContrast(Qt::black, Qt::white) - 21.0) < 1e-9);
        const QColor edge = graphCurveEdge(line, paper);
        QCOMPARE(edge.isValid(), edged);
        if (edged) {
            QVERIFY(graphContrast(edge, paper) >= 4.5);
            // A shade of the line's own hue (white and black have none).
            QCOMPARE(edge.hsvHue(), line.hsvHue());
        }
    }

    // A letter stands on its curve (baseline two pixels above a one-pixel
    // line, centred on the point), hangs below it where above is taken or
    // outside, and waits where both are.
    void lettersStandOnTheirCurve_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("lineWidth");
        QTest::addColumn<QList<QRect>>("taken");
        QTest::addColumn<QRect>("cell");
        const QSize size(9, 14);
        QTest::newRow("above") << QPoint(100, 60) << 1 << QList<QRect>{}
                               << QRect(QPoint(96, 47), size);
        QTest::newRow("above a thick line")
            << QPoint(100, 60) << 4 << QList<QRect>{} << QRect(QPoint(96, 46), size);
        QTest::newRow("above taken") << QPoint(100, 60) << 1 << QList<QRect>{QRect(90, 40, 9, 9)}
                                     << QRect(QPoint(96, 63), size);
        QTest::newRow("at the top")
            << QPoint(200, 15) << 1 << QList<QRect>{} << QRect(QPoint(196, 18), size);
        QTest::newRow("no room") << QPoint(100, 60) << 1
                                 << QList<QRect>{QRect(96, 50, 9, 1), QRect(96, 70, 9, 1)}
                                 << QRect();
    }
    void lettersStandOnTheirCurve()
    {
        QFETCH(QPoint, point);
        QFETCH(int, lineWidth);
        QFETCH(QList<QRect>, taken);
        QFETCH(QRect, cell);
        const QRect inside(51, 11, 300, 120);
        QCOMPARE(graphLetterOnCurve(point, QSize(9, 14), 11, lineWidth, taken, inside), cell);
    }

    // Every curve drawn alike: with edges on all curves a dark line is as thick
    // as a light one, which has its edge anyway.
    void edgesAlike_data()
    {
        QTest::addColumn<bool>("all");
        QTest::newRow("overlay") << true;
        QTest::newRow("compartments") << false;
    }
    void edgesAlike()
    {
        QFETCH(bool, all);
        Source source;
        source.answer = [](GraphSample &s) {
            s.value = s.value < 0.5f ? 3 : 7;
        };
        QenGraph g;
        g.resize(400, 300);
        g.setVals(2);
        g.setXSize(15);
        g.setXValEvery(15.0 / 89);
        g.setDataSource(&source);
        g.setLineColor(0, QColor(0, 0, 139));   // dark blue: enough contrast alone
        g.setLineColor(1, QColor(255, 255, 0)); // yellow: needs an edge
        g.setEdgeAllCurves(all);
        g.setXVal(12);
        const QImage image = g.grab().toImage();
        auto thickness = [&](double value) {
            const QPoint p = g.mapToPixel(6, value, true).pixel;
            int n = 0;
            for (int y = p.y() - 6; y <= p.y() + 6; ++y)
                n += image.pixelColor(p.x(), y) != g.paperColor();
            return n;
        };
        QCOMPARE(thickness(7), 3);
        QCOMPARE(thickness(3), all ? 3 : 1);
    }

    void labelDecimals_data()
    {
        QTest::addColumn<double>("labelEvery");
        QTest::addColumn<double>("first");
        QTest::addColumn<int>("decimals");
        QTest::newRow("whole") << 5.0 << 0.0 << 0;
        QTest::newRow("halves") << 0.5 << 0.0 << 1;
        QTest::newRow("0.4") << 0.4 << 0.0 << 1;
        QTest::newRow("0.05") << 0.05 << 0.0 << 2;
        QTest::newRow("0.05 as float") << double(0.05f) << 0.0 << 2;
        QTest::newRow("0.025") << 0.025 << 0.0 << 3;
        QTest::newRow("from 0.5") << 1.0 << 0.5 << 1;
        QTest::newRow("at most three") << 1.0 / 3 << 0.0 << 3;
    }
    void labelDecimals()
    {
        QFETCH(double, labelEvery);
        QFETCH(double, first);
        QFETCH(int, decimals);
        QCOMPARE(graphLabelDecimals(labelEvery, first), decimals);
    }

    // The overlay's value axis writes all its labels with as many decimals.
    void overlayLabelsAlike()
    {
        QenGraph g;
        g.resize(400, 300);
        g.setGraphKind(2);
        g.setYSize(0.10001);
        g.setYLabelEvery(0.05);
        g.setYTickEvery(0.025);
        TextRecorder screen(32);
        g.setPaintTarget(&screen);
        g.setXPhySize(400);
        g.setYPhySize(300);
        g.drawGraph();
        g.setPaintTarget(nullptr);
        QVERIFY(screen.texts.contains("0.00"));
        QVERIFY(screen.texts.contains("0.05"));
        QVERIFY(screen.texts.contains("0.10"));
        QVERIFY(!screen.texts.contains("0.1"));
    }

    // A light curve on the paper is framed by the dark shade of its hue.
    void lightCurveHasADarkEdge()
    {
        Source source;
        source.answer = [](GraphSample &s) {
            s.value = 5;
        };
        QenGraph g;
        g.resize(400, 300);
        g.setXSize(15);
        g.setXValEvery(15.0 / 89);
        g.setDataSource(&source);
        g.setLineColor(0, QColor(255, 255, 0));
        g.setXVal(12);
        const QImage image = g.grab().toImage();
        const GraphPoint p = g.mapToPixel(6, 5, true);
        const QColor edge = graphCurveEdge(QColor(255, 255, 0), g.paperColor());
        QCOMPARE(image.pixelColor(p.pixel), QColor(255, 255, 0));
        QCOMPARE(image.pixelColor(p.pixel + QPoint(0, -1)).rgb(), edge.rgb());
        QCOMPARE(image.pixelColor(p.pixel + QPoint(0, 1)).rgb(), edge.rgb());
        QCOMPARE(image.pixelColor(p.pixel + QPoint(0, 3)), g.paperColor());
    }

    void normalise_data()
    {
        QTest::addColumn<QStringList>("set");
        QTest::addColumn<QStringList>("expect");
        auto row = [](const char *name, const char *set, const char *expect) {
            QTest::newRow(name) << QString::fromLatin1(set).split(' ')
                                << QString::fromLatin1(expect).split(' ');
        };
        row("defaults", "Vals=1", "XSize=100 YSize=10 XValEvery=1 LMarginPct=10 RMarginPct=5");
        row("XSize zero", "XSize=0", "XSize=100");
        row("XSize negative", "XSize=-3", "XSize=100");
        row("YSize zero", "YSize=0", "YSize=10");
        row("YSize negative", "YSize=-1", "YSize=10");
        row("Vals above six", "Vals=9", "Vals=6");
        row("label under a tenth", "XLabelEvery=7", "XLabelEvery=100 XTickEvery=100");
        row("label above size", "XSize=15 XLabelEvery=20", "XLabelEvery=15");
        row("tick divides", "XLabelEvery=20 XTickEvery=5", "XLabelEvery=20 XTickEvery=5");
        row("tick not dividing", "XLabelEvery=20 XTickEvery=3", "XTickEvery=4");
        row("tick too fine", "XLabelEvery=20 XTickEvery=0.1", "XTickEvery=4");
        row("tick above label", "XLabelEvery=20 XTickEvery=40", "XTickEvery=4");
        row("tick without label", "XTickEvery=5", "XTickEvery=0");
        row("Y tick 2 of 15", "YSize=15 YLabelEvery=15 YTickEvery=2", "YTickEvery=3");
        row("Y tick 20 of 150", "YSize=150 YLabelEvery=150 YTickEvery=20", "YTickEvery=30");
        row("Y tick 5 of 25", "YSize=25 YLabelEvery=25 YTickEvery=5", "YTickEvery=5");
        row("Y tick 20 of 100", "YSize=100 YLabelEvery=100 YTickEvery=20", "YTickEvery=20");
        row("step above tick", "XSize=15 XLabelEvery=5 XTickEvery=1 XValEvery=2", "XValEvery=1");
        row("step above size", "XSize=15 XValEvery=20", "XValEvery=15");
        row("step zero", "XSize=15 XValEvery=0", "XValEvery=15");
        row("step fine", "XSize=15 XLabelEvery=5 XTickEvery=1 XValEvery=0.25", "XValEvery=0.25");
        row("left margin low", "LMarginPct=2", "LMarginPct=5");
        row("left margin high", "LMarginPct=80", "LMarginPct=75");
        row("bottom margin low", "BMarginPct=-4", "BMarginPct=5");
        row("right margin negative", "RMarginPct=-3", "RMarginPct=0");
        row("right margin over 50", "RMarginPct=60", "RMarginPct=50");
        row("right margin past left", "LMarginPct=75 RMarginPct=40", "RMarginPct=15");
        row("top margin past bottom", "BMarginPct=70 TMarginPct=30", "TMarginPct=20");
        row("origin below XMin", "Origin=2 XMin=5", "Origin=5");
        row("origin set below XMin", "XMin=5 Origin=2", "Origin=5");
        row("origin above XMin", "XMin=5 Origin=8", "Origin=8");
    }

    void normalise()
    {
        QFETCH(QStringList, set);
        QFETCH(QStringList, expect);
        QenGraph g;
        for (const QString &s : set) {
            const QStringList kv = s.split('=');
            QVERIFY2(g.setProperty(kv[0].toLatin1(), kv[1].toDouble()), qPrintable(kv[0]));
        }
        for (const QString &s : expect) {
            const QStringList kv = s.split('=');
            const QVariant v = g.property(kv[0].toLatin1());
            QVERIFY2(v.isValid(), qPrintable(kv[0]));
            QVERIFY2(std::fabs(v.toDouble() - kv[1].toDouble()) < 1e-5,
                     qPrintable(kv[0] + ": " + v.toString()));
        }
    }

    void formatLabel_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<double>("x");
        QTest::addColumn<bool>("integer");
        QTest::addColumn<QString>("text");
        QTest::newRow("0 min") << 1 << 0.0 << false << " 0:00";
        QTest::newRow("65 min") << 1 << 65.0 << false << " 1:05";
        QTest::newRow("600 min") << 1 << 600.0 << false << "10:00";
        QTest::newRow("fraction of a minute") << 1 << 5.9 << false << " 0:05";
        QTest::newRow("integer") << 0 << 2.7 << true << "2";
        QTest::newRow("one decimal") << 0 << 2.56 << false << "2.6";
        QTest::newRow("above 1000") << 0 << 1500.7 << false << "1500";
        QTest::newRow("at 1000") << 0 << 1000.0 << false << "1000.0";
    }

    void formatLabel()
    {
        QFETCH(int, type);
        QFETCH(double, x);
        QFETCH(bool, integer);
        QFETCH(QString, text);
        QCOMPARE(graphFormatLabel(type, x, integer), text);
    }

    void plotRectangle()
    {
        // 400 x 320 with margins 10/5/10/10, worked by hand.
        const GraphLayout g = graphLayout(0, QRect(0, 0, 400, 320), 10, 5, 10, 10);
        QCOMPARE(g.plotLeft, 50);
        QCOMPARE(g.plotRight, 39 + 340);
        QCOMPARE(g.plotBottom, 288);
        QCOMPARE(g.height, -256);
        QCOMPARE(g.plotTop, 32);
        QCOMPARE(g.width, 329);
        QCOMPARE(g.yDir, -1);
        QCOMPARE(g.xTickUnit, 8);
        QCOMPARE(g.yTickLength, 8);
        QCOMPARE(graphLayout(2, QRect(0, 0, 400, 320), 10, 5, 10, 10).plotLeft, 60);
        // A drawing area away from the device's corner moves the whole plot.
        const GraphLayout moved = graphLayout(0, QRect(100, 40, 400, 320), 10, 5, 10, 10);
        QCOMPARE(moved.plotLeft, 150);
        QCOMPARE(moved.plotRight, 479);
        QCOMPARE(moved.plotTop, 72);
        QCOMPARE(moved.yTickLength, 8);
    }

    void mapToPixel_data()
    {
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("v");
        QTest::addColumn<bool>("clamp");
        QTest::addColumn<QPoint>("pixel");
        QTest::newRow("origin") << 0.0 << 0.0 << false << QPoint(50, 288);
        QTest::newRow("origin clamped") << 0.0 << 0.0 << true << QPoint(51, 287);
        QTest::newRow("middle") << 50.0 << 5.0 << true << QPoint(50 + 165, 160);
        QTest::newRow("top right") << 100.0 << 10.0 << false << QPoint(379, 32);
        QTest::newRow("top right clamped") << 100.0 << 10.0 << true << QPoint(378, 33);
        QTest::newRow("far outside clamped") << 1e9 << -1e9 << true << QPoint(378, 287);
    }

    void mapToPixel()
    {
        QFETCH(double, t);
        QFETCH(double, v);
        QFETCH(bool, clamp);
        QFETCH(QPoint, pixel);
        const GraphLayout g = graphLayout(0, QRect(0, 0, 400, 320), 10, 5, 10, 10);
        const GraphWindow w{0, 100, 0, 10};
        const GraphPoint p = graphMapToPixel(g, w, t, v, clamp);
        QCOMPARE(p.pixel, pixel);
        // The time and value returned are those of the pixel.
        QVERIFY(std::fabs(p.time - (pixel.x() - 50) * 100.0 / 329) < 1e-9);
        QVERIFY(std::fabs(p.value - (pixel.y() - 288) * 10.0 / -256) < 1e-9);
    }

    void macBand_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<double>("mac");
        QTest::addColumn<int>("thickness");
        QTest::addColumn<bool>("drawn");
        // Plot height = (80 % of the widget height, rounded) - 1.
        QTest::newRow("150 exactly") << 189 << 5.0 << 3 << true;
        QTest::newRow("just above 150") << 190 << 5.0 << 6 << true;
        QTest::newRow("320 high") << 320 << 5.0 << 6 << true;
        QTest::newRow("300 exactly") << 376 << 5.0 << 6 << true;
        QTest::newRow("just above 300") << 377 << 5.0 << 16 << true;
        QTest::newRow("near the top") << 377 << 9.99 << 16 << true;
        QTest::newRow("near the bottom") << 190 << 0.01 << 6 << true;
        QTest::newRow("at YMin") << 320 << 0.0 << 6 << false;
        QTest::newRow("at the top") << 320 << 10.0 << 6 << false;
    }

    void macBand()
    {
        QFETCH(int, height);
        QFETCH(double, mac);
        QFETCH(int, thickness);
        QFETCH(bool, drawn);
        QenGraph g;
        plain(g, QSize(300, height));
        g.setMac(mac);
        const QImage image = render(g);
        const GraphLayout l = g.layout();
        QCOMPARE(graphMacBandThickness(l.plotBottom - l.plotTop - 1), thickness);
        const QRect band = graphMacBand(l, g.window(), mac);
        QCOMPARE(!band.isNull(), drawn);
        if (drawn) {
            QCOMPARE(band.height(), thickness);
            QVERIFY(band.top() > l.plotTop && band.bottom() < l.plotBottom);
        }
        const uchar *pattern = graphMacPattern(thickness);
        int wrong = 0;
        for (int y = l.plotTop + 1; y < l.plotBottom; ++y) {
            for (int x = l.plotLeft + 1; x < l.plotRight; ++x) {
                const bool set = band.contains(x, y) && (pattern[y % 8] >> (x % 8) & 1);
                if (isBlack(image.pixel(x, y)) != set)
                    ++wrong;
            }
        }
        QCOMPARE(wrong, 0);
    }

    void macBandAtShiftedYMin()
    {
        QenGraph g;
        plain(g, QSize(300, 320));
        g.setYMin(2);
        for (double mac : {2.0, 12.0}) {
            g.setMac(mac);
            QVERIFY(graphMacBand(g.layout(), g.window(), mac).isNull());
        }
        g.setMac(7);
        QVERIFY(!graphMacBand(g.layout(), g.window(), 7).isNull());
    }

    void axesReachTheirLastTick()
    {
        // Tenths do not add up exactly in floating point; the last tick must still show.
        QenGraph g;
        g.resize(400, 320);
        g.setXSize(1.5);
        g.setXLabelEvery(0.5);
        g.setXTickEvery(0.1);
        g.setYSize(1.5);
        g.setYLabelEvery(0.5);
        g.setYTickEvery(0.1);
        QCOMPARE(g.xTickEvery(), 0.1f);
        const QImage image = render(g);
        const GraphLayout l = g.layout();
        QVERIFY(isBlack(image.pixel(l.plotLeft - 3, l.plotTop)));
        QVERIFY(isBlack(image.pixel(l.plotRight, l.plotBottom + 2)));
    }

    void gapStartsNewPolyline()
    {
        Source source;
        source.answer = [](GraphSample &s) {
            if (s.time > 4 && s.time < 6)
                s.time = -1;
            s.value = s.time < 5 ? 2 : 8;
        };
        QenGraph g;
        plain(g, QSize(400, 320));
        g.setColor0(Qt::red);
        g.setDataSource(&source);
        g.setXVal(10);
        const QImage image = render(g);
        const GraphLayout l = g.layout();

        auto redInColumn = [&](double t) {
            const int x = g.mapToPixel(t, 0, true).pixel.x();
            for (int y = l.plotTop + 1; y < l.plotBottom; ++y)
                if (isRedLine(image.pixel(x, y)))
                    return true;
            return false;
        };
        QVERIFY(redInColumn(3));
        QVERIFY(redInColumn(7));
        // Nothing bridges the gap, not even a line from the last value to the next.
        QVERIFY(!redInColumn(4.5));
        QVERIFY(!redInColumn(5.5));
        QVERIFY(isRedLine(image.pixel(g.mapToPixel(3, 2, true).pixel)));
        QVERIFY(isRedLine(image.pixel(g.mapToPixel(7, 8, true).pixel)));

        // Extra carries the previous point's time; after a gap (and at first) the sample's own.
        QVERIFY(!source.asked.isEmpty());
        QCOMPARE(source.asked.first().extra, source.asked.first().time);
        int restarts = 0;
        for (int i = 1; i < source.asked.size(); ++i) {
            const GraphSample &s = source.asked[i];
            const GraphSample &before = source.asked[i - 1];
            const bool afterGap = before.time > 4 && before.time < 6;
            QCOMPARE(s.extra, afterGap ? s.time : before.time);
            if (afterGap && !(s.time > 4 && s.time < 6))
                ++restarts;
            QVERIFY(s.time <= 10.0f);
            QCOMPARE(s.value, 0.0f);
        }
        QCOMPARE(restarts, 1);
        QVERIFY(g.drawnFrom(0) < 0.2 && g.drawnTo(0) > 9.8);
    }

    // A dashed line leaves gaps along a flat stretch that a solid one fills;
    // both are drawn in the line's colour.
    void dashedLineHasGaps_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("gaps");
        QTest::newRow("solid") << int(Qt::SolidLine) << false;
        QTest::newRow("dashed") << int(Qt::DashLine) << true;
    }
    void dashedLineHasGaps()
    {
        QFETCH(int, style);
        QFETCH(bool, gaps);
        Source source;
        source.answer = [](GraphSample &s) {
            s.value = 6;
        };
        QenGraph g;
        plain(g, QSize(400, 320));
        g.setColor0(Qt::red);
        g.setLineWidth(2);
        g.setLineStyle(0, Qt::PenStyle(style));
        QCOMPARE(g.lineStyle(0), Qt::PenStyle(style));
        g.setDataSource(&source);
        g.setXVal(15);
        const QImage image = render(g);
        const GraphLayout l = g.layout();
        const int y = g.mapToPixel(7, 6, true).pixel.y();
        int red = 0;
        int missing = 0;
        for (int x = l.plotLeft + 20; x < l.plotRight - 20; ++x) {
            bool hit = false;
            for (int dy = -2; dy <= 2; ++dy)
                hit = hit || isRedLine(image.pixel(x, y + dy));
            (hit ? red : missing)++;
        }
        QVERIFY2(red > 100, qPrintable(QString::number(red)));
        QCOMPARE(missing > 20, gaps);
    }

    void lineLetters_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("vals");
        QTest::addColumn<bool>("letters");
        QTest::newRow("auto, two-colour printer") << 2 << 1 << 2 << true;
        QTest::newRow("auto, screen") << 2 << 32 << 2 << false;
        QTest::newRow("on, screen") << 1 << 32 << 2 << true;
        QTest::newRow("off, two-colour printer") << 0 << 1 << 2 << false;
        QTest::newRow("auto, single line") << 2 << 1 << 1 << false;
    }

    void lineLetters()
    {
        QFETCH(int, type);
        QFETCH(int, depth);
        QFETCH(int, vals);
        QFETCH(bool, letters);
        Source source;
        QenGraph g;
        g.setXSize(15);
        g.setXValEvery(15.0 / 89);
        g.setVals(vals);
        g.setLineLabelType(type);
        g.setDataSource(&source);
        g.setXVal(12);
        TextRecorder device(depth);
        g.setPaintTarget(&device);
        g.setXPhySize(400);
        g.setYPhySize(300);
        g.drawGraph();
        QVERIFY(!source.asked.isEmpty());
        if (letters) {
            QVERIFY(device.texts.contains("1"));
            QVERIFY(device.texts.contains("2"));
        } else {
            QVERIFY2(device.texts.isEmpty(), qPrintable(device.texts.join(',')));
        }
    }

    void caretMarksEvent()
    {
        Source source;
        source.answer = [](GraphSample &s) {
            if (std::fabs(s.time - 5) < 0.08)
                s.time = -2;
            s.value = 5;
        };
        QenGraph g;
        g.setXSize(15);
        g.setXValEvery(15.0 / 151);
        g.setDataSource(&source);
        g.setXVal(12);
        TextRecorder device(32);
        g.setPaintTarget(&device);
        g.setXPhySize(400);
        g.setYPhySize(100);
        g.drawGraph();
        QCOMPARE(device.texts, QStringList{"^"});
    }

    void cacheKeepsLastValueUntilReconfigured()
    {
        Source source;
        QenGraph g;
        plain(g, QSize(400, 320));
        g.setDataSource(&source);
        g.setXVal(10);
        render(g);
        const float last = source.asked.last().time;
        source.asked.clear();
        render(g);
        QVERIFY(!source.asked.isEmpty());
        for (const GraphSample &s : source.asked)
            QVERIFY(s.time != last);
        g.setYMin(1);
        source.asked.clear();
        render(g);
        QCOMPARE(source.asked.last().time, last);
    }

    void crosshairReadout_data()
    {
        QTest::addColumn<QPoint>("mouse");
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<double>("time");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("boxLeft");
        QTest::newRow("middle") << QPoint(214, 160) << QPoint(214, 160) << 164 * 100.0 / 329 << 5.0
                                << 209;
        QTest::newRow("near the right")
            << QPoint(370, 160) << QPoint(370, 160) << 320 * 100.0 / 329 << 5.0 << 349;
        QTest::newRow("near the left")
            << QPoint(52, 288) << QPoint(52, 288) << 200.0 / 329 << 0.0 << 50;
        QTest::newRow("outside") << QPoint(-20, 900) << QPoint(50, 288) << 0.0 << 0.0 << 50;
        QTest::newRow("above") << QPoint(100, 0) << QPoint(100, 32) << 5000.0 / 329 << 10.0 << 95;
    }

    void crosshairReadout()
    {
        QFETCH(QPoint, mouse);
        QFETCH(QPoint, pos);
        QFETCH(double, time);
        QFETCH(double, value);
        QFETCH(int, boxLeft);
        const GraphLayout g = graphLayout(1, QRect(0, 0, 400, 320), 10, 5, 10, 10);
        const GraphCrosshair c = graphCrosshair(g, GraphWindow{0, 100, 0, 10}, mouse);
        QCOMPARE(c.pos, pos);
        QVERIFY(std::fabs(c.time - time) < 1e-9);
        QVERIFY(std::fabs(c.value - value) < 1e-9);
        QCOMPARE(c.timeBox, QRect(QPoint(boxLeft, 289), QPoint(boxLeft + 29, 303)));
    }

    void crosshairReadoutBox()
    {
        const GraphLayout g = graphLayout(1, QRect(0, 0, 400, 320), 10, 5, 10, 10);
        // Right of the line at the top of the plot; left of it where the right
        // has no room.
        QCOMPARE(graphReadoutBox(g, 100, QSize(60, 40)), QRect(106, g.plotTop + 2, 60, 40));
        QCOMPARE(graphReadoutBox(g, 350, QSize(60, 40)), QRect(284, g.plotTop + 2, 60, 40));
        // The time box grows with its text, and stays inside at the right.
        const GraphCrosshair c =
            graphCrosshair(g, GraphWindow{0, 100, 0, 10}, QPoint(370, 160), QSize(48, 22));
        QCOMPARE(c.timeBox, QRect(g.plotRight - 48, 289, 48, 22));
        QCOMPARE(graphInterpolate(2, 1, 4, 3, 3.5), 2.5);
        QCOMPARE(graphInterpolate(2, 1, 2, 3, 2), 3.0);
        // A value below zero (panned axis) reads 0.
        QCOMPARE(graphCrosshair(g, GraphWindow{0, 100, -5, 10}, QPoint(60, 288)).value, 0.0);
    }

    // The crosshair reads each curve at its time, whatever the cursor's height,
    // in a font as large as the axis labels.
    void crosshairReadsEachCurve()
    {
        Source source;
        // Line k is 1 + k + t / 10 (t in minutes): straight, so that reading
        // between two points is exact.
        source.answer = [](GraphSample &s) {
            s.value = 1 + s.value + s.time / 10;
        };
        QenGraph g;
        plain(g, QSize(400, 320));
        g.setXSize(100);
        g.setGraphKind(1);
        g.setVals(3);
        g.setXValEvery(100.0 / 89);
        g.setDataSource(&source);
        g.setXVal(100);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(214, 300), QPointF(214, 300),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&g, &release);
        render(g);
        // The plot spans x 50..379 for 100 minutes (as in crosshairReadout).
        const double t = 164 * 100.0 / 329;
        const QList<double> values = g.crosshairValues();
        QCOMPARE(values.size(), 3);
        for (int k = 0; k < 3; ++k)
            QVERIFY2(std::fabs(values[k] - (1 + k + t / 10)) < 1e-4,
                     qPrintable(QString::number(values[k])));
        const QFontMetrics axis(g.textFont());
        QVERIFY(g.timeBox().height() >= axis.height());
        QVERIFY(g.valueBox().height() >= 3 * axis.height());
        QVERIFY(g.valueBox().left() > 214);
    }

    void crosshairToggle_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("shown");
        QTest::newRow("strip") << 0 << false;
        QTest::newRow("compartments") << 1 << true;
        QTest::newRow("overlay") << 2 << true;
    }

    void crosshairToggle()
    {
        QFETCH(int, kind);
        QFETCH(bool, shown);
        QenGraph g;
        plain(g, QSize(400, 320));
        g.setGraphKind(kind);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(214, 160), QPointF(214, 160),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&g, &release);
        QCOMPARE(g.crosshairShown(), shown);
        const QImage image = render(g);
        const QRgb boxCorner = image.pixel(209, 289);
        QCOMPARE(qRed(boxCorner) > 200 && qGreen(boxCorner) < 60, shown);
        if (shown) {
            QCOMPARE(g.timeBox().topLeft(), QPoint(209, 289));
            QVERIFY(g.timeBox().width() >= 30 && g.timeBox().height() >= 15);
            // No curve, so no value to read.
            QVERIFY(g.valueBox().isNull());
            QCoreApplication::sendEvent(&g, &release);
            QVERIFY(!g.crosshairShown());
        }
    }

    void minimumSizeHintFollowsMargins()
    {
        QenGraph g;
        g.setLMarginPct(20);
        g.setBMarginPct(30);
        const int h = g.fontMetrics().height();
        QCOMPARE(g.minimumSizeHint(), QSize(int(h * 1.5 * 100 / 20), int(h * 1.5 * 100 / 30)));
    }

    void scrollMovedPansY()
    {
        QenGraph g;
        g.scrollMoved(25);
        QCOMPARE(g.yMin(), 2.5);
    }

    void zoomStaysAtLeastOne()
    {
        QenGraph g;
        int changes = 0;
        connect(&g, &QenGraph::zoomChanged, this, [&] { ++changes; });
        g.setZoom(3);
        g.setZoom(0);
        QCOMPARE(g.zoom(), 1);
        QCOMPARE(changes, 2);
    }
};

QTEST_MAIN(TestQenGraph)
#include "tst_qengraph.moc"
