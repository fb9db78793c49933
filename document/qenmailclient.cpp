#include "document/qenmailclient.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {
const char lockName[] = "owner.lock";
} // namespace

QenMailClient::QenMailClient(const QString &command, QObject *parent) : QObject(parent)
{
    QString wanted = command;
    if (wanted.isEmpty())
        wanted = qEnvironmentVariable("QUENOR_MAIL_COMMAND");
    if (wanted.isEmpty()) {
        m_program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    } else {
        const QFileInfo info(wanted);
        if (info.isFile() && info.isExecutable())
            m_program = info.absoluteFilePath();
        else
            m_program = QStandardPaths::findExecutable(wanted);
    }
}

QenMailClient::~QenMailClient()
{
    if (m_runFolder.isEmpty())
        return;
    m_lock.reset();
    QDir(m_runFolder).removeRecursively();
}

QString QenMailClient::unavailableReason() const
{
    if (isAvailable())
        return QString();
    return tr("Sending needs the desktop's mail command (xdg-email, from xdg-utils), "
              "which was not found.");
}

QString QenMailClient::folderPrefix()
{
    return QStringLiteral("quenor-mail-");
}

QString QenMailClient::newFolder()
{
    if (m_runFolder.isEmpty()) {
        QTemporaryDir run(QDir::tempPath() + QLatin1Char('/') + folderPrefix() +
                          QStringLiteral("XXXXXX"));
        if (!run.isValid())
            return QString();
        // The lock tells a later start that this run is alive: only folders
        // whose owner has gone are taken as left behind.
        auto lock = std::make_unique<QLockFile>(run.filePath(QLatin1String(lockName)));
        if (!lock->tryLock(0))
            return QString();
        run.setAutoRemove(false);
        m_runFolder = run.path();
        m_lock = std::move(lock);
    }
    // A fresh folder per copy, so each copy carries the document's own name
    // however many times the same document is sent.
    const QString folder = m_runFolder + QLatin1Char('/') + QString::number(++m_folders);
    if (!QDir().mkpath(folder))
        return QString();
    return folder;
}

void QenMailClient::send(const QString &path, QObject *context, Done done)
{
    if (!isAvailable()) {
        done(Result::Failed);
        return;
    }
    // The mail command may stay until its client closes: it runs on its own
    // and reports when it ends, so the program never waits for it.
    auto *process = new QProcess(this);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    QPointer<QObject> guard(context);
    auto finish = [process, guard, done](Result result) {
        process->deleteLater();
        if (guard)
            done(result);
    };
    connect(
        process, &QProcess::finished, this, [finish](int exitCode, QProcess::ExitStatus status) {
            finish(status == QProcess::NormalExit && exitCode == 0 ? Result::Sent : Result::Failed);
        });
    // A program that never started sends no finished().
    connect(process, &QProcess::errorOccurred, this, [finish](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish(Result::Failed);
    });
    process->start(m_program, {QStringLiteral("--attach"), QDir::toNativeSeparators(path)});
}

void QenMailClient::removeLeftovers(const QString &tempDir)
{
    const QDir dir(tempDir);
    const QStringList folders =
        dir.entryList({folderPrefix() + QLatin1Char('*')}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &name : folders) {
        const QString folder = dir.filePath(name);
        QLockFile lock(folder + QLatin1Char('/') + QLatin1String(lockName));
        // Only an owner that has gone makes a lock stale, never its age: a
        // session may keep its copies for days.
        lock.setStaleLockTime(0);
        // A lock held by a live run keeps its folder; a folder without a
        // lock, or whose owner is gone, is a leftover.
        if (!lock.tryLock(0))
            continue;
        lock.unlock();
        QDir(folder).removeRecursively();
    }
}
