#include "views/qenmchn.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

namespace {

QImage render(QenMchn &m)
{
    QImage image(m.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    m.render(&image);
    return image;
}

bool isWhite(QRgb p)
{
    return qRed(p) > 250 && qGreen(p) > 250 && qBlue(p) > 250;
}

// Dark pixels in a row of a container's inside.
int darkInRow(const QImage &image, const QRect &c, int row)
{
    int dark = 0;
    for (int x = c.left() + 1; x < c.right(); ++x)
        if (qGray(image.pixel(x, row)) < 60)
            ++dark;
    return dark;
}

} // namespace

class TestQenMchn : public QObject
{
    Q_OBJECT

private slots:
    // The names and values grow with the picture: a 14th of its height or a
    // 40th of its width, from the widget's font up to three times it.
    void textPixelSize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("expected");
        QTest::newRow("smallest") << QSize(310, 150) << 11;
        QTest::newRow("maximised") << QSize(1200, 420) << 30;
        QTest::newRow("narrow") << QSize(600, 420) << 15;
        QTest::newRow("huge, capped") << QSize(3000, 1500) << 33;
    }
    void textPixelSize()
    {
        QFETCH(QSize, size);
        QFETCH(int, expected);
        QCOMPARE(mchnTextPixelSize(size, 11), expected);
    }

    void containers_data()
    {
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<int>("bottom");
        // 400 x 200, font height 10: margin 30, text band 20 unless hidden.
        QTest::newRow("values shown") << false << 199 - 20 - 30;
        QTest::newRow("values hidden") << true << 199 - 30;
    }

    void containers()
    {
        QFETCH(bool, hidden);
        QFETCH(int, bottom);
        const MchnLayout l = mchnLayout(QRect(0, 0, 400, 200), 10, hidden);
        QCOMPARE(l.margin, 30);
        QCOMPARE(l.bottom, bottom);
        const int lefts[MchnPartCount] = {24, 128, 176, 216, 264, 312, 368};
        const int rights[MchnPartCount] = {56, 160, 184, 248, 296, 344, 376};
        for (int i = 0; i < MchnPartCount; ++i) {
            const QRect &c = l.containers[size_t(i)];
            QCOMPARE(c.left(), lefts[i]);
            QCOMPARE(c.right(), rights[i]);
            QCOMPARE(c.top(), 30);
            QCOMPARE(c.bottom(), bottom);
        }
    }

    void relayoutWhenValuesHidden()
    {
        QenMchn m;
        m.resize(400, 200);
        const int fh = m.fontMetrics().height();
        QCOMPARE(m.containerLayout().bottom, 199 - 2 * fh - 30);
        m.setValuesHidden(true);
        QCOMPARE(m.containerLayout().bottom, 199 - 30);
        m.resize(400, 100);
        QCOMPARE(m.containerLayout().bottom, 99 - 15);
    }

    void resizeEmitsResized()
    {
        QenMchn m;
        QSignalSpy resized(&m, &QenMchn::Resized);
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        resized.clear();
        m.resize(500, 250);
        QCOMPARE(resized.count(), 1);
        QCOMPARE(m.containerLayout()[MchnPart::VEN].left(), 92 * 500 / 100);
    }

    void fill_data()
    {
        QTest::addColumn<int>("level");
        QTest::newRow("empty") << 0;
        QTest::newRow("half") << 50;
        QTest::newRow("full") << 100;
        QTest::newRow("above full") << 130;
    }

    void fill()
    {
        QFETCH(int, level);
        QenMchn m;
        m.resize(400, 200);
        m.setValuesHidden(true);
        m.setColor(MchnPart::MUS, QColor(0, 0, 255));
        m.setLevel(MchnPart::MUS, level);
        const QImage image = render(m);
        const QRect c = m.containerLayout()[MchnPart::MUS];
        // At 0.65 of the width the cylinder shading is the plain colour.
        const int x = c.left() + (c.right() - 1 - c.left()) * 65 / 100;
        const int top = mchnFillTop(c, std::min(level, 100));
        QCOMPARE(qGray(image.pixel(x, c.top())) < 60, true); // frame
        QCOMPARE(qGray(image.pixel(x, c.bottom())) < 60, true);
        for (int y = c.top() + 1; y < c.bottom(); ++y) {
            const QRgb p = image.pixel(x, y);
            if (y < top)
                QVERIFY2(isWhite(p), qPrintable(QString::number(y)));
            else
                QVERIFY2(qBlue(p) > 200 && qRed(p) < 60, qPrintable(QString::number(y)));
        }
        if (level >= 100)
            QCOMPARE(top, c.top() + 1);
        if (level == 0)
            QCOMPARE(top, c.bottom());
    }

    void macLine_data()
    {
        QTest::addColumn<int>("mac");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("0: on the bottom, not drawn") << 0 << false;
        QTest::newRow("100: on the top row") << 100 << true;
        QTest::newRow("40") << 40 << true;
        QTest::newRow("above 100") << 120 << false;
    }

    void macLine()
    {
        QFETCH(int, mac);
        QFETCH(bool, drawn);
        QenMchn m;
        m.resize(400, 200);
        m.setValuesHidden(true);
        m.setMac(mac);
        const QImage image = render(m);
        const MchnLayout &l = m.containerLayout();
        for (MchnPart part : {MchnPart::CKT, MchnPart::ALV, MchnPart::VRG, MchnPart::MUS}) {
            const QRect &c = l[part];
            const int row = mchnMacRow(c, mac);
            QCOMPARE(mchnMacVisible(c, row), drawn);
            const bool expected = drawn && (part == MchnPart::ALV || part == MchnPart::VRG);
            int dark = 0;
            for (int y = c.top() + 1; y < c.bottom(); ++y)
                dark += darkInRow(image, c, y);
            QCOMPARE(dark > 0, expected);
            if (expected) {
                QVERIFY(darkInRow(image, c, row) > 0);
                if (mac == 100)
                    QCOMPARE(row, c.top() + 1);
            }
        }
    }

    void pipesJoinContainers()
    {
        const MchnLayout l = mchnLayout(QRect(0, 0, 400, 200), 10, false);
        const MchnPipes p = mchnPipes(l);
        const QRect &alv = l[MchnPart::ALV];
        // The lung bulges left of ALV and the tubing joins it to CKT.
        QVERIFY(p.arcLeft < alv.left());
        QCOMPARE(p.upperLimb.front().x(), l[MchnPart::CKT].right() + 2);
        QCOMPARE(p.upperLimb.back().x(), p.arcLeft);
        // Blood leaves ALV at the top into ART and comes back from VEN at the bottom.
        QCOMPARE(p.arteryOut.front(), QPoint((alv.left() + alv.right()) / 2, alv.top()));
        QCOMPARE(p.arteryOut.back().y(), l[MchnPart::ART].top());
        QCOMPARE(p.veinBack.back(), QPoint((alv.left() + alv.right()) / 2, alv.bottom() + 2));
        QVERIFY(p.veinBack[1].y() > p.arteryRun[1].y());
        // A picture too small for the wedge's slant still lays out.
        const MchnPipes tiny = mchnPipes(mchnLayout(QRect(0, 0, 20, 4), 10, true));
        QCOMPARE(tiny.upperLimb[1].x(), tiny.wedge[1].x());
    }
};

QTEST_MAIN(TestQenMchn)
#include "tst_qenmchn.moc"
