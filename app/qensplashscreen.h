#pragma once

#include <QPointer>
#include <QSplashScreen>

// The picture shown over the main window while the program starts. It stays on
// top until it is clicked or its time is up.
class QenSplashScreen : public QSplashScreen
{
    Q_OBJECT

public:
    QenSplashScreen(QWidget *mainWindow, const QPixmap &pixmap);

    // Shows the splash and closes it on the main window after `seconds`.
    void showFor(int seconds);
    // Centres it on the main window and brings it to the front.
    void placeOverMainWindow();
    // Closes it on the main window now (what the timer does).
    void timeUp();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    QPointer<QWidget> m_mainWindow;
};
