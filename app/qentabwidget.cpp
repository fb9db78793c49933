#include "app/qentabwidget.h"

#include "app/qenchildwindow.h"
#include "app/qentabbar.h"

#include <QCloseEvent>
#include <QDrag>
#include <QDropEvent>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>

const QString QenTabWidget::mimeType = QStringLiteral("application/x-qenchildwindow");

QenTabWidget::QenTabWidget(QWidget *parent)
    : QTabWidget(parent), m_bar(new QenTabBar(this)), m_closeButton(new QToolButton(this))
{
    setTabBar(m_bar);
    // Long titles (two agents on a small screen) are shortened in the middle,
    // where the document's name and the agent stay; the tip shows them whole.
    setElideMode(Qt::ElideMiddle);
    setAcceptDrops(true);
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::ClickFocus);

    m_closeButton->setAutoRaise(true);
    m_closeButton->setToolTip(tr("Close tab"));
    m_closeButton->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    m_closeButton->setFocusPolicy(Qt::ClickFocus);
    setCornerWidget(m_closeButton, Qt::TopRightCorner);

    connect(m_closeButton, &QToolButton::clicked, this, &QenTabWidget::tryCloseTab);
    connect(m_bar, &QenTabBar::drag, this, &QenTabWidget::handleDrag);
    connect(this, &QTabWidget::currentChanged, this, &QenTabWidget::toggleCloseButton);
}

namespace {
double luminance(const QColor &c)
{
    auto linear = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
} // namespace

QColor QenTabWidget::textColor(const QColor &agent) const
{
    // A light agent colour (yellow, cyan) would vanish on the tab: the text
    // keeps its hue but is darkened until it can be read.
    const QColor background = m_bar->palette().color(QPalette::Window);
    QColor text = agent;
    for (int i = 0; i < 12 && contrast(text, background) < 2.0; ++i)
        text = text.darker(120);
    return text;
}

QSize QenTabWidget::sizeForPage(const QSize &page) const
{
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    option.state = QStyle::State_None;
    const int bar = std::max(tabBar()->sizeHint().height(), m_closeButton->sizeHint().height());
    return style()->sizeFromContents(QStyle::CT_TabWidget, &option,
                                     QSize(page.width(), page.height() + bar), this);
}

QSize QenTabWidget::sizeForTabs() const
{
    // A tab bar's hint holds its tabs at their full width; a few pixels
    // more keep the last one clear of the close button.
    return sizeForPage(
        QSize(tabBar()->sizeHint().width() + m_closeButton->sizeHint().width() + 8, 0));
}

QenTabWidget::~QenTabWidget()
{
    // Children deleted with this widget may still close others of their
    // document; they must not report to a tab widget that is half gone.
    for (QenChildWindow *c : std::as_const(m_connected)) {
        if (c)
            disconnect(c, nullptr, this, nullptr);
    }
}

QenChildWindow *QenTabWidget::child(int index) const
{
    return qobject_cast<QenChildWindow *>(widget(index));
}

QList<QenChildWindow *> QenTabWidget::childWindows() const
{
    QList<QenChildWindow *> list;
    for (int i = 0; i < count(); ++i) {
        if (QenChildWindow *c = child(i))
            list.append(c);
    }
    return list;
}

QenChildWindow *QenTabWidget::controlChild() const
{
    for (QenChildWindow *c : childWindows()) {
        if (c->type() == QenChildWindow::Control)
            return c;
    }
    return nullptr;
}

QMimeData *QenTabWidget::mimeDataFor(int index) const
{
    QenChildWindow *c = child(index);
    if (!c)
        return nullptr;
    auto *data = new QMimeData;
    data->setData(mimeType, c->identity());
    return data;
}

QenChildWindow *QenTabWidget::draggedChild(const QMimeData *data)
{
    if (!data || !data->hasFormat(mimeType))
        return nullptr;
    return QenChildWindow::fromIdentity(data->data(mimeType));
}

// --- tabs

void QenTabWidget::tabInserted(int index)
{
    QTabWidget::tabInserted(index);
    QenChildWindow *c = child(index);
    if (!c)
        return;
    connect(c, &QenChildWindow::titleUpdated, this, &QenTabWidget::updateTab, Qt::UniqueConnection);
    connect(c, &QenChildWindow::beforeClose, this, &QenTabWidget::removeTabOnClose,
            Qt::UniqueConnection);
    if (!m_connected.contains(c))
        m_connected.append(c);
    toggleCloseButton();
    m_bar->setTabTextColor(index, textColor(c->color()));
    m_bar->setTabToolTip(index, tabTip(tabText(index)));
    m_bar->setKeepsWhole(index, c->type() == QenChildWindow::Control);
}

QString QenTabWidget::tabTip(const QString &title) const
{
    return title + QLatin1Char('\n') + m_bar->toolTip();
}

void QenTabWidget::tabRemoved(int index)
{
    QTabWidget::tabRemoved(index);
    // A child moved to another tab widget no longer reports here.
    for (int i = int(m_connected.size()) - 1; i >= 0; --i) {
        QenChildWindow *c = m_connected.at(i);
        if (c && indexOf(c) >= 0)
            continue;
        if (c)
            disconnect(c, nullptr, this, nullptr);
        m_connected.removeAt(i);
    }
    toggleCloseButton();
}

void QenTabWidget::updateTab(const QString &title)
{
    const int index = indexOf(qobject_cast<QWidget *>(sender()));
    // Every window of a simulation is retitled each time one is added: a
    // text that stays as it was would only lay the tab bar out again.
    if (index >= 0 && tabText(index) != title) {
        setTabText(index, title);
        m_bar->setTabToolTip(index, tabTip(title));
    }
}

void QenTabWidget::updateTabTextColor()
{
    for (int i = 0; i < count(); ++i) {
        if (QenChildWindow *c = child(i))
            m_bar->setTabTextColor(i, textColor(c->color()));
    }
}

void QenTabWidget::toggleCloseButton()
{
    QenChildWindow *current = child(currentIndex());
    m_closeButton->setVisible(!(current && current->type() == QenChildWindow::Control));
}

void QenTabWidget::tryCloseTab()
{
    if (QWidget *current = currentWidget())
        current->close();
}

void QenTabWidget::removeTabOnClose()
{
    const int index = indexOf(qobject_cast<QWidget *>(sender()));
    if (index >= 0)
        removeTab(index);
    if (count() == 0)
        close();
}

// --- closing

void QenTabWidget::closeEvent(QCloseEvent *event)
{
    if (QenChildWindow *control = controlChild()) {
        // The document goes with its Control child, or nothing goes.
        if (!control->close()) {
            event->ignore();
            return;
        }
    } else {
        for (QenChildWindow *c : childWindows())
            c->close();
    }
    event->accept();
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
}

// --- dragging

void QenTabWidget::handleDrag(int index)
{
    QenChildWindow *c = child(index);
    if (!c)
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(mimeDataFor(index));
    const QPixmap picture = c->grab();
    if (!picture.isNull())
        drag->setPixmap(picture.scaled(300, 300, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    drag->exec(Qt::MoveAction);
}

QenTabWidget *QenTabWidget::dragSource(const QDropEvent *event, QenChildWindow *child) const
{
    if (QObject *source = event->source())
        return qobject_cast<QenTabWidget *>(source);
    return child ? child->tabWidget() : nullptr;
}

bool QenTabWidget::overTabBar(const QPoint &pos) const
{
    return m_bar->geometry().contains(pos);
}

void QenTabWidget::dragEnterEvent(QDragEnterEvent *event)
{
    dragMoveEvent(event);
}

void QenTabWidget::dragMoveEvent(QDragMoveEvent *event)
{
    QenChildWindow *c = draggedChild(event->mimeData());
    QenTabWidget *source = c ? dragSource(event, c) : nullptr;
    if (!source) {
        event->ignore();
        return;
    }
    // Within its own tab widget a tab can only be put elsewhere on the bar.
    if (source == this && !overTabBar(event->position().toPoint())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void QenTabWidget::dropEvent(QDropEvent *event)
{
    QenChildWindow *c = draggedChild(event->mimeData());
    QenTabWidget *source = c ? dragSource(event, c) : nullptr;
    if (!source) {
        event->ignore();
        return;
    }
    if (source != this) {
        emit reparentChildDrop(event, this);
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (!overTabBar(pos) || indexOf(c) < 0) {
        event->ignore();
        return;
    }
    reorder(c, m_bar->mapFrom(this, pos));
    event->acceptProposedAction();
}

// Dropping on the left half of a tab puts the dragged tab before it, on the
// right half after it; on the bar beside the tabs it goes first.
void QenTabWidget::reorder(QenChildWindow *child, const QPoint &barPos)
{
    setUpdatesEnabled(false);
    int target = m_bar->tabAt(barPos);
    const int from = indexOf(child);
    if (target != from) {
        QRect leftHalf = m_bar->tabRect(target);
        leftHalf.setWidth(leftHalf.width() / 2);
        const bool inLeft = leftHalf.contains(barPos);
        removeTab(from);
        if (!inLeft && target < from)
            ++target;
        if (inLeft && from < target)
            --target;
        insertTab(target, child, child->title());
        setCurrentIndex(target);
    }
    setUpdatesEnabled(true);
}
