#include "engine/qenanesthetic.h"

#include "engine/qenini.h"

#include <QDataStream>
#include <QRegularExpression>

#include <cmath>

namespace {

// Parameter names as the error message reports them, by compartment.
const char *const compartmentKeys[QenCompartments] = {"CKT", "ALV", "VRG", "MUS", "FAT", "VEN"};

} // namespace

QenAnesthetic::QenAnesthetic(QObject *parent) : QObject(parent), displayName(tr("Unknown")) {}

QString QenAnesthetic::matchColor(const QString &text, const QStringList &colorNames)
{
    QString found;
    int matches = 0;
    for (const QString &entry : colorNames) {
        if (entry.size() == text.size() && entry.contains(text, Qt::CaseInsensitive)) {
            found = entry;
            ++matches;
        }
    }
    return matches == 1 ? found : QString();
}

bool QenAnesthetic::readFromIni(const QenIni &ini, const QStringList &colorNames,
                                QString *failedKey)
{
    const QString section = name;
    auto text = [&](const char *key) {
        return ini.value(section, QLatin1String(key), QString()).toString();
    };
    auto fail = [&](const QString &key) {
        if (failedKey)
            *failedKey = key;
        return false;
    };

    const QString localName = text("LocalName");
    displayName = localName.isEmpty() ? name : localName;

    const QString fmt = text("Format");
    if (!fmt.isEmpty()) {
        format = fmt;
        // Exactly five characters: "$" alone would also let a trailing line
        // break through into every number the agent's views print.
        static const QRegularExpression formatPattern(
            QRegularExpression::anchoredPattern(QStringLiteral("%\\d\\.\\df")));
        if (!formatPattern.match(fmt).hasMatch())
            return fail(QStringLiteral("Format"));
    }

    // Lambda has no usable default: a missing key reads as 0 and is refused.
    lambdaBlood = ini.value(section, QStringLiteral("Lambda"), 0.0).toString().toFloat();
    partition[VEN] = lambdaBlood;
    if (!(lambdaBlood > 0.0f && lambdaBlood <= 100.0f))
        return fail(QStringLiteral("Lambda"));

    const QString maxText = text("Max");
    if (!maxText.isEmpty()) {
        max = maxText.toFloat();
        if (!(max > 0.0f && max <= 2000.0f))
            return fail(QStringLiteral("Max"));
    }
    const unsigned maxWhole = unsigned(max);

    const QString highText = text("High");
    if (highText.isEmpty()) {
        high = quint16(maxWhole);
    } else {
        const unsigned value = highText.toUInt();
        high = quint16(value);
        if (value == 0 || value > maxWhole)
            return fail(QStringLiteral("High"));
    }

    const QString defaultText = text("Default");
    if (defaultText.isEmpty()) {
        defaultDel = max * 0.5f;
    } else {
        defaultDel = defaultText.toFloat();
        if (!(defaultDel >= 0.0f && defaultDel <= max))
            return fail(QStringLiteral("Default"));
    }

    // Checks a float key against (low, high]; an absent key keeps the field.
    auto readFloat = [&](const char *key, float &field, float low, float highLimit,
                         const QString &reported) {
        const QString value = text(key);
        if (value.isEmpty())
            return true;
        field = value.toFloat();
        if (!(field > low && field <= highLimit))
            return fail(reported);
        return true;
    };

    if (!readFloat("Ambient", ambient, 0.0f, max, QStringLiteral("Ambient")))
        return false;
    if (!readFloat("MAC", mac, 0.0f, max, QStringLiteral("Mac")))
        return false;

    const QString volatilityText = text("Volatility");
    if (!volatilityText.isEmpty()) {
        const unsigned value = volatilityText.toUInt();
        volatility = quint16(value);
        if (value < 1 || value > 1000)
            return fail(QStringLiteral("Volatility"));
    }

    if (!readFloat("DefUnitDose", defUnitDose, 0.0f, 50.0f, QStringLiteral("DefUnitDose")))
        return false;
    liquid = defUnitDose != 0.0f;
    if (!readFloat("BottleCost", bottleCost, 0.0f, MaxBottleCost, QStringLiteral("BottleCost")))
        return false;

    const QString sizeText = text("BottleSize");
    if (!sizeText.isEmpty()) {
        bottleSize = sizeText.toInt();
        if (bottleSize < 1 || bottleSize > MaxBottleSizeMl)
            return fail(QStringLiteral("BottleSize"));
    }

    const QString colorText = text("Color");
    if (!colorText.isEmpty()) {
        color = matchColor(colorText, colorNames);
        if (color.isEmpty())
            return fail(QStringLiteral("Color"));
    }

    for (int c = 0; c < QenCompartments; ++c) {
        const QString value = text(compartmentKeys[c]);
        if (value.isEmpty()) {
            // The tissue groups have no sensible default: their absence is an error.
            if (c == VRG || c == MUS || c == FAT)
                return fail(QLatin1String(compartmentKeys[c]));
            continue;
        }
        partition[c] = value.toFloat();
        if (!(partition[c] > 0.0f && partition[c] <= 500.0f))
            return fail(QLatin1String(compartmentKeys[c]));
    }
    readFootprint(ini);
    return true;
}

void QenAnesthetic::readFootprint(const QenIni &ini)
{
    auto read = [&](const char *key, double highest) -> std::optional<float> {
        bool ok = false;
        const double value =
            ini.value(name, QLatin1String(key), QString()).toString().trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(value) || value < 0.0 || value > highest)
            return std::nullopt;
        return float(value);
    };
    gwp100 = read("GWP100", MaxGwp100);
    molarMass = read("MolarMass", 1000.0);
    if (molarMass && *molarMass <= 0.0f)
        molarMass.reset();
}

void QenAnesthetic::serialize(QDataStream &stream, bool writing, quint32 version, const QenIni *ini,
                              const QStringList &colorNames)
{
    quint16 size = quint16(bottleSize);
    if (writing) {
        stream << name << displayName << format << high << lambdaBlood << max << defaultDel
               << ambient << mac << volatility << defUnitDose << bottleCost << size;
        for (float p : partition)
            stream << p;
        return;
    }

    stream >> name;
    if (version & 4)
        stream >> displayName;
    else
        displayName = name;
    stream >> format >> high >> lambdaBlood >> max >> defaultDel >> ambient >> mac >> volatility >>
        defUnitDose >> bottleCost >> size;
    for (float &p : partition)
        stream >> p;
    bottleSize = size;
    liquid = defUnitDose != 0.0f;

    // Neither the colour nor the footprint constants are stored: take what the
    // INI gives this agent today.
    color.clear();
    gwp100.reset();
    molarMass.reset();
    if (ini) {
        color =
            matchColor(ini->value(name, QStringLiteral("Color"), QString()).toString(), colorNames);
        readFootprint(*ini);
    }
}
