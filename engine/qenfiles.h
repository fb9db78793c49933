#pragma once

#include <QLocale>
#include <QString>

// Files the program keeps beside itself (quenor.ini, the export stylesheet, the
// large icon). A missing one is written again from the copy built into the
// program, so that deleting a damaged file is the way back to a working setup.
class QenFiles
{
public:
    // The path of `name` under `programDir` (or of `relativePath`, when given).
    // When no file is there, the built-in copy for `localeName` is written
    // there, falling back to the en_US copy for a locale that has none. Returns
    // an empty string when the file is missing and cannot be written.
    static QString findFile(const QString &name, const QString &relativePath,
                            const QString &programDir,
                            const QString &localeName = QLocale::system().name());

    // The resource holding the built-in copy of `name` for `localeName`, or an
    // empty string when the program has none (for that locale or at all).
    static QString builtInCopy(const QString &name, const QString &localeName);
};
