#include "engine/qenvocabulary.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {
// The context is the one the translation scanner files these texts under (it
// takes the namespace's name); the colour names are looked up in it again when
// an agent's colour is shown.
QString tr(const char *text, const char *comment = nullptr)
{
    return QCoreApplication::translate("QenVocabulary", text, comment);
}
} // namespace

namespace QenVocabulary {

QStringList circuits()
{
    return {tr("Open", "open circuit"), tr("Semi-closed"), tr("Closed"), tr("Ideal")};
}

QStringList speeds()
{
    return {tr("1x"), tr("2x"), tr("5x"), tr("10x"), tr("20x"), tr("60x"), tr("120x"), tr("AFAP")};
}

QList<int> speedValues()
{
    return {1, 2, 5, 10, 20, 60, 120, 1000};
}

QStringList graphSpans()
{
    return {tr("5 Min"), tr("10 Min"), tr("15 Min"), tr("30 Min"), tr("45 Min"),
            tr("1 Hr"),  tr("2 Hr"),   tr("5 Hr"),   tr("10 Hr")};
}

QList<int> graphSpanMinutes()
{
    return {5, 10, 15, 30, 45, 60, 120, 300, 600};
}

int graphSpanFromText(const QString &text)
{
    const QString t = text.trimmed();
    const int space = t.indexOf(QLatin1Char(' '));
    bool ok = false;
    int minutes = (space < 0 ? t : t.left(space)).toInt(&ok);
    if (!ok)
        return 15;
    // The unit letters come from the translation: its second character is the
    // one for hours.
    const QString letters = QCoreApplication::translate("QenGraphView", "[HM]");
    const QRegularExpressionMatch m =
        QRegularExpression(letters).match(space < 0 ? QString() : t.mid(space));
    if (m.hasMatch() && letters.size() > 1 && m.captured(0) == letters.at(1))
        minutes *= 60;
    return graphSpanMinutes().contains(minutes) ? minutes : 15;
}

QStringList colorNames()
{
    return {QStringLiteral("red"),      QStringLiteral("darkRed"), QStringLiteral("blue"),
            QStringLiteral("darkBlue"), QStringLiteral("green"),   QStringLiteral("darkGreen"),
            QStringLiteral("orange"),   QStringLiteral("purple"),  QStringLiteral("black"),
            QStringLiteral("white"),    QStringLiteral("yellow"),  QStringLiteral("cyan")};
}

QStringList translatedColorNames()
{
    return {tr("red"),    tr("darkRed"), tr("blue"),  tr("darkBlue"), tr("green"),  tr("darkGreen"),
            tr("orange"), tr("purple"),  tr("black"), tr("white"),    tr("yellow"), tr("cyan")};
}

QString shownColorName(const QString &name)
{
    const int i = int(colorNames().indexOf(name));
    return i >= 0 ? translatedColorNames().at(i) : name;
}

QString toolkitColorName(const QString &shown)
{
    const int i = int(translatedColorNames().indexOf(shown));
    return i >= 0 ? colorNames().at(i) : shown;
}

QStringList defaultColorList()
{
    return {tr("red"),   tr("blue"),  tr("green"),  tr("orange"), tr("purple"),
            tr("black"), tr("white"), tr("yellow"), tr("cyan"),   tr("darkBlue")};
}

int circuitIndex(const QString &name)
{
    if (name.isEmpty())
        return -1;
    const QStringList names = circuits();
    for (int i = 0; i < names.size(); ++i) {
        if (!names[i].isEmpty() && names[i].at(0) == name.at(0))
            return i;
    }
    return -1;
}

} // namespace QenVocabulary
