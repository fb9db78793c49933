#include "app/qenmainwindow.h"

#include "app/qenactions.h"
#include "app/qenappdochost.h"
#include "app/qenassistant.h"
#include "app/qenapplication.h"
#include "app/qenchildwindow.h"
#include "app/qencommands.h"
#include "app/qenexamplesmenu.h"
#include "app/qencontrol.h"
#include "app/qenreports.h"
#include "app/qenstatusmessages.h"
#include "app/qenwindowarranger.h"
#include "document/qendoc.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QToolTip>

namespace {
constexpr int recentFileCount = 5;
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

    m_actions = new QenActions(this);
    m_commands = new QenCommands(this, m_actions);
    createMenus();
    m_reports = new QenReports(this, [this] { return editDescription(); });

    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &QenMainWindow::updateAllActions);
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

const QPixmap &QenMainWindow::selection() const
{
    return m_commands->selection();
}

void QenMainWindow::createMenus()
{
    for (int i = 0; i < recentFileCount; ++i) {
        auto *act = new QAction(this);
        act->setObjectName(QStringLiteral("actionRecentFile%1").arg(i + 1));
        act->setVisible(false);
        connect(act, &QAction::triggered, this,
                [this, act] { openDocument(act->data().toString()); });
        m_recentFileActs.append(act);
    }

    m_toolBar = new QToolBar(tr("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setOrientation(Qt::Horizontal);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    m_toolBar->installEventFilter(this);

    // File > Examples is the one sub-menu the table leaves to the window.
    const auto examples = [this](const QString &, QMenu *parent) -> QMenu * {
        auto *menu = new QenExamplesMenu(parent);
        connect(menu, &QenExamplesMenu::exampleChosen, this, &QenMainWindow::openExample);
        return menu;
    };
    const QHash<QString, QMenu *> menus = m_actions->build(this, m_toolBar, examples);
    menus.value(QStringLiteral("File/Recent"))->addActions(m_recentFileActs);
    updateRecentFileActions();
    m_newGraphMenu = menus.value(QStringLiteral("View/NewGraph"));
    m_newPictureMenu = menus.value(QStringLiteral("View/NewPicture"));
    m_windowMenu = menus.value(QStringLiteral("Window"));
    m_windowCommands = m_windowMenu->actions().size();
    createWindowMenu();
    connect(m_windowMenu, &QMenu::aboutToShow, this, &QenMainWindow::createWindowMenu);
    for (const char *key : {"File", "Edit", "Anesthesia", "View", "Special"})
        connect(menus.value(QLatin1String(key)), &QMenu::aboutToShow, this,
                &QenMainWindow::updateActions);
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

void QenMainWindow::removeChild(QObject *object)
{
    // A window in destruction reports itself as a plain object: leave it be.
    if (auto *child = qobject_cast<QenChildWindow *>(object)) {
        if (!child->hasClosed())
            child->close();
    }
    updateAllActions();
    m_commands->clearSelection();
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
    // The arrangement commands stay; the list of windows after them is made
    // afresh, and the sub-menus of the last list go with it.
    const QList<QAction *> entries = m_windowMenu->actions();
    for (QAction *act : entries.mid(m_windowCommands)) {
        m_windowMenu->removeAction(act);
        if (QMenu *perDocument = act->menu())
            perDocument->deleteLater();
        else if (act->parent() == m_windowMenu)
            act->deleteLater();
    }
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

void QenMainWindow::updateActions()
{
    m_actions->update(m_commands->activeState());
    if (QenChildWindow *child = activeChild()) {
        m_commands->fillNewViewMenu(m_newGraphMenu, child->document(), true);
        m_commands->fillNewViewMenu(m_newPictureMenu, child->document(), false);
    }
}

bool QenMainWindow::editDescription()
{
    QenDoc *doc = activeDocument();
    return doc && QenDialogs::editDescription(*doc, this, m_dialogRunner);
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
