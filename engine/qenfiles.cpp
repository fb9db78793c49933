#include "engine/qenfiles.h"

#include <QFile>
#include <QFileInfo>

namespace QenFiles {

QString findFile(const QString &name, const QString &relativePath, const QString &programDir,
                 const QString &locale)
{
    const QString path =
        programDir + QLatin1Char('/') + (relativePath.isEmpty() ? name : relativePath);
    if (QFileInfo::exists(path))
        return path;

    QString resource;
    if (name == QLatin1String("quenor.ini"))
        resource = QStringLiteral(":/safeCopy/quenor_%1.ini").arg(locale);
    else if (name == QLatin1String("qen.xsl"))
        resource = QStringLiteral(":/safeCopy/qen_%1.xsl").arg(locale);
    else if (name == QLatin1String("quenor_lg.png"))
        resource = QStringLiteral(":/images/quenor_lg.png");
    if (resource.isEmpty() || !QFile::exists(resource) || !QFile::copy(resource, path))
        return QString();
    // Copies of resources are read-only; the program writes its settings there.
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    return path;
}

} // namespace QenFiles
