#include "app/qenappdochost.h"

#include "app/qencostdlg.h"
#include "app/qenmainwindow.h"
#include "app/qenminutesound.h"
#include "document/qendoc.h"

#include <QApplication>
#include <QFileDialog>

QenAppDocHost::QenAppDocHost(QenMainWindow *window, const QenIni &ini, QenPrompt *prompt)
    : QenDocHost(ini, prompt), m_window(window)
{}

QenAppDocHost::~QenAppDocHost() = default;

QList<const QenDoc *> QenAppDocHost::openDocuments() const
{
    QList<const QenDoc *> docs;
    for (QenDoc *doc : m_window->documents())
        docs.append(doc);
    return docs;
}

QString QenAppDocHost::getSaveFileName(const QString &title, const QString &proposal,
                                       const QString &filter)
{
    if (m_saveDialog)
        return m_saveDialog(m_window, title, proposal, filter);
    return QFileDialog::getSaveFileName(m_window, title, proposal, filter);
}

void QenAppDocHost::recentFilesChanged()
{
    m_window->updateRecentFileActions();
}

void QenAppDocHost::setWaitCursor(bool on)
{
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool QenAppDocHost::ctrlHeld() const
{
    return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
}

bool QenAppDocHost::isActiveDocument(const QenDoc *doc) const
{
    return doc && m_window->activeDocument() == doc;
}

void QenAppDocHost::beep()
{
    QApplication::beep();
}

void QenAppDocHost::playSound(const QString &path)
{
    if (!m_sound)
        m_sound = std::make_unique<QenMinuteSound>([this] { beep(); });
    m_sound->play(path);
}

void QenAppDocHost::refreshActions()
{
    m_window->updateAllActions();
}

void QenAppDocHost::releaseMouseGrab()
{
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
}

bool QenAppDocHost::editCost(float *bottleCost, int *bottleSize)
{
    QenCostDlg dialog(m_window);
    dialog.setBottleSize(*bottleSize);
    dialog.setBottleCost(*bottleCost);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *bottleSize = dialog.bottleSize();
    *bottleCost = dialog.bottleCost();
    return true;
}
