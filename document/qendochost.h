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
    // Shares the store `ini` (and what it keeps of values it could not write).
    QenDocHost(const QenIni &ini, QenPrompt *prompt);
    virtual ~QenDocHost();

    QenIni &ini() { return m_ini; }
    const QenIni &ini() const { return m_ini; }
    QenPrompt *prompt() const { return m_prompt; }

    // The defaults every new or reset simulation starts from: the program's one
    // copy, read when the host is made; reloadDefaults() reads them again after
    // the options change them in the INI.
    const QenDefaults &defaults() const { return m_defaults; }
    void setDefaults(const QenDefaults &defaults) { m_defaults = defaults; }
    void reloadDefaults();
    int defaultGraphMinutes() const;

    // Writes the delivered colour list to [Colors] Colors when the file names
    // no colour there (start-up does this before the first document).
    static void ensureColorList(const QenIni &ini);
    // Colour names an agent's INI colour is matched against: the [Colors]
    // Colors list as the file writes it, then the colour-name table entries it
    // lacks.
    virtual QStringList colorNames() const;
    // The colours the user may pick: the entries of the colour-name table that
    // [Colors] Colors names (by the Qt name or its translation, ignoring case
    // and blanks around the names), in the table's order. A list that names no
    // such colour counts as missing: the delivered list is offered, so that a
    // new agent always gets a colour that can be drawn.
    virtual QStringList colorList() const;
    // The colour for a new agent of `doc`: one nobody uses yet if possible.
    virtual QString pickColor(const QenDoc *doc) const;
    // The choice itself. `iniColors` are the INI colours of the document's
    // agent table, `otherDocuments` the colours of each other open document's
    // agents, `ownColors` those of the document's own agents. Prefers a colour
    // nobody uses, then one that neither this document nor its agent table
    // uses, then the one used least (the earliest on a tie). Empty when
    // `colours` is.
    static QString pickColor(const QStringList &colors, const QStringList &iniColors,
                             const QList<QStringList> &otherDocuments,
                             const QStringList &ownColors);
    // A colour name stored in a file, through the program's translation.
    virtual QString translateColor(const QString &name) const;
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
