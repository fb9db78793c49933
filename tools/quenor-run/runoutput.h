#pragma once

#include "runproblem.h"

#include <QByteArray>
#include <QString>

// Where the runner's outputs go: files, written whole, or standard output.
namespace QenRun {

// "-" names standard output.
bool isStdout(const QString &path);

// Writes `bytes` to `path` whole or not at all (an old file survives a failed
// write), or keeps them for standard output when `path` is empty or "-".
bool deliver(const QString &path, const QByteArray &bytes, QByteArray *output, Problem *problem);

// Whether a report can be written to `path`: its folder exists and may be
// written to, and no folder or read-only file stands in its place.
bool writablePath(const QString &path, Problem *problem);

} // namespace QenRun
