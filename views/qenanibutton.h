#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A push button drawn entirely by two pictures, one for up and one for down
// (the syringe that injects liquid agent). Without pictures it draws a plain
// push button so that it stays usable.
class QenAniButton : public QAbstractButton
{
    Q_OBJECT
    Q_PROPERTY(QPixmap DownPixmap READ downPixmap WRITE setDownPixmap)
    Q_PROPERTY(QPixmap UpPixmap READ upPixmap WRITE setUpPixmap)

public:
    explicit QenAniButton(QWidget *parent = nullptr);

    QPixmap downPixmap() const { return m_down; }
    void setDownPixmap(const QPixmap &pixmap);
    QPixmap upPixmap() const { return m_up; }
    void setUpPixmap(const QPixmap &pixmap);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_down;
    QPixmap m_up;
};
