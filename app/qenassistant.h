#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QProcess;
class QenPrompt;

// Starts the help viewer on the program's help collection and steers it
// through its remote-control channel (its standard input): one viewer process
// for the whole session, reused by every later help request, and ended when
// this launcher goes (the main window deletes it when the program closes).
//
// The viewer is looked for beside the program, then in Qt's own binaries
// folder, then on PATH. The environment variable QUENOR_ASSISTANT, or
// setProgram(), names one program instead (a viewer kept elsewhere, or a
// stand-in in tests).
class QenAssistant
{
public:
    // `programDir` holds the help collection (and perhaps the viewer).
    QenAssistant(QenPrompt *prompt, const QString &programDir);
    ~QenAssistant();

    QenAssistant(const QenAssistant &) = delete;
    QenAssistant &operator=(const QenAssistant &) = delete;

    // The one program to start; empty means search.
    void setProgram(const QString &path) { m_program = path; }
    // The folders searched, in order, before PATH, instead of the program's
    // folder and Qt's binaries folder.
    void setSearchPaths(const QStringList &dirs)
    {
        m_searchPaths = dirs;
        m_searchPathsSet = true;
    }

    // The viewer that would be started; empty when there is none.
    QString findProgram() const;
    // Where the viewer is looked for, as the failure message names it.
    QString searchedPlaces() const;
    // Quenor_<locale>.qhc for the program's language (the default locale)
    // when it is there, else Quenor.qhc.
    QString collectionFile() const;

    // The page's address inside the help collection.
    static QString pageUrl(const QString &page);

    // Shows a page of the help collection ("index.html", "overlay.html").
    void showDocumentation(const QString &page);
    // Starts the viewer unless it runs; false (after saying why) when it cannot.
    bool startAssistant();

    bool isRunning() const;
    qint64 processId() const;

private:
    QStringList searchDirs() const;

    QenPrompt *m_prompt;
    QString m_programDir;
    QString m_program;
    QStringList m_searchPaths;
    bool m_searchPathsSet = false;
    std::unique_ptr<QProcess> m_process;
};
