// The menu bar and the tool bar as a user finds them, built from the command
// table: each menu's entries in order with their separators and sub-menus,
// every command somewhere a user can reach it, and no key given twice.

#include "app/qenactions.h"
#include "app/qenapplication.h"
#include "app/qenmainwindow.h"
#include "apptestmain.h"
#include "document/qendoc.h"
#include "scriptedprompt.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QTest>
#include <QToolBar>

#include <memory>

namespace {
// The entries of a menu or bar: object names without "action", "|" for a
// separator; a sub-menu's entry is its menu's name, or its title.
QString entries(const QList<QAction *> &actions)
{
    QStringList names;
    for (const QAction *act : actions) {
        if (act->isSeparator())
            names << QStringLiteral("|");
        else if (act->objectName().startsWith(QLatin1String("action")))
            names << act->objectName().mid(6);
        else
            names << act->text();
    }
    return names.join(QLatin1Char(' '));
}

// The menu reached from the menu bar by the titles in `path` ("&File/Export to...").
QMenu *menuAt(QMenuBar *bar, const QString &path)
{
    QList<QAction *> level = bar->actions();
    QMenu *menu = nullptr;
    for (const QString &title : path.split(QLatin1Char('/'))) {
        menu = nullptr;
        for (QAction *act : level) {
            if (act->menu() && act->text() == title)
                menu = act->menu();
        }
        if (!menu)
            return nullptr;
        level = menu->actions();
    }
    return menu;
}

void collect(const QList<QAction *> &actions, QList<QAction *> &into)
{
    for (QAction *act : actions) {
        into << act;
        if (act->menu())
            collect(act->menu()->actions(), into);
    }
}
} // namespace

class TestQenMenus : public QObject
{
    Q_OBJECT

    std::unique_ptr<QenMainWindow> w;

private slots:
    void init()
    {
        appTestPrompt()->clear();
        w = std::make_unique<QenMainWindow>();
    }

    void cleanup() { w.reset(); }

    void layout_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");

        QTest::newRow("menu bar") << QString()
                                  << "&File &Edit &Anesthesia &View &Special &Tools &Window &Help";
        QTest::newRow("File") << "&File"
                              << "New Open OpenRecent Examples Save SaveAs Close | Run RunAll | "
                                 "Print PrintPreview PageSetup PrintSelect ExportTo | Description "
                                 "| Send | Exit";
        QTest::newRow("File, Export to") << "&File/Export to..."
                                         << "Pdf Xml Html";
        QTest::newRow("File, Open Recent")
            << "&File/Open Recent"
            << "RecentFile1 RecentFile2 RecentFile3 RecentFile4 RecentFile5";
        QTest::newRow("Edit") << "&Edit"
                              << "Rewind FastFwd ZeroTimer ClearAll | SelectAll CopySelection "
                                 "CopyData";
        QTest::newRow("Anesthesia")
            << "&Anesthesia"
            << "LiquidInject UnitDose | SetCost AdjustDel ChangeAgent DefaultColors | "
               "WakeUpForecast";
        QTest::newRow("View") << "&View"
                              << "NewGraph NewPicture Overlay ZoomIn ZoomOut | Toolbar";
        QTest::newRow("Special") << "&Special"
                                 << "DisableUptake DisableReturn EnableVapor ChangePatient "
                                    "SetBookmark SetBreakPoint EnableScrolling | HideNumerics "
                                    "ShowCost";
        QTest::newRow("Tools") << "&Tools"
                               << "Options";
        // Without a document the Window menu holds its commands alone.
        QTest::newRow("Window") << "&Window"
                                << "Tile Cascade Group";
        QTest::newRow("Help") << "&Help"
                              << "HelpTopic About";
    }

    void layout()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        if (path.isEmpty()) {
            QCOMPARE(entries(w->menuBar()->actions()), expected);
            return;
        }
        QMenu *menu = menuAt(w->menuBar(), path);
        QVERIFY(menu);
        QCOMPARE(entries(menu->actions()), expected);
    }

    void toolBar()
    {
        QCOMPARE(entries(w->toolBar()->actions()),
                 QStringLiteral("New Open Save Print | CopyData CopySelection | ShowCost Overlay "
                                "SetBookmark | Rewind Run FastFwd RunAll |"));
        // Its context menu can only bring it back.
        std::unique_ptr<QMenu> popup(static_cast<QMainWindow *>(w.get())->createPopupMenu());
        QCOMPARE(entries(popup->actions()), QStringLiteral("Toolbar"));
    }

    // A command of the table that no menu, tool bar or shortcut of the window
    // reaches could never run.
    void everyCommandHasAPlace()
    {
        QList<QAction *> placed;
        collect(w->menuBar()->actions(), placed);
        placed += w->toolBar()->actions();
        placed += w->QWidget::actions();
        for (QAction *act : w->actions()->all())
            QVERIFY2(placed.contains(act), qPrintable(act->objectName()));
        // The two reached by shortcut alone, from any tab.
        QCOMPARE(entries(w->QWidget::actions()), QStringLiteral("NewGraphView NewPictureView"));
    }

    // The list of windows is made afresh each time the menu opens; the lists
    // made before go, sub-menus and all.
    void windowMenuKeepsOneListOfWindows()
    {
        QVERIFY(w->newFile());
        QVERIFY(w->newFile());
        for (int i = 0; i < 3; ++i)
            emit w->windowMenu()->aboutToShow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(w->windowMenu()->findChildren<QMenu *>().size(), 2);
        QCOMPARE(entries(w->windowMenu()->actions()).count(QLatin1Char('|')), 1);
        for (QenDoc *doc : w->documents())
            doc->setModified(false);
    }

    // Qt runs neither command when two share a key.
    void noKeyTwice()
    {
        QHash<QKeySequence, QString> taken;
        auto take = [&](const QKeySequence &key, const QString &name) {
            if (key.isEmpty())
                return;
            QVERIFY2(!taken.contains(key),
                     qPrintable(key.toString() + ": " + taken.value(key) + " and " + name));
            taken.insert(key, name);
        };
        for (QAction *act : w->findChildren<QAction *>())
            take(act->shortcut(), act->objectName());
        const QList<QShortcut *> shortcuts = w->findChildren<QShortcut *>();
        QCOMPARE(shortcuts.size(), 1);
        take(shortcuts.first()->key(), QStringLiteral("the breakpoint"));
        QCOMPARE(taken.size(), 19);
    }
};

int main(int argc, char **argv)
{
    return runWindowTests<TestQenMenus>(argc, argv);
}
#include "tst_qenmenus.moc"
