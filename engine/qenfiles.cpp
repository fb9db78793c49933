#include "engine/qenfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
                           const QString &programDir, const QString &localeName)
{
    const QString path =
        programDir + QLatin1Char('/') + (relativePath.isEmpty() ? name : relativePath);
    if (QFileInfo::exists(path))
        return path;

    const QString resource = builtInCopy(name, localeName);
    if (resource.isEmpty())
        return QString();
    // A file that lives in a folder of its own (the stylesheets in
    // "language") brings its folder back too; the program's folder itself
    // must exist.
    if (!relativePath.isEmpty() && QFileInfo(programDir).isDir())
        QDir(programDir).mkpath(QFileInfo(relativePath).path());
    if (!QFile::copy(resource, path))
        return QString();
    // Copies of resources are read-only; the user and the options dialog must
    // be able to change the file.
    QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
    return path;
}
