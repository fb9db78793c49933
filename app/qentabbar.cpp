#include "app/qentabbar.h"

#include <QApplication>
#include <QMouseEvent>

QenTabBar::QenTabBar(QWidget *parent) : QTabBar(parent)
{
    setToolTip(
        tr("Click/drag this tab away to view content separately or to move it to another window."));
    setFocusPolicy(Qt::ClickFocus);
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
