#pragma once

#include <QString>
#include <QStringList>

// A scenario file: the batch runner's options written one to a line, so that a
// lesson can be kept as text and made into a simulation by the runner.
//
//     # a comment
//     title Five agents side by side
//     description What to watch ...
//     description A second paragraph ...
//     agent Halothane=1
//     at 10:fgf=1
//     bookmark 10
//
// Each line is an option's name without its dashes, blanks, and its value.
// The description's lines are one paragraph each; the title names the lesson
// in the program's Examples menu and means nothing to the run. The file is
// UTF-8.
class QenScenario
{
public:
    // Reads `path`. False with a message naming the file (and the line) when
    // it cannot be read or a line is not an option.
    bool read(const QString &path, QString *error);

    const QString &title() const { return m_title; }
    // The runner's arguments: "--name", "value" for every option line, the
    // description's paragraphs joined into one option.
    const QStringList &arguments() const { return m_arguments; }

    // The title of the scenario at `path`, empty when it has none or cannot
    // be read.
    static QString titleOf(const QString &path);

private:
    QString m_title;
    QStringList m_arguments;
};
