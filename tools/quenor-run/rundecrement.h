#pragma once

#include "runproblem.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QenEngine;

// The wake-up forecast of --decrement.
namespace QenRun {

// Writes the forecast for every 10 minutes of the run to `path` (or keeps it
// for standard output), with the FGF `wakeFgf` from each time on when given.
Problem writeDecrement(QenEngine &engine, const QString &path, std::optional<float> wakeFgf,
                       QByteArray *output);

} // namespace QenRun
