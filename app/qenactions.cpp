#include "app/qenactions.h"

#include "views/qenicon.h"

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <algorithm>
#include <vector>

namespace {
enum Flag : unsigned {
    Checkable = 1,
    Checked = 2,
    Hidden = 4,
    // Reaches every window of the program, not only the main window.
    AppWide = 8,
    // In no menu: its shortcut reaches it from whatever tab is in front.
    OnWindow = 16,
    // Of a menu: shows its entries' tool tips (why Send is disabled).
    ShowsTips = 32,
};

// Where an entry sits: a position orders the entries of one menu or of the
// tool bar, and its tens are the entry's group; a separator parts two groups.
// 0 on the tool bar: not there.
struct Row
{
    const char *name;
    const char *text;
    const char *shortcut;
    const char *icon;
    unsigned flags;
    const char *menu; // the key of a menu in the menu table below
    int menuPos;
    int toolPos;
};

// Texts and shortcuts are translated in the main window's context, where the
// translators have always found them. Spelled out in full on every row: the
// translation scanner does not see through a macro of our own, so a text
// written with the short macro below would never reach the translators (the
// translation test names any it finds).
#define T(text) QT_TRANSLATE_NOOP("QenMainWindow", text)
const Row rows[] = {
    {"actionNew", QT_TRANSLATE_NOOP("QenMainWindow", "&New"),
     QT_TRANSLATE_NOOP("QenMainWindow", "Ctrl+N"), ":/images/new.png", AppWide, "File", 11, 11},
    {"actionOpen", QT_TRANSLATE_NOOP("QenMainWindow", "&Open..."),
     QT_TRANSLATE_NOOP("QenMainWindow", "Ctrl+O"), ":/images/open.png", 0, "File", 12, 12},
    {"actionClose", QT_TRANSLATE_NOOP("QenMainWindow", "&Close"),
     QT_TRANSLATE_NOOP("QenMainWindow", "Ctrl+W"), nullptr, 0, "File", 17, 0},
    {"actionSave", QT_TRANSLATE_NOOP("QenMainWindow", "&Save"),
     QT_TRANSLATE_NOOP("QenMainWindow", "Ctrl+S"), ":/images/save.png", 0, "File", 15, 13},
    {"actionSaveAs", QT_TRANSLATE_NOOP("QenMainWindow", "Save &As..."), nullptr, nullptr, 0, "File",
     16, 0},
    {"actionRun", QT_TRANSLATE_NOOP("QenMainWindow", "Run"), nullptr, ":/images/run.png", 0, "File",
     21, 42},
    {"actionRunAll", QT_TRANSLATE_NOOP("QenMainWindow", "Run All"), nullptr, ":/images/runall.png",
     0, "File", 22, 44},
    {"actionPrint", QT_TRANSLATE_NOOP("QenMainWindow", "&Print..."), nullptr, ":/images/print.png",
     0, "File", 31, 14},
    {"actionSend", QT_TRANSLATE_NOOP("QenMainWindow", "Sen&d..."), nullptr, ":/images/send.png", 0,
     "File", 51, 0},
    {"actionPrintPreview", QT_TRANSLATE_NOOP("QenMainWindow", "Print Pre&view..."), nullptr,
     ":/images/printpreview.png", 0, "File", 32, 0},
    {"actionXml", QT_TRANSLATE_NOOP("QenMainWindow", "XML..."), nullptr, nullptr, 0, "File/Export",
     12, 0},
    {"actionHtml", QT_TRANSLATE_NOOP("QenMainWindow", "HTML..."), nullptr, nullptr, 0,
     "File/Export", 13, 0},
    {"actionPdf", QT_TRANSLATE_NOOP("QenMainWindow", "&PDF..."), nullptr, ":/images/exportpdf.png",
     0, "File/Export", 11, 0},
    {"actionPageSetup", QT_TRANSLATE_NOOP("QenMainWindow", "Page Setup..."), nullptr, nullptr, 0,
     "File", 33, 0},
    {"actionPrintSelect", QT_TRANSLATE_NOOP("QenMainWindow", "Print Se&lect..."), nullptr, nullptr,
     0, "File", 34, 0},
    {"actionExit", QT_TRANSLATE_NOOP("QenMainWindow", "E&xit"), nullptr, nullptr, 0, "File", 61, 0},
    {"actionRewind", QT_TRANSLATE_NOOP("QenMainWindow", "Re&wind"), nullptr, ":/images/rewind.png",
     0, "Edit", 11, 41},
    {"actionFastFwd", QT_TRANSLATE_NOOP("QenMainWindow", "&Fast Fwd"), nullptr, ":/images/ffwd.png",
     0, "Edit", 12, 43},
    {"actionZeroTimer", QT_TRANSLATE_NOOP("QenMainWindow", "&Zero Timer"),
     QT_TRANSLATE_NOOP("QenMainWindow", "Ctrl+Z"), ":/images/timer.png", 0, "Edit", 13, 0},
    {"actionClearAll", QT_TRANSLATE_NOOP("QenMainWindow", "Clear &All"), nullptr, nullptr, 0,
     "Edit", 14, 0},
    {"actionSelectAll", QT_TRANSLATE_NOOP("QenMainWindow", "&Select All"),
     QT_TRANSLATE_NOOP("QenMainWindow", "Ctrl+A"), nullptr, 0, "Edit", 21, 0},
    {"actionCopySelection", QT_TRANSLATE_NOOP("QenMainWindow", "Copy Selec&tion"),
     QT_TRANSLATE_NOOP("QenMainWindow", "Ctrl+X"), ":/images/cut.png", 0, "Edit", 22, 22},
    {"actionCopyData", QT_TRANSLATE_NOOP("QenMainWindow", "&Copy Data"),
     QT_TRANSLATE_NOOP("QenMainWindow", "Ctrl+C"), ":/images/copy.png", 0, "Edit", 23, 21},
    {"actionLiquidInject", QT_TRANSLATE_NOOP("QenMainWindow", "&Liquid Inject"),
     QT_TRANSLATE_NOOP("QenMainWindow", "Ctrl+L"), ":/images/srynge_up.png", 0, "Anesthesia", 11,
     0},
    {"actionUnitDose", QT_TRANSLATE_NOOP("QenMainWindow", "Unit &Dose..."),
     QT_TRANSLATE_NOOP("QenMainWindow", "Ctrl+D"), nullptr, 0, "Anesthesia", 12, 0},
    {"actionSetCost", QT_TRANSLATE_NOOP("QenMainWindow", "Set &Cost..."), nullptr, nullptr, 0,
     "Anesthesia", 21, 0},
    {"actionAdjustDel", QT_TRANSLATE_NOOP("QenMainWindow", "&FGF, DEL, VA, CO..."), nullptr,
     nullptr, 0, "Anesthesia", 22, 0},
    {"actionChangeAgent", QT_TRANSLATE_NOOP("QenMainWindow", "&Agent and Circuit..."), nullptr,
     nullptr, 0, "Anesthesia", 23, 0},
    {"actionDefaultColors", QT_TRANSLATE_NOOP("QenMainWindow", "Default &Colors"), nullptr, nullptr,
     0, "Anesthesia", 24, 0},
    {"actionWakeUpForecast", QT_TRANSLATE_NOOP("QenMainWindow", "&Wake-up Forecast..."), nullptr,
     nullptr, 0, "Anesthesia", 31, 0},
    {"actionToolbar", QT_TRANSLATE_NOOP("QenMainWindow", "&Toolbar"), nullptr, nullptr,
     Checkable | Checked, "View", 21, 0},
    {"actionTile", QT_TRANSLATE_NOOP("QenMainWindow", "&Tile Windows"), nullptr, nullptr, 0,
     "Window", 11, 0},
    {"actionGroup", QT_TRANSLATE_NOOP("QenMainWindow", "&Group Windows"), nullptr, nullptr, 0,
     "Window", 13, 0},
    {"actionCascade", QT_TRANSLATE_NOOP("QenMainWindow", "&Cascade Windows"), nullptr, nullptr, 0,
     "Window", 12, 0},
    {"actionNewGraphView", QT_TRANSLATE_NOOP("QenMainWindow", "New &Graph View"),
     QT_TRANSLATE_NOOP("QenMainWindow", "Ctrl+Shift+G"), nullptr, OnWindow, nullptr, 0, 0},
    {"actionNewPictureView", QT_TRANSLATE_NOOP("QenMainWindow", "New &Picture View"),
     QT_TRANSLATE_NOOP("QenMainWindow", "Ctrl+Shift+P"), nullptr, OnWindow, nullptr, 0, 0},
    {"actionOverlay", QT_TRANSLATE_NOOP("QenMainWindow", "&Overlay"), nullptr,
     ":/images/overlay.png", 0, "View", 13, 32},
    {"actionZoomIn", QT_TRANSLATE_NOOP("QenMainWindow", "Zoom &in"),
     QT_TRANSLATE_NOOP("QenMainWindow", "Ctrl++"), nullptr, 0, "View", 14, 0},
    {"actionZoomOut", QT_TRANSLATE_NOOP("QenMainWindow", "Zoom o&ut"),
     QT_TRANSLATE_NOOP("QenMainWindow", "Ctrl+-"), nullptr, 0, "View", 15, 0},
    {"actionDisableUptake", QT_TRANSLATE_NOOP("QenMainWindow", "Disable &Uptake"),
     QT_TRANSLATE_NOOP("QenMainWindow", "Ctrl+U"), nullptr, Checkable, "Special", 11, 0},
    {"actionDisableReturn", QT_TRANSLATE_NOOP("QenMainWindow", "Disable &Return"),
     QT_TRANSLATE_NOOP("QenMainWindow", "Ctrl+R"), nullptr, Checkable, "Special", 12, 0},
    {"actionEnableVapor", QT_TRANSLATE_NOOP("QenMainWindow", "Enable &Vapor"),
     QT_TRANSLATE_NOOP("QenMainWindow", "Ctrl+V"), nullptr, Checkable, "Special", 13, 0},
    {"actionChangePatient", QT_TRANSLATE_NOOP("QenMainWindow", "Change &Patient..."), nullptr,
     ":/images/patient.png", 0, "Special", 14, 0},
    {"actionSetBookmark", QT_TRANSLATE_NOOP("QenMainWindow", "Set &Bookmark..."), nullptr,
     ":/images/bookmark.png", 0, "Special", 15, 33},
    // Reached by its own Ctrl+B shortcut only.
    {"actionSetBreakPoint", QT_TRANSLATE_NOOP("QenMainWindow", "Set Brea&kPoint"), nullptr, nullptr,
     Hidden, "Special", 16, 0},
    {"actionEnableScrolling", QT_TRANSLATE_NOOP("QenMainWindow", "Enable &Scrolling"), nullptr,
     nullptr, Checkable, "Special", 17, 0},
    {"actionHideNumerics", QT_TRANSLATE_NOOP("QenMainWindow", "&Hide Numerics"), nullptr, nullptr,
     Checkable, "Special", 21, 0},
    {"actionShowCost", QT_TRANSLATE_NOOP("QenMainWindow", "Show &Cost"), nullptr,
     ":/images/cost.png", Checkable, "Special", 22, 31},
    {"actionHelpTopic", QT_TRANSLATE_NOOP("QenMainWindow", "&Help Topic"),
     QT_TRANSLATE_NOOP("QenMainWindow", "F1"), ":/images/help.png", 0, "Help", 11, 0},
    {"actionAbout", QT_TRANSLATE_NOOP("QenMainWindow", "&About Quenor®..."), nullptr,
     ":/images/quenor.png", 0, "Help", 12, 0},
    {"actionDescription", QT_TRANSLATE_NOOP("QenMainWindow", "Simulation Description"), nullptr,
     nullptr, 0, "File", 41, 0},
    {"actionOptions", QT_TRANSLATE_NOOP("QenMainWindow", "&Options..."), nullptr,
     ":/images/options.png", 0, "Tools", 11, 0},
};
#undef T

// The menu bar's menus, left to right, and their sub-menus. A sub-menu's key
// is its menu's, a slash and its own; it sits at its position among that
// menu's commands. A sub-menu without a title is made by the window (its
// entries are a class of their own); the object name lets the commands' rule
// enable the sub-menu as a whole.
struct MenuRow
{
    const char *key;
    const char *title;
    const char *name;
    const char *icon;
    int pos;
    unsigned flags;
};

const MenuRow menus[] = {
    {"File", QT_TRANSLATE_NOOP("QenMainWindow", "&File"), nullptr, nullptr, 0, ShowsTips},
    {"File/Recent", QT_TRANSLATE_NOOP("QenMainWindow", "Open Recent"), "actionOpenRecent",
     ":/images/open.png", 13, 0},
    {"File/Examples", nullptr, nullptr, nullptr, 14, 0},
    {"File/Export", QT_TRANSLATE_NOOP("QenMainWindow", "Export to..."), "actionExportTo", nullptr,
     35, 0},
    {"Edit", QT_TRANSLATE_NOOP("QenMainWindow", "&Edit"), nullptr, nullptr, 0, 0},
    {"Anesthesia", QT_TRANSLATE_NOOP("QenMainWindow", "&Anesthesia"), nullptr, nullptr, 0, 0},
    {"View", QT_TRANSLATE_NOOP("QenMainWindow", "&View"), nullptr, nullptr, 0, 0},
    {"View/NewGraph", QT_TRANSLATE_NOOP("QenMainWindow", "New &Graph"), "actionNewGraph", nullptr,
     11, 0},
    {"View/NewPicture", QT_TRANSLATE_NOOP("QenMainWindow", "New &Picture"), "actionNewPicture",
     nullptr, 12, 0},
    {"Special", QT_TRANSLATE_NOOP("QenMainWindow", "&Special"), nullptr, nullptr, 0, 0},
    {"Tools", QT_TRANSLATE_NOOP("QenMainWindow", "&Tools"), nullptr, nullptr, 0, 0},
    // After its commands the window lists the open windows.
    {"Window", QT_TRANSLATE_NOOP("QenMainWindow", "&Window"), nullptr, nullptr, 0, 0},
    {"Help", QT_TRANSLATE_NOOP("QenMainWindow", "&Help"), nullptr, nullptr, 0, 0},
};

QString translated(const char *text)
{
    return QCoreApplication::translate("QenMainWindow", text);
}

// Adds `entries` (position, action) to `widget` in the order of their
// positions, a separator between groups.
void place(QWidget *widget, std::vector<std::pair<int, QAction *>> entries)
{
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i > 0 && entries[i].first / 10 != entries[i - 1].first / 10) {
            auto *separator = new QAction(widget);
            separator->setSeparator(true);
            widget->addAction(separator);
        }
        widget->addAction(entries[i].second);
    }
}
} // namespace

QenActions::QenActions(QObject *parent) : QObject(parent)
{
    for (const Row &row : rows) {
        auto *act = new QAction(translated(row.text), this);
        act->setObjectName(QLatin1String(row.name));
        if (row.icon)
            act->setIcon(QIcon(QLatin1String(row.icon)));
        if (row.shortcut)
            act->setShortcut(QKeySequence(translated(row.shortcut)));
        if (row.flags & AppWide)
            act->setShortcutContext(Qt::ApplicationShortcut);
        act->setCheckable(row.flags & Checkable);
        act->setChecked(row.flags & Checked);
        act->setVisible(!(row.flags & Hidden));
        if (act->isCheckable())
            connect(act, &QAction::toggled, this, [this, act](bool on) { run(act, on); });
        else
            connect(act, &QAction::triggered, this, [this, act] { run(act, false); });
        m_actions.append(act);
        m_byName.insert(act->objectName(), act);
    }
}

void QenActions::adopt(QAction *act)
{
    m_byName.insert(act->objectName(), act);
}

QHash<QString, QMenu *> QenActions::build(QMainWindow *window, QToolBar *toolBar,
                                          const MenuMaker &make)
{
    QHash<QString, QMenu *> made;
    // Each menu's entries: its commands and its sub-menus, by position.
    QHash<QString, std::vector<std::pair<int, QAction *>>> entries;
    for (const MenuRow &row : menus) {
        const QString key = QLatin1String(row.key);
        const int slash = key.lastIndexOf(QLatin1Char('/'));
        QMenu *menu = nullptr;
        if (slash < 0) {
            menu = window->menuBar()->addMenu(translated(row.title));
        } else {
            QMenu *parent = made.value(key.left(slash));
            menu = row.title ? new QMenu(translated(row.title), parent) : make(key, parent);
            entries[key.left(slash)].emplace_back(row.pos, menu->menuAction());
        }
        if (row.icon)
            menu->setIcon(QIcon(QLatin1String(row.icon)));
        if (row.name) {
            menu->menuAction()->setObjectName(QLatin1String(row.name));
            adopt(menu->menuAction());
        }
        if (row.flags & ShowsTips)
            menu->setToolTipsVisible(true);
        made.insert(key, menu);
    }

    std::vector<std::pair<int, QAction *>> tools;
    for (const Row &row : rows) {
        QAction *act = get(QLatin1String(row.name));
        if (row.menu)
            entries[QLatin1String(row.menu)].emplace_back(row.menuPos, act);
        if (row.toolPos > 0)
            tools.emplace_back(row.toolPos, act);
        if (row.flags & OnWindow)
            static_cast<QWidget *>(window)->addAction(act);
    }
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        Q_ASSERT_X(made.contains(it.key()), "QenActions::build",
                   "a command names a menu the menu table lacks");
        place(made.value(it.key()), it.value());
    }
    place(toolBar, tools);
    // The last group ends with a separator too.
    toolBar->addSeparator();
    return made;
}

void QenActions::setHandler(const QString &name, std::function<void()> handler)
{
    m_handlers.insert(name, [handler = std::move(handler)](bool) { handler(); });
}

void QenActions::setHandler(const QString &name, std::function<void(bool)> handler)
{
    m_handlers.insert(name, std::move(handler));
}

void QenActions::setFallback(std::function<void(const QString &)> fallback)
{
    m_fallback = std::move(fallback);
}

void QenActions::run(QAction *act, bool checked)
{
    const auto handler = m_handlers.constFind(act->objectName());
    if (handler != m_handlers.cend())
        (*handler)(checked);
    else if (m_fallback)
        m_fallback(act->objectName());
}

void QenActions::setEnabled(const char *name, bool on) const
{
    if (QAction *act = get(QLatin1String(name)))
        act->setEnabled(on);
}

void QenActions::setChecked(const char *name, bool on) const
{
    // Showing the state is no command to change it.
    if (QAction *act = get(QLatin1String(name))) {
        const QSignalBlocker blocker(act);
        act->setChecked(on);
    }
}

void QenActions::update(const QenActiveState &s)
{
    const bool child = s.hasChild;
    // File
    for (const char *name : {"actionClose", "actionSave", "actionSaveAs", "actionRun", "actionSend",
                             "actionPrintPreview", "actionExportTo", "actionPrint"})
        setEnabled(name, child);
    setEnabled("actionRunAll", child && s.childCount > 1);
    // Without a mail command Send cannot work: it says why instead.
    setEnabled("actionSend", child && s.mailProblem.isEmpty());
    if (QAction *send = get(QStringLiteral("actionSend")))
        send->setToolTip(s.mailProblem);
    if (child) {
        QAction *run = get(QStringLiteral("actionRun"));
        const bool startable = s.runState == APaused || s.runState == ANotRun;
        run->setText(startable ? translated(QT_TRANSLATE_NOOP("QenMainWindow", "Run"))
                               : translated(QT_TRANSLATE_NOOP("QenMainWindow", "Stop")));
        run->setIcon(qenIcon(startable ? QStringLiteral(":/images/run.png")
                                       : QStringLiteral(":/images/stop.png")));
        run->setEnabled(s.runState != AFinished);
        QAction *runAll = get(QStringLiteral("actionRunAll"));
        if (s.anyRunning) {
            runAll->setText(translated(QT_TRANSLATE_NOOP("QenMainWindow", "Stop All")));
            runAll->setIcon(qenIcon(QStringLiteral(":/images/stopall.png")));
        } else if (s.anyStartable) {
            runAll->setText(translated(QT_TRANSLATE_NOOP("QenMainWindow", "Run All")));
            runAll->setIcon(qenIcon(QStringLiteral(":/images/runall.png")));
        } else {
            runAll->setEnabled(false);
        }
    }

    // Edit
    setEnabled("actionRewind", child && s.displayTime > 0);
    setEnabled("actionFastFwd", child && s.displayTime < s.endTime);
    setEnabled("actionZeroTimer", child && s.simTime != 0);
    setEnabled("actionClearAll", child);
    setEnabled("actionSelectAll", child);
    setEnabled("actionCopyData", child);
    setEnabled("actionCopySelection", child && s.hasSelection);

    // Anesthesia
    const bool agent = child && s.hasAgent;
    setEnabled("actionLiquidInject", agent && s.canInject);
    setEnabled("actionUnitDose", agent && s.unitDose > 0);
    setEnabled("actionSetCost", agent && s.agentVolatile);
    for (const char *name :
         {"actionAdjustDel", "actionChangeAgent", "actionDefaultColors", "actionWakeUpForecast"})
        setEnabled(name, agent);

    // Special
    for (const char *name :
         {"actionDisableUptake", "actionDisableReturn", "actionEnableVapor", "actionChangePatient",
          "actionSetBookmark", "actionSetBreakPoint", "actionEnableScrolling"})
        setEnabled(name, child);
    const bool picture = child && s.childType == QenChildWindowInterface::Picture;
    setEnabled("actionHideNumerics", picture);
    setEnabled("actionShowCost", picture);
    if (child) {
        setChecked("actionDisableUptake", !s.uptakeEffect);
        setChecked("actionDisableReturn", !s.venousReturn);
        setChecked("actionEnableVapor", agent && s.unitDose != 0 && s.vaporEffect);
        setChecked("actionEnableScrolling", s.scrolling);
        setChecked("actionHideNumerics", s.numericsHidden);
        setChecked("actionShowCost", s.costShown);
    }

    // View
    const bool graph = child && s.childType == QenChildWindowInterface::Graph;
    const bool newView = child;
    for (const char *name : {"actionNewGraph", "actionNewPicture", "actionDescription"})
        setEnabled(name, child);
    setEnabled("actionOverlay", child && s.overlayTarget);
    setEnabled("actionZoomIn", graph && s.zoom < 3);
    setEnabled("actionZoomOut", graph && s.zoom > 1);
    setEnabled("actionNewGraphView", newView);
    setEnabled("actionNewPictureView", newView);
    setEnabled("actionToolbar", true);

    // Window
    for (const char *name : {"actionTile", "actionCascade", "actionGroup"})
        setEnabled(name, child);
}
