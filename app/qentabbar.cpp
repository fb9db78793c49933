#include "app/qentabbar.h"

#include <QApplication>
#include <QMouseEvent>

#include <algorithm>

QenTabBar::QenTabBar(QWidget *parent) : QTabBar(parent)
{
    setToolTip(
        tr("Click/drag this tab away to view content separately or to move it to another window."));
    setFocusPolicy(Qt::ClickFocus);
}

QSize QenTabBar::minimumTabSizeHint(int index) const
{
    // A crowded bar takes the same width off every tab, so the shortest reach
    // their least first and would show nothing but "...". The tray's tab, the
    // one a lesson keeps going back to, stays whole; the others keep some
    // characters of their own on either side of the dots.
    if (keepsWhole(index))
        return tabSizeHint(index);
    constexpr int keptCharacters = 8;
    const QSize least = QTabBar::minimumTabSizeHint(index);
    const int readable =
        least.width() + keptCharacters * fontMetrics().horizontalAdvance(QLatin1Char('x'));
    return QSize(std::min(tabSizeHint(index).width(), readable), least.height());
}

void QenTabBar::setKeepsWhole(int index, bool whole)
{
    setTabData(index, whole);
}

bool QenTabBar::keepsWhole(int index) const
{
    return tabData(index).toBool();
}

void QenTabBar::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() != Qt::LeftButton || tabAt(pos) < 0) {
        event->accept();
        return;
    }
    m_pressPos = pos;
    QTabBar::mousePressEvent(event);
}

void QenTabBar::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    const QPoint pos = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const int index = tabAt(pos);
    if (index < 0)
        return;
    if ((pos - m_pressPos).manhattanLength() > QApplication::startDragDistance())
        emit drag(index);
}
