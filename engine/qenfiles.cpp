#include "engine/qenfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QCryptographicHash>
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

// A folder of the program's that does not exist yet (the "language" folder
// of a fresh portable copy) is made when the file is restored: what counts
// then is whether its nearest existing parent within `programDir` may be
// written. A missing program folder is never written.
bool canWrite(const QString &path, const QString &programDir)
{
    const QFileInfo file(path);
    const QString top = QDir::cleanPath(QFileInfo(programDir).absoluteFilePath());
    QString folder = QDir::cleanPath(file.absolutePath());
    while (!QFileInfo(folder).exists()) {
        if (folder == top || !folder.startsWith(top + QLatin1Char('/')))
            return false;
        folder = QFileInfo(folder).absolutePath();
    }
    const QFileInfo existing(folder);
    return existing.isDir() && writable(existing) && (!file.exists() || writable(file));
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

// SHA-256 of every stylesheet earlier versions of the program restored into
// a language folder, in every language. When a built-in stylesheet changes,
// the hash of the version it replaces joins this list, so that a copy
// restored by that version gives way to the new one; the current ones are
// compared with the built-in copies themselves.
const char *const earlierStylesheets[] = {
    "45774433a83730fb5a4bbd680f5dbaa1f447e317444a6018a740315429e5effd",
    "bc139a221b9a9f6a1a8b4ff3591fa20e02027e328a78513dc2f30ffe806a7418",
    "9609a69412baa9178e74113286e08de6702747440863c65e56e6ba14ff87ef43",
    "dfb1c0af788026cdcf6a1a361ca3ab6e9b468107e575405c9d1f8fb0085d3a2a",
    "2ce365d0d47f7e16a9bef24ce98461ab84f78973ab9ba5b5fc08f4fa1a7ecfd0",
    "f41e80671fbab81d88cb357227906fac0ff44a07a720db2a5cdd5d1160d2b18a",
    "7855dd891720b0bc2625db76234a798e963c23844fa7fda114238b7895a2a05f",
    "87f0893bfeffa5dafe95988dc6fbd0a3cb2cc404ac3986e66b0bd1951c458404",
};

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
        userDir.isEmpty() || canWrite(path, programDir) || (besideExists && !isWritten(name));
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

bool QenFiles::isShippedStylesheet(const QByteArray &data)
{
    const QByteArray hash = QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
    for (const char *earlier : earlierStylesheets)
        if (hash == earlier)
            return true;
    const QStringList builtIn =
        QDir(QStringLiteral(":/safeCopy")).entryList({QStringLiteral("qen_*.xsl")}, QDir::Files);
    for (const QString &name : builtIn)
        if (contents(QStringLiteral(":/safeCopy/") + name) == data)
            return true;
    return false;
}

QString QenFiles::stylesheet(const QString &programDir, const QString &localeName,
                             const QString &userDir)
{
    const QString relative = QStringLiteral("/language/qen_%1.xsl").arg(localeName);
    QStringList candidates;
    if (!userDir.isEmpty())
        candidates << userDir + relative;
    candidates << programDir + relative;
    for (const QString &path : std::as_const(candidates)) {
        if (!QFileInfo(path).isFile())
            continue;
        QFile file(path);
        // An unreadable copy is no edited stylesheet the user could mean.
        if (file.open(QIODevice::ReadOnly) && !isShippedStylesheet(file.readAll()))
            return path;
    }
    return builtInCopy(QStringLiteral("qen.xsl"), localeName);
}

QenFiles::ExportFiles QenFiles::exportFiles(const QString &programDir, const QString &localeName,
                                            const QString &userDir)
{
    return {stylesheet(programDir, localeName, userDir),
            findFile(QStringLiteral("quenor_lg.png"), QString(), programDir, localeName, userDir)};
}
