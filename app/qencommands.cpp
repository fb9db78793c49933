#include "app/qencommands.h"

#include "app/options/qenoptions.h"
#include "app/qenaboutdlg.h"
#include "app/qenactions.h"
#include "app/qenappdochost.h"
#include "app/qenapplication.h"
#include "app/qenchildwindow.h"
#include "app/qenforecastwindow.h"
#include "app/qenmainwindow.h"
#include "app/qenoverlaylauncher.h"
#include "app/qenreports.h"
#include "document/qendoc.h"
#include "document/qenmailclient.h"
#include "engine/qencatalogue.h"
#include "engine/qenprompt.h"
#include "views/qengraphview.h"
#include "views/qenoverlay.h"
#include "views/qenpanelview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMenu>
#include <QShortcut>
#include <QToolBar>

#include <algorithm>
#include <functional>
#include <utility>

namespace {
// The commands' texts have always been translated in the main window's context.
QString translated(const char *text)
{
    return QCoreApplication::translate("QenMainWindow", text);
}

QString addPrefix()
{
    return QCoreApplication::translate("QenMainWindow", "(Add) ");
}
} // namespace

QenCommands::QenCommands(QenMainWindow *window, QenActions *actions)
    : QObject(window), m_window(window)
{
    actions->setFallback([this](const QString &) { showNotImplemented(); });
    connectHandlers(actions);

    // The breakpoint command has no visible menu entry: this is its only way in.
    auto *breakPoint =
        new QShortcut(QKeySequence(QCoreApplication::translate("QenMainWindow", "Ctrl+B")), window);
    breakPoint->setAutoRepeat(false);
    connect(breakPoint, &QShortcut::activated, this,
            [this] { openDialog(QenDialogs::setBreakPoint, false); });
}

// One line per command; a command missing here tells the user it is not
// implemented yet.
void QenCommands::connectHandlers(QenActions *actions)
{
    QenMainWindow *w = m_window;
    // clang-format off
    const std::pair<const char *, std::function<void()>> commands[] = {
        {"actionNew", [w] { w->newFile(); }},
        {"actionOpen", [w] { w->openFile(); }},
        {"actionClose", [w] { w->closeFile(); }},
        {"actionSave", [this] { if (QenDoc *doc = document()) doc->save(); }},
        {"actionSaveAs", [this] { if (QenDoc *doc = document()) doc->saveAs(); }},
        {"actionRun", [this, w] { if (QenPanelView *p = panel()) p->run(); w->updateAllActions(); }},
        {"actionRunAll", [this] { runAll(); }},
        {"actionExit", [] { QApplication::closeAllWindows(); }},
        {"actionRewind", [this, w] { if (QenDoc *doc = document()) doc->engine()->rewind(); w->updateAllActions(); }},
        {"actionFastFwd", [this, w] { if (QenDoc *doc = document()) doc->engine()->skipForward(); w->updateAllActions(); }},
        {"actionZeroTimer", [this, w] { if (QenDoc *doc = document()) doc->eraseKeepSettings(); w->updateAllActions(); }},
        {"actionClearAll", [this, w] { if (QenDoc *doc = document()) doc->eraseAndRestoreDefaults(); w->updateAllActions(); }},
        {"actionSelectAll", [this, w] { if (QenChildWindow *child = w->activeChild()) m_selection = child->grab(); w->updateActions(); }},
        {"actionCopySelection", [this] { if (!m_selection.isNull()) QGuiApplication::clipboard()->setPixmap(m_selection); }},
        {"actionCopyData", [this] { if (QenDoc *doc = document()) QGuiApplication::clipboard()->setText(doc->engine()->copyValues(doc->engine()->currentTrack())); }},
        {"actionLiquidInject", [this] { if (QenPanelView *p = panel()) p->Srynge(); }},
        {"actionUnitDose", [this] { openDialog(QenDialogs::unitDose); }},
        {"actionSetCost", [this] { openDialog(QenDialogs::setCost, false); }},
        {"actionAdjustDel", [this] { openDialog(QenDialogs::adjustDel); }},
        {"actionChangeAgent", [this, w] { if (QenPanelView *p = panel()) QenDialogs::changeAgent(*p, w, w->dialogRunner()); w->updateAllActions(); }},
        {"actionDefaultColors", [this] { if (QenDoc *doc = document()) doc->defaultAgentColors(); }},
        {"actionWakeUpForecast", [this, w] { QenForecastWindow::showFor(document(), w); }},
        {"actionTile", [w] { w->mdiArea()->tileSubWindows(); }},
        {"actionGroup", [w] { w->arranger()->groupSubWindows(); }},
        {"actionCascade", [w] { w->mdiArea()->cascadeSubWindows(); }},
        {"actionNewGraphView", [w] { w->newView(nullptr, 0, QenChildWindowInterface::Graph); }},
        {"actionNewPictureView", [w] { w->newView(nullptr, 0, QenChildWindowInterface::Picture); }},
        {"actionOverlay",
         [w] {
             if (QenOverlay *overlay = QenOverlayLauncher::open(
                     w, w->activeChild(), w->arranger()->overlayTarget(), w->allChildren()))
                 overlay->setHelpHandler([w] { w->showHelpPage(QStringLiteral("overlay.html")); });
         }},
        {"actionZoomIn", [this, w] { if (QenGraphView *g = graph()) g->setZoom(g->zoom() + 1); w->updateActions(); }},
        {"actionZoomOut", [this, w] { if (QenGraphView *g = graph()) g->setZoom(std::max(1, g->zoom() - 1)); w->updateActions(); }},
        {"actionChangePatient", [this] { openDialog(QenDialogs::changePatient); }},
        {"actionSetBookmark", [this] { openDialog(QenDialogs::setBookmark); }},
        {"actionSetBreakPoint", [this] { openDialog(QenDialogs::setBreakPoint, false); }},
        {"actionDescription", [w] { w->editDescription(); }},
        {"actionSend", [this] { if (QenDoc *doc = document()) doc->mail(); }},
        {"actionHelpTopic", [w] { w->showHelpPage(QStringLiteral("index.html")); }},
        {"actionAbout", [w] { QenAboutDlg::showAbout(w, w->dialogRunner()); }},
        {"actionPrint", [this, w] { w->reports()->print(document()); }},
        {"actionPrintPreview", [this, w] { w->reports()->printPreview(document()); }},
        {"actionPageSetup", [w] { w->reports()->pageSetup(); }},
        {"actionPrintSelect", [w] { w->reports()->selectPrintOutput(); }},
        {"actionPdf", [this, w] { w->reports()->exportToPdf(document()); }},
        {"actionXml", [this, w] { w->reports()->exportToXml(document()); }},
        {"actionHtml", [this, w] { w->reports()->exportToHtml(document()); }},
        {"actionOptions", [w] { QenOptions::setDefaultOptions(w, w->dialogRunner()); }},
    };
    const std::pair<const char *, std::function<void(bool)>> toggles[] = {
        {"actionToolbar", [w](bool on) { w->toolBar()->setVisible(on); }},
        {"actionDisableUptake", [this, w](bool on) { if (QenDoc *doc = document()) doc->engine()->disableUptake(on); w->updateActions(); }},
        {"actionDisableReturn", [this, w](bool on) { if (QenDoc *doc = document()) doc->engine()->disableReturn(on); w->updateActions(); }},
        {"actionEnableVapor", [this, w](bool on) { if (QenDoc *doc = document()) doc->engine()->enableVapor(on); w->updateActions(); }},
        {"actionEnableScrolling", [this](bool on) { for (QenChildWindow *child : QenMainWindow::childrenOf(document())) child->graphViewWidget()->setScrolling(on); }},
        {"actionHideNumerics", [this](bool on) { if (QenPanelView *p = panel()) p->setNumericsHidden(on); }},
        {"actionShowCost", [this](bool on) { if (QenPanelView *p = panel()) p->setCostShown(on); }},
    };
    // clang-format on
    for (const auto &[name, handler] : commands)
        actions->setHandler(QLatin1String(name), handler);
    for (const auto &[name, handler] : toggles)
        actions->setHandler(QLatin1String(name), handler);
}

QenDoc *QenCommands::document() const
{
    return m_window->activeDocument();
}

QenPanelView *QenCommands::panel() const
{
    QenChildWindow *child = m_window->activeChild();
    return child ? child->panelView() : nullptr;
}

QenGraphView *QenCommands::graph() const
{
    QenChildWindow *child = m_window->activeChild();
    return child ? child->graphViewWidget() : nullptr;
}

void QenCommands::openDialog(bool (*dialog)(QenDoc &, QWidget *, const QenDialogs::Runner &),
                             bool refresh)
{
    if (QenDoc *doc = document())
        dialog(*doc, m_window, m_window->dialogRunner());
    if (refresh)
        m_window->updateAllActions();
}

QenActiveState QenCommands::activeState() const
{
    QenActiveState s;
    QenChildWindow *child = m_window->activeChild();
    const QList<QenChildWindow *> children = m_window->allChildren();
    s.childCount = children.size();
    for (QenChildWindow *c : children) {
        const AState state = c->document()->engine()->state();
        s.anyRunning = s.anyRunning || state == ARunning;
        s.anyStartable = s.anyStartable || state == APaused || state == ANotRun;
    }
    s.hasSelection = !m_selection.isNull();
    s.mailProblem = m_window->host()->mailClient()->unavailableReason();
    s.hasChild = child;
    if (!child)
        return s;
    s.childType = static_cast<QenChildWindowInterface::Type>(child->viewType());
    const QenEngine *engine = child->document()->engine();
    s.runState = engine->state();
    s.displayTime = engine->displayTime();
    s.endTime = engine->endTime();
    s.simTime = engine->simTime();
    const int track = engine->currentTrack();
    s.hasAgent = track >= 0 && track < child->document()->agentCount();
    if (s.hasAgent) {
        s.unitDose = engine->track(track).unitDose;
        s.canInject = engine->canInject(track);
        const QenAnesthetic *agent = engine->agentOf(track);
        s.agentVolatile = agent && agent->volatility != 0;
    }
    s.uptakeEffect = engine->uptakeEffect();
    s.venousReturn = engine->venousReturn();
    s.vaporEffect = engine->vaporEffect();
    s.scrolling = child->graphViewWidget()->settings().scroll;
    s.numericsHidden = child->panelView()->numericsHidden();
    s.costShown = child->panelView()->costShown();
    s.zoom = child->graphViewWidget()->zoom();
    s.overlayTarget = m_window->arranger()->overlayTarget();
    return s;
}

void QenCommands::runAll()
{
    const QList<QenChildWindow *> children = m_window->allChildren();
    bool anyRunning = false;
    for (QenChildWindow *child : children)
        anyRunning = anyRunning || child->document()->engine()->state() == ARunning;
    // A document changes state at its first child, so each goes once.
    for (QenChildWindow *child : children) {
        const AState state = child->document()->engine()->state();
        if (anyRunning ? state == ARunning : (state == APaused || state == ANotRun))
            child->panelView()->run();
    }
    m_window->updateAllActions();
}

void QenCommands::fillNewViewMenu(QMenu *menu, QenDoc *doc, bool graph)
{
    menu->clear();
    const QenEngine *engine = doc->engine();
    QList<int> held;
    for (int i = 0; i < doc->agentCount(); ++i) {
        held.append(engine->track(i).agent);
        const QString name = doc->agentName(i);
        connect(menu->addAction(name), &QAction::triggered, this,
                [this, name, graph] { newViewOrAdd(name, graph); });
    }
    const QenCatalogue &catalogue = doc->catalogue();
    for (int a = 0; a < catalogue.size(); ++a) {
        if (held.contains(a))
            continue;
        const QString name = addPrefix() + catalogue.at(a)->displayName;
        QAction *act = menu->addAction(name);
        act->setEnabled(engine->state() == ANotRun);
        connect(act, &QAction::triggered, this, [this, name, graph] { newViewOrAdd(name, graph); });
    }
}

void QenCommands::newViewOrAdd(QString text, bool graph)
{
    QCoreApplication::processEvents();
    QenDoc *doc = document();
    if (!doc)
        return;
    QenEngine *engine = doc->engine();
    if (text.contains(addPrefix())) {
        engine->pause();
        if (!engine->replayGuard(true))
            return;
        text.remove(addPrefix());
        if (doc->addAgent(text) < 0)
            return;
    } else {
        for (int i = 0; i < doc->agentCount(); ++i) {
            if (doc->agentName(i) == text) {
                engine->setCurrentTrack(i);
                break;
            }
        }
    }
    m_window->newView(doc, engine->currentTrack(),
                      graph ? QenChildWindowInterface::Graph : QenChildWindowInterface::Picture);
}

void QenCommands::showNotImplemented()
{
    qenApp->prompt()->information(
        translated(QT_TRANSLATE_NOOP("QenMainWindow", "Quenor® ")),
        translated(QT_TRANSLATE_NOOP("QenMainWindow", "Feature not implemented")));
}
