#pragma once

#include <QString>
#include <QStringList>

// The fixed word lists of the program: circuits, speeds, graph spans and colour
// names. Circuits, speeds and spans come translated; colours come both ways.
namespace QenVocabulary {

QStringList circuits();        // "Open", "Semi-closed", "Closed", "Ideal"
QStringList speeds();          // "1x" ... "120x", "AFAP"
QList<int> speedValues();      // 1, 2, 5, 10, 20, 60, 120, 1000
QStringList graphSpans();      // "5 Min" ... "10 Hr"
QList<int> graphSpanMinutes(); // 5, 10, 15, 30, 45, 60, 120, 300, 600
// The span a text such as "2 Hr" or "45 Min" names, in minutes; 15 for a
// text that names none of the spans.
int graphSpanFromText(const QString &text);
QStringList colorNames(); // Qt colour names, untranslated
QStringList translatedColorNames();
// The name a user reads for the toolkit colour `name` (its translation), and
// the toolkit name of a colour as the user reads it. Names outside the table
// pass unchanged both ways.
QString shownColorName(const QString &name);
QString toolkitColorName(const QString &shown);
// The list written to [Colors] Colors when the file has none.
QStringList defaultColorList();

// Index of a circuit name in circuits(), decided by its first character only
// (compared with the translated names); -1 when none starts with it.
int circuitIndex(const QString &name);

} // namespace QenVocabulary
