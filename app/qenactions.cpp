#include "app/qenactions.h"

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QKeySequence>

namespace {
enum Flag : unsigned {
    Checkable = 1,
    Checked = 2,
    Hidden = 4,
    // Reaches every window of the program, not only the main window.
    AppWide = 8,
};

struct Row
{
    const char *name;
    const char *text;
    const char *shortcut;
    const char *icon;
    unsigned flags;
};

// Texts and shortcuts are translated in the main window's context, where the
// translators have always found them.
#define T(text) QT_TRANSLATE_NOOP("QenMainWindow", text)
const Row rows[] = {
    {"actionNew", T("&New"), T("Ctrl+N"), ":/images/new.png", AppWide},
    {"actionOpen", T("&Open..."), T("Ctrl+O"), ":/images/open.png", 0},
    {"actionClose", T("&Close"), T("Ctrl+W"), nullptr, 0},
    {"actionSave", T("&Save"), T("Ctrl+S"), ":/images/save.png", 0},
    {"actionSaveAs", T("Save &As..."), nullptr, nullptr, 0},
    {"actionRun", T("Run"), nullptr, ":/images/run.png", 0},
    {"actionRunAll", T("Run All"), nullptr, ":/images/runall.png", 0},
    {"actionPrint", T("&Print..."), nullptr, ":/images/print.png", 0},
    {"actionSend", T("Sen&d..."), nullptr, ":/images/send.png", 0},
    {"actionPrintPreview", T("Print Pre&view..."), nullptr, ":/images/printpreview.png", 0},
    {"actionXml", T("XML..."), nullptr, nullptr, 0},
    {"actionHtml", T("HTML..."), nullptr, nullptr, 0},
    {"actionPdf", T("&PDF..."), nullptr, ":/images/exportpdf.png", 0},
    {"actionPageSetup", T("Page Setup..."), nullptr, nullptr, 0},
    {"actionPrintSelect", T("Print Se&lect..."), nullptr, nullptr, 0},
    {"actionExit", T("E&xit"), nullptr, nullptr, 0},
    {"actionRewind", T("Re&wind"), nullptr, ":/images/rewind.png", 0},
    {"actionFastFwd", T("&Fast Fwd"), nullptr, ":/images/ffwd.png", 0},
    {"actionZeroTimer", T("&Zero Timer"), T("Ctrl+Z"), ":/images/timer.png", 0},
    {"actionClearAll", T("Clear &All"), nullptr, nullptr, 0},
    {"actionSelectAll", T("&Select All"), T("Ctrl+A"), nullptr, 0},
    {"actionCopySelection", T("Copy Selec&tion"), T("Ctrl+X"), ":/images/cut.png", 0},
    {"actionCopyData", T("&Copy Data"), T("Ctrl+C"), ":/images/copy.png", 0},
    {"actionLiquidInject", T("&Liquid Inject"), T("Ctrl+L"), ":/images/srynge_up.png", 0},
    {"actionUnitDose", T("Unit &Dose..."), T("Ctrl+D"), nullptr, 0},
    {"actionSetCost", T("Set &Cost..."), nullptr, nullptr, 0},
    {"actionAdjustDel", T("&FGF, DEL, VA, CO..."), nullptr, nullptr, 0},
    {"actionChangeAgent", T("&Agent and Circuit..."), nullptr, nullptr, 0},
    {"actionDefaultColors", T("Default &Colors"), nullptr, nullptr, 0},
    {"actionToolbar", T("&Toolbar"), nullptr, nullptr, Checkable | Checked},
    {"actionTile", T("&Tile Windows"), nullptr, nullptr, 0},
    {"actionGroup", T("&Group Windows"), nullptr, nullptr, 0},
    {"actionCascade", T("&Cascade Windows"), nullptr, nullptr, 0},
    {"actionNewGraphView", T("New &Graph View"), T("Ctrl+Shift+G"), nullptr, 0},
    {"actionNewPictureView", T("New &Picture View"), T("Ctrl+Shift+P"), nullptr, 0},
    {"actionOverlay", T("&Overlay"), nullptr, ":/images/overlay.png", 0},
    {"actionZoomIn", T("Zoom &in"), nullptr, nullptr, 0},
    {"actionZoomOut", T("Zoom o&ut"), nullptr, nullptr, 0},
    {"actionDisableUptake", T("Disable &Uptake"), T("Ctrl+U"), nullptr, Checkable},
    {"actionDisableReturn", T("Disable &Return"), T("Ctrl+R"), nullptr, Checkable},
    {"actionEnableVapor", T("Enable &Vapor"), T("Ctrl+V"), nullptr, Checkable},
    {"actionChangePatient", T("Change &Patient..."), nullptr, ":/images/patient.png", 0},
    {"actionSetBookmark", T("Set &Bookmark..."), nullptr, ":/images/bookmark.png", 0},
    // Reached by its own Ctrl+B shortcut only.
    {"actionSetBreakPoint", T("Set Brea&kPoint"), nullptr, nullptr, Hidden},
    {"actionEnableScrolling", T("Enable &Scrolling"), nullptr, nullptr, Checkable},
    {"actionHideNumerics", T("&Hide Numerics"), nullptr, nullptr, Checkable},
    {"actionShowCost", T("Show &Cost"), nullptr, ":/images/cost.png", Checkable},
    {"actionHelpTopic", T("&Help Topic"), T("F1"), ":/images/help.png", 0},
    {"actionAbout", T("&About Quenor®..."), nullptr, ":/images/quenor.png", 0},
    {"actionDescription", T("Simulation Description"), nullptr, nullptr, 0},
    {"actionOptions", T("&Options..."), nullptr, ":/images/options.png", 0},
};
#undef T

QString translated(const char *text)
{
    return QCoreApplication::translate("QenMainWindow", text);
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
    if (child) {
        QAction *run = get(QStringLiteral("actionRun"));
        const bool startable = s.runState == APaused || s.runState == ANotRun;
        run->setText(startable ? translated("Run") : translated("Stop"));
        run->setIcon(QIcon(startable ? QStringLiteral(":/images/run.png")
                                     : QStringLiteral(":/images/stop.png")));
        run->setEnabled(s.runState != AFinished);
        QAction *runAll = get(QStringLiteral("actionRunAll"));
        if (s.anyRunning) {
            runAll->setText(translated("Stop All"));
            runAll->setIcon(QIcon(QStringLiteral(":/images/stopall.png")));
        } else if (s.anyStartable) {
            runAll->setText(translated("Run All"));
            runAll->setIcon(QIcon(QStringLiteral(":/images/runall.png")));
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
    for (const char *name : {"actionAdjustDel", "actionChangeAgent", "actionDefaultColors"})
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
    const bool newView = child && s.childType != QenChildWindowInterface::Control;
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
