#pragma once

#include <QString>
#include <QtGlobal>

class QenEngine;

// Writes the built-in quenor.ini into `dir` (replacing one left there) and
// returns its path; empty when it could not be written.
QString writeDefaultIni(const QString &dir);

// Runs the simulation as fast as it goes until the display reaches `ms`, then
// pauses it.
void runEngineTo(QenEngine *engine, quint32 ms);
