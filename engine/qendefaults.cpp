#include "engine/qendefaults.h"

#include "engine/qenini.h"
#include "engine/qenvocabulary.h"

#include <QCoreApplication>

#include <cmath>
#include <optional>

namespace {

const QString defaultsGroup = QStringLiteral("Defaults");

struct VolumeRule
{
    const char *key;
    float limit;
};

// Upper limit of each compartment volume, in compartment order.
const VolumeRule volumeRules[QenCompartments] = {
    {"CKT", 100.0f},  {"ALV", 100.0f}, {"VRG", 100.0f},
    {"MUS", 1000.0f}, {"FAT", 100.0f}, {"VEN", 10.0f},
};

// What the file holds for a key: nothing (absent or empty), or its text.
std::optional<QString> textOf(const QenIni &ini, const QString &group, const char *key)
{
    const QVariant v = ini.value(group, QLatin1String(key));
    // A value with a comma reads as a list ("1,5"): rejoin it as written.
    const QString text = v.userType() == QMetaType::QStringList
                             ? v.toStringList().join(QLatin1Char(','))
                             : v.toString().trimmed();
    if (!v.isValid() || text.isEmpty())
        return std::nullopt;
    return text;
}

// A finite number within [low, high]; anything else the file holds there is
// refused, noted in `d`, and `fallback` is used. An absent key is no fault.
float rangedOr(const QenIni &ini, QenDefaults &d, const QString &group, const char *key, double low,
               double high, float fallback, bool lowExcluded = false)
{
    const std::optional<QString> text = textOf(ini, group, key);
    if (!text)
        return fallback;
    bool number = false;
    const double value = text->toDouble(&number);
    // NaN fails every comparison, so finiteness is checked first.
    if (number && std::isfinite(value) && (lowExcluded ? value > low : value >= low) &&
        value <= high)
        return float(value);
    d.refused.append({group, QLatin1String(key), *text, fallback});
    return fallback;
}

} // namespace

QString QenDefaults::refusalMessage(const QString &iniPath) const
{
    if (refused.isEmpty())
        return QString();
    QStringList lines;
    for (const Refusal &r : refused) {
        lines.append(
            QCoreApplication::translate("QenDefaults", "[%1] %2=%3: %4 is used instead.")
                .arg(r.group, r.key, r.text.toHtmlEscaped(), QString::number(double(r.used))));
    }
    return QCoreApplication::translate(
               "QenDefaults",
               "<p>Some settings in %1 are not numbers within their range:</p><p>%2</p>")
        .arg(iniPath.toHtmlEscaped(), lines.join(QStringLiteral("<br>")));
}

QenDefaults QenDefaults::load(const QenIni &settings)
{
    // Many keys, one reading of the file.
    const QenIni ini = settings.readOnce();
    QenDefaults d;
    d.agent = ini.value(defaultsGroup, QStringLiteral("Agent"), QString()).toString();
    d.click = ini.value(defaultsGroup, QStringLiteral("Click"), 0).toInt();

    const QString speedText =
        ini.value(defaultsGroup, QStringLiteral("Speed"), QString()).toString();
    const int speed = speedText == QLatin1String("AFAP") ? 1000 : speedText.toInt();
    d.speed = QenVocabulary::speedValues().contains(speed) ? speed : 20;

    const QString circuit =
        ini.value(defaultsGroup, QStringLiteral("Circuit"), QString()).toString();
    const QStringList circuits = QenVocabulary::circuits();
    const QChar first = circuit.isEmpty() ? QChar() : circuit.at(0).toLower();
    if (first == QLatin1Char('s'))
        d.circuit = circuits[1];
    else if (first == QLatin1Char('i'))
        d.circuit = circuits[3];
    else if (first == QLatin1Char('c'))
        d.circuit = circuits[2];
    else
        d.circuit = circuits[0];

    d.fgf = rangedOr(ini, d, defaultsGroup, "FGF", 0.0, 500.0, 8.0f);
    d.va = rangedOr(ini, d, defaultsGroup, "VA", 0.0, 500.0, 4.0f);
    d.co = rangedOr(ini, d, defaultsGroup, "CO", 0.0, 500.0, 5.0f);
    d.weight = rangedOr(ini, d, defaultsGroup, "Weight", 0.05, 1500.0, 70.0f);

    const QString volumesGroup = QStringLiteral("Volumes");
    for (int c = 0; c < QenCompartments; ++c) {
        const VolumeRule &rule = volumeRules[c];
        d.volumes[c] =
            rangedOr(ini, d, volumesGroup, rule.key, 0.0, rule.limit, QenTextbookVolumesL[c], true);
    }

    // The three tissue shares of cardiac output: fractions adding up to 1, or
    // whole percentages adding up to 100; anything else gets the textbook split.
    const char *const ratioKeys[3] = {"VRG", "MUS", "FAT"};
    // A negative share counts as none; one that is not a number is refused.
    const QString ratioGroup = QStringLiteral("Ratio");
    const float textbook[3] = {0.76f, 0.18f, 0.06f};
    double ratios[3];
    double sum = 0.0;
    for (int i = 0; i < 3; ++i) {
        ratios[i] = -1.0;
        const std::optional<QString> text = textOf(ini, ratioGroup, ratioKeys[i]);
        if (!text)
            continue;
        bool number = false;
        const double value = text->toDouble(&number);
        if (!number || !std::isfinite(value)) {
            d.refused.append({ratioGroup, QLatin1String(ratioKeys[i]), *text, 0.0f});
            continue;
        }
        ratios[i] = value;
        if (value >= 0.0)
            sum += value;
    }
    for (int i = 0; i < 3; ++i) {
        const double r = ratios[i] < 0.0 ? 0.0 : ratios[i];
        if (sum > 0.999 && sum < 1.001)
            d.flows[VRG + i] = float(r);
        else if (sum == 100.0)
            d.flows[VRG + i] = float(r / 100.0);
        else
            d.flows[VRG + i] = textbook[i];
    }
    d.flows[CKT] = d.flows[ALV] = d.flows[VEN] = 1.0f;
    for (Refusal &r : d.refused) {
        for (int i = 0; i < 3; ++i) {
            if (r.group == ratioGroup && r.key == QLatin1String(ratioKeys[i]))
                r.used = d.flows[VRG + i];
        }
    }
    return d;
}
