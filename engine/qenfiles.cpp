#include "engine/qenfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The locale whose copies every build carries.
const QString fallbackLocale = QStringLiteral("en_US");

QString resourceFor(const QString &name, const QString &localeName)
{
    if (name == QLatin1String("quenor.ini"))
        return QStringLiteral(":/safeCopy/quenor_%1.ini").arg(localeName);
    if (name == QLatin1String("qen.xsl"))
        return QStringLiteral(":/safeCopy/qen_%1.xsl").arg(localeName);
    if (name == QLatin1String("quenor_lg.png"))
        return QStringLiteral(":/images/quenor_lg.png");
    return QString();
}

// The settings are written back by the options dialog and the main window;
// everything else is only read.
bool isWritten(const QString &name)
{
    return name == QLatin1String("quenor.ini");
}

// Writing a settings file needs its folder (for the lock and the atomic
// replacement) as well as the file. A file or folder nobody may write counts
// as read-only for the administrator too, who could write it regardless.
bool writable(const QFileInfo &info)
{
    return info.isWritable() &&
           (info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
}

bool canWrite(const QString &path)
{
    const QFileInfo file(path);
    return writable(QFileInfo(file.absolutePath())) && (!file.exists() || writable(file));
}

// Copies `source` to `path`, making the copy writable: copies of resources and
// of installed files are read-only, and the user must be able to change them.
bool copyTo(const QString &source, const QString &path)
{
    if (source.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath()) ||
        !QFile::copy(source, path))
        return false;
    QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
    return true;
}

} // namespace

QString QenFiles::builtInCopy(const QString &name, const QString &localeName)
{
    const QString own = resourceFor(name, localeName);
    if (own.isEmpty() || QFile::exists(own))
        return own;
    // Most locales have no copy of their own; they start from the en_US one
    // rather than not starting at all.
    const QString fallback = resourceFor(name, fallbackLocale);
    return QFile::exists(fallback) ? fallback : QString();
}

QString QenFiles::findFile(const QString &name, const QString &relativePath,
                           const QString &programDir, const QString &localeName,
                           const QString &userDir)
{
    const QString relative = relativePath.isEmpty() ? name : relativePath;
    const QString path = programDir + QLatin1Char('/') + relative;
    const bool besideExists = QFileInfo::exists(path);
    const bool useBeside =
        userDir.isEmpty() || canWrite(path) || (besideExists && !isWritten(name));
    if (useBeside) {
        if (besideExists)
            return path;
        // A file that lives in a folder of its own (the stylesheets in
        // "language") brings its folder back too; the program's folder itself
        // must exist.
        if (!QFileInfo(programDir).isDir())
            return QString();
        return copyTo(builtInCopy(name, localeName), path) ? path : QString();
    }

    const QString userPath = userDir + QLatin1Char('/') + relative;
    if (QFileInfo::exists(userPath))
        return userPath;
    const QString seed = besideExists ? path : builtInCopy(name, localeName);
    return copyTo(seed, userPath) ? userPath : QString();
}

QString QenFiles::userFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/quenor");
}
