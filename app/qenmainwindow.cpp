#include "app/qenmainwindow.h"

#include "app/qenappdochost.h"
#include "app/qenapplication.h"
#include "app/qenchildwindow.h"
#include "app/qencontrol.h"
#include "app/qentabwidget.h"
#include "document/qendoc.h"
#include "engine/qencatalogue.h"
#include "engine/qenprompt.h"
#include "views/qengraph.h"
#include "views/qengraphview.h"
#include "views/qenpanelview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>

namespace {
const char *const childMimeType = "application/x-qenchildwindow";
// Set on a child window once its sub-window has been fitted to its views.
const char *const fittedProperty = "qenFitted";
constexpr int recentFileCount = 5;

QString addPrefix()
{
    return QCoreApplication::translate("QenMainWindow", "(Add) ");
}

QString childTitle(const QenChildWindow *child)
{
    return child->title();
}

QMdiSubWindow *subWindowOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(w))
            return sub;
    }
    return nullptr;
}

// Suspends the updates of a widget for the life of the guard.
class UpdatesSuspended
{
public:
    explicit UpdatesSuspended(QWidget *widget)
        // Only a widget's own suspension counts: one inherited from a
        // suspended parent ends with that parent's.
        : m_widget(widget), m_was(widget && !widget->testAttribute(Qt::WA_ForceUpdatesDisabled))
    {
        if (m_widget)
            m_widget->setUpdatesEnabled(false);
    }
    ~UpdatesSuspended()
    {
        if (m_widget && m_was)
            m_widget->setUpdatesEnabled(true);
    }

private:
    QPointer<QWidget> m_widget;
    bool m_was;
};
} // namespace

QenMainWindow::QenMainWindow(QWidget *parent) : QMainWindow(parent)
{
    m_host = std::make_unique<QenAppDocHost>(this, qenApp->ini(), qenApp->prompt());

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setAcceptDrops(true);
    m_mdiArea->viewport()->setAcceptDrops(true);
    // Drags over the free part of the area arrive at its viewport.
    m_mdiArea->installEventFilter(this);
    m_mdiArea->viewport()->installEventFilter(this);
    setCentralWidget(m_mdiArea);

    setWindowTitle(tr("Quenor® "));
    setIconSize(QSize(22, 22));

    createActions();
    createMenus();
    createToolBar();

    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &QenMainWindow::updateAllActions);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &QenMainWindow::windowStateChanged);

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
    // The area's own destructor sends events through this window's filter;
    // by then it is no longer a scroll area, so it must not be looked at.
    QMdiArea *area = m_mdiArea;
    m_mdiArea = nullptr;
    area->viewport()->removeEventFilter(this);
    area->removeEventFilter(this);
    delete area;
}

// --- actions, menus, tool bar

QAction *QenMainWindow::makeAction(const char *name, const QString &text, const char *icon)
{
    auto *act = new QAction(text, this);
    act->setObjectName(QLatin1String(name));
    if (icon)
        act->setIcon(QIcon(QLatin1String(icon)));
    return act;
}

QAction *QenMainWindow::action(const QString &name) const
{
    return findChild<QAction *>(name);
}

void QenMainWindow::createActions()
{
    m_newAct = makeAction("actionNew", tr("&New"), ":/images/new.png");
    m_newAct->setShortcut(QKeySequence(tr("Ctrl+N")));
    m_newAct->setShortcutContext(Qt::ApplicationShortcut);
    connect(m_newAct, &QAction::triggered, this, &QenMainWindow::newFile);

    m_openAct = makeAction("actionOpen", tr("&Open..."), ":/images/open.png");
    m_openAct->setShortcut(QKeySequence(tr("Ctrl+O")));
    connect(m_openAct, &QAction::triggered, this, &QenMainWindow::openFile);

    m_closeAct = makeAction("actionClose", tr("&Close"));
    m_closeAct->setShortcut(QKeySequence(tr("Ctrl+W")));
    connect(m_closeAct, &QAction::triggered, this, &QenMainWindow::closeFile);

    m_saveAct = makeAction("actionSave", tr("&Save"), ":/images/save.png");
    m_saveAct->setShortcut(QKeySequence(tr("Ctrl+S")));
    connect(m_saveAct, &QAction::triggered, this, &QenMainWindow::saveFile);

    m_saveAsAct = makeAction("actionSaveAs", tr("Save &As..."));
    connect(m_saveAsAct, &QAction::triggered, this, &QenMainWindow::saveFileAs);

    m_runAct = makeAction("actionRun", tr("Run"), ":/images/run.png");
    connect(m_runAct, &QAction::triggered, this, &QenMainWindow::runSimulation);

    m_runAllAct = makeAction("actionRunAll", tr("Run All"), ":/images/runall.png");
    connect(m_runAllAct, &QAction::triggered, this, &QenMainWindow::runAllSimulation);

    m_printAct = makeAction("actionPrint", tr("&Print..."), ":/images/print.png");
    connect(m_printAct, &QAction::triggered, this, &QenMainWindow::print);

    m_sendAct = makeAction("actionSend", tr("Sen&d..."), ":/images/send.png");
    connect(m_sendAct, &QAction::triggered, this, &QenMainWindow::sendMail);

    m_printPreviewAct =
        makeAction("actionPrintPreview", tr("Print Pre&view..."), ":/images/printpreview.png");
    connect(m_printPreviewAct, &QAction::triggered, this, &QenMainWindow::printPreview);

    m_exportXmlAct = makeAction("actionXml", tr("XML..."));
    connect(m_exportXmlAct, &QAction::triggered, this, &QenMainWindow::exportToXml);

    m_exportHtmlAct = makeAction("actionHtml", tr("HTML..."));
    connect(m_exportHtmlAct, &QAction::triggered, this, &QenMainWindow::exportToHtml);

    m_exportPdfAct = makeAction("actionPdf", tr("&PDF..."), ":/images/exportpdf.png");
    connect(m_exportPdfAct, &QAction::triggered, this, &QenMainWindow::exportToPdf);

    m_pageSetupAct = makeAction("actionPageSetup", tr("Page Setup..."));
    connect(m_pageSetupAct, &QAction::triggered, this, &QenMainWindow::pageSetup);

    m_printSelectAct = makeAction("actionPrintSelect", tr("Print Se&lect..."));
    connect(m_printSelectAct, &QAction::triggered, this, &QenMainWindow::selectPrintOutput);

    m_exitAct = makeAction("actionExit", tr("E&xit"));
    connect(m_exitAct, &QAction::triggered, qApp, &QApplication::closeAllWindows);

    m_rewindAct = makeAction("actionRewind", tr("Re&wind"), ":/images/rewind.png");
    connect(m_rewindAct, &QAction::triggered, this, &QenMainWindow::rewind);

    m_fastFwdAct = makeAction("actionFastFwd", tr("&Fast Fwd"), ":/images/ffwd.png");
    connect(m_fastFwdAct, &QAction::triggered, this, &QenMainWindow::fastFwd);

    m_zeroTimerAct = makeAction("actionZeroTimer", tr("&Zero Timer"), ":/images/timer.png");
    m_zeroTimerAct->setShortcut(QKeySequence(tr("Ctrl+Z")));
    connect(m_zeroTimerAct, &QAction::triggered, this, &QenMainWindow::zeroTimer);

    m_clearAllAct = makeAction("actionClearAll", tr("Clear &All"));
    connect(m_clearAllAct, &QAction::triggered, this, &QenMainWindow::clearAll);

    m_selectAllAct = makeAction("actionSelectAll", tr("&Select All"));
    m_selectAllAct->setShortcut(QKeySequence(tr("Ctrl+A")));
    connect(m_selectAllAct, &QAction::triggered, this, &QenMainWindow::selectAll);

    m_copySelectionAct =
        makeAction("actionCopySelection", tr("Copy Selec&tion"), ":/images/cut.png");
    m_copySelectionAct->setShortcut(QKeySequence(tr("Ctrl+X")));
    connect(m_copySelectionAct, &QAction::triggered, this, &QenMainWindow::copySelection);

    m_copyDataAct = makeAction("actionCopyData", tr("&Copy Data"), ":/images/copy.png");
    m_copyDataAct->setShortcut(QKeySequence(tr("Ctrl+C")));
    connect(m_copyDataAct, &QAction::triggered, this, &QenMainWindow::copyData);

    m_liquidInjectAct =
        makeAction("actionLiquidInject", tr("&Liquid Inject"), ":/images/srynge_up.png");
    m_liquidInjectAct->setShortcut(QKeySequence(tr("Ctrl+L")));
    connect(m_liquidInjectAct, &QAction::triggered, this, &QenMainWindow::liquidInject);

    m_unitDoseAct = makeAction("actionUnitDose", tr("Unit &Dose..."));
    m_unitDoseAct->setShortcut(QKeySequence(tr("Ctrl+D")));
    connect(m_unitDoseAct, &QAction::triggered, this, &QenMainWindow::unitDose);

    m_setCostAct = makeAction("actionSetCost", tr("Set &Cost..."));
    connect(m_setCostAct, &QAction::triggered, this, &QenMainWindow::setCost);

    m_adjustDelAct = makeAction("actionAdjustDel", tr("&FGF, DEL, VA, CO..."));
    connect(m_adjustDelAct, &QAction::triggered, this, &QenMainWindow::adjustDel);

    m_changeAgentAct = makeAction("actionChangeAgent", tr("&Agent and Circuit..."));
    connect(m_changeAgentAct, &QAction::triggered, this, &QenMainWindow::changeAgent);

    m_defaultColorsAct = makeAction("actionDefaultColors", tr("Default &Colors"));
    connect(m_defaultColorsAct, &QAction::triggered, this, &QenMainWindow::defaultAgentColors);

    m_toolbarAct = makeAction("actionToolbar", tr("&Toolbar"));
    m_toolbarAct->setCheckable(true);
    m_toolbarAct->setChecked(true);
    connect(m_toolbarAct, &QAction::toggled, this, &QenMainWindow::setShowToolbar);

    m_tileAct = makeAction("actionTile", tr("&Tile Windows"));
    connect(m_tileAct, &QAction::triggered, m_mdiArea, &QMdiArea::tileSubWindows);

    m_groupAct = makeAction("actionGroup", tr("&Group Windows"));
    connect(m_groupAct, &QAction::triggered, this, &QenMainWindow::groupSubWindows);

    m_cascadeAct = makeAction("actionCascade", tr("&Cascade Windows"));
    connect(m_cascadeAct, &QAction::triggered, m_mdiArea, &QMdiArea::cascadeSubWindows);

    m_newGraphViewAct = makeAction("actionNewGraphView", tr("New &Graph View"));
    m_newGraphViewAct->setShortcut(QKeySequence(tr("Ctrl+Shift+G")));
    connect(m_newGraphViewAct, &QAction::triggered, this, qOverload<>(&QenMainWindow::newView));

    m_newPictureViewAct = makeAction("actionNewPictureView", tr("New &Picture View"));
    m_newPictureViewAct->setShortcut(QKeySequence(tr("Ctrl+Shift+P")));
    connect(m_newPictureViewAct, &QAction::triggered, this, qOverload<>(&QenMainWindow::newView));

    m_overlayAct = makeAction("actionOverlay", tr("&Overlay"), ":/images/overlay.png");
    connect(m_overlayAct, &QAction::triggered, this, &QenMainWindow::overlay);

    m_zoomInAct = makeAction("actionZoomIn", tr("Zoom &in"));
    connect(m_zoomInAct, &QAction::triggered, this, &QenMainWindow::zoomin);

    m_zoomOutAct = makeAction("actionZoomOut", tr("Zoom o&ut"));
    connect(m_zoomOutAct, &QAction::triggered, this, &QenMainWindow::zoomout);

    m_disableUptakeAct = makeAction("actionDisableUptake", tr("Disable &Uptake"));
    m_disableUptakeAct->setShortcut(QKeySequence(tr("Ctrl+U")));
    m_disableUptakeAct->setCheckable(true);
    connect(m_disableUptakeAct, &QAction::toggled, this, &QenMainWindow::disableUptake);

    m_disableReturnAct = makeAction("actionDisableReturn", tr("Disable &Return"));
    m_disableReturnAct->setShortcut(QKeySequence(tr("Ctrl+R")));
    m_disableReturnAct->setCheckable(true);
    connect(m_disableReturnAct, &QAction::toggled, this, &QenMainWindow::disableReturn);

    m_enableVaporAct = makeAction("actionEnableVapor", tr("Enable &Vapor"));
    m_enableVaporAct->setShortcut(QKeySequence(tr("Ctrl+V")));
    m_enableVaporAct->setCheckable(true);
    connect(m_enableVaporAct, &QAction::toggled, this, &QenMainWindow::enableVapor);

    m_changePatientAct =
        makeAction("actionChangePatient", tr("Change &Patient..."), ":/images/patient.png");
    connect(m_changePatientAct, &QAction::triggered, this, &QenMainWindow::changePatient);

    m_setBookmarkAct =
        makeAction("actionSetBookmark", tr("Set &Bookmark..."), ":/images/bookmark.png");
    connect(m_setBookmarkAct, &QAction::triggered, this, &QenMainWindow::setBookmark);

    m_setBreakPointAct = makeAction("actionSetBreakPoint", tr("Set Brea&kPoint"));
    m_setBreakPointAct->setVisible(false);
    connect(m_setBreakPointAct, &QAction::triggered, this, &QenMainWindow::setBreakPoint);

    m_enableScrollingAct = makeAction("actionEnableScrolling", tr("Enable &Scrolling"));
    m_enableScrollingAct->setCheckable(true);
    connect(m_enableScrollingAct, &QAction::toggled, this, &QenMainWindow::enableScrolling);

    m_hideNumericsAct = makeAction("actionHideNumerics", tr("&Hide Numerics"));
    m_hideNumericsAct->setCheckable(true);
    connect(m_hideNumericsAct, &QAction::toggled, this, &QenMainWindow::hideNumerics);

    m_showCostAct = makeAction("actionShowCost", tr("Show &Cost"), ":/images/cost.png");
    m_showCostAct->setCheckable(true);
    connect(m_showCostAct, &QAction::toggled, this, &QenMainWindow::showCost);

    m_helpTopicAct = makeAction("actionHelpTopic", tr("&Help Topic"), ":/images/help.png");
    m_helpTopicAct->setShortcut(QKeySequence(tr("F1")));
    connect(m_helpTopicAct, &QAction::triggered, this, &QenMainWindow::showHelpTopic);

    m_aboutAct = makeAction("actionAbout", tr("&About Quenor®..."), ":/images/quenor.png");
    connect(m_aboutAct, &QAction::triggered, this, &QenMainWindow::aboutQuenor);

    m_descriptionAct = makeAction("actionDescription", tr("Simulation Description"));
    connect(m_descriptionAct, &QAction::triggered, this, &QenMainWindow::editDescription);

    m_optionsAct = makeAction("actionOptions", tr("&Options..."), ":/images/options.png");
    connect(m_optionsAct, &QAction::triggered, this, &QenMainWindow::setDefaultOptions);

    // The breakpoint command has no visible menu entry: this is its only way in.
    m_breakPointShortcut = new QShortcut(QKeySequence(tr("Ctrl+B")), this);
    m_breakPointShortcut->setAutoRepeat(false);
    connect(m_breakPointShortcut, &QShortcut::activated, this, &QenMainWindow::setBreakPoint);

    m_newGraphMenu = new QMenu(tr("New &Graph"), this);
    m_newPictureMenu = new QMenu(tr("New &Picture"), this);

    for (int i = 0; i < recentFileCount; ++i) {
        auto *act = new QAction(this);
        act->setObjectName(QStringLiteral("actionRecentFile%1").arg(i + 1));
        act->setVisible(false);
        connect(act, &QAction::triggered, this, &QenMainWindow::openRecentFile);
        m_recentFileActs.append(act);
    }
}

void QenMainWindow::createMenus()
{
    m_fileMenu = menuBar()->addMenu(tr("&File"));
    m_fileMenu->addAction(m_newAct);
    m_fileMenu->addAction(m_openAct);
    m_recentMenu =
        m_fileMenu->addMenu(QIcon(QStringLiteral(":/images/open.png")), tr("Open Recent"));
    m_recentMenu->menuAction()->setObjectName(QStringLiteral("actionOpenRecent"));
    for (QAction *act : std::as_const(m_recentFileActs))
        m_recentMenu->addAction(act);
    m_fileMenu->addAction(m_saveAct);
    m_fileMenu->addAction(m_saveAsAct);
    m_fileMenu->addAction(m_closeAct);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_runAct);
    m_fileMenu->addAction(m_runAllAct);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_printAct);
    m_fileMenu->addAction(m_printPreviewAct);
    m_fileMenu->addAction(m_pageSetupAct);
    m_fileMenu->addAction(m_printSelectAct);
    m_exportMenu = m_fileMenu->addMenu(tr("Export to..."));
    m_exportMenu->menuAction()->setObjectName(QStringLiteral("actionExportTo"));
    m_exportMenu->addAction(m_exportPdfAct);
    m_exportMenu->addAction(m_exportXmlAct);
    m_exportMenu->addAction(m_exportHtmlAct);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_descriptionAct);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_sendAct);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_exitAct);
    connect(m_fileMenu, &QMenu::aboutToShow, this, &QenMainWindow::updateFileMenu);
    updateRecentFileActions();

    m_editMenu = menuBar()->addMenu(tr("&Edit"));
    m_editMenu->addAction(m_rewindAct);
    m_editMenu->addAction(m_fastFwdAct);
    m_editMenu->addAction(m_zeroTimerAct);
    m_editMenu->addAction(m_clearAllAct);
    m_editMenu->addSeparator();
    m_editMenu->addAction(m_selectAllAct);
    m_editMenu->addAction(m_copySelectionAct);
    m_editMenu->addAction(m_copyDataAct);
    connect(m_editMenu, &QMenu::aboutToShow, this, &QenMainWindow::updateEditMenu);

    m_anesthesiaMenu = menuBar()->addMenu(tr("&Anesthesia"));
    m_anesthesiaMenu->addAction(m_liquidInjectAct);
    m_anesthesiaMenu->addAction(m_unitDoseAct);
    m_anesthesiaMenu->addSeparator();
    m_anesthesiaMenu->addAction(m_setCostAct);
    m_anesthesiaMenu->addAction(m_adjustDelAct);
    m_anesthesiaMenu->addAction(m_changeAgentAct);
    m_anesthesiaMenu->addAction(m_defaultColorsAct);
    connect(m_anesthesiaMenu, &QMenu::aboutToShow, this, &QenMainWindow::updateAnesthesiaMenu);

    m_viewMenu = menuBar()->addMenu(tr("&View"));
    createViewMenu();
    connect(m_viewMenu, &QMenu::aboutToShow, this, &QenMainWindow::updateViewMenu);

    m_specialMenu = menuBar()->addMenu(tr("&Special"));
    m_specialMenu->addAction(m_disableUptakeAct);
    m_specialMenu->addAction(m_disableReturnAct);
    m_specialMenu->addAction(m_enableVaporAct);
    m_specialMenu->addAction(m_changePatientAct);
    m_specialMenu->addAction(m_setBookmarkAct);
    m_specialMenu->addAction(m_setBreakPointAct);
    m_specialMenu->addAction(m_enableScrollingAct);
    m_specialMenu->addSeparator();
    m_specialMenu->addAction(m_hideNumericsAct);
    m_specialMenu->addAction(m_showCostAct);
    connect(m_specialMenu, &QMenu::aboutToShow, this, &QenMainWindow::updateSpecialMenu);

    m_toolsMenu = menuBar()->addMenu(tr("&Tools"));
    m_toolsMenu->addAction(m_optionsAct);

    m_windowMenu = menuBar()->addMenu(tr("&Window"));
    createWindowMenu();
    connect(m_windowMenu, &QMenu::aboutToShow, this, &QenMainWindow::createWindowMenu);

    m_helpMenu = menuBar()->addMenu(tr("&Help"));
    m_helpMenu->addAction(m_helpTopicAct);
    m_helpMenu->addAction(m_aboutAct);
}

void QenMainWindow::createViewMenu()
{
    m_viewMenu->clear();
    m_viewMenu->addMenu(m_newGraphMenu);
    m_viewMenu->addMenu(m_newPictureMenu);
    m_viewMenu->addAction(m_overlayAct);
    m_viewMenu->addSeparator();
    m_viewMenu->addAction(m_toolbarAct);
}

void QenMainWindow::createToolBar()
{
    m_toolBar = new QToolBar(tr("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setOrientation(Qt::Horizontal);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    m_toolBar->addAction(m_newAct);
    m_toolBar->addAction(m_openAct);
    m_toolBar->addAction(m_saveAct);
    m_toolBar->addAction(m_printAct);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_copyDataAct);
    m_toolBar->addAction(m_copySelectionAct);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_showCostAct);
    m_toolBar->addAction(m_overlayAct);
    m_toolBar->addAction(m_setBookmarkAct);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_rewindAct);
    m_toolBar->addAction(m_runAct);
    m_toolBar->addAction(m_fastFwdAct);
    m_toolBar->addAction(m_runAllAct);
    m_toolBar->addSeparator();
    m_toolBar->installEventFilter(this);
}

QMenu *QenMainWindow::createPopupMenu()
{
    auto *menu = new QMenu(this);
    menu->addAction(m_toolbarAct);
    return menu;
}

void QenMainWindow::setShowToolbar(bool show)
{
    m_toolBar->setVisible(show);
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

QList<QenChildWindow *> QenMainWindow::childrenOf(const QenDoc *doc)
{
    QList<QenChildWindow *> children;
    if (!doc)
        return children;
    for (QenDocView *view : doc->views()) {
        if (auto *child = dynamic_cast<QenChildWindow *>(view))
            children.append(child);
    }
    return children;
}

QList<QenChildWindow *> QenMainWindow::allChildren() const
{
    QList<QenChildWindow *> children;
    for (QenDoc *doc : documents())
        children += childrenOf(doc);
    return children;
}

QenTabWidget *QenMainWindow::tabWidgetOf(QenChildWindow *child)
{
    for (QWidget *w = child ? child->parentWidget() : nullptr; w; w = w->parentWidget()) {
        if (auto *tabs = qobject_cast<QenTabWidget *>(w))
            return tabs;
    }
    return nullptr;
}

QenTabWidget *QenMainWindow::activeTabWidget() const
{
    // The current sub-window stays current while another top-level window
    // (a dialog, the splash) is active.
    QMdiSubWindow *sub = m_mdiArea ? m_mdiArea->currentSubWindow() : nullptr;
    return sub ? qobject_cast<QenTabWidget *>(sub->widget()) : nullptr;
}

QenChildWindow *QenMainWindow::activeChild() const
{
    QenTabWidget *tabs = activeTabWidget();
    auto *child = tabs ? qobject_cast<QenChildWindow *>(tabs->currentWidget()) : nullptr;
    if (!child || child->agentIndex() < 0 || !child->document())
        return nullptr;
    return child;
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
    qenApp->addDocument(doc);
    return doc;
}

bool QenMainWindow::newFile()
{
    UpdatesSuspended suspended(this);
    QenDoc *doc = createDocument();
    if (!doc)
        return false;
    createControlWindow(doc);
    updateTitle();
    updateViewMenu();
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
    updateViewMenu();
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

void QenMainWindow::openRecentFile()
{
    if (auto *act = qobject_cast<QAction *>(sender()))
        openDocument(act->data().toString());
}

// --- child windows

QenChildWindow *QenMainWindow::createControlWindow(QenDoc *doc)
{
    auto *child = new QenChildWindow(doc, 0, QenDocView::Control);
    QenControl *tray = child->control();
    connect(doc, qOverload<bool>(&QenDoc::modified), child, &QWidget::setWindowModified);
    connect(tray, &QenControl::addAgentView, this,
            qOverload<QenDoc *, int, QenDocView::Type>(&QenMainWindow::newView));
    connect(tray, &QenControl::removeChildWindow, this, &QenMainWindow::removeChild);
    connect(doc, &QObject::destroyed, child, &QWidget::close);
    connect(child, &QObject::destroyed, this, &QenMainWindow::removeChild);
    connect(tray, &QenControl::activateChild, this, &QenMainWindow::setActiveWindow);
    tray->setSpecialActions(m_disableUptakeAct, m_disableReturnAct, m_enableVaporAct);
    tray->addAction(m_newGraphViewAct);
    tray->addAction(m_newPictureViewAct);
    watchChild(child);
    tabifyChild(child);
    tray->updateControlVals();
    tray->populate();
    return child;
}

void QenMainWindow::watchChild(QenChildWindow *child)
{
    child->installEventFilter(this);
    // A save under a new name retitles the windows after their modified mark
    // was cleared: the title follows the child's own.
    connect(child, &QenChildWindow::titleUpdated, this, &QenMainWindow::updateTitle);
    connect(child, &QenChildWindow::viewsChanged, this, &QenMainWindow::updateViewMenu);
    connect(child, &QenChildWindow::viewsChanged, this, &QenMainWindow::updateWindowMenu);
}

QenChildWindow *QenMainWindow::newView(QenDoc *doc, int nQen, QenDocView::Type viewType)
{
    if (doc) {
        doc->engine()->setCurrentTrack(nQen);
    } else {
        doc = activeDocument();
        if (!doc)
            return nullptr;
        nQen = doc->engine()->currentTrack();
    }
    const bool graph = sender() == m_newGraphViewAct || viewType == QenDocView::Graph;
    auto *child = new QenChildWindow(doc, nQen, graph ? QenDocView::Graph : QenDocView::Picture);
    connect(doc, qOverload<bool>(&QenDoc::modified), child, &QWidget::setWindowModified);
    connect(child, &QObject::destroyed, this, &QenMainWindow::removeChild);
    watchChild(child);
    tabifyChild(child);
    updateViewMenu();
    return child;
}

QenChildWindow *QenMainWindow::newView(QenDoc *doc, int nQen)
{
    return newView(doc, nQen, QenDocView::Picture);
}

QenChildWindow *QenMainWindow::newView(QenDoc *doc)
{
    return newView(doc, doc ? doc->engine()->currentTrack() : 0, QenDocView::Picture);
}

QenChildWindow *QenMainWindow::newView()
{
    return newView(nullptr, 0, QenDocView::Picture);
}

void QenMainWindow::newViewOrAdd()
{
    auto *act = qobject_cast<QAction *>(sender());
    if (!act)
        return;
    const bool graph = act->data().toInt() == QenDocView::Graph;
    QString text = act->text();
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
    newView(doc, engine->currentTrack(), graph ? QenDocView::Graph : QenDocView::Picture);
}

QenTabWidget *QenMainWindow::makeTabWidget(QenDoc *doc)
{
    auto *tabs = new QenTabWidget();
    tabs->setWindowTitle(doc->title());
    connect(doc, &QenDoc::titleChanged, tabs, &QWidget::setWindowTitle);
    connect(doc, &QenDoc::agentColorsChanged, tabs, &QenTabWidget::updateTabTextColor);
    connect(tabs, &QTabWidget::currentChanged, this, &QenMainWindow::updateAllActions);
    connect(tabs, &QenTabWidget::reparentChildDrop, this,
            qOverload<QDropEvent *, QenTabWidget *>(&QenMainWindow::reparentChildDrop));
    return tabs;
}

QMdiSubWindow *QenMainWindow::addTabWidget(QenTabWidget *tabs)
{
    QMdiSubWindow *sub = m_mdiArea->addSubWindow(tabs);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    tabs->show();
    sub->show();
    m_mdiArea->setActiveSubWindow(sub);
    windowStateChanged();
    return sub;
}

void QenMainWindow::tabifyChild(QenChildWindow *child)
{
    QCoreApplication::processEvents();
    QenTabWidget *tabs = activeChild() ? activeTabWidget() : nullptr;
    auto *first = tabs ? qobject_cast<QenChildWindow *>(tabs->widget(0)) : nullptr;
    if (first && first->document() == child->document()) {
        UpdatesSuspended suspended(tabs);
        tabs->addTab(child, childTitle(child));
        return;
    }
    tabs = makeTabWidget(child->document());
    tabs->addTab(child, childTitle(child));
    fitToViews(addTabWidget(tabs), child);
}

// The tab widget's preferred size leaves the picture and the graphs cramped
// behind scroll bars: a window grows, as far as the area has room, until the
// views of `child` show whole.
void QenMainWindow::fitToViews(QMdiSubWindow *sub, QenChildWindow *child)
{
    auto *tabs = qobject_cast<QenTabWidget *>(sub->widget());
    if (!tabs || sub->isMaximized() || sub->isMinimized())
        return;
    const QSize frame = sub->sizeHint() - tabs->sizeHint();
    const QSize room = m_mdiArea->viewport()->size() - QSize(sub->x(), sub->y());
    const QSize whole = tabs->sizeForPage(child->viewsSizeHint()) + frame;
    sub->resize(whole.boundedTo(room).expandedTo(sub->size()).expandedTo(sub->sizeHint()));
}

void QenMainWindow::reparentChild(QenChildWindow *child, QenTabWidget *source, QenTabWidget *target,
                                  QPoint point)
{
    if (!child)
        return;
    if (source) {
        const int index = source->indexOf(child);
        if (index >= 0)
            source->removeTab(index);
        // Out of the tab widget's page stack before that may be deleted.
        child->hide();
        child->setParent(nullptr);
        if (source->count() == 0) {
            if (QMdiSubWindow *sub = subWindowOf(source))
                sub->close();
            else
                source->close();
        }
    }

    auto *first = target ? qobject_cast<QenChildWindow *>(target->widget(0)) : nullptr;
    if (!target || (first && first->document() != child->document())) {
        QenTabWidget *tabs = makeTabWidget(child->document());
        tabs->addTab(child, childTitle(child));
        QMdiSubWindow *sub = addTabWidget(tabs);
        if (!point.isNull())
            sub->move(point);
        child->show();
        if (target)
            setActiveWindow(tabs);
        return;
    }
    {
        UpdatesSuspended suspended(target);
        target->addTab(child, childTitle(child));
        target->setCurrentWidget(child);
        child->show();
    }
    setActiveWindow(target);
}

void QenMainWindow::reparentChild(QenChildWindow *child, QenTabWidget *source, QenTabWidget *target)
{
    reparentChild(child, source, target, QPoint(0, 0));
}

void QenMainWindow::reparentChild(QenChildWindow *child, QenTabWidget *source)
{
    reparentChild(child, source, nullptr, QPoint(0, 0));
}

void QenMainWindow::reparentChildDrop(QDropEvent *event, QenTabWidget *target)
{
    if (!event || !event->mimeData()->hasFormat(QLatin1String(childMimeType)))
        return;
    QenChildWindow *child = QenTabWidget::draggedChild(event->mimeData());
    // Only a window of this program that is still alive is moved; its own tab
    // widget is the source whatever the drag claims.
    if (!child || !allChildren().contains(child))
        return;
    QPoint point = event->position().toPoint();
    if (target)
        point = m_mdiArea->viewport()->mapFromGlobal(target->mapToGlobal(point));
    event->acceptProposedAction();
    reparentChild(child, tabWidgetOf(child), target, point);
}

void QenMainWindow::reparentChildDrop(QDropEvent *event)
{
    reparentChildDrop(event, nullptr);
}

void QenMainWindow::groupSubWindows()
{
    UpdatesSuspended suspended(this);
    for (QMdiSubWindow *sub : m_mdiArea->subWindowList())
        sub->hide();
    for (QenDoc *doc : documents()) {
        const QList<QenChildWindow *> children = childrenOf(doc);
        if (children.isEmpty())
            continue;
        QenTabWidget *tabs = makeTabWidget(doc);
        for (QenChildWindow *child : children)
            reparentChild(child, tabWidgetOf(child), tabs, QPoint(0, 0));
        addTabWidget(tabs);
        setActiveWindow(children.first());
    }
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
    writeSettings();
    event->accept();
}

// --- window menu and bringing windows to the front

void QenMainWindow::createWindowMenu()
{
    m_windowMenu->clear();
    m_windowMenu->addAction(m_tileAct);
    m_windowMenu->addAction(m_cascadeAct);
    m_windowMenu->addAction(m_groupAct);
    updateWindowMenu();

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
            QAction *act = menu->addAction(childTitle(child));
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

void QenMainWindow::updateWindowMenu()
{
    const bool active = activeChild();
    m_tileAct->setEnabled(active);
    m_cascadeAct->setEnabled(active);
    m_groupAct->setEnabled(active);
}

void QenMainWindow::setActiveWindow(QWidget *widget)
{
    if (!widget)
        return;
    for (QMdiSubWindow *sub : m_mdiArea->subWindowList()) {
        if (sub->widget() == widget) {
            m_mdiArea->setActiveSubWindow(sub);
            continue;
        }
        auto *tabs = qobject_cast<QTabWidget *>(sub->widget());
        if (!tabs || tabs->indexOf(widget) < 0)
            continue;
        tabs->setCurrentWidget(widget);
        if (sub->isMinimized())
            sub->setWindowState((sub->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        m_mdiArea->setActiveSubWindow(sub);
    }
}

void QenMainWindow::setActiveWindowIfNec(QWidget *widget)
{
    const QList<QenChildWindow *> children = childrenOf(activeDocument());
    for (QenChildWindow *child : children) {
        if (child == widget)
            return;
    }
    setActiveWindow(widget);
}

void QenMainWindow::giveFocusToMain()
{
    activateWindow();
}

void QenMainWindow::windowStateChanged()
{
    for (QMdiSubWindow *sub : m_mdiArea->subWindowList()) {
        disconnect(sub, &QMdiSubWindow::windowStateChanged, this, &QenMainWindow::updateViewMenu);
        connect(sub, &QMdiSubWindow::windowStateChanged, this, &QenMainWindow::updateViewMenu);
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
    updateActiveQen();
    updateTitle();
    updateEditMenu();
    updateSpecialMenu();
    updateViewMenu();
    updateWindowMenu();
    updateAnesthesiaMenu();
    updateFileMenu();
}

void QenMainWindow::updateTitle()
{
    QString title = tr("Quenor®Anesthesia Simulator");
    if (QenChildWindow *child = activeChild()) {
        title += QStringLiteral(" - ") + childTitle(child);
        if (child->isWindowModified())
            title += QLatin1Char('*');
    }
    setWindowTitle(title);
}

void QenMainWindow::updateFileMenu()
{
    QenChildWindow *child = activeChild();
    const bool active = child;
    for (QAction *act : {m_closeAct, m_saveAct, m_saveAsAct, m_runAct, m_sendAct, m_printPreviewAct,
                         m_exportMenu->menuAction(), m_printAct})
        act->setEnabled(active);
    m_runAllAct->setEnabled(active && allChildren().size() > 1);
    if (!active)
        return;

    const AState state = child->document()->engine()->state();
    if (state == APaused || state == ANotRun) {
        m_runAct->setText(tr("Run"));
        m_runAct->setIcon(QIcon(QStringLiteral(":/images/run.png")));
    } else {
        m_runAct->setText(tr("Stop"));
        m_runAct->setIcon(QIcon(QStringLiteral(":/images/stop.png")));
    }
    m_runAct->setEnabled(state != AFinished);

    bool anyRunning = false;
    bool anyStartable = false;
    for (QenChildWindow *c : allChildren()) {
        const AState s = c->document()->engine()->state();
        anyRunning = anyRunning || s == ARunning;
        anyStartable = anyStartable || s == APaused || s == ANotRun;
    }
    if (anyRunning) {
        m_runAllAct->setText(tr("Stop All"));
        m_runAllAct->setIcon(QIcon(QStringLiteral(":/images/stopall.png")));
    } else if (anyStartable) {
        m_runAllAct->setText(tr("Run All"));
        m_runAllAct->setIcon(QIcon(QStringLiteral(":/images/runall.png")));
    } else {
        m_runAllAct->setEnabled(false);
    }
}

void QenMainWindow::updateEditMenu()
{
    QenChildWindow *child = activeChild();
    const QList<QAction *> entries = {m_rewindAct,   m_fastFwdAct,   m_zeroTimerAct,
                                      m_clearAllAct, m_selectAllAct, m_copySelectionAct,
                                      m_copyDataAct};
    for (QAction *act : entries)
        act->setEnabled(child);
    if (!child)
        return;
    const QenEngine *engine = child->document()->engine();
    m_rewindAct->setEnabled(engine->displayTime() > 0);
    m_fastFwdAct->setEnabled(engine->displayTime() < engine->endTime());
    m_zeroTimerAct->setEnabled(engine->simTime() != 0);
    m_copySelectionAct->setEnabled(!m_selection.isNull());
}

bool QenMainWindow::activeHasAgent(int *agent) const
{
    QenChildWindow *child = activeChild();
    if (!child)
        return false;
    const int track = child->document()->engine()->currentTrack();
    if (track < 0 || track >= child->document()->agentCount())
        return false;
    if (agent)
        *agent = track;
    return true;
}

void QenMainWindow::updateAnesthesiaMenu()
{
    int track = -1;
    const bool hasAgent = activeHasAgent(&track);
    for (QAction *act : {m_liquidInjectAct, m_unitDoseAct, m_setCostAct, m_adjustDelAct,
                         m_changeAgentAct, m_defaultColorsAct})
        act->setEnabled(hasAgent);
    if (!hasAgent)
        return;
    const QenEngine *engine = activeDocument()->engine();
    m_unitDoseAct->setEnabled(engine->track(track).unitDose > 0);
    m_liquidInjectAct->setEnabled(engine->canInject(track));
    const QenAnesthetic *agent = engine->agentOf(track);
    m_setCostAct->setEnabled(agent && agent->volatility != 0);
}

void QenMainWindow::updateSpecialMenu()
{
    QenChildWindow *child = activeChild();
    const QList<QAction *> entries = {m_disableUptakeAct,   m_disableReturnAct, m_enableVaporAct,
                                      m_changePatientAct,   m_setBookmarkAct,   m_setBreakPointAct,
                                      m_enableScrollingAct, m_hideNumericsAct,  m_showCostAct};
    for (QAction *act : entries)
        act->setEnabled(child);
    if (!child)
        return;
    const QenEngine *engine = child->document()->engine();
    int track = -1;
    const bool dosed = activeHasAgent(&track) && engine->track(track).unitDose != 0;
    for (QAction *act : entries)
        act->blockSignals(true);
    m_disableUptakeAct->setChecked(!engine->uptakeEffect());
    m_disableReturnAct->setChecked(!engine->venousReturn());
    m_enableVaporAct->setChecked(dosed && engine->vaporEffect());
    m_enableScrollingAct->setChecked(child->graphViewWidget()->settings().scroll);
    m_hideNumericsAct->setChecked(child->panelView()->numericsHidden());
    m_showCostAct->setChecked(child->panelView()->costShown());
    for (QAction *act : entries)
        act->blockSignals(false);
    if (child->viewType() != QenDocView::Picture) {
        m_hideNumericsAct->setEnabled(false);
        m_showCostAct->setEnabled(false);
    }
}

void QenMainWindow::fillNewViewMenu(QMenu *menu, QenDoc *doc, bool graph)
{
    menu->clear();
    const QenEngine *engine = doc->engine();
    QList<int> held;
    for (int i = 0; i < doc->agentCount(); ++i) {
        held.append(engine->track(i).agent);
        QAction *act = menu->addAction(doc->agentName(i));
        act->setData(graph ? QenDocView::Graph : QenDocView::Picture);
        connect(act, &QAction::triggered, this, &QenMainWindow::newViewOrAdd);
    }
    const QenCatalogue &catalogue = doc->catalogue();
    for (int a = 0; a < catalogue.size(); ++a) {
        if (held.contains(a))
            continue;
        QAction *act = menu->addAction(addPrefix() + catalogue.at(a)->displayName);
        act->setData(graph ? QenDocView::Graph : QenDocView::Picture);
        act->setEnabled(engine->state() == ANotRun);
        connect(act, &QAction::triggered, this, &QenMainWindow::newViewOrAdd);
    }
}

void QenMainWindow::updateViewMenu()
{
    QenChildWindow *child = activeChild();
    const QList<QAction *> entries = {m_newGraphMenu->menuAction(),
                                      m_newPictureMenu->menuAction(),
                                      m_overlayAct,
                                      m_toolbarAct,
                                      m_zoomInAct,
                                      m_zoomOutAct,
                                      m_newGraphViewAct,
                                      m_newPictureViewAct,
                                      m_descriptionAct};
    for (QAction *act : entries)
        act->setEnabled(child);
    if (child) {
        const bool graph = child->viewType() == QenDocView::Graph;
        m_zoomInAct->setEnabled(graph && child->graphViewWidget()->zoom() < 3);
        m_zoomOutAct->setEnabled(graph && child->graphViewWidget()->zoom() > 1);
        m_overlayAct->setEnabled(overlayTarget());
        fillNewViewMenu(m_newGraphMenu, child->document(), true);
        fillNewViewMenu(m_newPictureMenu, child->document(), false);
        if (child->viewType() == QenDocView::Control) {
            m_newGraphViewAct->setEnabled(false);
            m_newPictureViewAct->setEnabled(false);
        }
    }
    m_toolbarAct->setEnabled(true);
}

QenChildWindow *QenMainWindow::overlayTarget() const
{
    QenChildWindow *active = activeChild();
    if (active && active->viewType() == QenDocView::Graph) {
        QMdiSubWindow *sub = subWindowOf(active);
        if (sub && !sub->isMinimized())
            return active;
    }
    QenChildWindow *best = nullptr;
    double widest = 0;
    for (QMdiSubWindow *sub : m_mdiArea->subWindowList()) {
        auto *tabs = qobject_cast<QTabWidget *>(sub->widget());
        if (!tabs || sub->isMinimized())
            continue;
        for (int i = 0; i < tabs->count(); ++i) {
            auto *child = qobject_cast<QenChildWindow *>(tabs->widget(i));
            if (!child || child->viewType() != QenDocView::Graph)
                continue;
            const double span = child->graphViewWidget()->compartmentGraph()->xSize();
            if (!best || span > widest) {
                best = child;
                widest = span;
            }
        }
    }
    return best;
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

void QenMainWindow::runSimulation()
{
    if (QenPanelView *panel = activePanel())
        panel->run();
    updateAllActions();
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

void QenMainWindow::liquidInject()
{
    if (QenPanelView *panel = activePanel())
        panel->Srynge();
}

void QenMainWindow::rewind()
{
    if (QenDoc *doc = activeDocument())
        doc->engine()->rewind();
    updateAllActions();
}

void QenMainWindow::fastFwd()
{
    if (QenDoc *doc = activeDocument())
        doc->engine()->skipForward();
    updateAllActions();
}

void QenMainWindow::zeroTimer()
{
    if (QenDoc *doc = activeDocument())
        doc->eraseKeepSettings();
    updateAllActions();
}

void QenMainWindow::clearAll()
{
    if (QenDoc *doc = activeDocument())
        doc->eraseAndRestoreDefaults();
    updateAllActions();
}

void QenMainWindow::copyData()
{
    if (QenDoc *doc = activeDocument())
        QGuiApplication::clipboard()->setText(
            doc->engine()->copyValues(doc->engine()->currentTrack()));
}

void QenMainWindow::selectAll()
{
    if (QenChildWindow *child = activeChild())
        m_selection = child->grab();
    updateEditMenu();
}

void QenMainWindow::copySelection()
{
    if (!m_selection.isNull())
        QGuiApplication::clipboard()->setPixmap(m_selection);
}

void QenMainWindow::defaultAgentColors()
{
    if (QenDoc *doc = activeDocument())
        doc->defaultAgentColours();
}

void QenMainWindow::showCost(bool on)
{
    if (QenPanelView *panel = activePanel())
        panel->setCostShown(on);
}

void QenMainWindow::hideNumerics(bool on)
{
    if (QenPanelView *panel = activePanel())
        panel->setNumericsHidden(on);
}

void QenMainWindow::disableUptake(bool on)
{
    if (QenDoc *doc = activeDocument())
        doc->engine()->disableUptake(on);
    updateSpecialMenu();
}

void QenMainWindow::disableReturn(bool on)
{
    if (QenDoc *doc = activeDocument())
        doc->engine()->disableReturn(on);
    updateSpecialMenu();
}

void QenMainWindow::enableVapor(bool on)
{
    if (QenDoc *doc = activeDocument())
        doc->engine()->enableVapor(on);
    updateSpecialMenu();
}

void QenMainWindow::enableScrolling(bool on)
{
    for (QenChildWindow *child : childrenOf(activeDocument()))
        child->graphViewWidget()->setScrolling(on);
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

void QenMainWindow::zoomin()
{
    if (QenGraphView *graph = activeGraph())
        graph->setZoom(graph->zoom() + 1);
    updateViewMenu();
}

void QenMainWindow::zoomout()
{
    if (QenGraphView *graph = activeGraph())
        graph->setZoom(std::max(1, graph->zoom() - 1));
    updateViewMenu();
}

bool QenMainWindow::editDescription()
{
    QenDoc *doc = activeDocument();
    if (!doc)
        return false;
    QString text = doc->description();
    bool accepted = false;
    if (m_descriptionDialog) {
        accepted = m_descriptionDialog(this, &text);
    } else {
        QDialog dialog(this);
        dialog.setWindowTitle(tr("Edit simulation description"));
        auto *layout = new QVBoxLayout(&dialog);
        auto *editor = new QPlainTextEdit(&dialog);
        editor->setPlainText(text);
        layout->addWidget(editor);
        auto *buttons =
            new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        accepted = dialog.exec() == QDialog::Accepted;
        text = editor->toPlainText();
    }
    if (!accepted)
        return false;
    doc->setDescription(text);
    // Saved with the simulation: the same text again still asks to be saved.
    doc->setModified(true);
    emit doc->modified(true);
    return true;
}

// --- commands whose features come later

void QenMainWindow::showHelp()
{
    qenApp->prompt()->information(tr("Quenor® "), tr("Feature not implemented"));
}

void QenMainWindow::showHelpTopic()
{
    showHelp();
}

void QenMainWindow::aboutQuenor()
{
    showHelp();
}

void QenMainWindow::saveFile()
{
    if (QenDoc *doc = activeDocument())
        doc->save();
}

void QenMainWindow::saveFileAs()
{
    if (QenDoc *doc = activeDocument())
        doc->saveAs();
}

void QenMainWindow::sendMail()
{
    showHelp();
}

void QenMainWindow::print()
{
    showHelp();
}

void QenMainWindow::printPreview()
{
    showHelp();
}

void QenMainWindow::pageSetup()
{
    showHelp();
}

void QenMainWindow::selectPrintOutput()
{
    showHelp();
}

void QenMainWindow::exportToPdf()
{
    showHelp();
}

void QenMainWindow::exportToXml()
{
    showHelp();
}

void QenMainWindow::exportToHtml()
{
    showHelp();
}

void QenMainWindow::setDefaultOptions()
{
    showHelp();
}

void QenMainWindow::overlay()
{
    showHelp();
}

// --- events

bool QenMainWindow::event(QEvent *event)
{
    if (event->type() != QEvent::WindowStateChange)
        return QMainWindow::event(event);
    const bool minimised = isMinimized();
    for (QenChildWindow *child : allChildren()) {
        if (minimised) {
            child->rememberState(child->windowState());
            child->hide();
        } else {
            child->setWindowState(child->rememberedState());
            // Only the current page of a tab widget is ever visible.
            QenTabWidget *tabs = tabWidgetOf(child);
            child->setVisible(!tabs || tabs->currentWidget() == child);
        }
    }
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

    if (m_mdiArea && (watched == m_mdiArea || watched == m_mdiArea->viewport())) {
        const QString format = QLatin1String(childMimeType);
        auto outsideEverySubWindow = [this](QPoint pos) {
            for (QMdiSubWindow *sub : m_mdiArea->subWindowList()) {
                if (sub->isVisible() && sub->frameGeometry().contains(pos))
                    return false;
            }
            return true;
        };
        switch (event->type()) {
        case QEvent::DragEnter: {
            auto *drag = static_cast<QDragEnterEvent *>(event);
            if (drag->mimeData()->hasFormat(format))
                drag->acceptProposedAction();
            return true;
        }
        case QEvent::DragMove: {
            auto *drag = static_cast<QDragMoveEvent *>(event);
            if (drag->mimeData()->hasFormat(format) &&
                outsideEverySubWindow(drag->position().toPoint()))
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto *drop = static_cast<QDropEvent *>(event);
            if (drop->mimeData()->hasFormat(format) &&
                outsideEverySubWindow(drop->position().toPoint())) {
                reparentChildDrop(drop, nullptr);
                return true;
            }
            return false;
        }
        default:
            return false;
        }
    }

    if (auto *child = qobject_cast<QenChildWindow *>(watched)) {
        switch (event->type()) {
        case QEvent::Show:
            // Its views know their whole size only once laid out for showing
            // (an agent's name widens the picture): the window grows then,
            // once per child, so that a window the user made smaller stays so.
            if (!child->property(fittedProperty).toBool()) {
                child->setProperty(fittedProperty, true);
                QTimer::singleShot(0, child, [this, child] {
                    if (QMdiSubWindow *sub = subWindowOf(tabWidgetOf(child)))
                        fitToViews(sub, child);
                });
            }
            return false;
        case QEvent::WindowActivate:
            if (QenDoc *doc = child->document())
                doc->engine()->setCurrentTrack(child->agentIndex());
            raise();
            updateAllActions();
            return true;
        case QEvent::WindowStateChange:
            m_overlayAct->setEnabled(overlayTarget());
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
