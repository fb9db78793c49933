// The overlay comparison: its scale and ratio arithmetic against the tables
// worked out by hand, and the window opened from the real main window over
// real, run documents.

#include "app/qenapplication.h"
#include "app/qenchildwindow.h"
#include "app/qenmainwindow.h"
#include "app/qenoverlaylauncher.h"
#include "document/qendoc.h"
#include "engine/qenini.h"
#include "apptestmain.h"
#include "scriptedprompt.h"
#include "testfiles.h"
#include "views/qengraph.h"
#include "views/qengraphevent.h"
#include "views/qenoverlay.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

namespace {
const QTemporaryDir *programDir = nullptr;
ScriptedPrompt *prompt = nullptr;

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// What the overlay answers its graph for `line` at `minutes`; -1 for no point.
double askOverlay(QenOverlay *overlay, int line, float minutes)
{
    GraphSample s;
    s.time = minutes;
    s.value = float(line);
    s.extra = minutes;
    QenGraphEvent request(&s, overlay->graph());
    QCoreApplication::sendEvent(overlay, &request);
    return s.time < 0 ? -1.0 : double(s.value);
}

// Whether a pixel close to `at` has (nearly) the colour `colour`.
bool colorNear(const QImage &image, QPoint at, const QColor &color)
{
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const QPoint p = at + QPoint(dx, dy);
            if (!image.rect().contains(p))
                continue;
            const QColor c = image.pixelColor(p);
            if (std::abs(c.red() - color.red()) + std::abs(c.green() - color.green()) +
                    std::abs(c.blue() - color.blue()) <
                60)
                return true;
        }
    }
    return false;
}
} // namespace

class TestQenOverlay : public QObject
{
    Q_OBJECT

    std::unique_ptr<QenMainWindow> w;

    // A new document in the main window with `agent` as its only agent,
    // run to `minutes`.
    QenDoc *run(const QString &agent, double del, double fgf, double minutes,
                const QString &circuit = QStringLiteral("Semi-closed"))
    {
        if (!w->newFile())
            return nullptr;
        QenDoc *doc = w->documents().last();
        doc->setAgent(QenUserOrigin, 0, agent);
        doc->engine()->setCircuit(QenUserOrigin, circuit);
        doc->engine()->setFGF(QenUserOrigin, float(fgf));
        doc->engine()->setDEL(QenUserOrigin, 0, float(del));
        if (minutes > 0)
            runEngineTo(doc->engine(), quint32(minutes * 60000));
        return doc;
    }

    QenChildWindow *graphChild(QenDoc *doc)
    {
        for (QenChildWindow *c : QenMainWindow::childrenOf(doc)) {
            if (c->viewType() == QenChildWindowInterface::Graph)
                return c;
        }
        return nullptr;
    }

    // Opens the overlay as View > Overlay does and lets it finish painting.
    QenOverlay *openOverlay()
    {
        w->updateActions();
        QAction *act = w->action(QStringLiteral("actionOverlay"));
        if (!act || !act->isEnabled())
            return nullptr;
        act->trigger();
        auto *overlay = w->findChild<QenOverlay *>();
        if (overlay)
            settle(overlay);
        return overlay;
    }

    static void settle(QenOverlay *overlay)
    {
        if (!QTest::qWaitForWindowExposed(overlay))
            return;
        for (int i = 0; i < 5 && overlay->measuring(); ++i)
            QTest::qWait(10);
        QCoreApplication::processEvents();
    }

    void choose(QenOverlay *overlay, int show, int over)
    {
        if (over >= 0)
            overlay->overButton(over)->click();
        if (show >= 0)
            overlay->showButton(show)->click();
    }

private slots:
    // --- arithmetic

    void scale_data()
    {
        QTest::addColumn<double>("maximum");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("tick");
        QTest::addColumn<double>("labels");
        QTest::newRow("0.05") << 0.05 << 0.10001 << 0.025 << 0.05;
        QTest::newRow("0.1") << 0.1 << 0.10001 << 0.025 << 0.05;
        QTest::newRow("0.3") << 0.3 << 0.30001 << 0.1 << 0.4;
        QTest::newRow("0.5") << 0.5 << 0.50001 << 0.1 << 0.6;
        QTest::newRow("0.8") << 0.8 << 1.0 << 0.25 << 0.5;
        QTest::newRow("1.2") << 1.2 << 2.0 << 1.0 << 2.0;
        QTest::newRow("5") << 5.0 << 5.0 << 1.0 << 5.0;
        QTest::newRow("7") << 7.0 << 10.0 << 1.0 << 5.0;
        QTest::newRow("42") << 42.0 << 50.0 << 10.0 << 50.0;
        QTest::newRow("100") << 100.0 << 100.0 << 10.0 << 50.0;
        QTest::newRow("250") << 250.0 << 300.0 << 100.0 << 300.0;
        QTest::newRow("1000") << 1000.0 << 1000.0 << 100.0 << 500.0;
        QTest::newRow("4000") << 4000.0 << 4000.0 << 1000.0 << 4000.0;
        QTest::newRow("10000") << 10000.0 << 10000.0 << 1000.0 << 5000.0;
        QTest::newRow("20001") << 20001.0 << 30000.0 << 10000.0 << 30000.0;
        QTest::newRow("100000") << 100000.0 << 100000.0 << 10000.0 << 50000.0;
        QTest::newRow("200000") << 200000.0 << 500000.0 << 100000.0 << 500000.0;
    }
    void scale()
    {
        QFETCH(double, maximum);
        QFETCH(double, height);
        QFETCH(double, tick);
        QFETCH(double, labels);
        const OverlayScale s = overlayScale(maximum);
        QVERIFY2(std::fabs(s.height - height) < 1e-9, qPrintable(QString::number(s.height)));
        QVERIFY(std::fabs(s.tickEvery - tick) < 1e-9);
        QVERIFY2(std::fabs(s.labelEvery - labels) < 1e-9,
                 qPrintable(QString::number(s.labelEvery)));
    }

    void ratioBand_data()
    {
        QTest::addColumn<int>("over");
        QTest::addColumn<double>("height");
        QTest::addColumn<bool>("band");
        QTest::newRow("over DEL, 2") << int(OverlayDEL) << 2.0 << true;
        QTest::newRow("over MAC, 50") << int(OverlayMAC) << 50.0 << true;
        QTest::newRow("over DEL, 1") << int(OverlayDEL) << 1.0 << false;
        QTest::newRow("over DEL, 100") << int(OverlayDEL) << 100.0 << false;
        QTest::newRow("over One, 2") << int(OverlayOne) << 2.0 << false;
    }
    void ratioBand()
    {
        QFETCH(int, over);
        QFETCH(double, height);
        QFETCH(bool, band);
        QCOMPARE(overlayRatioBand(over, height), band);
    }

    void ratio_data()
    {
        QTest::addColumn<double>("n");
        QTest::addColumn<double>("d");
        QTest::addColumn<double>("ratio");
        QTest::newRow("half") << 2.0 << 4.0 << 0.5;
        QTest::newRow("nothing over something") << 0.0 << 4.0 << 0.0;
        QTest::newRow("equal") << 3.0 << 3.0 << 1.0;
        QTest::newRow("over nothing") << 3.0 << 0.0 << -1.0;
        QTest::newRow("nothing over nothing") << 0.0 << 0.0 << -1.0;
        QTest::newRow("signs differ") << -1.0 << 2.0 << 0.0;
        QTest::newRow("signs differ too") << 2.0 << -1.0 << 0.0;
        QTest::newRow("both negative") << -2.0 << -4.0 << 0.5;
        QTest::newRow("a million") << 1e6 << 1.0 << 1e6;
        QTest::newRow("beyond a million") << 2e6 << 1.0 << -1.0;
    }
    void ratio()
    {
        QFETCH(double, n);
        QFETCH(double, d);
        QFETCH(double, ratio);
        QCOMPARE(overlayRatio(n, d), ratio);
    }

    void measure_data()
    {
        QTest::addColumn<QList<double>>("ratios");
        QTest::addColumn<double>("threshold");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<int>("count");
        QTest::newRow("a first spike is left out") << QList<double>{5, 1, 1.1} << 1.0 << 1.1 << 2;
        QTest::newRow("a first point close by counts")
            << QList<double>{5, 4.5, 1} << 1.0 << 5.0 << 2;
        QTest::newRow("a lone point counts nothing") << QList<double>{3} << 10.0 << -1.0 << 0;
        QTest::newRow("a gap starts again")
            << QList<double>{0.2, 0.3, -1, 9, 0.5} << 1.0 << 0.5 << 2;
    }
    void measure()
    {
        QFETCH(QList<double>, ratios);
        QFETCH(double, threshold);
        QFETCH(double, maximum);
        QFETCH(int, count);
        OverlayMeasure m;
        m.start(threshold);
        for (double r : ratios) {
            m.add(0, r);
            m.add(1, -1); // another line's gaps do not disturb this one
        }
        QCOMPARE(m.maximum(), maximum);
        QCOMPARE(m.count(), count);
    }

    void settings_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("slope");
        QTest::addColumn<int>("show");
        QTest::addColumn<int>("over");
        QTest::newRow("missing") << "" << 5.0 << 10.0 << int(OverlayALV) << int(OverlayOne);
        QTest::newRow("in range") << "OverlayHeight=1000\nOverlaySlope=1\nOverlayShow=cost\n"
                                     "OverlayOver=mac"
                                  << 1000.0 << 1.0 << int(OverlayCost) << int(OverlayMAC);
        QTest::newRow("slope 0 is 10")
            << "OverlaySlope=0" << 5.0 << 10.0 << int(OverlayALV) << int(OverlayOne);
        QTest::newRow("out of range") << "overlayheight=0.5\noverlayslope=51" << 5.0 << 10.0
                                      << int(OverlayALV) << int(OverlayOne);
        QTest::newRow("not numbers") << "OverlayHeight=tall\nOverlaySlope=" << 5.0 << 10.0
                                     << int(OverlayALV) << int(OverlayOne);
        QTest::newRow("unknown names") << "OverlayShow=MAC\nOverlayOver=Cost" << 5.0 << 10.0
                                       << int(OverlayALV) << int(OverlayOne);
        QTest::newRow("lower case") << "OverlayShow=vrg\nOverlayOver=del" << 5.0 << 10.0
                                    << int(OverlayVRG) << int(OverlayDEL);
    }
    void settings()
    {
        QFETCH(QString, keys);
        QFETCH(double, height);
        QFETCH(double, slope);
        QFETCH(int, show);
        QFETCH(int, over);
        const QenIni ini(writeIniText(programDir->path(), "[Defaults]\n" + keys + "\n"));
        const OverlaySettings s = overlaySettings(ini);
        QCOMPARE(s.height, height);
        QCOMPARE(s.slope, slope);
        QCOMPARE(s.show, show);
        QCOMPARE(s.over, over);
    }

    void legendsNameWhatDiffers()
    {
        const auto a = overlayRunFacts("Untitled1", "Isoflurane", "Semi-closed", 1.1, 8, 4, 5, 70);
        const auto b =
            overlayRunFacts("Untitled2", "Isoflurane", "Semi-closed", 1.1, 0.5, 4, 5, 70);
        const auto c = overlayRunFacts("Untitled3", "Desflurane", "Semi-closed", 6, 8, 4, 5, 82.5);
        QCOMPARE(overlayLegends({a, b}), (QStringList{"Untitled1 (FGF=8)", "Untitled2 (FGF=0.5)"}));
        QCOMPARE(overlayLegends({a, c}).last(),
                 QStringLiteral("Untitled3 (Desflurane/DEL=6/82.5 Kg)"));
        QCOMPARE(overlayLegends({a}), QStringList{"Untitled1"});
    }

    void colorsStayApart()
    {
        // A repeated colour gives way to the spare one farthest from the
        // colours taken and from the grey paper: green (0,128,0) lies farther
        // from purple (128,0,128) than red does.
        const QColor paper(192, 192, 192);
        const QStringList palette = {"red", "blue", "green", "purple"};
        QCOMPARE(overlayColors({"purple", "purple", "blue", "purple"}, palette, paper),
                 (QStringList{"purple", "green", "blue", "red"}));
        // Next to red, blue stands out more than dark blue.
        QCOMPARE(overlayColors({"red", "red"}, {"red", "darkBlue", "blue"}, paper),
                 (QStringList{"red", "blue"}));
        QCOMPARE(overlayColors({"red", "red"}, {"red"}, paper), (QStringList{"red", "red"}));
    }

    // --- the window over real documents

    void init()
    {
        prompt->clear();
        prompt->setPermissive(false);
        QenOverlayLauncher::forgetSelection();
        qenApp->ini().remove("Defaults", "OverlayShow");
        qenApp->ini().remove("Defaults", "OverlayOver");
        w = std::make_unique<QenMainWindow>();
        w->resize(1000, 700);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }

    void cleanup()
    {
        for (QenOverlay *o : w->findChildren<QenOverlay *>())
            delete o;
        for (QenDoc *doc : w->documents()) {
            doc->engine()->pause();
            doc->setModified(false);
        }
        w.reset();
        flushDeletes();
        QCOMPARE(prompt->pending(), 0);
    }

    void twoFlowsGiveTheirOwnAlveolarCurves()
    {
        QenDoc *high = run("Isoflurane", 1.5, 8, 15);
        QenDoc *low = run("Isoflurane", 1.5, 1, 12);
        QVERIFY(high && low);
        QenOverlay *o = openOverlay();
        QVERIFY(o);
        QCOMPARE(o->windowTitle(), QStringLiteral("Overlay Comparison"));
        QVERIFY(o->isModal());
        QCOMPARE(o->lineCount(), 2);
        QCOMPARE(o->lineDocument(0), high); // created first, so first by title
        QCOMPARE(o->lineDocument(1), low);
        QCOMPARE(o->legend(0), high->title() + " (FGF=8)");
        QCOMPARE(o->legend(1), low->title() + " (FGF=1)");
        QVERIFY(o->legendLabel(1)->isVisible() && !o->legendLabel(2)->isVisible());
        QVERIFY(o->lineColor(0) != o->lineColor(1));

        // ALV over One: the absolute pressures on the fixed height.
        QCOMPARE(o->showId(), int(OverlayALV));
        QCOMPARE(o->overId(), int(OverlayOne));
        QCOMPARE(o->currentHeight(), 5.0);
        QCOMPARE(o->graph()->ySize(), 5.0);
        QCOMPARE(o->graph()->mac(), 0.0);
        const double alvHigh = high->engine()->compartment(0, ALV, 10.0f);
        const double alvLow = low->engine()->compartment(0, ALV, 10.0f);
        QVERIFY(alvHigh > alvLow + 0.1); // the flow matters, so a swap would show
        QCOMPARE(askOverlay(o, 0, 10.0f), alvHigh);
        QCOMPARE(askOverlay(o, 1, 10.0f), alvLow);
        // Past a run's own time there is nothing to draw for it.
        QVERIFY(askOverlay(o, 0, 13.0f) > 0);
        QCOMPARE(askOverlay(o, 1, 13.0f), -1.0);

        // Each curve is drawn where its value lies, in its colour.
        const QImage image = o->graph()->grab().toImage();
        for (int line : {0, 1}) {
            const double v = line == 0 ? alvHigh : alvLow;
            const QPoint p = o->graph()->mapToPixel(10.0, v, true).pixel;
            QVERIFY2(colorNear(image, p, o->lineColor(line)), qPrintable(QString::number(line)));
        }
    }

    void ratioToDelIsMeasuredAndBandedAtOne()
    {
        QenDoc *a = run("Isoflurane", 2.0, 2, 20);
        QenDoc *off = run("Isoflurane", 0.0, 2, 20);
        QVERIFY(a && off);
        QenOverlay *o = openOverlay();
        QVERIFY(o);
        QCOMPARE(o->lineCount(), 2);
        choose(o, OverlayALV, OverlayDEL);
        QVERIFY(!o->measuring());
        // The scale fits the largest ratio of the run, found here step by step.
        double largest = 0;
        for (int step = 1; step <= 200; ++step) {
            const float t = step / 10.0f;
            largest = std::max(largest, double(a->engine()->compartment(0, ALV, t)) /
                                            a->engine()->delDelivered(0, t));
        }
        QVERIFY(largest > 0.1 && largest < 1);
        QVERIFY2(o->currentHeight() >= largest && o->currentHeight() < largest + 0.1 + 1e-4,
                 qPrintable(QStringLiteral("%1 for %2").arg(o->currentHeight()).arg(largest)));
        // Below a ratio of 1 there is no band to mark.
        QCOMPARE(o->graph()->mac(), 0.0);
        const double expected =
            a->engine()->compartment(0, ALV, 10.0f) / a->engine()->delDelivered(0, 10.0f);
        QVERIFY(std::fabs(askOverlay(o, 0, 10.0f) - expected) < 1e-6);
        // A run that delivers nothing has no ratio to DEL: it draws nothing.
        for (float t : {0.5f, 5.0f, 10.0f, 19.5f})
            QCOMPARE(askOverlay(o, 1, t), -1.0);
        o->graph()->repaint();
        QVERIFY(o->graph()->drawnFrom(0) <= o->graph()->drawnTo(0));
        QVERIFY(o->graph()->drawnFrom(1) > o->graph()->drawnTo(1));

        // CKT over ALV lies above 1 (some 15 in the first minute of the
        // whole run): the band marks where the two are equal.
        choose(o, OverlayCKT, OverlayALV);
        QCOMPARE(o->currentHeight(), 20.0);
        QCOMPARE(o->graph()->mac(), 1.0);
        // Back to absolute values: fixed height again, no band.
        choose(o, OverlayALV, OverlayOne);
        QCOMPARE(o->currentHeight(), 5.0);
        QCOMPARE(o->graph()->mac(), 0.0);
    }

    void costIsShownAsItIs()
    {
        QVERIFY(run("Isoflurane", 1.5, 4, 10));
        QenOverlay *o = openOverlay();
        QVERIFY(o);
        choose(o, -1, OverlayALV);
        QCOMPARE(o->overId(), int(OverlayALV));
        choose(o, OverlayCost, -1);
        QVERIFY(o->findChild<QLabel *>("lQuantity")->text().contains("Cost ($)"));
        QCOMPARE(o->overId(), int(OverlayOne));
        QVERIFY(o->overButton(OverlayOne)->isChecked());
        QVERIFY(!o->overButton(OverlayALV)->isEnabled());
        // The cost has no fixed scale: it was measured.
        QVERIFY(!o->measuring());
        QVERIFY(askOverlay(o, 0, 9.0f) > 0);
    }

    // Opened from the graph of the shorter run, the overlay still shows the
    // whole of the longer one, from its start; the spans of the graph view
    // are offered in the window.
    void opensOnTheWholeRun()
    {
        QenDoc *longer = run("Isoflurane", 1.5, 4, 30);
        QenDoc *shorter = run("Isoflurane", 1.5, 1, 12);
        QVERIFY(longer && shorter);
        QenOverlay *o =
            QenOverlayLauncher::open(w.get(), nullptr, graphChild(shorter), w->allChildren());
        QVERIFY(o);
        settle(o);
        QCOMPARE(o->lineCount(), 2);
        QCOMPARE(o->spanMinutes(), 0);
        QCOMPARE(o->graph()->origin(), 0.0);
        QCOMPARE(o->graph()->xSize(), 30.0);
        QCOMPARE(o->graph()->xLabelEvery(), 10.0);
        QCOMPARE(o->graph()->xVal(), 30.0);
        // The first minutes are drawn, not only the last window.
        o->graph()->repaint();
        QVERIFY2(o->graph()->drawnFrom(0) < 0.5,
                 qPrintable(QString::number(o->graph()->drawnFrom(0))));
        QVERIFY(o->graph()->drawnTo(0) > 29.5);
        QVERIFY(o->graph()->drawnTo(1) > 11.5 && o->graph()->drawnTo(1) < 12.5);

        QComboBox *spans = o->spanBox();
        QCOMPARE(spans->count(), 10);
        QCOMPARE(spans->currentText(), QStringLiteral("Whole run"));
        QCOMPARE(spans->itemText(3), QStringLiteral("15 Min"));
        // The last 15 minutes, starting on a labelled time.
        spans->setCurrentIndex(3);
        QCOMPARE(o->spanMinutes(), 15);
        QCOMPARE(o->graph()->origin(), 15.0);
        QCOMPARE(o->graph()->xSize(), 15.0);
        o->graph()->repaint();
        QVERIFY(o->graph()->drawnFrom(1) > o->graph()->drawnTo(1)); // over by then
        spans->setCurrentIndex(0);
        QCOMPARE(o->graph()->origin(), 0.0);
        QCOMPARE(o->graph()->xSize(), 30.0);
    }

    void wholeRunAxis_data()
    {
        QTest::addColumn<double>("latest");
        QTest::addColumn<double>("size");
        QTest::addColumn<double>("labels");
        QTest::addColumn<double>("ticks");
        QTest::newRow("nothing yet") << 0.0 << 5.0 << 1.0 << 1.0;
        QTest::newRow("3.2") << 3.2 << 5.0 << 1.0 << 1.0;
        QTest::newRow("7") << 7.0 << 7.0 << 2.0 << 1.0;
        QTest::newRow("22") << 22.0 << 25.0 << 10.0 << 5.0;
        QTest::newRow("30") << 30.0 << 30.0 << 10.0 << 5.0;
        QTest::newRow("44") << 44.0 << 45.0 << 15.0 << 5.0;
        QTest::newRow("90") << 90.0 << 90.0 << 30.0 << 10.0;
        QTest::newRow("700") << 700.0 << 720.0 << 180.0 << 90.0;
    }
    void wholeRunAxis()
    {
        QFETCH(double, latest);
        QFETCH(double, size);
        QFETCH(double, labels);
        QFETCH(double, ticks);
        const OverlayTimeAxis a = overlayWholeRun(latest);
        QCOMPARE(a.origin, 0.0);
        QCOMPARE(a.size, size);
        QCOMPARE(a.labelEvery, labels);
        QCOMPARE(a.tickEvery, ticks);
    }

    void spanAxis_data()
    {
        QTest::addColumn<int>("span");
        QTest::addColumn<double>("latest");
        QTest::addColumn<double>("origin");
        QTest::newRow("15 of 33") << 15 << 33.0 << 20.0;
        QTest::newRow("30 of 12") << 30 << 12.0 << 0.0;
        QTest::newRow("60 of 100") << 60 << 100.0 << 40.0;
        QTest::newRow("60 of 101") << 60 << 101.0 << 60.0;
    }
    void spanAxis()
    {
        QFETCH(int, span);
        QFETCH(double, latest);
        QFETCH(double, origin);
        const OverlayTimeAxis a = overlaySpan(span, latest);
        QCOMPARE(a.origin, origin);
        QCOMPARE(a.size, double(span));
        // The latest time is inside, the left edge is labelled.
        QVERIFY(a.origin + a.size >= latest);
        QCOMPARE(std::fmod(a.origin, a.labelEvery), 0.0);
    }

    // Nitrous oxide at 70 %atm lies far above the old fixed height of 5: the
    // top is measured, and the whole line is drawn.
    void nitrousOxideIsDrawnInFull()
    {
        QenDoc *doc = run("Nitrous Oxide", 70, 8, 10);
        QVERIFY(doc);
        QenOverlay *o = openOverlay();
        QVERIFY(o);
        choose(o, OverlayCKT, OverlayOne);
        double largest = 0;
        for (int step = 1; step <= 100; ++step)
            largest = std::max(largest, double(doc->engine()->compartment(0, CKT, step / 10.0f)));
        QVERIFY(largest > 50 && largest <= 70);
        // 50 < largest <= 100: a top of 100, ticks every 10, labels every 50.
        QCOMPARE(o->currentHeight(), 100.0);
        QCOMPARE(o->graph()->ySize(), 100.0);
        QCOMPARE(o->graph()->yTickEvery(), 10.0);
        QCOMPARE(o->graph()->yLabelEvery(), 50.0);
        for (float t : {0.5f, 3.0f, 9.5f})
            QVERIFY(askOverlay(o, 0, t) > 5);
        o->graph()->repaint();
        QVERIFY(o->graph()->drawnFrom(0) < 0.5);
        QVERIFY(o->graph()->drawnTo(0) > 9.5);
        QCOMPARE(o->clippedPoints(), 0);
        QVERIFY(o->clippedNote().isEmpty());
    }

    // A ratio's first point far above the rest is left out of the scale, and
    // the window says that something was not drawn.
    void aClippedLineIsNamed()
    {
        // Alveoli over fat, on a 10-hour span (a point every two minutes) with
        // the steepest slope allowed: the first point lies more than the
        // slope above the next, and the scale is set without it.
        qenApp->setValue("Defaults", "OverlaySlope", 1);
        QVERIFY(run("Isoflurane", 2.0, 2, 20));
        QenOverlay *o = openOverlay();
        qenApp->ini().remove("Defaults", "OverlaySlope");
        QVERIFY(o);
        o->setSpanMinutes(600);
        choose(o, OverlayALV, OverlayFAT);
        o->graph()->repaint();
        QVERIFY(o->clippedPoints() > 0);
        QVERIFY(!o->clippedNote().isEmpty());
        choose(o, OverlayALV, OverlayOne);
        o->graph()->repaint();
        QCOMPARE(o->clippedPoints(), 0);
        QVERIFY(o->clippedNote().isEmpty());
    }

    // Three new documents given three agents: each line in its agent's colour
    // of the catalogue (desflurane blue, sevoflurane yellow, isoflurane
    // purple), the legend in the colour drawn.
    void eachLineInItsAgentsColour()
    {
        QVERIFY(run("Desflurane", 6, 2, 5));
        QVERIFY(run("Sevoflurane", 2, 2, 5));
        QVERIFY(run("Isoflurane", 1.2, 2, 5));
        QenOverlay *o = openOverlay();
        QVERIFY(o);
        QCOMPARE(o->lineCount(), 3);
        const QStringList expected = {"blue", "yellow", "purple"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(o->lineDocument(i)->agentColor(0), expected[i]);
            QCOMPARE(o->lineColor(i), QColor(expected[i]));
            QVERIFY(o->legendLabel(i)->text().contains(QColor(expected[i]).name()));
        }
        // Two runs of one agent: the second gets a spare colour.
        QVERIFY(run("Isoflurane", 2.0, 2, 5));
        delete o;
        o = openOverlay();
        QVERIFY(o);
        QCOMPARE(o->lineCount(), 4);
        QCOMPARE(o->lineColor(2), QColor("purple"));
        QVERIFY(o->lineColor(3) != QColor("purple"));
        for (int i = 0; i < 3; ++i)
            QVERIFY(o->lineColor(3) != o->lineColor(i));
    }

    void sixRunsGiveFiveLines()
    {
        for (int i = 0; i < 6; ++i)
            QVERIFY(run("Isoflurane", 1.0 + i * 0.2, 4, 2));
        QenOverlay *o = openOverlay();
        QVERIFY(o);
        QCOMPARE(o->lineCount(), 5);
        QSet<QenDoc *> docs;
        for (int i = 0; i < 5; ++i) {
            docs.insert(o->lineDocument(i));
            QVERIFY(o->legendLabel(i)->isVisible());
            QVERIFY(o->legendLabel(i)->text().contains(o->legend(i).toHtmlEscaped()));
        }
        QCOMPARE(docs.size(), 5);
        QVERIFY(o->legend(4).contains("DEL="));
    }

    void theChoiceOutlivesTheWindowAndStartsFromTheSettings()
    {
        qenApp->setValue("Defaults", "OverlayShow", "vrg");
        qenApp->setValue("Defaults", "OverlayOver", "mac");
        QVERIFY(run("Sevoflurane", 2.0, 2, 5));
        QPointer<QenOverlay> o = openOverlay();
        QVERIFY(o);
        QCOMPARE(o->showId(), int(OverlayVRG));
        QCOMPARE(o->overId(), int(OverlayMAC));
        choose(o, OverlayFAT, OverlayCKT);
        o->close();
        flushDeletes();
        QVERIFY(o.isNull());
        o = openOverlay();
        QVERIFY(o);
        QCOMPARE(o->showId(), int(OverlayFAT));
        QCOMPARE(o->overId(), int(OverlayCKT));
    }

    // The main window connects Help to the help viewer; without a handler
    // the button says why it cannot help.
    void helpWaitsForItsHandler()
    {
        QVERIFY(run("Isoflurane", 1.5, 4, 1));
        QenOverlay *o = openOverlay();
        QVERIFY(o);
        QPushButton *help = o->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Help);
        QVERIFY(help->isEnabled());
        o->setHelpHandler(nullptr);
        QVERIFY(!help->isEnabled());
        QVERIFY(!help->toolTip().isEmpty());
        int asked = 0;
        o->setHelpHandler([&asked] { ++asked; });
        QVERIFY(help->isEnabled());
        help->click();
        QCOMPARE(asked, 1);
    }

    // Three agents at 1 MAC in the semi-closed circuit at a low flow, ALV over
    // DEL: the window and its saved picture go to the gallery folder
    // (QUENOR_GALLERY_DIR, or "gallery" beside the test program).
    void gallery()
    {
        QString out = qEnvironmentVariable("QUENOR_GALLERY_DIR");
        if (out.isEmpty())
            out = QDir(QCoreApplication::applicationDirPath()).filePath("gallery");
        QVERIFY(QDir().mkpath(out));
        installGalleryLanguage();
        for (const char *agent : {"Desflurane", "Sevoflurane", "Isoflurane"}) {
            QenDoc *doc = run(agent, 0, 2, 0);
            QVERIFY(doc);
            doc->engine()->setDEL(QenUserOrigin, 0, doc->engine()->agentOf(0)->mac);
            runEngineTo(doc->engine(), 15 * 60000);
        }
        QenOverlay *o = openOverlay();
        QVERIFY(o);
        o->resize(900, 600);
        choose(o, OverlayALV, OverlayDEL);
        QCOMPARE(o->lineCount(), 3);
        QVERIFY(o->legend(0).contains("Desflurane/DEL=6"));
        QVERIFY(o->grab().save(QDir(out).filePath("overlay-window.png")));
        QVERIFY(o->saveImageTo(QDir(out).filePath("overlay-picture.png")));
        // On a real display, the whole screen as the user sees it.
        if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
            QTest::qWait(300);
            const QPixmap screen = o->screen()->grabWindow(0);
            QVERIFY(!screen.isNull() && screen.save(QDir(out).filePath("overlay-screen.png")));
        }
        // The same runs in multiples of their agent's MAC.
        choose(o, OverlayALV, OverlayMAC);
        QVERIFY(o->saveImageTo(QDir(out).filePath("overlay-mac.png")));
    }

    void picturesAreTwiceTheScreen()
    {
        QVERIFY(run("Desflurane", 6, 2, 10));
        QVERIFY(run("Isoflurane", 1.1, 2, 10));
        QenOverlay *o = openOverlay();
        QVERIFY(o);
        QWidget *picture = o->findChild<QWidget *>("wPicture");
        QVERIFY(picture);
        const QSize expected = picture->size() * 2;

        QString asked;
        o->setSaveDialog([&](QWidget *, const QString &, const QString &proposal, const QString &) {
            asked = proposal;
            return programDir->filePath("comparison");
        });
        QVERIFY(o->saveImage());
        QVERIFY(asked.endsWith(".png"));
        QImage saved(programDir->filePath("comparison.png"));
        QCOMPARE(saved.size(), expected);
        // Line 0's colour appears in the picture: the curves are in it.
        bool found = false;
        for (int y = 0; y < saved.height() && !found; y += 2)
            for (int x = 0; x < saved.width() && !found; ++x)
                found = saved.pixelColor(x, y) == o->lineColor(0);
        QVERIFY(found);

        o->copyImage();
        QCOMPARE(QGuiApplication::clipboard()->image().size(), expected);

        // A folder that does not exist: the user is told, nothing is claimed.
        prompt->expect(QenPrompt::Ok);
        QVERIFY(!o->saveImageTo(programDir->filePath("missing/comparison.png")));
        QCOMPARE(prompt->records().size(), 1);
        QCOMPARE(prompt->records()[0].icon, QenPrompt::Critical);
    }
};

int main(int argc, char *argv[])
{
    return runWindowTests<TestQenOverlay>(argc, argv, [](QenApplication &) {
        prompt = appTestPrompt();
        programDir = &appTestDir();
    });
}

#include "tst_qenoverlay.moc"
