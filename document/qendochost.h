#pragma once

#include "engine/qendefaults.h"
#include "engine/qenini.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QenDoc;
class QenMailClient;
class QenPrompt;

// What a document asks of the program around it: the settings store, the
// prompts, the file dialog, the wait cursor, the colour chooser and the
// recent-file menu. The application subclasses it with the real dialogs; the
// defaults here serve tests and the batch runner (no dialog: a save-as is
// cancelled).
class QenDocHost
{
public:
    QenDocHost(const QString &iniPath, QenPrompt *prompt);
    virtual ~QenDocHost();

    QenIni &ini() { return m_ini; }
    const QenIni &ini() const { return m_ini; }
    QenPrompt *prompt() const { return m_prompt; }

    // The defaults every new or reset simulation starts from.
    const QenDefaults &defaults() const { return m_defaults; }
    void reloadDefaults();
    int defaultGraphMinutes() const;

    // Colour names an agent's INI colour is matched against.
    virtual QStringList colourNames() const;
    // The colours the user may pick, in the vocabulary's order.
    virtual QStringList colorList() const;
    // The colour for a new agent of `doc`: one nobody uses yet if possible.
    virtual QString pickColor(const QenDoc *doc) const;
    // A colour name stored in a file, through the program's translation.
    virtual QString translateColour(const QString &name) const;
    // Every open document, for the colour chooser.
    virtual QList<const QenDoc *> openDocuments() const { return {}; }

    // An empty answer cancels.
    virtual QString getSaveFileName(const QString &title, const QString &proposal,
                                    const QString &filter);
    virtual QString lastSaveDirectory() const { return m_lastSaveDirectory; }
    virtual void setLastSaveDirectory(const QString &dir) { m_lastSaveDirectory = dir; }
    virtual void recentFilesChanged() {}
    virtual void setWaitCursor(bool on) { Q_UNUSED(on); }

    // Desktop services the engine asks for while running `doc`.
    virtual bool ctrlHeld() const { return false; }
    virtual bool isActiveDocument(const QenDoc *doc) const
    {
        Q_UNUSED(doc);
        return false;
    }
    virtual void beep() {}
    virtual void playSound(const QString &path) { Q_UNUSED(path); }
    virtual void refreshActions() {}
    virtual void releaseMouseGrab() {}

    // The cost dialog: shows the bottle cost and size and lets the user edit
    // them; false when cancelled.
    virtual bool editCost(float *bottleCost, int *bottleSize);

    // The desktop's mail hand-over, made on first use; it keeps the copies
    // it was given until the host goes.
    QenMailClient *mailClient();
    void setMailClient(std::unique_ptr<QenMailClient> client);

private:
    QenIni m_ini;
    QenPrompt *m_prompt;
    QenDefaults m_defaults;
    QString m_lastSaveDirectory;
    std::unique_ptr<QenMailClient> m_mailClient;
};
