// A lesson's desktop under a user's hands: the run goes on whatever windows
// close, nothing is applied or erased by merely leaving a field, the scale
// tops are the simulation's, and the dialogs keep what they were given. Each
// case drives the real main window and its documents.

#include "app/qenapplication.h"
#include "app/qenchildwindow.h"
#include "app/qencontrol.h"
#include "app/qenmainwindow.h"
#include "app/qentabwidget.h"
#include "document/qendoc.h"
#include "document/qendochost.h"
#include "document/qenpacer.h"
#include "apptestmain.h"
#include "scriptedprompt.h"
#include "ui_qencontrol.h"
#include "views/qengraph.h"
#include "views/qengraphview.h"
#include "views/qenpanelview.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QTabBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
ScriptedPrompt *prompt = nullptr;

void flushDeletes()
{
    for (int i = 0; i < 2; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

// The steps the display waits for are computed.
void compute(QenEngine *e)
{
    for (int guard = 200000; e->timerActive() && guard > 0; --guard)
        e->tick();
}

// A field is left the way a user leaves it: focus goes elsewhere.
void leave(QWidget *field)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(field, &out);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}
} // namespace

class TestQenDesktop : public QObject
{
    Q_OBJECT

    std::unique_ptr<QenMainWindow> w;
    QenDoc *doc = nullptr;

    QenChildWindow *childOf(int type, int nth = 0)
    {
        for (QenChildWindow *c : QenMainWindow::childrenOf(doc)) {
            if (c->viewType() == type && nth-- == 0)
                return c;
        }
        return nullptr;
    }
    QenControl *tray() { return childOf(QenChildWindowInterface::Control)->control(); }
    QenPanelView *picture() { return childOf(QenChildWindowInterface::Picture)->panelView(); }

    // A run of `minutes` at 60x from the picture, paused at its end.
    void record(int minutes)
    {
        QenEngine *e = doc->engine();
        e->setSpeed(QenSystemOrigin, 60);
        w->setActiveWindow(childOf(QenChildWindowInterface::Picture));
        w->action("actionRun")->trigger();
        while (e->state() == ARunning && e->displayTime() < quint32(minutes) * 60000u) {
            doc->pacer()->tick(100);
            compute(e);
        }
        if (e->state() == ARunning)
            w->action("actionRun")->trigger();
    }

private slots:
    void init()
    {
        prompt->clear();
        prompt->setPermissive(false);
        w = std::make_unique<QenMainWindow>();
        w->resize(1100, 760);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY(w->newFile());
        doc = w->documents().value(0);
        QVERIFY(doc);
    }

    void cleanup()
    {
        for (QenDoc *d : w->documents()) {
            d->pacer()->pause();
            d->setModified(false);
        }
        w.reset();
        flushDeletes();
        QCOMPARE(prompt->pending(), 0);
    }

    // Leaving the tray's weight box without changing it applies nothing: a
    // Closed circuit keeps its flow, a rewound recording is not offered for erasing.
    void leavingTheWeightBoxChangesNothing()
    {
        QenEngine *e = doc->engine();
        QDoubleSpinBox *weight = tray()->form()->weightDoubleSpinBox;
        tray()->form()->circuitComboBox->setCurrentText(QStringLiteral("Closed"));
        QCOMPARE(e->circuitIndex(), 2);
        doc->engine()->setFGF(QenUserOrigin, 1.0f);
        QMetaObject::invokeMethod(weight, "editingFinished");
        QCOMPARE(e->fgf(), 1.0f);
        QCOMPARE(e->weight(), 70.0f);

        record(3);
        w->action("actionRewind")->trigger();
        QCOMPARE(e->endTime(), 180000u);
        w->setActiveWindow(childOf(QenChildWindowInterface::Control));
        QMetaObject::invokeMethod(weight, "editingFinished");
        QVERIFY(prompt->records().isEmpty());
        QCOMPARE(e->endTime(), 180000u);

        // A weight the user did change asks first; refused, the box shows the kept weight.
        weight->setValue(80);
        prompt->expect(QenPrompt::Cancel);
        QMetaObject::invokeMethod(weight, "editingFinished");
        QCOMPARE(prompt->records().size(), 1);
        QCOMPARE(e->weight(), 70.0f);
        QCOMPARE(weight->value(), 70.0);
        QCOMPARE(e->endTime(), 180000u);
    }

    // The run's pace is the document's: closing the picture that last
    // resumed it leaves the display moving.
    void closingThePictureLeavesTheRunGoing()
    {
        QenEngine *e = doc->engine();
        QenChildWindow *picture1 = childOf(QenChildWindowInterface::Picture);
        w->setActiveWindow(picture1);
        picture1->panelView()->SetSpeed(QStringLiteral("60x"));
        w->action("actionRun")->trigger();
        QCOMPARE(e->state(), ARunning);
        QLineEdit *del = picture1->panelView()->field(QenPanelView::DEL);
        del->setText(QStringLiteral("1.50"));
        QMetaObject::invokeMethod(del, "editingFinished");
        QCoreApplication::processEvents();
        QCOMPARE(e->track(0).del, 1.5f);
        QCOMPARE(e->state(), ARunning);

        picture1->close();
        flushDeletes();
        QVERIFY(!childOf(QenChildWindowInterface::Picture));
        const quint32 before = e->displayTime();
        // At 60x a real second shows a simulated minute.
        QVERIFY(QTest::qWaitFor([&] { return e->displayTime() >= before + 12000; }, 5000));
        QCOMPARE(e->state(), ARunning);
    }

    // Closing a picture while one of its fields has the focus: the field's
    // last editingFinished must not reach the view being destroyed.
    void closingAPictureWithAFocusedField()
    {
        QenChildWindow *picture1 = childOf(QenChildWindowInterface::Picture);
        w->setActiveWindow(picture1);
        QApplication::setActiveWindow(w.get());
        QLineEdit *del = picture1->panelView()->field(QenPanelView::DEL);
        del->setFocus();
        QVERIFY(QTest::qWaitFor([&] { return del->hasFocus(); }, 1000));
        del->setText(QStringLiteral("1.25"));
        picture1->close();
        flushDeletes();
        QVERIFY(!childOf(QenChildWindowInterface::Picture));
        QVERIFY(prompt->records().isEmpty());
    }

    // Pausing and going on, from the main window, loses no simulated milliseconds.
    void pausingKeepsTheDisplayedMilliseconds()
    {
        QenEngine *e = doc->engine();
        w->setActiveWindow(childOf(QenChildWindowInterface::Picture));
        picture()->SetSpeed(QStringLiteral("10x"));
        w->action("actionRun")->trigger();
        doc->pacer()->tick(150);
        compute(e);
        QCOMPARE(e->displayTime(), 1500u);
        w->action("actionRun")->trigger();
        QCOMPARE(e->state(), APaused);
        w->action("actionRun")->trigger();
        doc->pacer()->tick(100);
        compute(e);
        QCOMPARE(e->displayTime(), 2500u);
        // A typed change pauses and resumes too.
        QLineEdit *co = picture()->field(QenPanelView::CO);
        co->setText(QStringLiteral("6.00"));
        QMetaObject::invokeMethod(co, "editingFinished");
        QCoreApplication::processEvents();
        QCOMPARE(doc->pacer()->pacedMs(), qint64(e->displayTime()));
    }

    // A top typed on the picture reaches the graph; an invalid one is refused
    // with a warning and the old top comes back.
    void scaleTopsAreTheSimulations_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("FGF 25") << int(QenPanelView::FGF) << "25" << true;
        QTest::newRow("CO 40") << int(QenPanelView::CO) << "40" << true;
        QTest::newRow("DEL 3") << int(QenPanelView::DEL) << "3" << true;
        QTest::newRow("FGF 0") << int(QenPanelView::FGF) << "0" << false;
        QTest::newRow("VA empty") << int(QenPanelView::VA) << "" << false;
        QTest::newRow("CO 0") << int(QenPanelView::CO) << "0" << false;
        QTest::newRow("DEL 0") << int(QenPanelView::DEL) << "0" << false;
    }
    void scaleTopsAreTheSimulations()
    {
        QFETCH(int, setting);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QenGraphView *graph = childOf(QenChildWindowInterface::Graph)->graphViewWidget();
        QLineEdit *top = picture()->limitField(QenPanelView::Setting(setting));
        const QString before = top->text();
        if (!accepted)
            prompt->expect(QenPrompt::Ok);
        top->setFocus();
        top->setText(typed);
        if (accepted)
            QMetaObject::invokeMethod(top, "editingFinished");
        leave(top);
        if (!accepted) {
            QCOMPARE(prompt->records().size(), 1);
            QCOMPARE(prompt->records().first().text,
                     QStringLiteral("The input is not valid, please check and input it again."));
            QCOMPARE(top->text(), before);
            QCOMPARE(doc->scaleTop(setting, 0), before.toInt());
            return;
        }
        QVERIFY(prompt->records().isEmpty());
        QCOMPARE(doc->scaleTop(setting, 0), typed.toInt());
        // FGF shows on the first strip, CO only in an Open circuit, DEL on both others.
        if (setting == QenPanelView::CO)
            tray()->form()->circuitComboBox->setCurrentIndex(0);
        QenGraph *shown = setting == QenPanelView::DEL  ? graph->compartmentGraph()
                          : setting == QenPanelView::CO ? graph->delGraph()
                                                        : graph->fgfGraph();
        QCOMPARE(shown->ySize(), typed.toDouble());
        // A second picture of the simulation shows the same top.
        tray()->table()->setCurrentCell(0, 0);
        tray()->newPictureAction()->trigger();
        QVERIFY(childOf(QenChildWindowInterface::Picture, 1));
        QenPanelView *second = childOf(QenChildWindowInterface::Picture, 1)->panelView();
        QCOMPARE(second->limitField(QenPanelView::Setting(setting))->text(), typed);
    }

    // The cost dialog offers every bottle size the agent table allows, and
    // an OK without edits gives back exactly what it was given.
    void costDialogKeepsALargeBottle()
    {
        QenAnesthetic *agent = doc->catalogue().value(doc->engine()->track(0).agent);
        QVERIFY(agent);
        agent->bottleSize = 4000;
        agent->bottleCost = 123.456f;
        int shownSize = 0;
        w->setDialogRunner([&](QDialog &dialog) {
            shownSize = dialog.findChild<QSpinBox *>(QStringLiteral("sbSize"))->value();
            return true;
        });
        doc->setModified(false);
        w->action("actionSetCost")->trigger();
        QCOMPARE(shownSize, 4000);
        QCOMPARE(agent->bottleSize, 4000);
        QCOMPARE(agent->bottleCost, 123.456f);
        QVERIFY(!doc->isModified());
    }

    // The span of the graphs may be written in the settings as the list shows it.
    void graphMinutesFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minutes");
        QTest::newRow("2 Hr") << "2 Hr" << 120;
        QTest::newRow("45 Min") << "45 Min" << 45;
        QTest::newRow("10 Hr") << "10 Hr" << 600;
        QTest::newRow("120") << "120" << 120;
        QTest::newRow("7 Min") << "7 Min" << 15;
        QTest::newRow("junk") << "junk" << 15;
    }
    void graphMinutesFromText()
    {
        QFETCH(QString, text);
        QFETCH(int, minutes);
        qenApp->setValue("Defaults", "GraphMinutes", text);
        QVERIFY(w->newFile());
        qenApp->setValue("Defaults", "GraphMinutes", 15);
        QenDoc *second = w->documents().value(1);
        QVERIFY(second);
        QCOMPARE(second->graphMinutes(), minutes);
        for (QenChildWindow *c : QenMainWindow::childrenOf(second)) {
            if (c->viewType() == QenChildWindowInterface::Graph)
                QCOMPARE(c->graphViewWidget()->currentSpanText(), QenGraphView::spanText(minutes));
        }
    }

    // With Show Cost on, the totals' captions say they are costs.
    void costCaptionsFollowShowCost()
    {
        auto *delivered = picture()->findChild<QLabel *>(QStringLiteral("lDelivered"));
        auto *uptake = picture()->findChild<QLabel *>(QStringLiteral("lUptake"));
        w->setActiveWindow(childOf(QenChildWindowInterface::Picture));
        QAction *showCost = w->action("actionShowCost");
        const bool wasOn = showCost->isChecked();
        if (wasOn)
            showCost->trigger();
        QCOMPARE(delivered->text(), QStringLiteral("Delivered (L)"));
        showCost->trigger();
        QCOMPARE(delivered->text(), QStringLiteral("Delivered (cost)"));
        QCOMPARE(uptake->text(), QStringLiteral("Uptake (cost)"));
        showCost->trigger();
        QCOMPARE(uptake->text(), QStringLiteral("Uptake (L)"));
        if (wasOn)
            showCost->trigger();
    }

    // A name being typed in the tray when the agent or the circuit is changed
    // through the dialog is dropped with the dialog.
    void agentDialogClosesTheTraysEditor_data()
    {
        QTest::addColumn<bool>("agent");
        QTest::newRow("agent") << true;
        QTest::newRow("circuit") << false;
    }
    void agentDialogClosesTheTraysEditor()
    {
        QFETCH(bool, agent);
        QTableWidget *table = tray()->table();
        const QModelIndex first = table->model()->index(0, 0);
        table->setCurrentIndex(first);
        table->edit(first);
        QVERIFY(table->indexWidget(first));
        const QString name = doc->agentName(0);
        QString chosen;
        w->setDialogRunner([&](QDialog &dialog) {
            if (agent)
                dialog.show(); // the list of agents is filled as it shows
            auto *box = dialog.findChild<QComboBox *>(agent ? "cbAgent" : "cbCircuit");
            box->setCurrentIndex(box->currentIndex() == 0 ? 1 : 0);
            chosen = box->currentText();
            dialog.hide();
            return true;
        });
        // The command is given with the tray in front (as from its window's menu).
        w->action("actionChangeAgent")->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(agent ? doc->agentName(0) : doc->engine()->circuit(), chosen);
        QVERIFY(!table->indexWidget(first));
        QCOMPARE(table->item(0, 0)->text(), doc->agentName(0));
        QCOMPARE(doc->agentName(0) == name, !agent);
    }

    // Ctrl+W closes the active document: the sub-windows keep only Ctrl+F4.
    void ctrlWCloses()
    {
        QApplication::setActiveWindow(w.get());
        w->setActiveWindow(childOf(QenChildWindowInterface::Picture));
        QTest::keyClick(childOf(QenChildWindowInterface::Picture), Qt::Key_W, Qt::ControlModifier);
        flushDeletes();
        QVERIFY(w->documents().isEmpty());
        QVERIFY(w->newFile());
        const QMdiSubWindow *sub = w->mdiArea()->subWindowList().value(0);
        QVERIFY(sub);
        bool ctrlF4 = false;
        for (const QAction *act : sub->systemMenu()->actions()) {
            QVERIFY(!act->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W)));
            ctrlF4 = ctrlF4 || act->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_F4));
        }
        QVERIFY(ctrlF4);
    }

    // A reopened simulation can be run from the tool bar at once.
    void reopenedRunAllIsEnabled()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lesson.qen"));
        QVERIFY(doc->saveFile(path, false));
        w->action("actionClose")->trigger();
        flushDeletes();
        QVERIFY(w->documents().isEmpty());
        QVERIFY(!w->action("actionRunAll")->isEnabled());
        QVERIFY(w->openDocument(path));
        doc = w->documents().value(0);
        QVERIFY(w->action("actionRunAll")->isEnabled());
        QVERIFY(w->action("actionRun")->isEnabled());
    }

    // A new view is the current tab of a visible window; the shortcuts make
    // one from any tab, the tray's included.
    void newViewsAreShownAndCurrent_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("type");
        QTest::newRow("graph from the tray")
            << int(QenChildWindowInterface::Control) << int(Qt::Key_G)
            << int(QenChildWindowInterface::Graph);
        QTest::newRow("picture from the tray")
            << int(QenChildWindowInterface::Control) << int(Qt::Key_P)
            << int(QenChildWindowInterface::Picture);
        QTest::newRow("graph from a picture")
            << int(QenChildWindowInterface::Picture) << int(Qt::Key_G)
            << int(QenChildWindowInterface::Graph);
        QTest::newRow("picture from a graph")
            << int(QenChildWindowInterface::Graph) << int(Qt::Key_P)
            << int(QenChildWindowInterface::Picture);
    }
    void newViewsAreShownAndCurrent()
    {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, type);
        QApplication::setActiveWindow(w.get());
        w->setActiveWindow(childOf(from));
        w->updateAllActions();
        QTest::keyClick(w->activeChild(), Qt::Key(key), Qt::ControlModifier | Qt::ShiftModifier);
        QCoreApplication::processEvents();
        QenChildWindow *made = childOf(type, 1);
        QVERIFY(made);
        QVERIFY(made->isVisible());
        QCOMPARE(made->tabWidget()->currentWidget(), made);
        QCOMPARE(w->activeChild(), made);
        QVERIFY(w->mdiArea()->viewport()->rect().intersects(
            made->tabWidget()->parentWidget()->geometry()));
    }

    // A tab dragged out, and a reopened simulation, get windows in which the
    // views show whole and the tab texts unclipped.
    void newWindowsAreSizedForTheirViews()
    {
        w->resize(1300, 900);
        QCoreApplication::processEvents();
        auto showsWhole = [](QenChildWindow *child) {
            auto *area = qobject_cast<QScrollArea *>(child->centralWidget());
            return area && !area->horizontalScrollBar()->isVisible() &&
                   !area->verticalScrollBar()->isVisible();
        };
        QenChildWindow *picture1 = childOf(QenChildWindowInterface::Picture);
        w->arranger()->reparentChild(picture1, picture1->tabWidget(), nullptr, QPoint(20, 20));
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QVERIFY(showsWhole(picture1));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lesson.qen"));
        QVERIFY(doc->saveFile(path, false));
        w->action("actionClose")->trigger();
        flushDeletes();
        QVERIFY(w->openDocument(path));
        doc = w->documents().value(0);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        for (QenChildWindow *child : QenMainWindow::childrenOf(doc)) {
            QenTabWidget *tabs = child->tabWidget();
            tabs->setCurrentWidget(child);
            QCoreApplication::processEvents();
            QVERIFY2(showsWhole(child), qPrintable(child->title()));
            const int index = tabs->indexOf(child);
            QVERIFY(tabs->tabBar()->tabRect(index).width() >
                    tabs->tabBar()->fontMetrics().horizontalAdvance(tabs->tabText(index)));
        }
    }

    // Pictures for a person to look at, taken only when QUENOR_SHOTS names a
    // folder: the picture and the graph of a 40-minute run, maximised.
    void shots()
    {
        const QString folder = qEnvironmentVariable("QUENOR_SHOTS");
        if (folder.isEmpty())
            QSKIP("QUENOR_SHOTS names no folder");
        // No window manager under a bare X server: the screen is filled by hand.
        w->setGeometry(w->screen()->availableGeometry());
        QCoreApplication::processEvents();
        QenEngine *e = doc->engine();
        e->setSpeed(QenSystemOrigin, 60);
        w->setActiveWindow(childOf(QenChildWindowInterface::Picture));
        w->action("actionRun")->trigger();
        while (e->state() == ARunning && e->displayTime() < 40u * 60000u) {
            doc->pacer()->tick(1000);
            compute(e);
        }
        w->action("actionRun")->trigger();
        QMdiSubWindow *sub = w->mdiArea()->subWindowList().value(0);
        sub->showMaximized();
        const QString size = QStringLiteral("%1x%2").arg(w->width()).arg(w->height());
        for (int type :
             {int(QenChildWindowInterface::Picture), int(QenChildWindowInterface::Graph)}) {
            w->setActiveWindow(childOf(type));
            QTest::qWait(200);
            w->grab().save(QStringLiteral("%1/%2-%3.png")
                               .arg(folder,
                                    type == QenChildWindowInterface::Picture ? "picture" : "graph",
                                    size));
        }
    }
};

int main(int argc, char *argv[])
{
    return runWindowTests<TestQenDesktop>(argc, argv,
                                          [](QenApplication &) { prompt = appTestPrompt(); });
}

#include "tst_qendesktop.moc"
