#pragma once

#include "runproblem.h"

#include <QByteArray>

class QenDoc;

// The reports of --xml, --html and --pdf.
namespace QenRun {

struct RunOptions;

// The reports the program's export commands would write, with both print
// choices on and the graphs of a new graph view over the whole run; an XML
// for standard output is kept in `output`.
Problem exportReports(QenDoc &doc, const RunOptions &options, StderrPrompt &prompt,
                      QByteArray *output);

} // namespace QenRun
