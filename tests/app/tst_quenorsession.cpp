// A lesson with the real program: start-up, a run at 60x for a simulated
// hour, rewind and replay, save, close and open again, all through the main
// window's commands.

#include "app/qenappdochost.h"
#include "app/qenapplication.h"
#include "app/qenchildwindow.h"
#include "app/qenmainwindow.h"
#include "app/qentabwidget.h"
#include "document/qendoc.h"
#include "document/qenpacer.h"
#include "apptestmain.h"
#include "scriptedprompt.h"
#include "views/qengraph.h"
#include "views/qengraphview.h"
#include "views/qenpanelview.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>

namespace {

QenChildWindow *childOf(QenDoc *doc, int type)
{
    for (QenChildWindow *c : QenMainWindow::childrenOf(doc)) {
        if (c->viewType() == type)
            return c;
    }
    return nullptr;
}

// Pictures for a person to look at; the folder is given by QUENOR_SHOTS.
void shoot(QWidget *widget, const QString &name)
{
    const QString dir = qEnvironmentVariable("QUENOR_SHOTS");
    if (!dir.isEmpty())
        widget->grab().save(QDir(dir).filePath(name + ".png"));
}

// Rows of a strip's picture that are mostly black: its frame's top and bottom
// and the line it draws, when flat.
int blackRows(QWidget *strip)
{
    const QImage image = strip->grab().toImage();
    int rows = 0;
    for (int y = 0; y < image.height(); ++y) {
        int black = 0;
        for (int x = 0; x < image.width(); ++x)
            black += image.pixelColor(x, y) == Qt::black;
        rows += black > image.width() / 2;
    }
    return rows;
}

// The run goes on for `realMs` of pacing at the document's speed, as the
// document's pacing timer would drive it, and the steps are computed.
void pace(QenDoc *doc, QenEngine *engine, int realMs)
{
    doc->pacer()->tick(realMs);
    int guard = 100000;
    while (engine->timerActive() && guard-- > 0)
        engine->tick();
}
} // namespace

class TestQuenorSession : public QObject
{
    Q_OBJECT

private slots:
    void aWholeLesson()
    {
        auto *prompt = static_cast<ScriptedPrompt *>(qenApp->prompt());
        QVERIFY(qenApp->initialize());
        QenMainWindow *w = qenApp->mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        if (qenApp->splashScreen())
            qenApp->splashScreen()->timeUp();

        // Untitled1 with its Control, Picture and Graph tabs.
        QCOMPARE(qenApp->documents().size(), 1);
        QenDoc *doc = qenApp->documents().first();
        QCOMPARE(doc->title(), QStringLiteral("Untitled1"));
        QenTabWidget *tabs = childOf(doc, QenChildWindowInterface::Control)->tabWidget();
        QStringList texts;
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i);
        QCOMPARE(texts,
                 (QStringList{"Untitled1:Control", "Untitled1:Picture1", "Untitled1:Graph1"}));
        shoot(w, "1-start");

        // An hour at 60x from the picture.
        QenChildWindow *picture = childOf(doc, QenChildWindowInterface::Picture);
        QenChildWindow *graph = childOf(doc, QenChildWindowInterface::Graph);
        w->setActiveWindow(picture);
        QenPanelView *panel = picture->panelView();
        panel->SetSpeed(QStringLiteral("60x"));
        QenEngine *e = doc->engine();
        QCOMPARE(e->speed(), 60);
        w->action("actionRun")->trigger();
        QCOMPARE(e->state(), ARunning);
        QCOMPARE(w->action("actionRun")->text(), QStringLiteral("Stop"));
        for (int second = 0; second < 60 && e->state() == ARunning; ++second)
            pace(doc, e, 1000);
        QCOMPARE(e->displayTime(), 3600000u);
        w->action("actionRun")->trigger();
        QCOMPARE(e->state(), APaused);
        const float alvAtHour = e->compartment(0, 1, 60.0f);
        const float vrgAt30 = e->compartment(0, 2, 30.0f);
        QVERIFY(alvAtHour > 0.1f);
        shoot(w, "2-picture-after-an-hour");
        w->setActiveWindow(graph);
        QCoreApplication::processEvents();
        shoot(w, "3-graph-after-an-hour");
        // The strips show the flat FGF and DEL of the hour inside their frames.
        QenGraphView *graphView = graph->graphViewWidget();
        QCOMPARE(blackRows(graphView->fgfGraph()), 3);
        QCOMPARE(blackRows(graphView->delGraph()), 3);

        // Rewind, then replay half an hour: the recording shows the same.
        w->updateAllActions();
        QVERIFY(w->action("actionRewind")->isEnabled());
        QVERIFY(!w->action("actionFastFwd")->isEnabled());
        w->action("actionRewind")->trigger();
        QCOMPARE(e->displayTime(), 0u);
        QCOMPARE(e->endTime(), 3600000u);
        QVERIFY(w->action("actionFastFwd")->isEnabled());
        w->setActiveWindow(picture);
        w->action("actionRun")->trigger();
        for (int second = 0; second < 30 && e->state() == ARunning; ++second)
            pace(doc, e, 1000);
        w->action("actionRun")->trigger();
        QCOMPARE(e->displayTime(), 1800000u);
        QCOMPARE(e->compartment(0, 2, 30.0f), vrgAt30);
        QCOMPARE(e->endTime(), 3600000u);
        w->action("actionFastFwd")->trigger();
        int guard = 100000;
        while (e->timerActive() && guard-- > 0)
            e->tick();
        QCOMPARE(e->displayTime(), 3600000u);
        shoot(w, "4-picture-replayed");

        // Save as, close, open again.
        const QString path = appTestDir().filePath("lesson.qen");
        w->host()->setSaveDialog([&](QWidget *, const QString &, const QString &, const QString &) {
            return appTestDir().filePath("lesson");
        });
        QVERIFY(doc->isModified());
        w->action("actionSaveAs")->trigger();
        QVERIFY(QFile::exists(path));
        QVERIFY(!doc->isModified());
        QCOMPARE(w->windowTitle(), QStringLiteral("Quenor®Anesthesia Simulator - lesson:Picture1"));
        const int samples = int(e->track(0).samples.size());
        w->action("actionClose")->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(qenApp->documents().size(), 0);
        QVERIFY(w->mdiArea()->subWindowList().isEmpty());

        w->updateRecentFileActions();
        QCOMPARE(w->recentFileActions()[0]->text(), QStringLiteral("&1 lesson.qen"));
        w->recentFileActions()[0]->trigger();
        QCOMPARE(qenApp->documents().size(), 1);
        QenDoc *opened = qenApp->documents().first();
        QCOMPARE(opened->title(), QStringLiteral("lesson"));
        QCOMPARE(QenMainWindow::childrenOf(opened).size(), 3);
        QenEngine *o = opened->engine();
        QCOMPARE(int(o->track(0).samples.size()), samples);
        QCOMPARE(o->endTime(), 3600000u);
        QCOMPARE(o->compartment(0, 1, 60.0f), alvAtHour);
        w->setActiveWindow(childOf(opened, QenChildWindowInterface::Graph));
        w->action("actionFastFwd")->trigger();
        guard = 100000;
        while (o->timerActive() && guard-- > 0)
            o->tick();
        QCoreApplication::processEvents();
        shoot(w, "5-graph-reopened");
        QCOMPARE(prompt->pending(), 0);
        QVERIFY(prompt->records().isEmpty());

        // Exit closes everything without a question: nothing is modified.
        QVERIFY(w->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(qenApp->documents().size(), 0);
    }
};

int main(int argc, char *argv[])
{
    return runAppTest(
        argc, argv,
        [&] {
            TestQuenorSession test;
            return QTest::qExec(&test, argc, argv);
        },
        {},
        [](QenApplication &app) {
            app.setValue("MainWindow", "Max", false);
            app.setValue("MainWindow", "Size", QSize(1100, 760));
        });
}

#include "tst_quenorsession.moc"
