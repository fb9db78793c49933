#pragma once

#include <QLocale>
#include <QStringList>

// Names in a list the user picks from, in the order of the user's language:
// Chinese agent names by their reading (collation), not by character code.
// Names that collate equal keep their order. The catalogue itself keeps its
// own order, which indexes the recorded steps.
QStringList inReadingOrder(QStringList names, const QLocale &locale = QLocale());
