// The commands' enabling rules, checked without a window: each row is what is
// active, and the commands a user can then reach.

#include "app/qenactions.h"

#include <QAction>
#include <QSet>
#include <QTest>

namespace {
using Names = QSet<QString>;

Names named(std::initializer_list<const char *> names)
{
    Names set;
    for (const char *name : names)
        set.insert(QStringLiteral("action") + QLatin1String(name));
    return set;
}

// Usable whatever is active (the export entries sit in a sub-menu that is not).
const Names always = named({"New", "Open", "PageSetup", "PrintSelect", "Exit", "Options",
                            "HelpTopic", "About", "Toolbar", "Pdf", "Xml", "Html"});
// Every document command that needs no more than an active window.
const Names withChild =
    named({"Close",         "Save",           "SaveAs",        "Run",
           "Send",          "PrintPreview",   "Print",         "ClearAll",
           "SelectAll",     "CopyData",       "AdjustDel",     "ChangeAgent",
           "DefaultColors", "WakeUpForecast", "DisableUptake", "DisableReturn",
           "EnableVapor",   "ChangePatient",  "SetBookmark",   "EnableScrolling",
           "Description",   "Tile",           "Cascade",       "Group"});
} // namespace

Q_DECLARE_METATYPE(QenActiveState)

class TestQenActions : public QObject
{
    Q_OBJECT

private slots:
    void update_data()
    {
        QTest::addColumn<QenActiveState>("state");
        QTest::addColumn<Names>("enabled");
        QTest::addColumn<Names>("checked");
        QTest::addColumn<QString>("run");
        QTest::addColumn<QString>("runAll");

        QTest::newRow("no document") << QenActiveState() << always << named({"Toolbar"}) << "Run"
                                     << "Run All";

        QenActiveState control;
        control.hasChild = true;
        control.childCount = 1;
        control.anyStartable = true;
        control.hasAgent = true;
        control.agentVolatile = true;
        // Vapor shows checked only for an agent given as unit doses.
        control.vaporEffect = true;
        QTest::newRow("control window, not run, alone")
            // New views are made from the tray's tab too (Ctrl+Shift+G, Ctrl+Shift+P).
            << control
            << (always | withChild | named({"SetCost", "NewGraphView", "NewPictureView"}))
            << named({"Toolbar"}) << "Run"
            << "Run All";

        // Without a mail command Send is the one command that cannot work.
        QenActiveState noMail = control;
        noMail.mailProblem = QStringLiteral("no mail command");
        QTest::newRow("control window, no mail command")
            << noMail
            << ((always | withChild | named({"SetCost", "NewGraphView", "NewPictureView"})) -
                named({"Send"}))
            << named({"Toolbar"}) << "Run"
            << "Run All";

        QenActiveState graph;
        graph.hasChild = true;
        graph.childType = QenChildWindowInterface::Graph;
        graph.runState = APaused;
        graph.childCount = 3;
        graph.anyStartable = true;
        graph.displayTime = 60;
        graph.endTime = 120;
        graph.simTime = 60;
        graph.hasSelection = true;
        graph.hasAgent = true;
        graph.unitDose = 2;
        graph.canInject = true;
        graph.uptakeEffect = false;
        graph.vaporEffect = true;
        graph.scrolling = true;
        graph.zoom = 2;
        graph.overlayTarget = true;
        QTest::newRow("graph, paused midway, zoomed once")
            << graph
            << (always | withChild |
                named({"RunAll", "Rewind", "FastFwd", "ZeroTimer", "CopySelection", "LiquidInject",
                       "UnitDose", "Overlay", "ZoomIn", "ZoomOut", "NewGraphView",
                       "NewPictureView"}))
            << named({"Toolbar", "DisableUptake", "EnableVapor", "EnableScrolling"}) << "Run"
            << "Run All";

        QenActiveState running = graph;
        running.runState = ARunning;
        running.anyRunning = true;
        running.zoom = 3;
        running.overlayTarget = false;
        QTest::newRow("graph, running, fully zoomed")
            << running
            << ((always | withChild |
                 named({"RunAll", "Rewind", "FastFwd", "ZeroTimer", "CopySelection", "LiquidInject",
                        "UnitDose", "ZoomOut", "NewGraphView", "NewPictureView"})))
            << named({"Toolbar", "DisableUptake", "EnableVapor", "EnableScrolling"}) << "Stop"
            << "Stop All";

        QenActiveState finished;
        finished.hasChild = true;
        finished.childType = QenChildWindowInterface::Picture;
        finished.runState = AFinished;
        finished.childCount = 2;
        finished.displayTime = 120;
        finished.endTime = 120;
        finished.simTime = 120;
        finished.hasAgent = false;
        finished.numericsHidden = true;
        QTest::newRow("picture of a finished run, no agent")
            << finished
            << ((always | withChild |
                 named({"Rewind", "ZeroTimer", "HideNumerics", "ShowCost", "NewGraphView",
                        "NewPictureView"})) -
                named({"Run", "AdjustDel", "ChangeAgent", "DefaultColors", "WakeUpForecast"}))
            << named({"Toolbar", "HideNumerics"}) << "Stop"
            << "Run All";
    }

    void update()
    {
        QFETCH(QenActiveState, state);
        QFETCH(Names, enabled);
        QFETCH(Names, checked);
        QFETCH(QString, run);
        QFETCH(QString, runAll);
        QenActions actions;
        actions.update(state);
        Names isEnabled;
        Names isChecked;
        for (QAction *act : actions.all()) {
            if (act->isEnabled())
                isEnabled.insert(act->objectName());
            if (act->isChecked())
                isChecked.insert(act->objectName());
        }
        QCOMPARE(isEnabled, enabled);
        QCOMPARE(isChecked, checked);
        QCOMPARE(actions.get("actionRun")->text(), run);
        QCOMPARE(actions.get("actionRunAll")->text(), runAll);
    }

    void aStubRunsTheFallbackUntilItIsWired()
    {
        QenActions actions;
        QStringList fallback;
        actions.setFallback([&](const QString &name) { fallback << name; });
        int exported = 0;
        QList<bool> toggled;
        actions.setHandler("actionShowCost", [&](bool on) { toggled << on; });

        actions.get("actionXml")->trigger();
        actions.setHandler("actionXml", [&] { ++exported; });
        actions.get("actionXml")->trigger();
        actions.get("actionShowCost")->trigger();
        actions.get("actionShowCost")->trigger();

        QCOMPARE(fallback, QStringList{"actionXml"});
        QCOMPARE(exported, 1);
        QCOMPARE(toggled, (QList<bool>{true, false}));
    }
};

QTEST_MAIN(TestQenActions)
#include "tst_qenactions.moc"
