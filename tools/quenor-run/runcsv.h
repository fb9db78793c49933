#pragma once

#include <QByteArray>

class QenEngine;

// The runner's main output: every recorded sample as a row of CSV.
namespace QenRun {

// The samples of every agent, up to and including the state at the end of
// the run (recorded first when it is not yet).
QByteArray csvTable(QenEngine &engine);

} // namespace QenRun
