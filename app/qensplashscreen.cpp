#include "app/qensplashscreen.h"

#include <QTimer>

QenSplashScreen::QenSplashScreen(QWidget *mainWindow, const QPixmap &pixmap)
    : QSplashScreen(pixmap), m_mainWindow(mainWindow)
{
    // A child window of the main window, so that it stays over it and goes with it.
    setParent(mainWindow, windowFlags() | Qt::WindowStaysOnTopHint);
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
}

void QenSplashScreen::showFor(int seconds)
{
    // Placed before it is shown: a splash moved once on screen leaves a copy
    // behind where nothing repaints the place it left (no window manager).
    placeOverMainWindow();
    show();
    raise();
    QTimer::singleShot(qMax(0, seconds) * 1000, this, &QenSplashScreen::timeUp);
}

void QenSplashScreen::placeOverMainWindow()
{
    if (m_mainWindow)
        move(m_mainWindow->frameGeometry().center() - rect().center());
    if (isVisible())
        raise();
}

void QenSplashScreen::timeUp()
{
    if (m_mainWindow)
        finish(m_mainWindow);
    else
        close();
}

void QenSplashScreen::mousePressEvent(QMouseEvent *)
{
    close();
}
