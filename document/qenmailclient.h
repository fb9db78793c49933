#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QLockFile;

// Hands a file to the desktop's mail client as the attachment of a new,
// otherwise empty message, which the client shows for addressing and
// sending. The hand-over is the desktop's mail command (xdg-email --attach);
// QUENOR_MAIL_COMMAND, or the constructor, names another program taking the
// same arguments (tests use a stand-in).
//
// The copies handed over live in folders of this run under the system's
// temporary folder. The mail client may read them long after the hand-over,
// so they stay until this object goes (when the program ends); folders left
// behind by a run that ended without removing them are removed by
// removeLeftovers() at the next start.
class QenMailClient : public QObject
{
    Q_OBJECT

public:
    enum class Result { Sent, Failed };
    using Done = std::function<void(Result)>;

    // `command` empty: QUENOR_MAIL_COMMAND, else xdg-email on PATH.
    explicit QenMailClient(const QString &command = QString(), QObject *parent = nullptr);
    ~QenMailClient() override;

    // The program that hands mail over; empty when there is none.
    QString program() const { return m_program; }
    bool isAvailable() const { return !m_program.isEmpty(); }
    // Why mailing cannot work here, for the disabled command's tooltip.
    QString unavailableReason() const;

    // A new empty folder for one copy; empty when it cannot be made.
    QString newFolder();
    // Starts the hand-over of `path`; `done` is called with the outcome
    // (unless `context` is gone by then). The file is not removed.
    void send(const QString &path, QObject *context, Done done);

    // Where this run keeps its copies (empty until the first one).
    QString runFolder() const { return m_runFolder; }
    // The prefix of every run's folder name in `tempDir`.
    static QString folderPrefix();
    // Removes the folders of earlier runs that are no longer running.
    static void removeLeftovers(const QString &tempDir);

private:
    QString m_program;
    QString m_runFolder;
    std::unique_ptr<QLockFile> m_lock;
    int m_folders = 0;
};
