#include "app/qenappdochost.h"
#include "app/qenapplication.h"
#include "app/qenchildwindow.h"
#include "app/qenforecastwindow.h"
#include "app/qencontrol.h"
#include "app/qenmainwindow.h"
#include "app/qentabwidget.h"
#include "document/qendoc.h"
#include "apptestmain.h"
#include "scriptedprompt.h"
#include "testfiles.h"
#include "views/qengraphview.h"
#include "views/qenpanelview.h"

#include <QAction>
#include <QDialog>
#include <QDropEvent>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QStatusBar>
#include <QTemporaryDir>
#include "views/qenmchn.h"
#include "views/qengraph.h"
#include "views/qengraphevent.h"

#include <QLineEdit>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>

#include <memory>

namespace {

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QList<QMdiSubWindow *> liveSubWindows(QenMainWindow *w)
{
    flushDeletes();
    return w->mdiArea()->subWindowList();
}

// The names of the commands a user can reach now: enabled and visible.
QSet<QString> usableCommands(QenMainWindow *w)
{
    QSet<QString> names;
    for (QAction *act : w->findChildren<QAction *>()) {
        if (act->objectName().startsWith(QLatin1String("action")) && act->isEnabled() &&
            act->isVisible())
            names.insert(act->objectName());
    }
    return names;
}
} // namespace

class TestQenMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QenMainWindow> w;

    QenChildWindow *childOf(QenDoc *doc, int type, int nth = 0)
    {
        for (QenChildWindow *c : QenMainWindow::childrenOf(doc)) {
            if (c->viewType() == type && nth-- == 0)
                return c;
        }
        return nullptr;
    }

    QString savedFile(const QString &name)
    {
        QenDoc doc(w->host());
        if (!doc.newDocument())
            return QString();
        const QString path = appTestDir().filePath(name);
        return doc.saveFile(path, false) ? path : QString();
    }

private slots:
    void init()
    {
        appTestPrompt()->clear();
        appTestPrompt()->setPermissive(false);
        qenApp->ini().remove(QStringLiteral("Settings"), QStringLiteral("RecentFileList"));
        w = std::make_unique<QenMainWindow>();
        w->resize(1000, 700);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }

    void cleanup()
    {
        for (QenDoc *doc : w->documents()) {
            doc->engine()->pause();
            doc->setModified(false);
        }
        w.reset();
        flushDeletes();
        QCOMPARE(qenApp->documents().size(), 0);
        QCOMPARE(appTestPrompt()->pending(), 0);
    }

    void startsWithOneUsableSetWithoutDocuments()
    {
        w->updateAllActions();
        w->createWindowMenu();
        const QSet<QString> expected = {"actionNew",      "actionOpen",      "actionOpenRecent",
                                        "actionExamples", "actionPageSetup", "actionPrintSelect",
                                        "actionExit",     "actionOptions",   "actionHelpTopic",
                                        "actionAbout",    "actionToolbar"};
        QSet<QString> usable = usableCommands(w.get());
        // The export entries sit in their disabled sub-menu.
        QVERIFY(!w->action("actionExportTo")->isEnabled());
        for (const char *entry : {"actionPdf", "actionXml", "actionHtml"})
            usable.remove(entry);
        QCOMPARE(usable, expected);
        QStringList windowEntries;
        for (QAction *act : w->windowMenu()->actions()) {
            windowEntries << act->text();
            QVERIFY(!act->isEnabled());
        }
        QCOMPARE(windowEntries,
                 (QStringList{"&Tile Windows", "&Cascade Windows", "&Group Windows"}));
        QCOMPARE(w->windowTitle(), QStringLiteral("Quenor®Anesthesia Simulator"));
    }

    void newDocumentShowsControlPictureAndGraph()
    {
        QVERIFY(w->newFile());
        QenDoc *doc = w->documents().value(0);
        QVERIFY(doc);
        const QList<QMdiSubWindow *> subs = liveSubWindows(w.get());
        QCOMPARE(subs.size(), 1);
        auto *tabs = qobject_cast<QenTabWidget *>(subs[0]->widget());
        QVERIFY(tabs);
        QStringList texts;
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i);
        const QString name = doc->title();
        QCOMPARE(texts, (QStringList{name + ":Control", name + ":Picture1", name + ":Graph1"}));
        QCOMPARE(w->activeChild(), childOf(doc, QenChildWindowInterface::Control));
        QCOMPARE(w->windowTitle(), "Quenor®Anesthesia Simulator - " + name + ":Control");
        // The window is large enough to show the tray, the picture and the graphs whole.
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            auto *area = qobject_cast<QScrollArea *>(tabs->child(i)->centralWidget());
            QVERIFY(area);
            QVERIFY2(!area->horizontalScrollBar()->isVisible() &&
                         !area->verticalScrollBar()->isVisible(),
                     qPrintable(texts[i]));
        }
        tabs->setCurrentIndex(0);
        // The window menu lists the document's windows, the active one checked.
        w->createWindowMenu();
        QMenu *perDoc = w->windowMenu()->actions().last()->menu();
        QVERIFY(perDoc);
        QCOMPARE(perDoc->title(), name);
        QCOMPARE(perDoc->actions().size(), 3);
        QVERIFY(perDoc->actions()[0]->isChecked());
        QVERIFY(!perDoc->actions()[1]->isChecked());
    }

    void runAllNeedsMoreThanOneWindow()
    {
        QVERIFY(w->newFile());
        QenDoc *doc = w->documents().first();
        for (QenChildWindow *c : QenMainWindow::childrenOf(doc)) {
            if (c->viewType() != QenChildWindowInterface::Control)
                w->removeChild(c);
        }
        flushDeletes();
        QCOMPARE(QenMainWindow::childrenOf(doc).size(), 1);
        w->updateAllActions();
        QVERIFY(w->activeChild());
        QVERIFY(!w->action("actionRunAll")->isEnabled());
        QVERIFY(w->action("actionRun")->isEnabled());

        QVERIFY(w->newView(doc, 0, QenChildWindowInterface::Graph));
        w->updateAllActions();
        QVERIFY(w->action("actionRunAll")->isEnabled());
    }

    void runAllIsAToggle()
    {
        QVERIFY(w->newFile());
        QVERIFY(w->newFile());
        QenDoc *first = w->documents()[0];
        QenDoc *second = w->documents()[1];
        // The second document is active: run it.
        QCOMPARE(w->activeDocument(), second);
        w->action("actionRun")->trigger();
        QCOMPARE(second->engine()->state(), ARunning);
        QCOMPARE(w->action("actionRun")->text(), QStringLiteral("Stop"));
        QCOMPARE(w->action("actionRunAll")->text(), QStringLiteral("Stop All"));

        w->action("actionRunAll")->trigger();
        QCOMPARE(second->engine()->state(), APaused);
        QCOMPARE(first->engine()->state(), ANotRun);
        QCOMPARE(w->action("actionRunAll")->text(), QStringLiteral("Run All"));
        QCOMPARE(w->action("actionRun")->text(), QStringLiteral("Run"));

        w->action("actionRunAll")->trigger();
        QCOMPARE(first->engine()->state(), ARunning);
        QCOMPARE(second->engine()->state(), ARunning);
        QCOMPARE(w->action("actionRunAll")->text(), QStringLiteral("Stop All"));
    }

    void finishedDocumentShowsDisabledStop()
    {
        QVERIFY(w->newFile());
        QenDoc *doc = w->documents().first();
        doc->engine()->setState(QenSystemOrigin, AFinished);
        w->updateAllActions();
        QCOMPARE(w->action("actionRun")->text(), QStringLiteral("Stop"));
        QVERIFY(!w->action("actionRun")->isEnabled());
        // Nothing left to start or stop.
        QVERIFY(!w->action("actionRunAll")->isEnabled());
    }

    // A run stopped by a bookmark says so where the user looks for it.
    void stopAtABookmarkIsShownInTheStatusBar()
    {
        QVERIFY(w->newFile());
        QenDoc *doc = w->documents().first();
        QenEngine *e = doc->engine();
        doc->setBookmarks({60000});
        w->action("actionRun")->trigger();
        QCOMPARE(e->state(), ARunning);
        for (int i = 0; i < 1000 && e->state() == ARunning; ++i) {
            e->advance(120000);
            while (e->timerActive())
                e->tick();
        }
        QCOMPARE(e->displayTime(), 60000u);
        QCOMPARE(w->statusBar()->currentMessage(), QStringLiteral("Stopped at bookmark 0:01:00"));
    }

    void addEntriesOnlyBeforeTheRun()
    {
        QVERIFY(w->newFile());
        QenDoc *doc = w->documents().first();
        w->updateActions();
        const QList<QAction *> entries = w->newGraphMenu()->actions();
        QCOMPARE(entries.size(), doc->catalogue().size());
        QCOMPARE(entries[0]->text(), doc->agentName(0));
        QVERIFY(entries[0]->isEnabled());
        for (int i = 1; i < entries.size(); ++i) {
            QVERIFY(entries[i]->text().startsWith(QLatin1String("(Add) ")));
            QVERIFY(entries[i]->isEnabled());
        }

        // Adding from the picture menu makes a picture of the new agent.
        const QString added = entries[1]->text().mid(6);
        w->newPictureMenu()->actions()[1]->trigger();
        QCOMPARE(doc->agentCount(), 2);
        QCOMPARE(doc->agentName(1), added);
        QenChildWindow *picture = childOf(doc, QenChildWindowInterface::Picture, 1);
        QVERIFY(picture);
        QCOMPARE(picture->agentIndex(), 1);

        w->action("actionRun")->trigger();
        w->action("actionRun")->trigger();
        QCOMPARE(doc->engine()->state(), APaused);
        w->updateActions();
        const QList<QAction *> later = w->newPictureMenu()->actions();
        QCOMPARE(later[1]->text(), added);
        for (QAction *act : later)
            QCOMPARE(act->isEnabled(), !act->text().startsWith(QLatin1String("(Add) ")));
    }

    void zoomLimits_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<bool>("in");
        QTest::addColumn<bool>("out");
        QTest::newRow("1") << 1 << true << false;
        QTest::newRow("2") << 2 << true << true;
        QTest::newRow("3") << 3 << false << true;
    }
    void zoomLimits()
    {
        QFETCH(int, zoom);
        QFETCH(bool, in);
        QFETCH(bool, out);
        QVERIFY(w->newFile());
        QenChildWindow *graph = childOf(w->documents().first(), QenChildWindowInterface::Graph);
        w->setActiveWindow(graph);
        QCOMPARE(w->activeChild(), graph);
        graph->graphViewWidget()->setZoom(zoom);
        w->updateActions();
        QCOMPARE(w->action("actionZoomIn")->isEnabled(), in);
        QCOMPARE(w->action("actionZoomOut")->isEnabled(), out);
        // A picture has no zoom, nor has the Control window.
        w->setActiveWindow(childOf(w->documents().first(), QenChildWindowInterface::Picture));
        QVERIFY(!w->action("actionZoomIn")->isEnabled());
        QVERIFY(!w->action("actionZoomOut")->isEnabled());
    }

    void ctrlBReachesTheBreakpointDialog()
    {
        QVERIFY(w->newFile());
        QStringList shown;
        w->setDialogRunner([&](QDialog &dialog) {
            shown << dialog.metaObject()->className();
            return false;
        });
        QVERIFY(!w->action("actionSetBreakPoint")->isVisible());
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(shown, QStringList{"qenBkPoint"});
    }

    // The first document of a session fills the work area and follows it; a
    // second one cascades as before and leaves the first as it is.
    void firstDocumentFillsTheWorkArea()
    {
        QMdiArea *area = w->mdiArea();
        QVERIFY(w->newFile());
        QList<QMdiSubWindow *> subs = liveSubWindows(w.get());
        QCOMPARE(subs.size(), 1);
        QCoreApplication::processEvents();
        QCOMPARE(subs[0]->geometry(), area->viewport()->rect());
        w->resize(1024, 768);
        QCoreApplication::processEvents();
        QCOMPARE(subs[0]->geometry(), area->viewport()->rect());

        QVERIFY(w->newFile());
        QCoreApplication::processEvents();
        subs = liveSubWindows(w.get());
        QCOMPARE(subs.size(), 2);
        const QRect first = area->viewport()->rect();
        QCOMPARE(subs[0]->geometry(), first);
        // With two windows the first no longer follows the area.
        w->resize(1200, 900);
        QCoreApplication::processEvents();
        QCOMPARE(subs[0]->geometry(), first);
    }

    // A two-agent document at 1024x768: five tabs, their texts shortened in
    // the middle where they do not fit, each whole in its tip.
    void longTabTextsAreElided()
    {
        w->resize(1024, 768);
        QVERIFY(w->newFile());
        QenDoc *doc = w->documents().first();
        QenControl *tray = childOf(doc, QenChildWindowInterface::Control)->control();
        tray->findChild<QTableWidget *>()->item(1, 0)->setText(QStringLiteral("Sevoflurane"));
        flushDeletes();
        QCOMPARE(doc->agentCount(), 2);
        auto *tabs = qobject_cast<QenTabWidget *>(liveSubWindows(w.get())[0]->widget());
        QVERIFY(tabs);
        QCOMPARE(tabs->count(), 5);
        QTabBar *bar = tabs->tabBar();
        QCOMPARE(bar->elideMode(), Qt::ElideMiddle);
        for (int i = 0; i < tabs->count(); ++i)
            QVERIFY2(bar->tabToolTip(i).startsWith(tabs->tabText(i) + "\n"),
                     qPrintable(bar->tabToolTip(i)));
        QVERIFY(tabs->tabText(4).contains(doc->title()));
        // Every tab is on the bar, none behind scroll buttons; the tray's
        // short tab gives up no room to the long ones.
        QVERIFY(bar->tabRect(tabs->count() - 1).right() <= bar->width());
        QTabBar roomy;
        roomy.setFont(bar->font());
        roomy.setExpanding(false);
        roomy.resize(4000, bar->height());
        for (int i : {0, 4})
            roomy.addTab(tabs->tabText(i));
        QVERIFY(bar->tabRect(4).width() < roomy.tabRect(1).width());
        QCOMPARE(bar->tabRect(0).width(), roomy.tabRect(0).width());
    }

    void settingCommandsOpenTheirDialogs_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("patient") << "actionChangePatient"
                                 << "QenPatientDlg";
        QTest::newRow("unit dose") << "actionUnitDose"
                                   << "QenDoseDlg";
        QTest::newRow("cost") << "actionSetCost"
                              << "QenCostDlg";
        QTest::newRow("FGF, DEL, VA, CO") << "actionAdjustDel"
                                          << "QenDelDlg";
        QTest::newRow("bookmark") << "actionSetBookmark"
                                  << "QenBookmarkDlg";
        QTest::newRow("agent and circuit") << "actionChangeAgent"
                                           << "QenAgentDlg";
    }
    void settingCommandsOpenTheirDialogs()
    {
        QFETCH(QString, command);
        QFETCH(QString, dialog);
        QVERIFY(w->newFile());
        w->setActiveWindow(childOf(w->documents().first(), QenChildWindowInterface::Picture));
        QStringList shown;
        w->setDialogRunner([&](QDialog &d) {
            shown << d.metaObject()->className();
            // Wide enough for its whole title beside the frame's buttons.
            QFont bold = d.font();
            bold.setBold(true);
            const int title = QFontMetrics(bold).horizontalAdvance(d.windowTitle());
            if (d.width() < title + 3 * QFontMetrics(bold).height())
                shown << QStringLiteral("too narrow: %1 for %2").arg(d.width()).arg(title);
            return false;
        });
        QAction *act = w->action(command);
        QVERIFY(act && act->isEnabled());
        act->trigger();
        QCOMPARE(shown, QStringList{dialog});
        QVERIFY(!w->documents().first()->isModified());
    }

    void sixOpensLeaveFiveRecentEntries()
    {
        QStringList paths;
        for (int i = 1; i <= 6; ++i) {
            paths << savedFile(QStringLiteral("recent%1.qen").arg(i));
            QVERIFY(!paths.last().isEmpty());
        }
        for (const QString &path : std::as_const(paths))
            QVERIFY(w->openDocument(path));
        QCOMPARE(w->documents().size(), 6);
        const QList<QAction *> recent = w->recentFileActions();
        QCOMPARE(recent.size(), 5);
        for (int i = 0; i < 5; ++i) {
            QVERIFY(recent[i]->isVisible());
            QCOMPARE(recent[i]->text(), QStringLiteral("&%1 recent%2.qen").arg(i + 1).arg(6 - i));
        }
        QCOMPARE(w->lastOpenDirectory(), appTestDir().path());

        // A vanished file leaves the list when the menu is refreshed.
        QVERIFY(QFile::remove(paths[4]));
        w->updateRecentFileActions();
        QCOMPARE(recent[0]->text(), QStringLiteral("&1 recent6.qen"));
        QCOMPARE(recent[1]->text(), QStringLiteral("&2 recent4.qen"));
        QVERIFY(recent[3]->isVisible());
        QVERIFY(!recent[4]->isVisible());
        QCOMPARE(qenApp->value("Settings", "RecentFileList").toStringList().size(), 4);

        // Choosing an entry opens nothing new: that file is open already.
        recent[1]->trigger();
        QCOMPARE(w->documents().size(), 6);
    }

    void openingAnOpenFileRaisesItsControl()
    {
        const QString path = savedFile(QStringLiteral("twice.qen"));
        QVERIFY(w->openDocument(path));
        QVERIFY(w->newFile());
        QCOMPARE(w->documents().size(), 2);
        QenDoc *opened = w->documents().first();
        w->setActiveWindow(childOf(opened, QenChildWindowInterface::Graph));
        QVERIFY(w->activeChild() != childOf(opened, QenChildWindowInterface::Control));
        w->setActiveWindow(childOf(w->documents()[1], QenChildWindowInterface::Picture));

        QVERIFY(w->openDocument(appTestDir().path() + "/./twice.qen"));
        QCOMPARE(w->documents().size(), 2);
        QCOMPARE(w->activeChild(), childOf(opened, QenChildWindowInterface::Control));
    }

    void unreadableFileLeavesNoDocument()
    {
        const QString path = appTestDir().filePath("garbage.qen");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a simulation at all");
        f.close();
        appTestPrompt()->expect(QenPrompt::Ok);
        QVERIFY(!w->openDocument(path));
        flushDeletes();
        QCOMPARE(w->documents().size(), 0);
        QCOMPARE(appTestPrompt()->records().size(), 1);
        QVERIFY(appTestPrompt()->records()[0].text.contains("corrupt"));
    }

    void dropOnFreeAreaMakesANewWindowThere()
    {
        QVERIFY(w->newFile());
        QenDoc *doc = w->documents().first();
        QenChildWindow *graph = childOf(doc, QenChildWindowInterface::Graph);
        QenTabWidget *tabs = graph->tabWidget();
        std::unique_ptr<QMimeData> data(tabs->mimeDataFor(tabs->indexOf(graph)));
        QWidget *viewport = w->mdiArea()->viewport();
        // The first document fills the area: made smaller, it leaves room.
        w->mdiArea()->subWindowList().first()->resize(viewport->width() / 2,
                                                      viewport->height() / 2);
        const QPoint free(viewport->width() - 150, viewport->height() - 120);
        for (QMdiSubWindow *sub : w->mdiArea()->subWindowList())
            QVERIFY(!sub->frameGeometry().contains(free));

        QDragEnterEvent enter(free, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(free, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &move);
        QVERIFY(move.isAccepted());
        QDropEvent drop(free, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &drop);

        const QList<QMdiSubWindow *> subs = liveSubWindows(w.get());
        QCOMPARE(subs.size(), 2);
        QCOMPARE(graph->tabWidget()->count(), 1);
        QCOMPARE(subWindowPos(graph), free);
        QCOMPARE(tabs->count(), 2);

        // Over a window a drag is refused.
        const QPoint over = subs[0]->frameGeometry().center();
        QDragMoveEvent refused(over, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &refused);
        QVERIFY(!refused.isAccepted());
    }

    void dropOnAnotherDocumentMakesANewWindow()
    {
        QVERIFY(w->newFile());
        QVERIFY(w->newFile());
        QenDoc *first = w->documents()[0];
        QenDoc *second = w->documents()[1];
        QenChildWindow *picture = childOf(first, QenChildWindowInterface::Picture);
        QenTabWidget *source = picture->tabWidget();
        QenTabWidget *target = childOf(second, QenChildWindowInterface::Control)->tabWidget();
        std::unique_ptr<QMimeData> data(source->mimeDataFor(source->indexOf(picture)));
        QDropEvent drop(QPoint(40, 60), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        w->arranger()->reparentChildDrop(&drop, target);

        QCOMPARE(liveSubWindows(w.get()).size(), 3);
        QCOMPARE(target->count(), 3);
        QVERIFY(picture->tabWidget() != target && picture->tabWidget() != source);
        QCOMPARE(picture->tabWidget()->count(), 1);
        QCOMPARE(w->activeChild(), picture);

        // Onto its own document's window it joins as a tab.
        std::unique_ptr<QMimeData> back(picture->tabWidget()->mimeDataFor(0));
        QDropEvent home(QPoint(10, 10), Qt::MoveAction, back.get(), Qt::LeftButton, Qt::NoModifier);
        w->arranger()->reparentChildDrop(&home, source);
        QCOMPARE(liveSubWindows(w.get()).size(), 2);
        QCOMPARE(picture->tabWidget(), source);
        QCOMPARE(source->currentWidget(), picture);
    }

    // A file opened while another simulation is in front: all its windows go
    // into one window of their own, its tray in front, each tab named as its
    // window is, and the commands speak of the opened simulation.
    void anOpenedFileKeepsItsWindowsTogether()
    {
        const QString path = appTestDir().filePath(QStringLiteral("three agents.qen"));
        {
            QenDoc doc(w->host());
            QVERIFY(doc.newDocument());
            QCOMPARE(doc.addAgent(QStringLiteral("Desflurane")), 1);
            QCOMPARE(doc.addAgent(QStringLiteral("Sevoflurane")), 2);
            QVERIFY(doc.saveFile(path, false));
        }
        QVERIFY(w->newFile());
        QenDoc *other = w->activeDocument();
        QVERIFY(w->openDocument(path));
        QenDoc *opened = w->activeDocument();
        QVERIFY(opened && opened != other);

        const QList<QenChildWindow *> children = QenMainWindow::childrenOf(opened);
        QCOMPARE(children.size(), 7);
        QenTabWidget *tabs = children.first()->tabWidget();
        QVERIFY(tabs && tabs != childOf(other, QenChildWindowInterface::Control)->tabWidget());
        QCOMPARE(tabs->count(), 7);
        QCOMPARE(tabs->currentWidget(), children.first());
        for (int i = 0; i < tabs->count(); ++i)
            QCOMPARE(tabs->tabText(i), qobject_cast<QenChildWindow *>(tabs->widget(i))->title());
        QCOMPARE(tabs->tabText(6), opened->title() + QStringLiteral(":Graph3:(Add'l:Sevoflurane)"));
        QCOMPARE(w->action(QStringLiteral("actionRun"))->text(), QStringLiteral("Run"));
        QVERIFY(w->action(QStringLiteral("actionSave"))->isEnabled());
        QVERIFY(w->windowTitle().contains(opened->title() + QStringLiteral(":Control")));

        // Saved under another name, every tab follows.
        QVERIFY(opened->saveFile(appTestDir().filePath(QStringLiteral("renamed.qen")), true));
        for (int i = 0; i < tabs->count(); ++i) {
            QVERIFY(tabs->tabText(i).startsWith(QLatin1String("renamed")));
            QCOMPARE(tabs->tabText(i), qobject_cast<QenChildWindow *>(tabs->widget(i))->title());
        }
    }

    void groupLeavesOneWindowPerDocument()
    {
        QVERIFY(w->newFile());
        QVERIFY(w->newFile());
        for (QenDoc *doc : w->documents()) {
            for (int type : {QenChildWindowInterface::Picture, QenChildWindowInterface::Graph}) {
                QenChildWindow *c = childOf(doc, type);
                w->arranger()->reparentChild(c, c->tabWidget(), nullptr, QPoint(30, 30));
            }
        }
        QCOMPARE(liveSubWindows(w.get()).size(), 6);

        w->arranger()->groupSubWindows();
        const QList<QMdiSubWindow *> subs = liveSubWindows(w.get());
        QCOMPARE(subs.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QenDoc *doc = w->documents()[i];
            QenTabWidget *tabs = childOf(doc, QenChildWindowInterface::Control)->tabWidget();
            QCOMPARE(tabs->count(), 3);
            for (QenChildWindow *c : QenMainWindow::childrenOf(doc))
                QCOMPARE(c->tabWidget(), tabs);
            QVERIFY(subs.contains(qobject_cast<QMdiSubWindow *>(tabs->parentWidget())));
        }
    }

    void closingAsksOncePerDocument_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("closed");
        QTest::newRow("discard both") << QList<int>{QenPrompt::Discard, QenPrompt::Discard} << true;
        QTest::newRow("cancel the first") << QList<int>{QenPrompt::Cancel} << false;
        QTest::newRow("cancel the second")
            << QList<int>{QenPrompt::Discard, QenPrompt::Cancel} << false;
    }
    void closingAsksOncePerDocument()
    {
        QFETCH(QList<int>, answers);
        QFETCH(bool, closed);
        QVERIFY(w->newFile());
        QVERIFY(w->newFile());
        for (QenDoc *doc : w->documents())
            doc->setModified(true);
        for (int answer : answers)
            appTestPrompt()->expect(answer);

        QVERIFY(w->close() == closed);
        flushDeletes();
        QCOMPARE(appTestPrompt()->records().size(), answers.size());
        // Each question names the simulation it is about.
        for (const auto &record : appTestPrompt()->records())
            QVERIFY2(record.text.startsWith(QLatin1String("<p>Save changes to Untitled")),
                     qPrintable(record.text));
        if (closed) {
            QCOMPARE(w->documents().size(), 0);
            QCOMPARE(liveSubWindows(w.get()).size(), 0);
            QCOMPARE(qenApp->value("MainWindow", "Max").toBool(), w->isMaximized());
        } else {
            // The refusing document keeps its windows.
            QenDoc *kept = w->documents().last();
            QCOMPARE(QenMainWindow::childrenOf(kept).size(), 3);
            QVERIFY(childOf(kept, QenChildWindowInterface::Control)->tabWidget());
        }
    }

    void minimisingHidesTheWindowsAndRestoringShowsTheCurrentTabs()
    {
        QVERIFY(w->newFile());
        QenDoc *doc = w->documents().first();
        QenChildWindow *control = childOf(doc, QenChildWindowInterface::Control);
        QVERIFY(control->isVisible());
        w->setWindowState(Qt::WindowMinimized);
        for (QenChildWindow *c : QenMainWindow::childrenOf(doc))
            QVERIFY(c->isHidden());
        w->setWindowState(Qt::WindowNoState);
        QVERIFY(control->isVisible());
        // The other tabs stay behind the current one.
        QVERIFY(childOf(doc, QenChildWindowInterface::Picture)->isHidden());
        QVERIFY(childOf(doc, QenChildWindowInterface::Graph)->isHidden());
    }

    void editDescriptionMarksModified()
    {
        QVERIFY(w->newFile());
        QenDoc *doc = w->documents().first();
        auto typeDescription = [](const QString &text, bool ok) {
            return [=](QDialog &dialog) {
                dialog.findChild<QPlainTextEdit *>()->setPlainText(text);
                return ok;
            };
        };
        w->setDialogRunner(typeDescription(QStringLiteral("Induction with a high DEL"), true));
        QVERIFY(w->editDescription());
        QCOMPARE(doc->description(), QStringLiteral("Induction with a high DEL"));
        QVERIFY(doc->isModified());
        QCOMPARE(w->windowTitle().right(1), QStringLiteral("*"));
        w->setDialogRunner(typeDescription(QStringLiteral("thrown away"), false));
        QVERIFY(!w->editDescription());
        QCOMPARE(doc->description(), QStringLiteral("Induction with a high DEL"));
        w->setDialogRunner({});
    }

    void hideNumericsHidesThePictureValues()
    {
        QVERIFY(w->newFile());
        QenDoc *doc = w->documents().value(0);
        QenChildWindow *picture = childOf(doc, QenChildWindowInterface::Picture);
        auto *machine = picture->panelView()->findChild<QenMchn *>();
        QVERIFY(machine);
        w->setActiveWindow(picture);
        auto *hide = w->findChild<QAction *>(QStringLiteral("actionHideNumerics"));
        hide->setChecked(true);
        QVERIFY(machine->valuesHidden());
        // The check mark follows the picture it belongs to.
        w->setActiveWindow(childOf(doc, QenChildWindowInterface::Control));
        w->updateActions();
        QVERIFY(!hide->isEnabled());
        w->setActiveWindow(picture);
        w->updateActions();
        QVERIFY(hide->isEnabled() && hide->isChecked());
        hide->setChecked(false);
        QVERIFY(!machine->valuesHidden());
    }

    // The picture's totals show the footprint of what was delivered, a dash
    // for an agent whose footprint is unknown.
    void pictureShowsTheFootprint()
    {
        QVERIFY(w->newFile());
        QenDoc *doc = w->documents().value(0);
        auto *field =
            childOf(doc, QenChildWindowInterface::Picture)->findChild<QLineEdit *>("leCO2e");
        QVERIFY(field);
        // Halothane is rated (nothing delivered yet); ether is not.
        QCOMPARE(doc->engine()->track(0).displayName, QStringLiteral("Halothane"));
        QCOMPARE(field->text(), QStringLiteral("0.00"));
        QVERIFY(doc->setAgent(QenUserOrigin, 0, QStringLiteral("Ether")));
        QCOMPARE(field->text(), QStringLiteral("\u2013"));
        QVERIFY(doc->setAgent(QenUserOrigin, 0, QStringLiteral("Desflurane")));
        runEngineTo(doc->engine(), 10 * 60000);
        const double litres = doc->engine()->track(0).values[QenDelivered];
        QVERIFY(litres > 1.0);
        QCOMPARE(field->text(),
                 QString::number(litres / 24.055 * 168.04 / 1000.0 * 2590.0, 'f', 2));
    }

    // Anesthesia > Wake-up Forecast: the times from the displayed time and the
    // 80 % points every 10 minutes, computed without touching the simulation.
    void wakeUpForecastFromTheMenu()
    {
        QVERIFY(w->newFile());
        QenDoc *doc = w->documents().value(0);
        QVERIFY(doc->addAgent(QStringLiteral("Desflurane")) == 1);
        runEngineTo(doc->engine(), 40 * 60000);
        doc->setModified(false);
        const size_t samples = doc->engine()->track(0).samples.size();
        w->setActiveWindow(childOf(doc, QenChildWindowInterface::Picture));
        w->updateActions();
        QVERIFY(w->action("actionWakeUpForecast")->isEnabled());
        w->action("actionWakeUpForecast")->trigger();

        auto *window = w->findChild<QenForecastWindow *>();
        QVERIFY(window);
        QVERIFY(window->waitUntilFinished());
        QCOMPARE(window->pointCount(), 5);
        QCOMPARE(int(window->table().size()), 2);
        const auto expected =
            QenDecrement(doc->catalogue()).run(QenDecrement::startAt(*doc->engine(), 40 * 60000));
        for (int k = 0; k < 2; ++k) {
            QCOMPARE(window->table()[size_t(k)].minutes, (*expected)[size_t(k)].minutes);
            QCOMPARE(window->point(k, 4), (*expected)[size_t(k)].minutes[1]);
        }
        auto *table = window->findChild<QTableWidget *>("twForecast");
        QCOMPARE(table->item(1, 0)->text(), QStringLiteral("Desflurane"));
        QCOMPARE(table->item(1, 3)->text(), QString::number(*(*expected)[1].minutes[1], 'f', 1));
        // Halothane takes longer than desflurane, and the graph is asked for it.
        QVERIFY(*window->point(0, 4) > *window->point(1, 4));
        GraphSample sample{30.0f, 0.0f, 20.0f};
        QenGraphEvent ask(&sample, window->graph());
        QCoreApplication::sendEvent(window, &ask);
        QCOMPARE(sample.time, 30.0f);
        QCOMPARE(double(sample.value), double(float(*window->point(0, 3))));

        // Side by side: the flow raised at wake-up to the remembered 10 L/min.
        QenDecrement::Start start = QenDecrement::startAt(*doc->engine(), 40 * 60000);
        const float held = start.fgf;
        QVERIFY(held < 10.0f);
        start.wakeFgf = 10.0f;
        const auto raised = QenDecrement(doc->catalogue()).run(start);
        QCOMPARE(window->table(QenForecastWindow::Raised)[1].minutes, (*raised)[1].minutes);
        QCOMPARE(table->item(1, 6)->text(), QString::number(*(*raised)[1].minutes[1], 'f', 1));
        QVERIFY(*(*raised)[1].minutes[2] < *(*expected)[1].minutes[2]);
        // The graph: each agent solid as held, dashed as raised, in its colour.
        QCOMPARE(window->graph()->lineStyle(0), Qt::SolidLine);
        QCOMPARE(window->graph()->lineStyle(3), Qt::DashLine);
        QCOMPARE(window->graph()->lineColor(3), QColor(doc->agentColors().value(1)));
        sample = GraphSample{40.0f, 3.0f, 20.0f};
        QCoreApplication::sendEvent(window, &ask);
        QCOMPARE(double(sample.value),
                 double(float(*window->point(1, 4, QenForecastWindow::Raised))));
        // No point where nothing was in the brain to forecast from: no line
        // from (0:00, 0).
        QVERIFY(!window->point(0, 0) && !window->point(1, 0, QenForecastWindow::Raised));
        QVERIFY(window->point(0, 1));
        sample = GraphSample{5.0f, 0.0f, 0.0f};
        QCoreApplication::sendEvent(window, &ask);
        QCOMPARE(sample.time, -1.0f);

        // A new flow is remembered and computed with.
        window->setWakeFgf(12.5);
        QCOMPARE(doc->host()->ini().value("Forecast", "WakeFGF").toDouble(), 12.5);
        QVERIFY(window->waitUntilFinished());
        start.wakeFgf = 12.5f;
        QCOMPARE(window->table(QenForecastWindow::Raised)[0].minutes,
                 (*QenDecrement(doc->catalogue()).run(start))[0].minutes);

        QVERIFY(!doc->isModified());
        QCOMPARE(doc->engine()->track(0).samples.size(), samples);
        QCOMPARE(doc->engine()->displayTime(), 40u * 60000u);
        window->close();
    }

    void selectionGrabAndCopy()
    {
        QVERIFY(w->newFile());
        w->updateActions();
        QVERIFY(!w->action("actionCopySelection")->isEnabled());
        w->action("actionSelectAll")->trigger();
        QVERIFY(!w->selection().isNull());
        QVERIFY(w->action("actionCopySelection")->isEnabled());
        // A window that leaves takes the selection with it.
        w->removeChild(childOf(w->documents().first(), QenChildWindowInterface::Graph));
        QVERIFY(w->selection().isNull());
    }

private:
    static QPoint subWindowPos(QenChildWindow *child)
    {
        for (QWidget *p = child; p; p = p->parentWidget()) {
            if (auto *sub = qobject_cast<QMdiSubWindow *>(p))
                return sub->pos();
        }
        return QPoint(-1, -1);
    }
};

int main(int argc, char *argv[])
{
    return runAppTest(
        argc, argv,
        [&] {
            TestQenMainWindow test;
            return QTest::qExec(&test, argc, argv);
        },
        {},
        [](QenApplication &app) {
            app.loadVocabulary();
            // The window opens at its own size, not maximised.
            app.setValue("MainWindow", "Max", false);
        });
}

#include "tst_qenmainwindow.moc"
