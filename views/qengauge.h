#pragma once

#include "views/qengaugemath.h"

#include <QColor>
#include <QWidget>

// A vertical bar gauge with a tick scale, which the user can drag to change a
// setting. Dragging needs the receiver's consent: a slot connected to
// FireQengaugeStart() calls setDragAccepted(true) when the change may go ahead
// (the run may have to be paused and the past given up first); without it the
// drag ends at once.
class QenGauge : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int Max READ max WRITE setMax)
    Q_PROPERTY(int Value READ value WRITE setValue)
    Q_PROPERTY(int TickEvery READ tickEvery WRITE setTickEvery)
    Q_PROPERTY(int LTickEvery READ lTickEvery WRITE setLTickEvery)
    Q_PROPERTY(QColor BarColor READ barColor WRITE setBarColor)

public:
    explicit QenGauge(QWidget *parent = nullptr);

    int max() const { return m_max; }
    void setMax(int max);
    int value() const { return m_value; }
    void setValue(int value);
    int tickEvery() const { return m_tickEvery; }
    void setTickEvery(int every);
    int lTickEvery() const { return m_lTickEvery; }
    void setLTickEvery(int every);
    QColor barColor() const { return m_barColor; }
    void setBarColor(const QColor &color);

    bool isDragging() const { return m_dragging; }
    bool dragAccepted() const { return m_accepted; }
    void setDragAccepted(bool accepted) { m_accepted = accepted; }

    GaugeLayout barLayout() const { return gaugeLayout(width(), height()); }

    QSize sizeHint() const override { return QSize(30, 150); }
    QSize minimumSizeHint() const override { return QSize(12, 40); }

signals:
    void FireQengaugeStart();
    void FireQengaugeChange(short Value);
    void FireQengaugeStop();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void normalise();

    int m_max = 100;
    int m_value = 50;
    int m_tickEvery = 10;
    int m_lTickEvery = 50;
    QColor m_barColor{0, 0, 255};
    bool m_dragging = false;
    bool m_accepted = false;
    int m_grabOffset = 0;
};
