#include "engine/qendefaults.h"

#include "engine/qenini.h"
#include "engine/qenvocabulary.h"

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

float flowOr(const QenIni &ini, const char *key, float fallback)
{
    const double value = ini.value(defaultsGroup, QLatin1String(key), -1.0).toDouble();
    return (value < 0.0 || value > 500.0) ? fallback : float(value);
}

} // namespace

QenDefaults QenDefaults::load(const QenIni &ini)
{
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

    d.fgf = flowOr(ini, "FGF", 8.0f);
    d.va = flowOr(ini, "VA", 4.0f);
    d.co = flowOr(ini, "CO", 5.0f);

    const double weight = ini.value(defaultsGroup, QStringLiteral("Weight"), 0.0).toDouble();
    d.weight = (weight < 0.05 || weight > 1500.0) ? 70.0f : float(weight);

    for (int c = 0; c < QenCompartments; ++c) {
        const VolumeRule &rule = volumeRules[c];
        const double v =
            ini.value(QStringLiteral("Volumes"), QLatin1String(rule.key), 0.0).toDouble();
        d.volumes[c] = (v <= 0.0 || v > rule.limit) ? QenTextbookVolumesL[c] : float(v);
    }

    // The three tissue shares of cardiac output: fractions adding up to 1, or
    // whole percentages adding up to 100; anything else gets the textbook split.
    const char *const ratioKeys[3] = {"VRG", "MUS", "FAT"};
    double ratios[3];
    double sum = 0.0;
    for (int i = 0; i < 3; ++i) {
        ratios[i] =
            ini.value(QStringLiteral("Ratio"), QLatin1String(ratioKeys[i]), -1.0).toDouble();
        if (ratios[i] >= 0.0)
            sum += ratios[i];
    }
    const float textbook[3] = {0.76f, 0.18f, 0.06f};
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
    return d;
}
