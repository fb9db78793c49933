#include "engine/qencolors.h"

#include "engine/qenini.h"
#include "engine/qenvocabulary.h"

namespace {

const QString colorsGroup = QStringLiteral("Colors");

QStringList configuredColours(const QenIni &ini)
{
    QStringList list = ini.value(colorsGroup, colorsGroup, QStringList()).toStringList();
    for (QString &entry : list)
        entry = entry.trimmed();
    list.removeAll(QString());
    return list;
}

bool containsIgnoringCase(const QStringList &list, const QString &text)
{
    return list.contains(text, Qt::CaseInsensitive);
}

int countIgnoringCase(const QStringList &list, const QString &text)
{
    int count = 0;
    for (const QString &entry : list) {
        if (entry.compare(text, Qt::CaseInsensitive) == 0)
            ++count;
    }
    return count;
}

} // namespace

void QenColors::ensureColorList(const QenIni &ini)
{
    if (configuredColours(ini).isEmpty())
        ini.setValue(colorsGroup, colorsGroup, QenVocabulary::defaultColourList());
}

QStringList QenColors::colorList(const QenIni &ini)
{
    const QStringList configured = configuredColours(ini);
    const QStringList names = QenVocabulary::colourNames();
    const QStringList translated = QenVocabulary::translatedColourNames();
    QStringList result;
    for (int i = 0; i < names.size(); ++i) {
        if (containsIgnoringCase(configured, names[i]) ||
            containsIgnoringCase(configured, translated.value(i)))
            result.append(names[i]);
    }
    return result;
}

QStringList QenColors::catalogueColourNames(const QenIni &ini)
{
    QStringList result = configuredColours(ini);
    const QStringList names = QenVocabulary::colourNames();
    for (const QString &name : names) {
        if (!containsIgnoringCase(result, name))
            result.append(name);
    }
    return result;
}

QString QenColors::pickColor(const QStringList &colours, const QStringList &iniColours,
                             const QList<QStringList> &otherDocuments,
                             const QStringList &ownColours)
{
    struct Counts
    {
        int ini = 0;
        int others = 0;
        int own = 0;
    };
    QList<Counts> counts;
    for (const QString &colour : colours) {
        Counts c;
        c.ini = countIgnoringCase(iniColours, colour);
        for (const QStringList &document : otherDocuments)
            c.others += countIgnoringCase(document, colour);
        c.own = countIgnoringCase(ownColours, colour);
        counts.append(c);
    }

    for (int i = 0; i < colours.size(); ++i) {
        if (counts[i].ini == 0 && counts[i].others == 0 && counts[i].own == 0)
            return colours[i];
    }
    for (int i = 0; i < colours.size(); ++i) {
        if (counts[i].ini == 0 && counts[i].own == 0)
            return colours[i];
    }
    int best = -1;
    int bestTotal = 0;
    for (int i = 0; i < colours.size(); ++i) {
        const int total = counts[i].ini + counts[i].others + counts[i].own;
        if (best < 0 || total < bestTotal) {
            best = i;
            bestTotal = total;
        }
    }
    return best < 0 ? QString() : colours[best];
}
