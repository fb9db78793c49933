#pragma once

#include "runproblem.h"

#include <QString>
#include <QStringList>

#include <optional>

// The runner's command line: read, checked as far as it can be before the
// simulation exists, and kept as given for the checks that need it.
namespace QenRun {

struct RunOptions
{
    // Reads `arguments` (the program's name first; --scenario files already
    // expanded): the options, each single one given once, the INI found, the
    // report paths writable, and standard output asked for once at most.
    Problem parse(const QStringList &arguments);

    bool help = false; // --help: helpText is the whole output
    QString helpText;

    QString iniPath;
    QString outPath, openPath, savePath;
    QString xmlPath, htmlPath, pdfPath;
    std::optional<QString> decrementPath;
    std::optional<QString> description;
    bool csvToStdout = false; // the CSV is written, to standard output

    // As given, checked against the simulation once it exists.
    QStringList agents;     // NAME[=DEL]
    QStringList changes;    // MIN:OP of --at
    QStringList bookmarks;  // minutes
    QStringList setupGiven; // the patient and circuit options given, which --open refuses
    std::optional<QString> weight, fgf, va, co, wakeFgf, circuit, minutes;
};

// `text` as a finite number.
std::optional<double> number(const QString &text);

// Reads a value and checks it against [low, high].
bool readValue(const QString &what, const QString &text, double low, double high, float *out,
               Problem *problem);

// The circuit whose name starts with `text`, ignoring case; empty when none or several.
QString matchCircuit(const QString &text);

// "on" or "off".
bool readOnOff(const QString &what, const QString &text, bool *on, Problem *problem);

} // namespace QenRun
