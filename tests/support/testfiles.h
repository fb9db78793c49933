#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class QenEngine;

// The whole of a file (a resource too); empty when it cannot be read.
QByteArray fileContents(const QString &path);

// Writes the built-in quenor.ini into `dir` (replacing one left there) and
// returns its path; empty when it could not be written.
QString writeDefaultIni(const QString &dir);

// Writes `text` as a new INI file in `dir` and returns its path. Every call
// gets a file of its own: the settings cache could take a rewrite of equal size
// within one time stamp for the old content.
QString writeIniText(const QString &dir, const QString &text);

// Writes an executable shell script `name` with `body` into `dir` and returns
// its path: stand-ins for the programs Quenor starts.
QString writeScript(const QString &dir, const QString &name, const QString &body);

// Galleries render in the language QUENOR_GALLERY_LANGUAGE names (zh_CN, ...),
// from the catalogues the build put in the language folder beside the tests;
// nothing when it is not set. A developer looks at a translation this way.
void installGalleryLanguage();
enum class RunTo {
    // Starts the run and starts it again wherever it stops (minute, bookmark,
    // breakpoint) until the display reaches the time; then pauses it.
    PastStops,
    // Lets a running simulation go on at its own speed until the display
    // reaches the time or the run stops on its own; starts and pauses nothing.
    FirstStop,
};

// Drives the run with whole timer ticks, as the event loop would, up to `ms`.
void runEngineTo(QenEngine *engine, quint32 ms, RunTo mode = RunTo::PastStops);
