#pragma once

#include <QString>
#include <QStringList>

class QenDoc;

// What the runner takes from scenario files and bookmark options.
namespace QenRunScenario {

// The arguments with every "--scenario FILE" (or "--scenario=FILE") replaced
// by the options the file holds. False with the reader's message when a
// scenario cannot be read.
bool expand(const QStringList &arguments, QStringList *expanded, QString *error);

// Adds the bookmarks given in minutes, as the bookmark dialog would: whole
// seconds, none past the end of the recording, each once, at most the
// simulation's limit. False, changing nothing, with a message naming the
// first one refused.
bool addBookmarks(QenDoc &doc, const QStringList &minutes, QString *error);

} // namespace QenRunScenario
