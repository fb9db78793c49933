#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// What the program was asked on its command line: simulation files to open,
// or one of the usual questions (--help, --version), or something it does not
// understand, which it refuses in one line rather than opening it as a file.
class QenCommandLine
{
    Q_DECLARE_TR_FUNCTIONS(QenCommandLine)

public:
    enum Action { Run, ShowHelp, ShowVersion, Refuse };

    // `arguments` starts with the program name, as QCoreApplication gives it
    // (the toolkit's own options already taken out).
    static QenCommandLine parse(const QStringList &arguments);

    // Whether the raw command line asks for the help or the version: those
    // are answered before the user interface starts, so that they work
    // without a display.
    static bool asksQuestion(int argc, char **argv);

    // Prints the text (errors to stderr) and returns the exit status: 0, or
    // 2 for a refused command line.
    int report() const;

    Action action = Run;
    // The files to open, in order.
    QStringList files;
    // What to print: the help, the version line or the error line.
    QString text;
};
