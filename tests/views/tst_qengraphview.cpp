#include "viewharness.h"

#include "document/qenupdateevent.h"
#include "views/qengraph.h"
#include "views/qengraphevent.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolButton>

namespace {

GraphSample ask(QenGraphView *view, QenGraph *graph, float time, float value, float extra = 0)
{
    GraphSample s;
    s.time = time;
    s.value = value;
    s.extra = extra;
    QenGraphEvent event(&s, graph);
    QCoreApplication::sendEvent(view, &event);
    return s;
}

} // namespace

class TestQenGraphView : public QObject
{
    Q_OBJECT

private slots:
    void jumpOrigin_data()
    {
        QTest::addColumn<int>("span");
        QTest::addColumn<int>("percent");
        QTest::addColumn<double>("minutes");
        QTest::addColumn<double>("origin");
        QTest::newRow("15/90 at 10") << 15 << 90 << 10.0 << 0.0;
        QTest::newRow("15/90 at 15") << 15 << 90 << 15.0 << 14.0;
        QTest::newRow("15/90 at 16") << 15 << 90 << 16.0 << 14.0;
        QTest::newRow("15/90 at 29") << 15 << 90 << 29.0 << 28.0;
        QTest::newRow("60/50 at 65") << 60 << 50 << 65.0 << 30.0;
        QTest::newRow("60/50 at 95") << 60 << 50 << 95.0 << 60.0;
    }
    void jumpOrigin()
    {
        QFETCH(int, span);
        QFETCH(int, percent);
        QFETCH(double, minutes);
        QFETCH(double, origin);
        QCOMPARE(QenGraphView::jumpOrigin(span, percent, minutes), origin);
    }

    // Scrolling off: the window jumps, and the run stops where it ends.
    void jumpsAndWakeUps()
    {
        ViewFixture f({{QStringLiteral("Scroll"), false}, {QStringLiteral("ScrollPercent"), 90}});
        QVERIFY(f.ok);
        QenGraphView *view = f.window()->graph.get();
        QCOMPARE(view->span(), 15);
        QenEngine *e = f.engine();
        e->setSpeed(QenSystemOrigin, 1000);

        e->setState(QenUserOrigin, ARunning);
        QCOMPARE(view->wakeUpMs(), 900000u);
        f.runTo(1800000, RunTo::FirstStop);
        QCOMPARE(e->state(), APaused);
        QCOMPARE(e->displayTime(), 900000u);

        e->setState(QenUserOrigin, ARunning);
        QCOMPARE(view->compartmentGraph()->origin(), 14.0);
        QCOMPARE(view->fgfGraph()->origin(), 14.0);
        QCOMPARE(view->wakeUpMs(), 1740000u);
        QCOMPARE(int(e->wakeUps().size()), 1);
        f.runTo(1800000, RunTo::FirstStop);
        QCOMPARE(e->displayTime(), 1740000u);
        QCOMPARE(e->state(), APaused);

        e->setState(QenUserOrigin, ARunning);
        QCOMPARE(view->compartmentGraph()->origin(), 28.0);
        QCOMPARE(view->wakeUpMs(), (28u + 15u) * 60000u);
        QCOMPARE(int(e->wakeUps().size()), 1);
        e->pause();
    }

    void noWakeUpWhenHidden()
    {
        ViewFixture f({{QStringLiteral("Scroll"), false}});
        QVERIFY(f.ok);
        QenGraphView *view = f.window(0, QenChildWindowInterface::Picture)->graph.get();
        f.engine()->setState(QenUserOrigin, ARunning);
        QCOMPARE(view->wakeUpMs(), 0u);
        QVERIFY(f.engine()->wakeUps().empty());
        f.engine()->pause();
    }

    void scrollingFollowsTheRun()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        QenGraphView *view = f.window()->graph.get();
        QenEngine *e = f.engine();
        e->setSpeed(QenSystemOrigin, 1000);
        e->setState(QenUserOrigin, ARunning);
        QVERIFY(view->compartmentGraph()->scrollEnb());
        QVERIFY(!view->timeScrollBar()->isEnabled());
        f.runTo(1200000, RunTo::FirstStop);
        QCOMPARE(view->compartmentGraph()->xVal(), e->displayTime() / 60000.0);
        QVERIFY(e->wakeUps().empty());
        e->pause();

        // Stopped: the scroll bar covers the recording in tenths of a minute.
        QScrollBar *bar = view->timeScrollBar();
        QVERIFY(bar->isEnabled());
        QCOMPARE(bar->maximum(), int(e->displayTime() / 6000));
        QCOMPARE(bar->minimum(), 150);
        QCOMPARE(bar->value(), bar->maximum());
        bar->setValue(170);
        QCOMPARE(view->delGraph()->xVal(), 17.0);
    }

    void spans_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("span");
        QTest::addColumn<double>("labels");
        QTest::addColumn<double>("ticks");
        QTest::newRow("2 Hr") << "2 Hr" << 120 << 30.0 << 10.0;
        QTest::newRow("45 Min") << "45 Min" << 45 << 15.0 << 5.0;
        QTest::newRow("10 Hr") << "10 Hr" << 600 << 120.0 << 60.0;
        QTest::newRow("7 Min") << "7 Min" << 15 << 5.0 << 1.0;
        QTest::newRow("junk") << "junk" << 15 << 5.0 << 1.0;
    }
    void spans()
    {
        QFETCH(QString, text);
        QFETCH(int, span);
        QFETCH(double, labels);
        QFETCH(double, ticks);
        ViewFixture f;
        QVERIFY(f.ok);
        QenGraphView *view = f.window()->graph.get();
        view->ChangeScale(QStringLiteral("5 Min"));
        view->ChangeScale(text);
        QCOMPARE(view->span(), span);
        QCOMPARE(f.doc->graphMinutes(), span);
        QCOMPARE(view->spanBox()->currentText(), QenGraphView::spanText(span));
        QenGraph *c = view->compartmentGraph();
        QCOMPARE(c->xSize(), double(span));
        QCOMPARE(c->xLabelEvery(), labels);
        QCOMPARE(c->xTickEvery(), ticks);
        QCOMPARE(view->fgfGraph()->xTickEvery(), 0.0);
        QVERIFY(qAbs(c->xValEvery() - span / 89.0) < 1e-5);
    }

    void openCircuitStrips()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        QenGraphView *view = f.window()->graph.get();
        QCOMPARE(view->stripLabel(0), QStringLiteral("FGF\nL/M"));
        QCOMPARE(view->stripLabel(1), QStringLiteral("DEL\n%atm"));
        QenEngine *e = f.engine();
        QCOMPARE(ask(view, view->fgfGraph(), 0, 0).value, e->fgf());

        f.doc->engine()->setCircuit(QenUserOrigin, QStringLiteral("Open"));
        f.doc->engine()->setVA(QenUserOrigin, 6.0f);
        f.doc->engine()->setCO(QenUserOrigin, 4.5f);
        QVERIFY(view->isOpenCircuit());
        QCOMPARE(view->stripLabel(0), QStringLiteral("VA\nL/M"));
        QCOMPARE(view->stripLabel(1), QStringLiteral("CO\nL/M"));
        QCOMPARE(ask(view, view->fgfGraph(), 0, 0).value, 6.0f);
        QCOMPARE(ask(view, view->delGraph(), 0, 0).value, 4.5f);
        QVERIFY(e->fgf() != 6.0f);
    }

    void valueRequests()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        QVERIFY(f.usePrimary(QStringLiteral("Isoflurane")));
        QenGraphView *view = f.window()->graph.get();
        QenEngine *e = f.engine();
        // Paced, so that the dose goes into the step on display.
        e->setSpeed(QenSystemOrigin, 120);
        e->setState(QenUserOrigin, ARunning);
        f.runTo(300000, RunTo::FirstStop);
        e->injectDose(0);
        f.runTo(420000, RunTo::FirstStop);
        e->pause();
        const int elements[5] = {FAT, MUS, VRG, ALV, CKT};
        for (int line = 0; line < 5; ++line) {
            const GraphSample s = ask(view, view->compartmentGraph(), 3.0f, float(line));
            QCOMPARE(s.time, 3.0f);
            QCOMPARE(s.value, e->compartment(0, elements[line], 3.0f));
        }
        // The dose shows as a caret on the DEL strip where it was given.
        QList<int> marked;
        for (int tenth = 1; tenth < 70; ++tenth) {
            if (ask(view, view->delGraph(), tenth / 10.0f, 0, (tenth - 1) / 10.0f).time == -2)
                marked.append(tenth);
        }
        QCOMPARE(marked.size(), 1);
        QVERIFY2(marked.first() >= 50, qPrintable(QString::number(marked.first())));
        QCOMPARE(ask(view, view->delGraph(), 2.1f, 0, 2.0f).time, 2.1f);
        QCOMPARE(ask(view, nullptr, 2.0f, 0).time, -1.0f);
    }

    void tickRepair_data()
    {
        QTest::addColumn<int>("top");
        QTest::addColumn<double>("tick");
        QTest::newRow("10") << 10 << 2.0;
        QTest::newRow("15") << 15 << 3.0;
        QTest::newRow("25") << 25 << 5.0;
        QTest::newRow("100") << 100 << 20.0;
        QTest::newRow("150") << 150 << 30.0;
    }
    void tickRepair()
    {
        QFETCH(int, top);
        QFETCH(double, tick);
        ViewFixture f;
        QVERIFY(f.ok);
        HarnessWindow *w = f.window();
        QLineEdit *high = w->panel->limitField(QenPanelView::FGF);
        high->setText(QString::number(top));
        QMetaObject::invokeMethod(high, "editingFinished");
        QenGraph *strip = w->graph->fgfGraph();
        QCOMPARE(strip->ySize(), double(top));
        QCOMPARE(strip->yLabelEvery(), double(top));
        QCOMPARE(strip->yTickEvery(), tick);
    }

    // The tall compartment graph labels ticks between 0 and its top; the thin
    // strips keep their labels at the ends.
    void compartmentLabels_data()
    {
        QTest::addColumn<int>("top");
        QTest::addColumn<double>("labels");
        QTest::newRow("5") << 5 << 1.0;
        QTest::newRow("8") << 8 << 2.0;
        QTest::newRow("10") << 10 << 2.0;
        QTest::newRow("7: every tick") << 7 << 1.0;
        QTest::newRow("20") << 20 << 5.0;
        QTest::newRow("100") << 100 << 20.0;
        QTest::newRow("13: ends only") << 13 << 13.0;
        QTest::newRow("1: ends only") << 1 << 1.0;
    }
    void compartmentLabels()
    {
        QFETCH(int, top);
        QFETCH(double, labels);
        const QenGraphView::YScale s = QenGraphView::compartmentYScale(top);
        QCOMPARE(s.size, double(top));
        QCOMPARE(s.labelEvery, labels);
        QCOMPARE(s.tickEvery, QenGraphView::yScale(top).tickEvery);
    }

    void compartmentGraphIsLabelledBetweenItsEnds()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        HarnessWindow *w = f.window();
        QenGraph *c = w->graph->compartmentGraph();
        const double top = c->ySize();
        const QenGraphView::YScale expected = QenGraphView::compartmentYScale(int(top));
        QCOMPARE(c->yLabelEvery(), expected.labelEvery);
        QVERIFY2(c->yLabelEvery() < top, qPrintable(QString::number(top)));
        QCOMPARE(w->graph->fgfGraph()->yLabelEvery(), w->graph->fgfGraph()->ySize());
    }

    void uncheckingFatHidesItsLineOnly()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        QVERIFY(f.usePrimary(QStringLiteral("Isoflurane")));
        QenGraphView *view = f.window()->graph.get();
        QenEngine *e = f.engine();
        e->setSpeed(QenSystemOrigin, 1000);
        e->setState(QenUserOrigin, ARunning);
        f.runTo(600000, RunTo::FirstStop);
        e->pause();
        view->findChild<QCheckBox *>(QStringLiteral("checkBoxFAT"))->setChecked(false);
        QenGraph *c = view->compartmentGraph();
        QCOMPARE(c->mask(), 1);
        view->resize(600, 450);
        view->grab();
        QVERIFY(c->drawnFrom(0) > c->drawnTo(0));
        for (int line = 1; line < 5; ++line)
            QVERIFY2(c->drawnFrom(line) <= c->drawnTo(line), qPrintable(QString::number(line)));
        view->findChild<QCheckBox *>(QStringLiteral("checkBoxFAT"))->setChecked(true);
        QCOMPARE(c->mask(), 0);
    }

    void noticesOfOtherAgentsAreIgnored()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        QenGraphView *view = f.window(0)->graph.get();
        const int second = f.doc->addAgent(QStringLiteral("Sevoflurane"));
        const QString before = view->agentLabel();
        QenUpdateEvent other(f.doc.data(), second + 1, QenHint::Values);
        view->compartmentGraph()->setXVal(7);
        QCoreApplication::sendEvent(view, &other);
        QCOMPARE(view->compartmentGraph()->xVal(), 7.0);
        QenUpdateEvent mine(f.doc.data(), 1, QenHint::Values);
        QCoreApplication::sendEvent(view, &mine);
        QCOMPARE(view->compartmentGraph()->xVal(), 0.0);
        QCOMPARE(view->agentLabel(), before);
    }

    void zoomAndCollapse()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        QenGraphView *view = f.window()->graph.get();
        view->show();
        view->setZoom(2);
        QCOMPARE(view->fgfGraph()->zoom(), 2);
        QVERIFY(view->compartmentScrollBar()->isVisible());
        QCOMPARE(view->compartmentScrollBar()->maximum(),
                 int(view->compartmentGraph()->ySize() * 2 * 10 / 3));
        view->setZoom(0);
        QCOMPARE(view->zoom(), 1);
        QVERIFY(!view->compartmentScrollBar()->isVisible());

        QTest::keyClick(view, Qt::Key_C);
        QVERIFY(view->fgfGraph()->isHidden());
        QVERIFY(view->delGraph()->isHidden());
        QTest::keyClick(view, Qt::Key_C);
        QVERIFY(!view->fgfGraph()->isHidden());
        QVERIFY(view->collapseButton()->isHidden());
        QTest::keyClick(view, Qt::Key_H);
        QVERIFY(!view->collapseButton()->isHidden());
    }

    void reportImage()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        QVERIFY(f.usePrimary(QStringLiteral("Isoflurane")));
        QenGraphView *view = f.window()->graph.get();
        QenEngine *e = f.engine();
        e->setSpeed(QenSystemOrigin, 1000);
        e->setState(QenUserOrigin, ARunning);
        f.runTo(600000, RunTo::FirstStop);
        e->pause();
        const QSize page(800, 1100);
        const int mask = view->compartmentGraph()->mask();
        const QImage image = view->reportImage(page);
        QCOMPARE(image.size(), page);
        // Every band has something drawn in it.
        const int edges[7] = {0, 13, 26, 39, 52, 76, 100};
        for (int b = 0; b < 6; ++b) {
            int dark = 0;
            for (int y = page.height() * edges[b] / 100; y < page.height() * edges[b + 1] / 100;
                 ++y)
                for (int x = 0; x < page.width(); x += 2)
                    dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
            QVERIFY2(dark > 50, qPrintable(QString::number(b)));
        }
        QCOMPARE(view->compartmentGraph()->mask(), mask);
        QCOMPARE(view->compartmentGraph()->paintTarget(), nullptr);

        const QImage decoded = QImage::fromData(
            QByteArray::fromBase64(view->reportImageBase64(QSize(400, 500))), "PNG");
        QCOMPARE(decoded.size(), QSize(400, 500));
    }

    // The report's time axis spans the run from 0:00 to the displayed time.
    void reportAxis_data()
    {
        QTest::addColumn<quint32>("displayMs");
        QTest::addColumn<double>("minutes");
        QTest::addColumn<double>("labels");
        QTest::addColumn<double>("ticks");
        QTest::newRow("never run") << 0u << 1.0 << 1.0 << 1.0;
        QTest::newRow("0:40:43") << 2443000u << 2443000 / 60000.0 << 10.0 << 5.0;
        QTest::newRow("eight minutes") << 480000u << 8.0 << 1.0 << 1.0;
        QTest::newRow("8:06") << 486000u << 8.1 << 2.0 << 1.0;
        QTest::newRow("three hours") << 10800000u << 180.0 << 30.0 << 10.0;
        QTest::newRow("three days") << 259200000u << 4320.0 << 720.0 << 240.0;
        QTest::newRow("thirty days") << 2592000000u << 43200.0 << 5760.0 << 2880.0;
    }
    void reportAxis()
    {
        QFETCH(quint32, displayMs);
        QFETCH(double, minutes);
        QFETCH(double, labels);
        QFETCH(double, ticks);
        const QenGraphView::ReportAxis axis = QenGraphView::reportAxis(displayMs);
        QVERIFY(std::fabs(axis.minutes - minutes) < 1e-9);
        QCOMPARE(axis.labelEvery, labels);
        QCOMPARE(axis.tickEvery, ticks);
    }

    // The report shows the whole run whatever window the graph page shows,
    // and leaves that window as it was. DEL 2 for the first 10 of 40:43
    // minutes: the DEL strip's trace stands above its baseline in the first
    // quarter of the time axis only.
    void reportShowsTheWholeRun()
    {
        ViewFixture f;
        QVERIFY(f.ok);
        QVERIFY(f.usePrimary(QStringLiteral("Isoflurane")));
        QenGraphView *view = f.window()->graph.get();
        QenEngine *e = f.engine();
        e->setSpeed(QenSystemOrigin, 1000);
        e->setDEL(QenUserOrigin, 0, 2.0f);
        f.runTo(600000);
        e->setDEL(QenUserOrigin, 0, 0.0f);
        f.runTo(2443000);
        QVERIFY(e->displayTime() >= 2443000);
        const QSize page(800, 1000);
        // The window as the page last drew it.
        view->delGraph()->grab();
        const double origin = view->delGraph()->origin();
        const double size = view->delGraph()->xSize();
        const double now = view->delGraph()->xVal();
        const QImage live = view->reportImage(page);
        QCOMPARE(view->delGraph()->origin(), origin);
        QCOMPARE(view->delGraph()->xSize(), size);
        QCOMPARE(view->delGraph()->xVal(), now);

        // Looking back through the past changes the page, not the report.
        view->timeScrollBar()->setValue(300);
        view->ChangeScale(QStringLiteral("30 Min"));
        QVERIFY(view->delGraph()->xSize() == 30.0);
        QCOMPARE(view->reportImage(page), live);
        QCOMPARE(view->delGraph()->xSize(), 30.0);

        // The DEL strip is the second band (13 to 26 % of the page).
        const QColor trace = view->delGraph()->lineColor(0);
        // A column where the trace stands above the baseline; the frame's
        // sides, dark from top to bottom, are no trace.
        auto raised = [&](int x) {
            int dark = 0;
            const int from = page.height() * 14 / 100;
            const int to = page.height() * 22 / 100;
            for (int y = from; y < to; ++y) {
                const QColor c = live.pixelColor(x, y);
                if (std::abs(c.red() - trace.red()) + std::abs(c.green() - trace.green()) +
                        std::abs(c.blue() - trace.blue()) <
                    60)
                    ++dark;
            }
            return dark > 0 && dark < to - from;
        };
        int early = 0;
        int late = 0;
        for (int x = 0; x < page.width(); ++x) {
            if (!raised(x))
                continue;
            if (x < page.width() * 2 / 5)
                ++early;
            else
                ++late;
        }
        QVERIFY2(early > page.width() / 8, qPrintable(QString::number(early)));
        QCOMPARE(late, 0);
    }
};

QTEST_MAIN(TestQenGraphView)
#include "tst_qengraphview.moc"
