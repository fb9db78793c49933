#pragma once

#include "document/qendochost.h"

#include <functional>
#include <memory>

class QenMinuteSound;
class QWidget;
class QenMainWindow;

// What the documents of the running program ask of the desktop: the save
// dialog over the main window, the colour chooser across every open
// document, the recent-file menu, the wait cursor, the keyboard, the beep and
// the sound of the minute signal, and the refresh of the main window's
// commands after a change of run state.
//
// Owned by the main window; the documents it serves are the main window's
// children and are gone before it.
class QenAppDocHost : public QenDocHost
{
public:
    // Asks for the path to save to; an empty answer cancels.
    using SaveDialog = std::function<QString(QWidget *parent, const QString &title,
                                             const QString &proposal, const QString &filter)>;

    QenAppDocHost(QenMainWindow *window, const QenIni &ini, QenPrompt *prompt);
    ~QenAppDocHost() override;

    // Tests answer the save dialog themselves.
    void setSaveDialog(SaveDialog dialog) { m_saveDialog = std::move(dialog); }

    QList<const QenDoc *> openDocuments() const override;
    QString getSaveFileName(const QString &title, const QString &proposal,
                            const QString &filter) override;
    void recentFilesChanged() override;
    void setWaitCursor(bool on) override;
    bool ctrlHeld() const override;
    bool isActiveDocument(const QenDoc *doc) const override;
    void beep() override;
    void playSound(const QString &path) override;
    void refreshActions() override;
    void releaseMouseGrab() override;
    bool editCost(float *bottleCost, int *bottleSize) override;

private:
    QenMainWindow *m_window;
    SaveDialog m_saveDialog;
    std::unique_ptr<QenMinuteSound> m_sound;
};
