#pragma once

#include <QLocale>
#include <QString>

// Files the program keeps beside itself and can restore from its built-in copies.
namespace QenFiles {

// The path of `name` in `programDir` (or of `relativePath` there, when given).
// When no file is there, the built-in copy for `locale` ("quenor.ini",
// "qen.xsl") or the program's icon ("quenor_lg.png") is written there, made
// writable, and its path returned. Empty when there is no such copy or it
// cannot be written.
QString findFile(const QString &name, const QString &relativePath, const QString &programDir,
                 const QString &locale = QLocale::system().name());

} // namespace QenFiles
