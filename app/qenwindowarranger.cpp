#include "app/qenwindowarranger.h"

#include "app/qenapplication.h"
#include "app/qenchildwindow.h"
#include "app/qentabwidget.h"
#include "document/qendoc.h"
#include "views/qengraph.h"
#include "views/qengraphview.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QResizeEvent>
#include <QTabBar>
#include <QTimer>

#include <algorithm>

namespace {
const char *const childMimeType = "application/x-qenchildwindow";
// Set on a child window once its sub-window has been fitted to its views.
const char *const fittedProperty = "qenFitted";

QMdiSubWindow *subWindowOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(w))
            return sub;
    }
    return nullptr;
}
} // namespace

QenWindowArranger::UpdatesSuspended::UpdatesSuspended(QWidget *widget)
    // Only a widget's own suspension counts: one inherited from a suspended
    // parent ends with that parent's.
    : m_widget(widget), m_was(widget && !widget->testAttribute(Qt::WA_ForceUpdatesDisabled))
{
    if (m_widget)
        m_widget->setUpdatesEnabled(false);
}

QenWindowArranger::UpdatesSuspended::~UpdatesSuspended()
{
    if (m_widget && m_was)
        m_widget->setUpdatesEnabled(true);
}

QenWindowArranger::QenWindowArranger(QMdiArea *area, QObject *parent)
    : QObject(parent), m_area(area)
{
    m_area->setAcceptDrops(true);
    m_area->viewport()->setAcceptDrops(true);
    // Drags over the free part of the area arrive at its viewport.
    m_area->installEventFilter(this);
    m_area->viewport()->installEventFilter(this);
}

void QenWindowArranger::detach()
{
    // The area's own destructor sends events through the filter; by then it
    // is no longer a scroll area, so it must not be looked at.
    if (!m_area)
        return;
    m_area->viewport()->removeEventFilter(this);
    m_area->removeEventFilter(this);
    m_area = nullptr;
}

QList<QenChildWindow *> QenWindowArranger::childrenOf(const QenDoc *doc)
{
    QList<QenChildWindow *> children;
    if (!doc)
        return children;
    for (QenChildWindowInterface *view : doc->views()) {
        if (auto *child = dynamic_cast<QenChildWindow *>(view))
            children.append(child);
    }
    return children;
}

QList<QenChildWindow *> QenWindowArranger::allChildren() const
{
    QList<QenChildWindow *> children;
    for (QenDoc *doc : qenApp->documents())
        children += childrenOf(doc);
    return children;
}

QenTabWidget *QenWindowArranger::tabWidgetOf(QenChildWindow *child)
{
    for (QWidget *w = child ? child->parentWidget() : nullptr; w; w = w->parentWidget()) {
        if (auto *tabs = qobject_cast<QenTabWidget *>(w))
            return tabs;
    }
    return nullptr;
}

QenTabWidget *QenWindowArranger::activeTabWidget() const
{
    // The current sub-window stays current while another top-level window
    // (a dialog, the splash) is active.
    QMdiSubWindow *sub = m_area ? m_area->currentSubWindow() : nullptr;
    return sub ? qobject_cast<QenTabWidget *>(sub->widget()) : nullptr;
}

QenChildWindow *QenWindowArranger::activeChild() const
{
    QenTabWidget *tabs = activeTabWidget();
    auto *child = tabs ? qobject_cast<QenChildWindow *>(tabs->currentWidget()) : nullptr;
    if (!child || child->agentIndex() < 0 || !child->document())
        return nullptr;
    return child;
}

QenChildWindow *QenWindowArranger::overlayTarget() const
{
    QenChildWindow *active = activeChild();
    if (active && active->viewType() == QenChildWindowInterface::Graph) {
        QMdiSubWindow *sub = subWindowOf(active);
        if (sub && !sub->isMinimized())
            return active;
    }
    QenChildWindow *best = nullptr;
    double widest = 0;
    for (QMdiSubWindow *sub : m_area->subWindowList()) {
        auto *tabs = qobject_cast<QTabWidget *>(sub->widget());
        if (!tabs || sub->isMinimized())
            continue;
        for (int i = 0; i < tabs->count(); ++i) {
            auto *child = qobject_cast<QenChildWindow *>(tabs->widget(i));
            if (!child || child->viewType() != QenChildWindowInterface::Graph)
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

void QenWindowArranger::watch(QenChildWindow *child)
{
    child->installEventFilter(this);
}

void QenWindowArranger::setMinimised(bool minimised)
{
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
}

QenTabWidget *QenWindowArranger::makeTabWidget(QenDoc *doc)
{
    auto *tabs = new QenTabWidget();
    tabs->setWindowTitle(doc->title());
    connect(doc, &QenDoc::titleChanged, tabs, &QWidget::setWindowTitle);
    connect(doc, &QenDoc::agentColorsChanged, tabs, &QenTabWidget::updateTabTextColor);
    connect(tabs, &QTabWidget::currentChanged, this, &QenWindowArranger::currentTabChanged);
    connect(tabs, &QenTabWidget::reparentChildDrop, this, &QenWindowArranger::reparentChildDrop);
    return tabs;
}

QMdiSubWindow *QenWindowArranger::addTabWidget(QenTabWidget *tabs)
{
    QMdiSubWindow *sub = m_area->addSubWindow(tabs);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // Ctrl+W is the main window's Close (of the document); a sub-window's own
    // Close holding it too would make the key ambiguous, so that it did nothing.
    for (QAction *act : sub->systemMenu()->actions()) {
        QList<QKeySequence> keys = act->shortcuts();
        if (keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_W)) > 0)
            act->setShortcuts(keys);
    }
    connect(sub, &QMdiSubWindow::windowStateChanged, this,
            &QenWindowArranger::subWindowStateChanged);
    tabs->show();
    sub->show();
    m_area->setActiveSubWindow(sub);
    return sub;
}

void QenWindowArranger::tabifyBeside(QenChildWindow *child, QenChildWindow *sibling)
{
    // The windows a simulation opens with go beside its tray without waiting
    // for the area to settle which window is active: those passes, one per
    // window, cost an opened file more than building the window itself.
    QenTabWidget *tabs = sibling ? tabWidgetOf(sibling) : nullptr;
    if (!tabs || sibling->document() != child->document()) {
        tabifyChild(child);
        return;
    }
    UpdatesSuspended suspended(tabs);
    tabs->addTab(child, child->title());
}

void QenWindowArranger::tabifyChild(QenChildWindow *child)
{
    QCoreApplication::processEvents();
    QenTabWidget *tabs = activeChild() ? activeTabWidget() : nullptr;
    auto *first = tabs ? qobject_cast<QenChildWindow *>(tabs->widget(0)) : nullptr;
    if (first && first->document() == child->document()) {
        UpdatesSuspended suspended(tabs);
        tabs->addTab(child, child->title());
        return;
    }
    tabs = makeTabWidget(child->document());
    tabs->addTab(child, child->title());
    QMdiSubWindow *sub = addTabWidget(tabs);
    if (!m_firstPlaced) {
        m_firstPlaced = true;
        if (m_area->subWindowList().size() == 1) {
            sub->setGeometry(m_area->viewport()->rect());
            m_filling = sub;
            return;
        }
    }
    // A new window starts where it can be seen.
    if (!m_area->viewport()->rect().intersects(sub->geometry()))
        sub->move(0, 0);
    fitToViews(sub, child);
}

// The tab widget's preferred size leaves the picture and the graphs cramped
// behind scroll bars: a window grows, as far as the area has room, until the
// views of `child` show whole.
void QenWindowArranger::fitToViews(QMdiSubWindow *sub, QenChildWindow *child)
{
    auto *tabs = qobject_cast<QenTabWidget *>(sub->widget());
    if (!tabs || sub->isMaximized() || sub->isMinimized())
        return;
    const QSize frame = sub->sizeHint() - tabs->sizeHint();
    const QSize room = m_area->viewport()->size() - QSize(sub->x(), sub->y());
    QSize whole = tabs->sizeForPage(child->viewsSizeHint()) + frame;
    // The tab texts are not cut short either.
    whole.setWidth(std::max(whole.width(), tabs->sizeForTabs().width() + frame.width()));
    sub->resize(whole.boundedTo(room).expandedTo(sub->size()).expandedTo(sub->sizeHint()));
}

void QenWindowArranger::reparentChild(QenChildWindow *child, QenTabWidget *source,
                                      QenTabWidget *target, QPoint point)
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
        tabs->addTab(child, child->title());
        QMdiSubWindow *sub = addTabWidget(tabs);
        if (!point.isNull())
            sub->move(point);
        // Sized as a new document's window is, once its views are laid out.
        child->setProperty(fittedProperty, false);
        child->show();
        fitToViews(sub, child);
        if (target)
            setActiveWindow(tabs);
        return;
    }
    {
        UpdatesSuspended suspended(target);
        target->addTab(child, child->title());
        target->setCurrentWidget(child);
        child->show();
    }
    setActiveWindow(target);
}

void QenWindowArranger::reparentChildDrop(QDropEvent *event, QenTabWidget *target)
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
        point = m_area->viewport()->mapFromGlobal(target->mapToGlobal(point));
    event->acceptProposedAction();
    reparentChild(child, tabWidgetOf(child), target, point);
}

void QenWindowArranger::groupSubWindows()
{
    UpdatesSuspended suspended(m_area->window());
    for (QMdiSubWindow *sub : m_area->subWindowList())
        sub->hide();
    for (QenDoc *doc : qenApp->documents()) {
        const QList<QenChildWindow *> children = childrenOf(doc);
        if (children.isEmpty())
            continue;
        QenTabWidget *tabs = makeTabWidget(doc);
        for (QenChildWindow *child : children)
            reparentChild(child, tabWidgetOf(child), tabs);
        addTabWidget(tabs);
        setActiveWindow(children.first());
    }
}

void QenWindowArranger::setActiveWindow(QWidget *widget)
{
    if (!widget)
        return;
    for (QMdiSubWindow *sub : m_area->subWindowList()) {
        if (sub->widget() == widget) {
            m_area->setActiveSubWindow(sub);
            continue;
        }
        auto *tabs = qobject_cast<QTabWidget *>(sub->widget());
        if (!tabs || tabs->indexOf(widget) < 0)
            continue;
        tabs->setCurrentWidget(widget);
        if (sub->isMinimized())
            sub->setWindowState((sub->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        m_area->setActiveSubWindow(sub);
    }
}

void QenWindowArranger::setActiveWindowIfNec(QWidget *widget)
{
    QenChildWindow *active = activeChild();
    if (!childrenOf(active ? active->document() : nullptr).contains(widget))
        setActiveWindow(widget);
}

bool QenWindowArranger::filterAreaEvent(QEvent *event)
{
    // The first window follows the work area while it still fills it alone.
    if (event->type() == QEvent::Resize && m_filling && m_area->subWindowList().size() == 1 &&
        !m_filling->isMaximized() && !m_filling->isMinimized()) {
        const auto *resize = static_cast<QResizeEvent *>(event);
        if (m_filling->geometry() == QRect(QPoint(0, 0), resize->oldSize()))
            m_filling->setGeometry(m_area->viewport()->rect());
    }
    const QString format = QLatin1String(childMimeType);
    auto outsideEverySubWindow = [this](QPoint pos) {
        for (QMdiSubWindow *sub : m_area->subWindowList()) {
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

bool QenWindowArranger::eventFilter(QObject *watched, QEvent *event)
{
    if (m_area && (watched == m_area || watched == m_area->viewport()))
        return filterAreaEvent(event);
    auto *child = qobject_cast<QenChildWindow *>(watched);
    // Its views know their whole size only once laid out for showing (an
    // agent's name widens the picture): the window grows then, once per
    // child, so that a window the user made smaller stays so.
    if (child && event->type() == QEvent::Show && !child->property(fittedProperty).toBool()) {
        child->setProperty(fittedProperty, true);
        QTimer::singleShot(0, child, [this, child] {
            QMdiSubWindow *sub = m_area ? subWindowOf(tabWidgetOf(child)) : nullptr;
            if (sub)
                fitToViews(sub, child);
        });
    }
    return QObject::eventFilter(watched, event);
}
