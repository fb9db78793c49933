#include "app/qenmainwindow.h"

#include "app/qenaboutdlg.h"
#include "app/qenactions.h"
#include "app/qenappdochost.h"
#include "app/qenassistant.h"
#include "app/qenapplication.h"
#include "app/qenchildwindow.h"
#include "app/qenexamplesmenu.h"
#include "app/qenforecastwindow.h"
#include "app/qencontrol.h"
#include "app/qenoverlaylauncher.h"
#include "views/qenoverlay.h"
#include "app/qenreports.h"
#include "app/qenstatusmessages.h"
#include "app/qenwindowarranger.h"
#include "document/qendoc.h"
#include "document/qenmailclient.h"
#include "engine/qencatalogue.h"
#include "engine/qenprompt.h"
#include "app/options/qenoptions.h"
#include "views/qengraphview.h"
#include "views/qenpanelview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <QToolTip>

namespace {
constexpr int recentFileCount = 5;

QString addPrefix()
{
    return QCoreApplication::translate("QenMainWindow", "(Add) ");
}

} // namespace

QenMainWindow::QenMainWindow(QWidget *parent) : QMainWindow(parent)
{
    m_host = std::make_unique<QenAppDocHost>(this, qenApp->ini(), qenApp->prompt());
    m_assistant = std::make_unique<QenAssistant>(qenApp->prompt(), qenApp->programDir());

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_arranger = new QenWindowArranger(m_mdiArea, this);
    connect(m_arranger, &QenWindowArranger::currentTabChanged, this,
            &QenMainWindow::updateAllActions);
    connect(m_arranger, &QenWindowArranger::subWindowStateChanged, this,
            &QenMainWindow::updateActions);
    setCentralWidget(m_mdiArea);
    m_status = new QenStatusMessages(statusBar(), this);

    setWindowTitle(tr("Quenor® "));
    setIconSize(QSize(22, 22));

    createActions();
    createMenus();
    createToolBar();
    m_reports = new QenReports(this, [this] { return editDescription(); });

    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &QenMainWindow::updateAllActions);
    // New views are made from whatever tab is in front, not only from a tray.
    for (const char *name : {"actionNewGraphView", "actionNewPictureView"})
        QWidget::addAction(action(QLatin1String(name)));

    readSettings();
}

QenMainWindow::~QenMainWindow()
{
    // The documents go while this window is still whole: their windows and
    // their host point back here.
    // A document goes before its windows, so that they close without
    // retitling windows that are going too.
    const QList<QenDoc *> docs = documents();
    for (QenDoc *doc : docs) {
        disconnect(doc, nullptr, this, nullptr);
        qenApp->removeDocument(doc);
    }
    qDeleteAll(docs);
    m_arranger->detach();
    QMdiArea *area = m_mdiArea;
    m_mdiArea = nullptr;
    delete area;
}

// --- actions, menus, tool bar

QAction *QenMainWindow::action(const QString &name) const
{
    return findChild<QAction *>(name);
}

void QenMainWindow::createActions()
{
    m_actions = new QenActions(this);
    m_actions->setFallback([this](const QString &) { showNotImplemented(); });
    connectCommands();

    // The breakpoint command has no visible menu entry: this is its only way in.
    m_breakPointShortcut = new QShortcut(QKeySequence(tr("Ctrl+B")), this);
    m_breakPointShortcut->setAutoRepeat(false);
    connect(m_breakPointShortcut, &QShortcut::activated, this, &QenMainWindow::setBreakPoint);

    m_newGraphMenu = new QMenu(tr("New &Graph"), this);
    m_newGraphMenu->menuAction()->setObjectName(QStringLiteral("actionNewGraph"));
    m_actions->adopt(m_newGraphMenu->menuAction());
    m_newPictureMenu = new QMenu(tr("New &Picture"), this);
    m_newPictureMenu->menuAction()->setObjectName(QStringLiteral("actionNewPicture"));
    m_actions->adopt(m_newPictureMenu->menuAction());

    for (int i = 0; i < recentFileCount; ++i) {
        auto *act = new QAction(this);
        act->setObjectName(QStringLiteral("actionRecentFile%1").arg(i + 1));
        act->setVisible(false);
        connect(act, &QAction::triggered, this,
                [this, act] { openDocument(act->data().toString()); });
        m_recentFileActs.append(act);
    }
}

// One line per command; a command missing here tells the user it is not
// implemented yet.
void QenMainWindow::connectCommands()
{
    // clang-format off
    const std::pair<const char *, std::function<void()>> commands[] = {
        {"actionNew", [this] { newFile(); }},
        {"actionOpen", [this] { openFile(); }},
        {"actionClose", [this] { closeFile(); }},
        {"actionSave", [this] { if (QenDoc *doc = activeDocument()) doc->save(); }},
        {"actionSaveAs", [this] { if (QenDoc *doc = activeDocument()) doc->saveAs(); }},
        {"actionRun", [this] { if (QenPanelView *panel = activePanel()) panel->run(); updateAllActions(); }},
        {"actionRunAll", [this] { runAllSimulation(); }},
        {"actionExit", [] { QApplication::closeAllWindows(); }},
        {"actionRewind", [this] { if (QenDoc *doc = activeDocument()) doc->engine()->rewind(); updateAllActions(); }},
        {"actionFastFwd", [this] { if (QenDoc *doc = activeDocument()) doc->engine()->skipForward(); updateAllActions(); }},
        {"actionZeroTimer", [this] { if (QenDoc *doc = activeDocument()) doc->eraseKeepSettings(); updateAllActions(); }},
        {"actionClearAll", [this] { if (QenDoc *doc = activeDocument()) doc->eraseAndRestoreDefaults(); updateAllActions(); }},
        {"actionSelectAll", [this] { if (QenChildWindow *child = activeChild()) m_selection = child->grab(); updateActions(); }},
        {"actionCopySelection", [this] { if (!m_selection.isNull()) QGuiApplication::clipboard()->setPixmap(m_selection); }},
        {"actionCopyData", [this] { if (QenDoc *doc = activeDocument()) QGuiApplication::clipboard()->setText(doc->engine()->copyValues(doc->engine()->currentTrack())); }},
        {"actionLiquidInject", [this] { if (QenPanelView *panel = activePanel()) panel->Srynge(); }},
        {"actionUnitDose", [this] { unitDose(); }},
        {"actionSetCost", [this] { setCost(); }},
        {"actionAdjustDel", [this] { adjustDel(); }},
        {"actionChangeAgent", [this] { changeAgent(); }},
        {"actionDefaultColors", [this] { if (QenDoc *doc = activeDocument()) doc->defaultAgentColors(); }},
        {"actionWakeUpForecast", [this] { QenForecastWindow::showFor(activeDocument(), this); }},
        {"actionTile", [this] { m_mdiArea->tileSubWindows(); }},
        {"actionGroup", [this] { m_arranger->groupSubWindows(); }},
        {"actionCascade", [this] { m_mdiArea->cascadeSubWindows(); }},
        {"actionNewGraphView", [this] { newView(nullptr, 0, QenChildWindowInterface::Graph); }},
        {"actionNewPictureView", [this] { newView(nullptr, 0, QenChildWindowInterface::Picture); }},
        {"actionOverlay",
         [this] {
             if (QenOverlay *overlay = QenOverlayLauncher::open(
                     this, activeChild(), m_arranger->overlayTarget(), allChildren()))
                 overlay->setHelpHandler(
                     [this] { showHelpPage(QStringLiteral("overlay.html")); });
         }},
        {"actionZoomIn", [this] { if (QenGraphView *graph = activeGraph()) graph->setZoom(graph->zoom() + 1); updateActions(); }},
        {"actionZoomOut", [this] { if (QenGraphView *graph = activeGraph()) graph->setZoom(std::max(1, graph->zoom() - 1)); updateActions(); }},
        {"actionChangePatient", [this] { changePatient(); }},
        {"actionSetBookmark", [this] { setBookmark(); }},
        {"actionSetBreakPoint", [this] { setBreakPoint(); }},
        {"actionDescription", [this] { editDescription(); }},
        {"actionSend", [this] { if (QenDoc *doc = activeDocument()) doc->mail(); }},
        {"actionHelpTopic", [this] { showHelpPage(QStringLiteral("index.html")); }},
        {"actionAbout", [this] { QenAboutDlg::showAbout(this, m_dialogRunner); }},
        {"actionPrint", [this] { m_reports->print(activeDocument()); }},
        {"actionPrintPreview", [this] { m_reports->printPreview(activeDocument()); }},
        {"actionPageSetup", [this] { m_reports->pageSetup(); }},
        {"actionPrintSelect", [this] { m_reports->selectPrintOutput(); }},
        {"actionPdf", [this] { m_reports->exportToPdf(activeDocument()); }},
        {"actionXml", [this] { m_reports->exportToXml(activeDocument()); }},
        {"actionHtml", [this] { m_reports->exportToHtml(activeDocument()); }},
        {"actionOptions", [this] { QenOptions::setDefaultOptions(this, m_dialogRunner); }},
    };
    const std::pair<const char *, std::function<void(bool)>> toggles[] = {
        {"actionToolbar", [this](bool on) { m_toolBar->setVisible(on); }},
        {"actionDisableUptake", [this](bool on) { if (QenDoc *doc = activeDocument()) doc->engine()->disableUptake(on); updateActions(); }},
        {"actionDisableReturn", [this](bool on) { if (QenDoc *doc = activeDocument()) doc->engine()->disableReturn(on); updateActions(); }},
        {"actionEnableVapor", [this](bool on) { if (QenDoc *doc = activeDocument()) doc->engine()->enableVapor(on); updateActions(); }},
        {"actionEnableScrolling", [this](bool on) { for (QenChildWindow *child : childrenOf(activeDocument())) child->graphViewWidget()->setScrolling(on); }},
        {"actionHideNumerics", [this](bool on) { if (QenPanelView *panel = activePanel()) panel->setNumericsHidden(on); }},
        {"actionShowCost", [this](bool on) { if (QenPanelView *panel = activePanel()) panel->setCostShown(on); }},
    };
    // clang-format on
    for (const auto &[name, handler] : commands)
        m_actions->setHandler(QLatin1String(name), handler);
    for (const auto &[name, handler] : toggles)
        m_actions->setHandler(QLatin1String(name), handler);
}

void QenMainWindow::addActions(QWidget *widget, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        if (name) {
            widget->addAction(m_actions->get(QLatin1String(name)));
            continue;
        }
        auto *separator = new QAction(widget);
        separator->setSeparator(true);
        widget->addAction(separator);
    }
}

void QenMainWindow::createMenus()
{
    m_fileMenu = menuBar()->addMenu(tr("&File"));
    // Shows why Send is disabled when it is.
    m_fileMenu->setToolTipsVisible(true);
    addActions(m_fileMenu, {"actionNew", "actionOpen"});
    m_recentMenu =
        m_fileMenu->addMenu(QIcon(QStringLiteral(":/images/open.png")), tr("Open Recent"));
    m_recentMenu->menuAction()->setObjectName(QStringLiteral("actionOpenRecent"));
    m_recentMenu->addActions(m_recentFileActs);
    auto *examples = new QenExamplesMenu(m_fileMenu);
    m_fileMenu->addMenu(examples);
    connect(examples, &QenExamplesMenu::exampleChosen, this, &QenMainWindow::openExample);
    addActions(m_fileMenu, {"actionSave", "actionSaveAs", "actionClose", nullptr, "actionRun",
                            "actionRunAll", nullptr, "actionPrint", "actionPrintPreview",
                            "actionPageSetup", "actionPrintSelect"});
    m_exportMenu = m_fileMenu->addMenu(tr("Export to..."));
    m_exportMenu->menuAction()->setObjectName(QStringLiteral("actionExportTo"));
    m_actions->adopt(m_exportMenu->menuAction());
    addActions(m_exportMenu, {"actionPdf", "actionXml", "actionHtml"});
    addActions(m_fileMenu,
               {nullptr, "actionDescription", nullptr, "actionSend", nullptr, "actionExit"});
    updateRecentFileActions();

    m_editMenu = menuBar()->addMenu(tr("&Edit"));
    addActions(m_editMenu, {"actionRewind", "actionFastFwd", "actionZeroTimer", "actionClearAll",
                            nullptr, "actionSelectAll", "actionCopySelection", "actionCopyData"});

    m_anesthesiaMenu = menuBar()->addMenu(tr("&Anesthesia"));
    addActions(m_anesthesiaMenu,
               {"actionLiquidInject", "actionUnitDose", nullptr, "actionSetCost", "actionAdjustDel",
                "actionChangeAgent", "actionDefaultColors", nullptr, "actionWakeUpForecast"});

    m_viewMenu = menuBar()->addMenu(tr("&View"));
    m_viewMenu->addMenu(m_newGraphMenu);
    m_viewMenu->addMenu(m_newPictureMenu);
    addActions(m_viewMenu,
               {"actionOverlay", "actionZoomIn", "actionZoomOut", nullptr, "actionToolbar"});

    m_specialMenu = menuBar()->addMenu(tr("&Special"));
    addActions(m_specialMenu,
               {"actionDisableUptake", "actionDisableReturn", "actionEnableVapor",
                "actionChangePatient", "actionSetBookmark", "actionSetBreakPoint",
                "actionEnableScrolling", nullptr, "actionHideNumerics", "actionShowCost"});

    m_toolsMenu = menuBar()->addMenu(tr("&Tools"));
    addActions(m_toolsMenu, {"actionOptions"});

    m_windowMenu = menuBar()->addMenu(tr("&Window"));
    createWindowMenu();
    connect(m_windowMenu, &QMenu::aboutToShow, this, &QenMainWindow::createWindowMenu);

    m_helpMenu = menuBar()->addMenu(tr("&Help"));
    addActions(m_helpMenu, {"actionHelpTopic", "actionAbout"});

    for (QMenu *menu : {m_fileMenu, m_editMenu, m_anesthesiaMenu, m_viewMenu, m_specialMenu})
        connect(menu, &QMenu::aboutToShow, this, &QenMainWindow::updateActions);
}

void QenMainWindow::createToolBar()
{
    m_toolBar = new QToolBar(tr("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setOrientation(Qt::Horizontal);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    addActions(m_toolBar, {"actionNew", "actionOpen", "actionSave", "actionPrint", nullptr,
                           "actionCopyData", "actionCopySelection", nullptr, "actionShowCost",
                           "actionOverlay", "actionSetBookmark", nullptr, "actionRewind",
                           "actionRun", "actionFastFwd", "actionRunAll", nullptr});
    m_toolBar->installEventFilter(this);
}

QMenu *QenMainWindow::createPopupMenu()
{
    auto *menu = new QMenu(this);
    menu->addAction(action(QStringLiteral("actionToolbar")));
    return menu;
}

// --- geometry

void QenMainWindow::readSettings()
{
    const QString group = QStringLiteral("MainWindow");
    const QPoint pos = qenApp->value(group, QStringLiteral("Pos"), QPoint(0, 0)).toPoint();
    const QSize size = qenApp->value(group, QStringLiteral("Size"), QSize()).toSize();
    const bool max = qenApp->value(group, QStringLiteral("Max"), true).toBool();
    if (max) {
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        if (size.isValid())
            resize(size);
        move(pos);
    }
}

void QenMainWindow::writeSettings()
{
    const QString group = QStringLiteral("MainWindow");
    qenApp->setValue(group, QStringLiteral("Pos"), pos());
    qenApp->setValue(group, QStringLiteral("Size"), geometry().size());
    qenApp->setValue(group, QStringLiteral("Max"), isMaximized());
}

// --- documents

QList<QenDoc *> QenMainWindow::documents() const
{
    return qenApp->documents();
}

QenChildWindow *QenMainWindow::activeChild() const
{
    return m_arranger->activeChild();
}

QenDoc *QenMainWindow::activeDocument() const
{
    QenChildWindow *child = activeChild();
    return child ? child->document() : nullptr;
}

QString QenMainWindow::lastSaveDirectory() const
{
    return m_host->lastSaveDirectory();
}

QenDoc *QenMainWindow::createDocument()
{
    QenDoc *doc = addDocument();
    if (!doc->newDocument()) {
        // Without an agent table there is nothing to show: nothing is kept.
        delete doc;
        return nullptr;
    }
    return doc;
}

QenDoc *QenMainWindow::addDocument()
{
    auto *doc = new QenDoc(m_host.get(), this);
    connect(doc, &QObject::destroyed, this, &QenMainWindow::removeDoc);
    // A run that stops by itself says why, or the user takes it for a lost click.
    for (auto signal : {&QenDoc::runStopped, &QenDoc::announced})
        connect(doc, signal, this, [this, doc](const QString &text) { m_status->show(doc, text); });
    qenApp->addDocument(doc);
    return doc;
}

bool QenMainWindow::newFile()
{
    QenWindowArranger::UpdatesSuspended suspended(this);
    QenDoc *doc = createDocument();
    if (!doc)
        return false;
    createControlWindow(doc);
    updateTitle();
    updateActions();
    return true;
}

void QenMainWindow::openFile()
{
    QString dir = m_lastOpenDirectory;
    if (dir.isEmpty())
        dir = lastSaveDirectory();
    if (dir.isEmpty())
        dir = QDir::homePath();
    const QString title = tr("Choose a file to open");
    const QString filter = tr("Quenor®Files (*.qen )");
    const QString path = m_openDialog ? m_openDialog(this, title, dir, filter)
                                      : QFileDialog::getOpenFileName(this, title, dir, filter);
    openDocument(path);
}

bool QenMainWindow::openDocument(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (!canonical.isEmpty()) {
        for (QenDoc *doc : documents()) {
            if (doc->isUntitled() || doc->fileName() != canonical)
                continue;
            const QList<QenChildWindow *> children = childrenOf(doc);
            if (!children.isEmpty()) {
                QenChildWindow *control = children.first();
                control->show();
                control->raise();
                setActiveWindow(control);
            }
            return true;
        }
    }

    // The windows are built whole before the first paint: painting each
    // half-built one in the passes between them costs more than the reading.
    QenWindowArranger::UpdatesSuspended suspended(this);
    // The file gives the document everything; it takes no untitled number.
    QenDoc *doc = addDocument();
    if (!doc->openFile(path)) {
        // The reader has told the user why.
        delete doc;
        return false;
    }
    m_lastOpenDirectory = QFileInfo(path).absolutePath();
    createControlWindow(doc);
    updateTitle();
    updateActions();
    // Opening rewinds: the user is told where the recording ends.
    m_status->showOpened(doc, action(QStringLiteral("actionFastFwd")));
    return true;
}

bool QenMainWindow::openExample(const QString &path)
{
    QenWindowArranger::UpdatesSuspended suspended(this);
    QenDoc *doc = addDocument();
    if (!doc->openAsUntitled(path)) {
        delete doc;
        return false;
    }
    createControlWindow(doc);
    updateTitle();
    updateActions();
    m_status->showOpened(doc, action(QStringLiteral("actionFastFwd")));
    return true;
}

void QenMainWindow::removeDoc(QObject *doc)
{
    qenApp->removeDocument(doc);
}

void QenMainWindow::updateRecentFileActions()
{
    const QString group = QStringLiteral("Settings");
    const QString key = QStringLiteral("RecentFileList");
    QStringList files = qenApp->value(group, key, QStringList()).toStringList();
    QStringList kept;
    for (const QString &file : std::as_const(files)) {
        if (QFileInfo::exists(file))
            kept.append(file);
    }
    if (kept != files)
        qenApp->setValue(group, key, kept);

    const int shown = std::min<int>(recentFileCount, kept.size());
    for (int i = 0; i < shown; ++i) {
        QAction *act = m_recentFileActs[i];
        act->setText(tr("&%1 %2").arg(i + 1).arg(QFileInfo(kept[i]).fileName()));
        act->setData(kept[i]);
        act->setVisible(true);
    }
    for (int i = shown; i < recentFileCount; ++i)
        m_recentFileActs[i]->setVisible(false);
}

// --- child windows

QenChildWindow *QenMainWindow::createControlWindow(QenDoc *doc)
{
    auto *child = new QenChildWindow(doc, 0, QenChildWindowInterface::Control);
    QenControl *tray = child->control();
    connect(doc, qOverload<bool>(&QenDoc::modified), child, &QWidget::setWindowModified);
    connect(tray, &QenControl::addAgentView, this, &QenMainWindow::newView);
    connect(tray, &QenControl::removeChildWindow, this, &QenMainWindow::removeChild);
    connect(doc, &QObject::destroyed, child, &QWidget::close);
    connect(child, &QObject::destroyed, this, &QenMainWindow::removeChild);
    connect(tray, &QenControl::activateChild, m_arranger, &QenWindowArranger::setActiveWindow);
    tray->setSpecialActions(action(QStringLiteral("actionDisableUptake")),
                            action(QStringLiteral("actionDisableReturn")),
                            action(QStringLiteral("actionEnableVapor")));
    tray->addAction(action(QStringLiteral("actionNewGraphView")));
    tray->addAction(action(QStringLiteral("actionNewPictureView")));
    watchChild(child);
    m_arranger->tabifyChild(child);
    tray->updateControlVals();
    tray->populate();
    return child;
}

void QenMainWindow::watchChild(QenChildWindow *child)
{
    child->installEventFilter(this);
    m_arranger->watch(child);
    // A save under a new name retitles the windows after their modified mark
    // was cleared: the title follows the child's own.
    connect(child, &QenChildWindow::titleUpdated, this, &QenMainWindow::updateTitle);
    connect(child, &QenChildWindow::viewsChanged, this, &QenMainWindow::updateActions);
    connect(child, &QenChildWindow::viewsChanged, this, &QenMainWindow::updateActions);
}

QenChildWindow *QenMainWindow::newView(QenDoc *doc, int nQen,
                                       QenChildWindowInterface::Type viewType)
{
    if (doc) {
        doc->engine()->setCurrentTrack(nQen);
    } else {
        doc = activeDocument();
        if (!doc)
            return nullptr;
        nQen = doc->engine()->currentTrack();
    }
    const bool graph = viewType == QenChildWindowInterface::Graph;
    auto *child = new QenChildWindow(
        doc, nQen, graph ? QenChildWindowInterface::Graph : QenChildWindowInterface::Picture);
    connect(doc, qOverload<bool>(&QenDoc::modified), child, &QWidget::setWindowModified);
    connect(child, &QObject::destroyed, this, &QenMainWindow::removeChild);
    watchChild(child);
    // A view the user asked for comes to the front; those a new document
    // opens with go beside its tray, leave it in front, and the commands are
    // brought up to date once they are all there.
    const auto *tray = qobject_cast<const QenControl *>(sender());
    if (tray && tray->isPopulating()) {
        m_arranger->tabifyBeside(child, childrenOf(doc).value(0));
        return child;
    }
    m_arranger->tabifyChild(child);
    m_arranger->setActiveWindow(child);
    updateActions();
    return child;
}

void QenMainWindow::newViewOrAdd(QString text, bool graph)
{
    QCoreApplication::processEvents();
    QenDoc *doc = activeDocument();
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
    newView(doc, engine->currentTrack(),
            graph ? QenChildWindowInterface::Graph : QenChildWindowInterface::Picture);
}

void QenMainWindow::removeChild(QObject *object)
{
    // A window in destruction reports itself as a plain object: leave it be.
    if (auto *child = qobject_cast<QenChildWindow *>(object)) {
        if (!child->hasClosed())
            child->close();
    }
    updateAllActions();
    m_selection = QPixmap();
}

bool QenMainWindow::closeDocument(QenDoc *doc)
{
    if (!doc || !doc->maybeSave())
        return false;
    // The Control window goes last: until then it speaks for the document.
    QList<QPointer<QenChildWindow>> children;
    for (QenChildWindow *child : childrenOf(doc))
        children.prepend(child);
    for (const QPointer<QenChildWindow> &child : children) {
        if (child)
            removeChild(child);
    }
    return true;
}

void QenMainWindow::closeFile()
{
    closeDocument(activeDocument());
}

void QenMainWindow::closeEvent(QCloseEvent *event)
{
    const QList<QPointer<QenDoc>> docs(documents().cbegin(), documents().cend());
    for (const QPointer<QenDoc> &doc : docs) {
        if (doc && !closeDocument(doc)) {
            event->ignore();
            return;
        }
    }
    // The help viewer this program started goes with it.
    m_assistant.reset();
    writeSettings();
    event->accept();
}

void QenMainWindow::showHelpPage(const QString &page)
{
    if (!m_assistant)
        m_assistant = std::make_unique<QenAssistant>(qenApp->prompt(), qenApp->programDir());
    m_assistant->showDocumentation(page);
}

// --- window menu and bringing windows to the front

void QenMainWindow::createWindowMenu()
{
    m_windowMenu->clear();
    addActions(m_windowMenu, {"actionTile", "actionCascade", "actionGroup"});
    updateActions();

    QenChildWindow *active = activeChild();
    bool separated = false;
    for (QenDoc *doc : documents()) {
        const QList<QenChildWindow *> children = childrenOf(doc);
        if (children.isEmpty())
            continue;
        if (!separated) {
            m_windowMenu->addSeparator();
            separated = true;
        }
        QMenu *menu = m_windowMenu->addMenu(doc->title());
        for (QenChildWindow *child : children) {
            QAction *act = menu->addAction(child->title());
            act->setCheckable(true);
            act->setChecked(child == active);
            QPointer<QenChildWindow> guarded(child);
            connect(act, &QAction::triggered, this, [this, guarded] {
                if (guarded)
                    setActiveWindow(guarded);
            });
        }
    }
}

// --- enabling rules

void QenMainWindow::updateActiveQen()
{
    if (QenChildWindow *child = activeChild())
        child->document()->engine()->setCurrentTrack(child->agentIndex());
}

void QenMainWindow::updateAllActions()
{
    m_status->activate(activeDocument());
    updateActiveQen();
    updateTitle();
    updateActions();
}

void QenMainWindow::updateTitle()
{
    QString title = tr("Quenor®Anesthesia Simulator");
    if (QenChildWindow *child = activeChild()) {
        title += QStringLiteral(" - ") + child->title();
        if (child->isWindowModified())
            title += QLatin1Char('*');
    }
    setWindowTitle(title);
}

QenActiveState QenMainWindow::activeState() const
{
    QenActiveState s;
    QenChildWindow *child = activeChild();
    const QList<QenChildWindow *> children = allChildren();
    s.childCount = children.size();
    for (QenChildWindow *c : children) {
        const AState state = c->document()->engine()->state();
        s.anyRunning = s.anyRunning || state == ARunning;
        s.anyStartable = s.anyStartable || state == APaused || state == ANotRun;
    }
    s.hasSelection = !m_selection.isNull();
    s.mailProblem = m_host->mailClient()->unavailableReason();
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
    s.overlayTarget = m_arranger->overlayTarget();
    return s;
}

void QenMainWindow::updateActions()
{
    m_actions->update(activeState());
    if (QenChildWindow *child = activeChild()) {
        fillNewViewMenu(m_newGraphMenu, child->document(), true);
        fillNewViewMenu(m_newPictureMenu, child->document(), false);
    }
}

void QenMainWindow::fillNewViewMenu(QMenu *menu, QenDoc *doc, bool graph)
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

// --- run control and commands on the active document

QenPanelView *QenMainWindow::activePanel() const
{
    QenChildWindow *child = activeChild();
    return child ? child->panelView() : nullptr;
}

QenGraphView *QenMainWindow::activeGraph() const
{
    QenChildWindow *child = activeChild();
    return child ? child->graphViewWidget() : nullptr;
}

void QenMainWindow::runAllSimulation()
{
    const QList<QenChildWindow *> children = allChildren();
    bool anyRunning = false;
    for (QenChildWindow *child : children)
        anyRunning = anyRunning || child->document()->engine()->state() == ARunning;
    // A document changes state at its first child, so each goes once.
    for (QenChildWindow *child : children) {
        const AState state = child->document()->engine()->state();
        if (anyRunning ? state == ARunning : (state == APaused || state == ANotRun))
            child->panelView()->run();
    }
    updateAllActions();
}

void QenMainWindow::setBookmark()
{
    if (QenDoc *doc = activeDocument())
        QenDialogs::setBookmark(*doc, this, m_dialogRunner);
    updateAllActions();
}

void QenMainWindow::setBreakPoint()
{
    if (QenDoc *doc = activeDocument())
        QenDialogs::setBreakPoint(*doc, this, m_dialogRunner);
}

void QenMainWindow::changePatient()
{
    if (QenDoc *doc = activeDocument())
        QenDialogs::changePatient(*doc, this, m_dialogRunner);
    updateAllActions();
}

void QenMainWindow::unitDose()
{
    if (QenDoc *doc = activeDocument())
        QenDialogs::unitDose(*doc, this, m_dialogRunner);
    updateAllActions();
}

void QenMainWindow::setCost()
{
    if (QenDoc *doc = activeDocument())
        QenDialogs::setCost(*doc, this, m_dialogRunner);
}

void QenMainWindow::adjustDel()
{
    if (QenDoc *doc = activeDocument())
        QenDialogs::adjustDel(*doc, this, m_dialogRunner);
    updateAllActions();
}

void QenMainWindow::changeAgent()
{
    if (QenPanelView *panel = activePanel())
        QenDialogs::changeAgent(*panel, this, m_dialogRunner);
    updateAllActions();
}

bool QenMainWindow::editDescription()
{
    QenDoc *doc = activeDocument();
    return doc && QenDialogs::editDescription(*doc, this, m_dialogRunner);
}

// --- commands whose features come later

void QenMainWindow::showNotImplemented()
{
    qenApp->prompt()->information(tr("Quenor® "), tr("Feature not implemented"));
}

// --- events

bool QenMainWindow::event(QEvent *event)
{
    if (event->type() != QEvent::WindowStateChange)
        return QMainWindow::event(event);
    m_arranger->setMinimised(isMinimized());
    return true;
}

bool QenMainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_toolBar && event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        QAction *act = m_toolBar->actionAt(help->pos());
        if (act)
            QToolTip::showText(help->globalPos(), act->toolTip());
        else
            QToolTip::hideText();
        return true;
    }

    if (auto *child = qobject_cast<QenChildWindow *>(watched)) {
        switch (event->type()) {
        case QEvent::WindowActivate:
            if (QenDoc *doc = child->document())
                doc->engine()->setCurrentTrack(child->agentIndex());
            raise();
            updateAllActions();
            return true;
        case QEvent::WindowStateChange:
            updateActions();
            return true;
        case QEvent::ModifiedChange:
            updateTitle();
            return true;
        default:
            return false;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
