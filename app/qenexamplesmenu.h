#pragma once

#include <QList>
#include <QMenu>
#include <QString>

// File > Examples: the ready-made lessons beside the program, in
// examples/<locale> for the program's language, else the English ones in
// examples/en_US, listed by their titles. Choosing one asks for it to be
// opened as a new untitled simulation.
class QenExamplesMenu : public QMenu
{
    Q_OBJECT

public:
    struct Example
    {
        QString title;
        QString path; // the .qen file
    };

    explicit QenExamplesMenu(QWidget *parent = nullptr);

    // The examples of `localeName` under `programDir`, in the order of their
    // file names; the English ones when that language has none. The title is
    // the one the example's scenario gives, else the file's name.
    static QList<Example> examples(const QString &programDir, const QString &localeName);

    // Lists the examples again (the language may have changed since).
    void refill();

signals:
    void exampleChosen(const QString &path);
};
