#include "runoutput.h"

#include <QFileInfo>
#include <QSaveFile>

namespace QenRun {

bool isStdout(const QString &path)
{
    return path == QLatin1String("-");
}

bool deliver(const QString &path, const QByteArray &bytes, QByteArray *output, Problem *problem)
{
    if (path.isEmpty() || isStdout(path)) {
        *output = bytes;
        return true;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *problem = {Failure, QStringLiteral("cannot write %1: %2").arg(path, file.errorString())};
    return false;
}

bool writablePath(const QString &path, Problem *problem)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    QString reason;
    if (path.isEmpty())
        reason = QStringLiteral("no file name");
    else if (!folder.isDir())
        reason = QStringLiteral("no such folder %1").arg(folder.filePath());
    else if (file.isDir())
        reason = QStringLiteral("is a folder");
    else if (file.exists() ? !file.isWritable() : !folder.isWritable())
        reason = QStringLiteral("cannot be written");
    if (reason.isEmpty())
        return true;
    *problem = {BadInput, reason};
    return false;
}

} // namespace QenRun
