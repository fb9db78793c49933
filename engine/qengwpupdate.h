#pragma once

#include <QStringList>

class QenIni;

// Warming potentials move with each assessment. Settings seeded from an
// earlier built-in copy carry that copy's values; where an agent's value is
// still the one an earlier copy wrote (or still missing where that copy had
// none), it takes the built-in copy's current value. A value the user changed
// is the user's and stays.
class QenGwpUpdate
{
public:
    // Updates `settings` from `builtIn`; returns the agents' sections changed.
    static QStringList apply(const QenIni &settings, const QenIni &builtIn);
};
