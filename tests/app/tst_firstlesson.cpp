// The help's first lesson followed as a teacher follows it, on the real main
// window: click, type and Enter in the picture, the tray's boxes, the View
// menu's zoom and the overlay, with every figure its tables quote read back
// from the picture. Around it, the points where the program and its help
// used to part company: selected fields, range hints, status messages that
// belong to their simulation, exports and reopened lessons that say what
// happened.

#include "app/qenapplication.h"
#include "app/qenappdochost.h"
#include "app/qenchildwindow.h"
#include "app/qencontrol.h"
#include "app/qendialogs.h"
#include "app/qenmainwindow.h"
#include "app/qenprintpreview.h"
#include "app/qenpreviewview.h"
#include "app/qenreports.h"
#include "app/qensplashscreen.h"
#include "app/qenstatusmessages.h"
#include "document/qendoc.h"
#include "document/qenpacer.h"
#include "document/qenreport.h"
#include "apptestmain.h"
#include "scriptedprompt.h"
#include "views/qengraph.h"
#include "views/qengraphview.h"
#include "views/qenmchn.h"
#include "views/qenoverlay.h"
#include "views/qenoverlaymath.h"
#include "views/qenpanelview.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTextDocument>

#include <algorithm>

namespace {

QenChildWindow *childOf(QenDoc *doc, int type)
{
    for (QenChildWindow *c : QenMainWindow::childrenOf(doc)) {
        if (c->viewType() == type)
            return c;
    }
    return nullptr;
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The run goes on as the document's pacing timer would drive it, in ticks of
// a tenth of a second of real time, until the clock shows `ms`.
void runUntil(QenDoc *doc, quint32 ms)
{
    QenEngine *e = doc->engine();
    int guard = 1000000;
    while (e->state() == ARunning && e->displayTime() < ms && guard-- > 0) {
        const qint64 left = (qint64(ms) - e->displayTime()) / std::max(1, e->speed());
        doc->pacer()->tick(std::clamp<qint64>(left, 1, 100));
        while (e->timerActive() && guard-- > 0)
            e->tick();
    }
}

QPushButton *beginButton(QenDoc *doc)
{
    return childOf(doc, QenChildWindowInterface::Control)
        ->control()
        ->findChild<QPushButton *>(QStringLiteral("runPushButton"));
}

QTableWidget *agentTable(QenDoc *doc)
{
    return childOf(doc, QenChildWindowInterface::Control)
        ->control()
        ->findChild<QTableWidget *>(QStringLiteral("agentTableWidget"));
}

QString shown(QenDoc *doc, MchnPart part)
{
    QenPanelView *panel = childOf(doc, QenChildWindowInterface::Picture)->panelView();
    return panel->findChild<QenMchn *>()->value(part).trimmed();
}

// Pictures for a person to look at; the folder is given by QUENOR_SHOTS.
void shoot(QWidget *widget, const QString &name)
{
    const QString dir = qEnvironmentVariable("QUENOR_SHOTS");
    if (!dir.isEmpty())
        widget->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

} // namespace

class TestFirstLesson : public QObject
{
    Q_OBJECT

    QenMainWindow *w = nullptr;
    ScriptedPrompt *prompt = nullptr;

    QenDoc *newSimulation()
    {
        const int before = int(qenApp->documents().size());
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w))
            return nullptr;
        QTest::keyClick(w, Qt::Key_N, Qt::ControlModifier);
        if (qenApp->documents().size() != before + 1)
            return nullptr;
        return qenApp->documents().last();
    }

    void show(QenChildWindow *child)
    {
        w->setActiveWindow(child);
        QCoreApplication::processEvents();
    }

    // Lesson step 2: the agent cell of row 1 takes isoflurane, as the tray's
    // agent list writes it when the user picks it.
    bool chooseIsoflurane(QenDoc *doc)
    {
        show(childOf(doc, QenChildWindowInterface::Control));
        QTableWidget *table = agentTable(doc);
        table->item(0, 0)->setText(QStringLiteral("Isoflurane"));
        QCoreApplication::processEvents();
        return doc->agentName(0) == QLatin1String("Isoflurane");
    }

    void chooseSpeed(QenDoc *doc, const QString &speed)
    {
        auto *box = childOf(doc, QenChildWindowInterface::Control)
                        ->control()
                        ->findChild<QComboBox *>(QStringLiteral("speedComboBox"));
        box->setCurrentIndex(box->findText(speed));
    }

    // Click into the field, type, Enter: what the lesson's step 4 says.
    void typeInto(QLineEdit *field, const QString &text)
    {
        QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier,
                          QPoint(field->width() / 2, field->height() / 2));
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    void closeAll()
    {
        // A dialog may have had the focus last: the main window takes it back.
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w))
            qWarning("the main window did not become active again");
        for (QenDoc *doc : qenApp->documents()) {
            doc->engine()->pause();
            doc->setModified(false);
            show(childOf(doc, QenChildWindowInterface::Control));
            w->action(QStringLiteral("actionClose"))->trigger();
            flushDeletes();
        }
        flushDeletes();
        QCoreApplication::processEvents();
        flushDeletes();
    }

private slots:
    void initTestCase()
    {
        prompt = appTestPrompt();
        QVERIFY(qenApp->initialize());
        w = qenApp->mainWindow();
        if (qenApp->splashScreen())
            qenApp->splashScreen()->timeUp();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }

    // Every case starts without simulations, also after one that failed.
    void cleanup()
    {
        w->host()->setSaveDialog({});
        closeAll();
        QCOMPARE(qenApp->documents().size(), 0);
        QCOMPARE(prompt->pending(), 0);
        prompt->clear();
    }

    void lessonAsTheHelpTellsIt()
    {
        // 1. Quenor opens with a new simulation in three tabs.
        QCOMPARE(qenApp->documents().size(), 1);
        QenDoc *lesson = qenApp->documents().first();
        QenEngine *e = lesson->engine();

        // 2. Isoflurane in row 1, the semi-closed circuit: FGF 8, DEL 2.9, VA 4, CO 5.
        QVERIFY(chooseIsoflurane(lesson));
        auto *circuit = childOf(lesson, QenChildWindowInterface::Control)
                            ->control()
                            ->findChild<QComboBox *>(QStringLiteral("circuitComboBox"));
        QCOMPARE(circuit->currentText(), QStringLiteral("Semi-closed"));
        QenPanelView *panel = childOf(lesson, QenChildWindowInterface::Picture)->panelView();
        QCOMPARE(panel->field(QenPanelView::DEL)->text(), QStringLiteral("2.90"));
        QCOMPARE(e->fgf(), 8.0f);
        QCOMPARE(e->va(), 4.0f);
        QCOMPARE(e->co(), 5.0f);

        // 3. 10x, Begin; pause at round minutes and read CKT and ALV from the picture.
        chooseSpeed(lesson, QStringLiteral("10x"));
        QCOMPARE(e->speed(), 10);
        const struct
        {
            quint32 minute;
            const char *ckt;
            const char *alv;
        } before[] = {{1, "1.57", "0.50"}, {5, "2.33", "1.28"}, {10, "2.46", "1.61"}};
        for (const auto &row : before) {
            QTest::mouseClick(beginButton(lesson), Qt::LeftButton);
            QCOMPARE(e->state(), ARunning);
            runUntil(lesson, row.minute * 60000);
            QTest::mouseClick(beginButton(lesson), Qt::LeftButton);
            QCOMPARE(e->state(), APaused);
            QCOMPARE(e->displayTime(), row.minute * 60000);
            show(childOf(lesson, QenChildWindowInterface::Picture));
            QCOMPARE(shown(lesson, MchnPart::CKT), QLatin1String(row.ckt));
            QCOMPARE(shown(lesson, MchnPart::ALV), QLatin1String(row.alv));
        }

        // The graph: 30 Min in the box under it; View > Zoom in and out.
        QenChildWindow *graph = childOf(lesson, QenChildWindowInterface::Graph);
        show(graph);
        QenGraphView *graphView = graph->graphViewWidget();
        graphView->spanBox()->setCurrentIndex(
            graphView->spanBox()->findText(QStringLiteral("30 Min")));
        QTest::keyClick(w, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(graphView->zoom(), 2);
        QVERIFY(graphView->compartmentScrollBar()->isVisible());
        QTest::keyClick(w, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(graphView->zoom(), 1);
        QVERIFY(!graphView->compartmentScrollBar()->isVisible());

        // 4. At 10 minutes: click the FGF field, type 2, Enter; continue.
        show(childOf(lesson, QenChildWindowInterface::Picture));
        typeInto(panel->field(QenPanelView::FGF), QStringLiteral("2"));
        QCOMPARE(e->fgf(), 2.0f);
        QCOMPARE(panel->field(QenPanelView::FGF)->text(), QStringLiteral("2.00"));
        shoot(w, QStringLiteral("lesson-step4-fgf-typed"));
        const struct
        {
            quint32 minute;
            const char *ckt;
            const char *alv;
        } after[] = {{11, "2.23", "1.58"}, {15, "1.98", "1.48"}, {30, "1.94", "1.46"}};
        for (const auto &row : after) {
            QTest::mouseClick(beginButton(lesson), Qt::LeftButton);
            runUntil(lesson, row.minute * 60000);
            QTest::mouseClick(beginButton(lesson), Qt::LeftButton);
            QCOMPARE(e->displayTime(), row.minute * 60000);
            QCOMPARE(shown(lesson, MchnPart::CKT), QLatin1String(row.ckt));
            QCOMPARE(shown(lesson, MchnPart::ALV), QLatin1String(row.alv));
        }
        QCoreApplication::processEvents();
        shoot(w, QStringLiteral("lesson-step4-at-30"));

        // 5. A second simulation, FGF left at 8, to 30 minutes: CKT 2.57, ALV 1.92.
        QenDoc *compare = newSimulation();
        QVERIFY(compare);
        QVERIFY(chooseIsoflurane(compare));
        chooseSpeed(compare, QStringLiteral("10x"));
        QTest::mouseClick(beginButton(compare), Qt::LeftButton);
        runUntil(compare, 30 * 60000);
        QTest::mouseClick(beginButton(compare), Qt::LeftButton);
        show(childOf(compare, QenChildWindowInterface::Picture));
        QCOMPARE(shown(compare, MchnPart::CKT), QStringLiteral("2.57"));
        QCOMPARE(shown(compare, MchnPart::ALV), QStringLiteral("1.92"));

        // The overlay from the Graph tab: ALV of both runs, then ALV over CKT.
        QenChildWindow *compareGraph = childOf(compare, QenChildWindowInterface::Graph);
        show(compareGraph);
        compareGraph->graphViewWidget()->spanBox()->setCurrentIndex(
            compareGraph->graphViewWidget()->spanBox()->findText(QStringLiteral("30 Min")));
        QAction *overlayAction = w->action(QStringLiteral("actionOverlay"));
        w->updateAllActions();
        QVERIFY(overlayAction->isEnabled());
        overlayAction->trigger();
        QenOverlay *overlay = w->findChild<QenOverlay *>();
        QVERIFY(overlay);
        QCOMPARE(overlay->lineCount(), 2);
        QSet<QenDoc *> runs{overlay->lineDocument(0), overlay->lineDocument(1)};
        QCOMPARE(runs, (QSet<QenDoc *>{lesson, compare}));
        QCOMPARE(overlay->showId(), int(OverlayALV));
        overlay->overButton(OverlayCKT)->click();
        QCOMPARE(overlay->overId(), int(OverlayCKT));
        // The whole of both runs is drawn: the time axis starts at 0:00.
        QCOMPARE(overlay->graph()->xMin(), 0.0);
        // FA/FI at 30 minutes, from the figures the picture showed: 0.75 both.
        QCOMPARE(QString::number(1.92 / 2.57, 'f', 2), QStringLiteral("0.75"));
        QCOMPARE(QString::number(1.46 / 1.94, 'f', 2), QStringLiteral("0.75"));
        QCOMPARE(QString::number(e->compartment(0, 1, 30.0f) / e->compartment(0, 0, 30.0f), 'f', 2),
                 QStringLiteral("0.75"));
        overlay->resize(900, 600);
        QCoreApplication::processEvents();
        shoot(overlay, QStringLiteral("lesson-step5-overlay"));
        overlay->close();
        flushDeletes();
        closeAll();
    }

    // Clicking or tabbing into a value field selects it whole; a refused key
    // names the field's range in the status bar.
    void fieldsTakeWhatIsTypedAndSayWhatTheyRefuse()
    {
        QenDoc *doc = newSimulation();
        QVERIFY(doc);
        QenEngine *e = doc->engine();
        QenPanelView *panel = childOf(doc, QenChildWindowInterface::Picture)->panelView();
        show(childOf(doc, QenChildWindowInterface::Picture));

        // CO shows 5.00; a click in the middle of it, then 7.5 and Enter.
        typeInto(panel->field(QenPanelView::CO), QStringLiteral("7.5"));
        QCOMPARE(e->co(), 7.5f);
        // Tab from CO's neighbour into VA: typing replaces the value.
        QLineEdit *va = panel->field(QenPanelView::VA);
        QTest::mouseClick(va, Qt::LeftButton);
        QTest::keyClick(va, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), va);
        QCOMPARE(va->selectedText(), va->text());

        // A letter in FGF is refused and the status bar names the range; so
        // is a third decimal.
        QLineEdit *fgf = panel->field(QenPanelView::FGF);
        w->statusBar()->clearMessage();
        QTest::mouseClick(fgf, Qt::LeftButton);
        QTest::keyClicks(fgf, QStringLiteral("x"));
        QCOMPARE(w->statusBar()->currentMessage(),
                 QStringLiteral("FGF takes 0.00 to 500.00 L/min"));
        w->statusBar()->clearMessage();
        QTest::keyClicks(fgf, QStringLiteral("3.125"));
        QCOMPARE(fgf->text(), QStringLiteral("3.12"));
        QCOMPARE(w->statusBar()->currentMessage(),
                 QStringLiteral("FGF takes 0.00 to 500.00 L/min"));
        QTest::keyClick(fgf, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(e->fgf(), 3.12f);
        // Above the highest flow the field takes the highest flow.
        typeInto(fgf, QStringLiteral("600"));
        QCOMPARE(e->fgf(), 500.0f);
        QCOMPARE(fgf->text(), QStringLiteral("500.00"));
        // DEL names the vaporizer's own maximum for the agent in front.
        QLineEdit *del = panel->field(QenPanelView::DEL);
        QTest::mouseClick(del, Qt::LeftButton);
        QTest::keyClicks(del, QStringLiteral("a"));
        QCOMPARE(
            w->statusBar()->currentMessage(),
            QStringLiteral("DEL takes 0.00 to %1 %atm").arg(QString::number(e->maxDel(0), 'f', 2)));
        // The tops of the scales name their own ranges: a flow's goes up to
        // 500 L/min, DEL's to the vaporizer's maximum for the agent.
        const auto topHint = [this](QLineEdit *top) {
            w->statusBar()->clearMessage();
            QTest::mouseClick(top, Qt::LeftButton);
            QTest::keyClicks(top, QStringLiteral("x"));
            return w->statusBar()->currentMessage();
        };
        QCOMPARE(topHint(panel->limitField(QenPanelView::CO)),
                 QStringLiteral("The top of the CO scale takes 1 to 500"));
        QCOMPARE(
            topHint(panel->limitField(QenPanelView::DEL)),
            QStringLiteral("The top of the DEL scale takes 1 to %1").arg(int(e->agentOf(0)->max)));

        // The tray's weight box: a click, 80, Enter.
        show(childOf(doc, QenChildWindowInterface::Control));
        auto *weight = childOf(doc, QenChildWindowInterface::Control)
                           ->control()
                           ->findChild<QDoubleSpinBox *>(QStringLiteral("weightDoubleSpinBox"));
        QLineEdit *weightText = weight->findChild<QLineEdit *>();
        // New settings erase a recording only after a question; there is none yet.
        typeInto(weightText, QStringLiteral("80"));
        QCOMPARE(weight->value(), 80.0);
        QCOMPARE(e->weight(), 80.0f);
        QTest::mouseClick(weightText, Qt::LeftButton);
        QTest::keyClicks(weightText, QStringLiteral("q"));
        QCOMPARE(w->statusBar()->currentMessage(),
                 QStringLiteral("Weight takes %1 to %2")
                     .arg(QString::number(weight->minimum(), 'f', 2),
                          QString::number(weight->maximum(), 'f', 2)));
        QTest::keyClick(weightText, Qt::Key_Escape);
        closeAll();
    }

    // A setting dialog's boxes select on a click too, and their hints reach
    // the main window's status bar from the dialog.
    void settingDialogsSelectAndHint()
    {
        QenDoc *doc = newSimulation();
        QVERIFY(doc);
        QString typed;
        QString hint;
        double low = 0;
        double high = 0;
        QenDialogs::changePatient(*doc, w, [&](QDialog &dialog) {
            dialog.show();
            dialog.activateWindow();
            if (!QTest::qWaitForWindowActive(&dialog))
                return false;
            auto *spin = dialog.findChild<QDoubleSpinBox *>(QStringLiteral("dsbWeight"));
            if (!spin)
                return false;
            low = spin->minimum();
            high = spin->maximum();
            QLineEdit *edit = spin->findChild<QLineEdit *>();
            QTest::mouseClick(edit, Qt::LeftButton);
            QTest::keyClicks(edit, QStringLiteral("80"));
            typed = edit->text();
            w->statusBar()->clearMessage();
            QTest::keyClicks(edit, QStringLiteral("x"));
            hint = w->statusBar()->currentMessage();
            dialog.hide();
            return false;
        });
        QCOMPARE(typed, QStringLiteral("80"));
        QVERIFY2(
            hint.endsWith(QStringLiteral(" takes %1 to %2")
                              .arg(QString::number(low, 'f', 2), QString::number(high, 'f', 2))),
            qPrintable(hint));
    }

    void zoomIsOnTheViewMenu()
    {
        QenDoc *doc = newSimulation();
        QVERIFY(doc);
        QMenu *view = nullptr;
        for (QAction *menu : w->menuBar()->actions()) {
            if (menu->text() == QLatin1String("&View"))
                view = menu->menu();
        }
        QVERIFY(view);
        QAction *in = w->action(QStringLiteral("actionZoomIn"));
        QAction *out = w->action(QStringLiteral("actionZoomOut"));
        QVERIFY(view->actions().contains(in));
        QVERIFY(view->actions().contains(out));
        QCOMPARE(in->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Plus));
        QCOMPARE(out->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Minus));

        // Only a Graph tab zooms, from level 1 to 3.
        show(childOf(doc, QenChildWindowInterface::Picture));
        QVERIFY(!in->isEnabled());
        QVERIFY(!out->isEnabled());
        QenChildWindow *graph = childOf(doc, QenChildWindowInterface::Graph);
        show(graph);
        QVERIFY(in->isEnabled());
        QVERIFY(!out->isEnabled());
        for (int level = 2; level <= 4; ++level)
            QTest::keyClick(w, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(graph->graphViewWidget()->zoom(), 3);
        QVERIFY(!in->isEnabled());
        QVERIFY(out->isEnabled());
        closeAll();
    }

    // "End of recording" belongs to the simulation that reached it.
    void statusMessagesBelongToTheirSimulation()
    {
        QenDoc *first = newSimulation();
        QVERIFY(first);
        QenEngine *e = first->engine();
        chooseSpeed(first, QStringLiteral("60x"));
        QTest::mouseClick(beginButton(first), Qt::LeftButton);
        runUntil(first, 120000);
        QTest::mouseClick(beginButton(first), Qt::LeftButton);
        w->action(QStringLiteral("actionRewind"))->trigger();
        QTest::mouseClick(beginButton(first), Qt::LeftButton);
        runUntil(first, 130000);
        QCOMPARE(e->state(), APaused);
        const QString end = QStringLiteral("End of recording at 0:02:00");
        QCOMPARE(w->statusBar()->currentMessage(), end);

        QenDoc *second = newSimulation();
        QVERIFY(second);
        QCOMPARE(w->statusBar()->currentMessage(), QString());
        show(childOf(first, QenChildWindowInterface::Graph));
        QCOMPARE(w->statusBar()->currentMessage(), end);
        show(childOf(second, QenChildWindowInterface::Picture));
        QCOMPARE(w->statusBar()->currentMessage(), QString());
        closeAll();
    }

    // A reopened lesson says where its recording ends and selects the agent
    // that was selected; exports say where they went, under the
    // simulation's own name; the closing question names the simulation.
    void aSavedLessonComesBackAndSaysSo()
    {
        QenDoc *doc = newSimulation();
        QVERIFY(doc);
        QTableWidget *table = agentTable(doc);
        show(childOf(doc, QenChildWindowInterface::Control));
        QVERIFY(table->item(1, 0));
        table->item(1, 0)->setText(QStringLiteral("Sevoflurane"));
        QCoreApplication::processEvents();
        QCOMPARE(doc->agentCount(), 2);
        // Sevoflurane's picture in front selects it.
        for (QenChildWindow *c : QenMainWindow::childrenOf(doc)) {
            if (c->viewType() == QenChildWindowInterface::Picture && c->agentIndex() == 1)
                show(c);
        }
        QCOMPARE(doc->engine()->currentTrack(), 1);
        chooseSpeed(doc, QStringLiteral("60x"));
        QTest::mouseClick(beginButton(doc), Qt::LeftButton);
        runUntil(doc, 29 * 60000 + 57000);
        QTest::mouseClick(beginButton(doc), Qt::LeftButton);

        const QString dir = appTestDir().filePath(QStringLiteral("lessons"));
        QVERIFY(QDir().mkpath(dir));
        QString proposed;
        w->host()->setSaveDialog(
            [&](QWidget *, const QString &, const QString &proposal, const QString &) {
                proposed = proposal;
                return QDir(dir).filePath(QFileInfo(proposal).completeBaseName());
            });
        w->action(QStringLiteral("actionSaveAs"))->trigger();
        QVERIFY(QFile::exists(QDir(dir).filePath(
                    QStringLiteral("Untitled%1.qen").arg(doc->title().mid(8)))) ||
                doc->fileName().endsWith(QLatin1String(".qen")));
        const QString saved = doc->fileName();
        const QString name = QFileInfo(saved).completeBaseName();

        // Export to XML: proposed as <name>.xml beside the file, then announced.
        doc->setDescription(QStringLiteral("A first lesson"));
        w->action(QStringLiteral("actionXml"))->trigger();
        QCOMPARE(proposed, QDir(dir).filePath(name + QStringLiteral(".xml")));
        const QString xml = QDir(dir).filePath(name + QStringLiteral(".xml"));
        QVERIFY(QFile::exists(xml));
        QCOMPARE(w->statusBar()->currentMessage(),
                 QStringLiteral("Exported to %1").arg(QDir::toNativeSeparators(xml)));

        // Closing a changed simulation asks about it by name.
        doc->setModified(true);
        prompt->expect(QenPrompt::Discard);
        QVERIFY(doc->maybeSave());
        QCOMPARE(prompt->records().last().text, QStringLiteral("<p>Save changes to %1?").arg(name));
        prompt->clear();
        closeAll();

        QVERIFY(w->openDocument(saved));
        QenDoc *opened = qenApp->documents().last();
        QCOMPARE(opened->engine()->displayTime(), 0u);
        QCOMPARE(w->statusBar()->currentMessage(),
                 QStringLiteral("Opened at 0:00:00 of a recording that runs to 0:29:57: "
                                "Fast Fwd (Edit menu) goes to the end"));
        QCOMPARE(agentTable(opened)->currentRow(), 1);
        QCOMPARE(opened->engine()->currentTrack(), 1);
        shoot(w, QStringLiteral("reopened-status"));
        closeAll();
    }

    void printPreviewOpensFittedToItsWidth()
    {
        QenDoc *doc = newSimulation();
        QVERIFY(doc);
        doc->setDescription(QStringLiteral("A first lesson"));
        w->action(QStringLiteral("actionPrintPreview"))->trigger();
        auto *preview = w->findChild<QenPrintPreview *>();
        QVERIFY(preview);
        QVERIFY(QTest::qWaitForWindowExposed(preview));
        QenPreviewView *view = preview->view();
        // The sheet with its margins fills the view between the spacing.
        const QSizeF page = QenReport::screenPageSize(w->reports()->printer()->pageLayout());
        const QSize content =
            QenPreviewView::contentSize(page, view->pageMargins(), 1, view->scale());
        QVERIFY2(qAbs(content.width() - view->viewport()->width()) <= 1,
                 qPrintable(
                     QStringLiteral("%1 %2").arg(content.width()).arg(view->viewport()->width())));
        QCOMPARE(view->horizontalScrollBar()->maximum(), 0);
        preview->close();
        flushDeletes();
        closeAll();
    }
};

int main(int argc, char *argv[])
{
    return runAppTest(
        argc, argv,
        [&] {
            TestFirstLesson test;
            return QTest::qExec(&test, argc, argv);
        },
        {},
        [](QenApplication &app) {
            app.setValue("MainWindow", "Max", false);
            app.setValue("MainWindow", "Size", QSize(1100, 760));
        });
}

#include "tst_firstlesson.moc"
