#include "views/qenanibutton.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

QenAniButton::QenAniButton(QWidget *parent) : QAbstractButton(parent)
{
    m_up = QPixmap(QStringLiteral(":/images/srynge_up.png"));
    m_down = QPixmap(QStringLiteral(":/images/srynge_down.png"));
    setFocusPolicy(Qt::StrongFocus);
}

void QenAniButton::setDownPixmap(const QPixmap &pixmap)
{
    m_down = pixmap;
    updateGeometry();
    update();
}

void QenAniButton::setUpPixmap(const QPixmap &pixmap)
{
    m_up = pixmap;
    updateGeometry();
    update();
}

QSize QenAniButton::sizeHint() const
{
    if (!m_up.isNull())
        return m_up.deviceIndependentSize().toSize();
    return QSize(48, 48);
}

void QenAniButton::paintEvent(QPaintEvent *)
{
    const QPixmap &picture = isDown() ? m_down : m_up;
    if (picture.isNull()) {
        QStylePainter painter(this);
        QStyleOptionButton option;
        option.initFrom(this);
        option.text = text();
        option.icon = icon();
        option.iconSize = iconSize();
        if (isDown())
            option.state |= QStyle::State_Sunken;
        painter.drawControl(QStyle::CE_PushButton, option);
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawPixmap(rect(), picture);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
