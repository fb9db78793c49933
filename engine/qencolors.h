#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QenIni;

// The colours agents are drawn in: which ones the user may pick, which names an
// agent section may give, and which one a newly added agent gets.
class QenColors
{
public:
    // Writes the default list to [Colors] Colors when the file has none.
    static void ensureColorList(const QenIni &ini);

    // The colours the user may pick: the entries of the colour-name table that
    // [Colors] Colors lists (by the Qt name or its translation, ignoring case),
    // in the table's order and under their Qt names, so that they can be drawn.
    static QStringList colorList(const QenIni &ini);

    // The names an agent section's Color may match: the [Colors] Colors list as
    // the file writes it, followed by the colour-name table entries it lacks.
    static QStringList catalogueColourNames(const QenIni &ini);

    // The colour for a new agent of a document. `colours` is colorList();
    // `iniColours` the INI colours of the document's agent table; `otherDocuments`
    // the colours used by the agents of each other open document; `ownColours`
    // those used by the agents of this document. Prefers a colour nobody uses,
    // then one that neither this document nor its agent table uses, then the one
    // used least (the earliest on a tie). Empty when `colours` is empty.
    static QString pickColor(const QStringList &colours, const QStringList &iniColours,
                             const QList<QStringList> &otherDocuments,
                             const QStringList &ownColours);
};
