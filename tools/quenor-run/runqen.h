#pragma once

#include "runproblem.h"

#include <QString>

class QenDoc;

// The simulation file (.qen): opened and saved as the program does.
namespace QenRun {

// Opens `path` into `doc`; a failure is the document's own message.
Problem openSimulation(QenDoc &doc, const QString &path, StderrPrompt &prompt);

// Saves `doc` to `path`, whole or not at all.
Problem saveSimulation(QenDoc &doc, const QString &path, StderrPrompt &prompt);

} // namespace QenRun
