#include "views/qengauge.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

class TestQenGauge : public QObject
{
    Q_OBJECT

private slots:
    void normalise_data()
    {
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("tick");
        QTest::addColumn<int>("longTick");
        QTest::addColumn<int>("maxOut");
        QTest::addColumn<int>("tickOut");
        QTest::addColumn<int>("longTickOut");
        QTest::newRow("defaults") << 100 << 10 << 50 << 100 << 10 << 50;
        QTest::newRow("Max 0") << 0 << 10 << 50 << 10 << 10 << 50;
        QTest::newRow("Max negative") << -5 << 1 << 5 << 10 << 1 << 5;
        QTest::newRow("long tick not a multiple") << 100 << 10 << 25 << 100 << 10 << 10;
        QTest::newRow("long tick negative") << 100 << 10 << -20 << 100 << 10 << 10;
        QTest::newRow("tick above Max") << 100 << 200 << 100 << 100 << 100 << 100;
        QTest::newRow("tick negative") << 100 << -5 << 50 << 100 << 100 << 100;
        QTest::newRow("no ticks") << 100 << 0 << 50 << 100 << 0 << 0;
        QTest::newRow("limit 25 in twentieths") << 500 << 40 << 200 << 500 << 40 << 200;
    }

    void normalise()
    {
        QFETCH(int, max);
        QFETCH(int, tick);
        QFETCH(int, longTick);
        QenGauge g;
        g.setProperty("Max", max);
        g.setProperty("TickEvery", tick);
        g.setProperty("LTickEvery", longTick);
        QTEST(g.property("Max").toInt(), "maxOut");
        QTEST(g.property("TickEvery").toInt(), "tickOut");
        QTEST(g.property("LTickEvery").toInt(), "longTickOut");
    }

    void scaleRows()
    {
        const GaugeLayout g = gaugeLayout(40, 200);
        QCOMPARE(g.frameLeft, 20);
        QCOMPARE(g.innerTop, 1);
        QCOMPARE(g.innerBottom, 198);
        // Ticks run from the frame's top row (Max) to its bottom row (0).
        QCOMPARE(gaugeTickRow(g, 200, 200), 0);
        QCOMPARE(gaugeTickRow(g, 0, 200), 199);
        QCOMPARE(gaugeTickRow(g, 100, 200), 1 + 199 * 100 / 200 - 1);
        QCOMPARE(gaugeValueRow(g, 200, 200), 1);
        QCOMPARE(gaugeValueRow(g, 0, 200), 199); // below the inside: nothing filled
        QCOMPARE(gaugeValueRow(g, 500, 200), 1);
        for (int v : {0, 1, 37, 100, 199, 200})
            QVERIFY(std::abs(gaugeValueAt(g, gaugeValueRow(g, v, 200), 200) - v) <= 1);
    }

    void paintsBarAndTicks()
    {
        QenGauge g;
        g.resize(40, 200);
        g.setMax(200);
        g.setTickEvery(20);
        g.setLTickEvery(100);
        g.setValue(100);
        QImage image(g.size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        g.render(&image);
        const GaugeLayout l = g.barLayout();
        const int row = gaugeValueRow(l, 100, 200);
        const int x = l.innerLeft + (l.innerRight - l.innerLeft) * 65 / 100; // pure bar colour
        QCOMPARE(image.pixel(x, row - 1), qRgb(255, 255, 255));
        QVERIFY(qBlue(image.pixel(x, row)) > 200 && qRed(image.pixel(x, row)) < 60);
        QVERIFY(qBlue(image.pixel(x, l.innerBottom)) > 200);
        QCOMPARE(qGray(image.pixel(x, l.frameBottom)) < 60, true);
        // A long tick reaches the left edge; a short one starts half-way.
        const int longRow = gaugeTickRow(l, 100, 200);
        const int shortRow = gaugeTickRow(l, 120, 200);
        QVERIFY(qGray(image.pixel(0, longRow)) < 100);
        QVERIFY(qGray(image.pixel(0, shortRow)) > 200);
        QVERIFY(qGray(image.pixel(l.frameLeft / 2 + 1, shortRow)) < 100);
    }

    void drag_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("value");
        QTest::newRow("above the top") << true << -50 << 200;
        QTest::newRow("below the bottom") << true << 400 << 0;
        QTest::newRow("not accepted") << false << -50 << 80;
    }

    void drag()
    {
        QFETCH(bool, accept);
        QFETCH(int, y);
        QFETCH(int, value);
        QenGauge g;
        g.resize(40, 200);
        g.setMax(200); // more steps than rows: the bottom row alone must still reach 0
        g.setTickEvery(20);
        g.setValue(80);
        connect(&g, &QenGauge::FireQengaugeStart, this, [&] {
            QVERIFY(g.isDragging());
            g.setDragAccepted(accept);
        });
        QSignalSpy starts(&g, &QenGauge::FireQengaugeStart);
        QSignalSpy changes(&g, &QenGauge::FireQengaugeChange);
        QSignalSpy stops(&g, &QenGauge::FireQengaugeStop);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));

        const GaugeLayout l = g.barLayout();
        // Grab a little below the bar's top: the offset keeps the value until the mouse moves.
        const QPoint grab(30, gaugeValueRow(l, 80, 200) + 5);
        QTest::mousePress(&g, Qt::LeftButton, Qt::NoModifier, grab);
        QCOMPARE(starts.count(), 1);
        QCOMPARE(g.isDragging(), accept);
        QTest::mouseMove(&g, grab);
        QCOMPARE(g.value(), 80);
        QTest::mouseMove(&g, QPoint(30, y));
        QCOMPARE(g.value(), value);
        QTest::mouseRelease(&g, Qt::LeftButton, Qt::NoModifier, QPoint(30, y));
        QVERIFY(!g.isDragging());
        if (accept) {
            QCOMPARE(changes.count(), 1);
            QCOMPARE(changes.first().first().value<short>(), short(value));
            QCOMPARE(stops.count(), 1);
        } else {
            QCOMPARE(changes.count(), 0);
            QCOMPARE(stops.count(), 0);
        }
    }

    void pressOutsideBarIgnored()
    {
        QenGauge g;
        g.resize(40, 200);
        QSignalSpy starts(&g, &QenGauge::FireQengaugeStart);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        QTest::mousePress(&g, Qt::LeftButton, Qt::NoModifier, QPoint(5, 100)); // the tick scale
        QTest::mouseRelease(&g, Qt::LeftButton, Qt::NoModifier, QPoint(5, 100));
        QTest::mousePress(&g, Qt::LeftButton, Qt::NoModifier, QPoint(20, 100)); // the frame
        QTest::mouseRelease(&g, Qt::LeftButton, Qt::NoModifier, QPoint(20, 100));
        QCOMPARE(starts.count(), 0);
    }
};

QTEST_MAIN(TestQenGauge)
#include "tst_qengauge.moc"
