#include "engine/qenreadingorder.h"

#include <QCollator>

#include <algorithm>

QStringList inReadingOrder(QStringList names, const QLocale &locale)
{
    QCollator collator(locale);
    collator.setNumericMode(true);
    std::stable_sort(names.begin(), names.end(), [&collator](const QString &a, const QString &b) {
        return collator.compare(a, b) < 0;
    });
    return names;
}
