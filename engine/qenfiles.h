#pragma once

#include <QLocale>
#include <QString>

// Files the program keeps beside itself (quenor.ini, the export stylesheet, the
// large icon). A missing one is written again from the copy built into the
// program, so that deleting a damaged file is the way back to a working setup.
//
// An installed program cannot write its own folder. Then the files the program
// writes (quenor.ini) live in the user's folder instead, first seeded from the
// copy beside the program (the department's settings), else from the built-in
// copy; files it only reads are still taken from beside the program. A program
// folder the user may write (a portable copy) keeps everything beside itself.
class QenFiles
{
public:
    // The path of `name` under `programDir` (or of `relativePath`, when given).
    // When no usable file is there, the built-in copy for `localeName` is
    // written there, falling back to the en_US copy for a locale that has none.
    // With a `userDir`, a file the program must write (or restore) where the
    // program folder is read-only is looked up and restored under `userDir`
    // instead. Returns an empty string when the file is missing and cannot be
    // written.
    static QString findFile(const QString &name, const QString &relativePath,
                            const QString &programDir,
                            const QString &localeName = QLocale::system().name(),
                            const QString &userDir = QString());

    // The resource holding the built-in copy of `name` for `localeName`, or an
    // empty string when the program has none (for that locale or at all).
    static QString builtInCopy(const QString &name, const QString &localeName);

    // The user's configuration folder of the program; the same for the
    // program and the batch runner, whatever each one calls itself.
    static QString userFolder();

    // The export stylesheet for `localeName`: the built-in one, unless a
    // language folder (the user's, then the program's) holds a copy that
    // differs from every stylesheet the program has shipped. Such a copy was
    // edited on purpose and wins; an unchanged restored copy of an older
    // version would hide every later improvement of the page.
    static QString stylesheet(const QString &programDir, const QString &localeName,
                              const QString &userDir = QString());
    // Whether `data` is, byte for byte, a stylesheet the program ships or
    // shipped in an earlier version.
    static bool isShippedStylesheet(const QByteArray &data);

    // The files an export needs, found as the program finds them; the
    // program and the batch runner share this.
    struct ExportFiles
    {
        QString stylesheetPath;
        QString iconPath;
    };
    static ExportFiles exportFiles(const QString &programDir, const QString &localeName,
                                   const QString &userDir);
};
