#include "views/qengauge.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

QenGauge::QenGauge(QWidget *parent) : QWidget(parent)
{
    normalise();
}

void QenGauge::normalise()
{
    normaliseGauge(m_max, m_tickEvery, m_lTickEvery);
}

void QenGauge::setMax(int max)
{
    m_max = max;
    normalise();
    update();
}

void QenGauge::setValue(int value)
{
    m_value = value;
    update();
}

void QenGauge::setTickEvery(int every)
{
    m_tickEvery = every;
    normalise();
    update();
}

void QenGauge::setLTickEvery(int every)
{
    m_lTickEvery = every;
    normalise();
    update();
}

void QenGauge::setBarColor(const QColor &color)
{
    m_barColor = color;
    update();
}

void QenGauge::paintEvent(QPaintEvent *)
{
    const GaugeLayout g = barLayout();
    QPainter painter(this);
    const QColor ink = palette().color(QPalette::WindowText);

    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::white);
    painter.drawRect(
        QRect(QPoint(g.frameLeft, g.frameTop), QPoint(g.frameRight - 1, g.frameBottom - 1)));

    if (m_tickEvery != 0) {
        painter.setPen(QPen(ink, 0));
        const int halfway = g.frameLeft / 2;
        for (int v = 0; v <= m_max; v += m_tickEvery) {
            const int y = gaugeTickRow(g, v, m_max);
            const bool longTick = m_lTickEvery != 0 && v % m_lTickEvery == 0;
            painter.drawLine(longTick ? 0 : halfway, y, g.frameLeft - 1, y);
        }
    }

    const int top = gaugeValueRow(g, m_value, m_max);
    if (top <= g.innerBottom && g.innerRight >= g.innerLeft) {
        QLinearGradient shade(g.frameLeft, 0, g.innerRight, 0);
        shade.setColorAt(0, m_barColor);
        shade.setColorAt(0.3, Qt::white);
        shade.setColorAt(0.6, m_barColor);
        shade.setColorAt(0.7, m_barColor);
        shade.setColorAt(1, m_barColor.darker(300));
        painter.fillRect(QRect(QPoint(g.innerLeft, top), QPoint(g.innerRight, g.innerBottom)),
                         shade);
    }
}

void QenGauge::mousePressEvent(QMouseEvent *event)
{
    const GaugeLayout g = barLayout();
    const QPoint pos = event->position().toPoint();
    const QRect inside(QPoint(g.innerLeft, g.innerTop), QPoint(g.innerRight, g.innerBottom));
    if (event->button() != Qt::LeftButton || !inside.contains(pos)) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    m_accepted = false;
    emit FireQengaugeStart();
    if (!m_accepted) {
        m_dragging = false;
        return;
    }
    m_grabOffset = gaugeValueRow(g, m_value, m_max) - pos.y();
}

void QenGauge::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    const int v = gaugeValueAt(barLayout(), event->position().toPoint().y() + m_grabOffset, m_max);
    if (v == m_value)
        return;
    setValue(v);
    emit FireQengaugeChange(short(v));
}

void QenGauge::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    emit FireQengaugeStop();
}
