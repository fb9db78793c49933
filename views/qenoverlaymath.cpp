#include "views/qenoverlaymath.h"

#include "engine/qenini.h"
#include "engine/qenvocabulary.h"
#include "views/qengraphview.h"

#include <algorithm>
#include <cmath>

namespace {

const QStringList showNames = {QStringLiteral("DEL"), QStringLiteral("CKT"), QStringLiteral("ALV"),
                               QStringLiteral("VRG"), QStringLiteral("MUS"), QStringLiteral("FAT"),
                               QStringLiteral("VEN"), QStringLiteral("COST")};
const QStringList overNames = {QStringLiteral("DEL"), QStringLiteral("CKT"), QStringLiteral("ALV"),
                               QStringLiteral("VRG"), QStringLiteral("MUS"), QStringLiteral("FAT"),
                               QStringLiteral("VEN"), QStringLiteral("MAC"), QStringLiteral("ONE")};

// Above this a ratio says only that the denominator is next to nothing.
constexpr double largestRatio = 1000000.0;

double rangedDouble(const QenIni &ini, const char *key, double fallback, double low, double high)
{
    bool ok = false;
    const double v =
        ini.value(QStringLiteral("Defaults"), QLatin1String(key), fallback).toDouble(&ok);
    return ok && v >= low && v <= high ? v : fallback;
}

int namedId(const QenIni &ini, const char *key, const QStringList &names, int fallback)
{
    const QString name =
        ini.value(QStringLiteral("Defaults"), QLatin1String(key)).toString().trimmed().toUpper();
    const int id = int(names.indexOf(name));
    return id < 0 ? fallback : id;
}

QString number(double v)
{
    return QString::number(v, 'g', 4);
}

} // namespace

OverlaySettings overlaySettings(const QenIni &ini)
{
    OverlaySettings s;
    s.height = rangedDouble(ini, "OverlayHeight", 5, 1, 1000);
    s.slope = rangedDouble(ini, "OverlaySlope", 10, 1, 50);
    s.show = namedId(ini, "OverlayShow", showNames, OverlayALV);
    s.over = namedId(ini, "OverlayOver", overNames, OverlayOne);
    return s;
}

double overlayRatio(double n, double d)
{
    if (d == 0)
        return -1;
    double ratio = 0;
    if (n == d)
        ratio = 1;
    else if ((n > 0 && d > 0) || (n <= 0 && d <= 0))
        ratio = n / d;
    return ratio > largestRatio ? -1 : ratio;
}

OverlayScale overlayScale(double m)
{
    OverlayScale s;
    auto set = [&s](double h, double t, double l) {
        s.height = h;
        s.tickEvery = t;
        s.labelEvery = l;
    };
    if (m <= 0.1) {
        set(0.10001, 0.025, 0.05);
    } else if (m <= 0.5) {
        const double h = std::ceil(10 * m) / 10 + 0.00001;
        set(h, 0.1, std::ceil(10 * h) / 10);
    } else if (m <= 1) {
        set(1, 0.25, 0.5);
    } else if (m <= 5) {
        set(std::ceil(m), 1, std::ceil(m));
    } else if (m <= 10) {
        set(10, 1, 5);
    } else if (m <= 50) {
        const double h = 10 * std::ceil(m / 10);
        set(h, 10, h);
    } else if (m <= 100) {
        set(100, 10, 50);
    } else if (m <= 500) {
        const double h = 100 * std::ceil(m / 100);
        set(h, 100, h);
    } else if (m <= 1000) {
        set(1000, 100, 500);
    } else if (m <= 5000) {
        const double h = 1000 * std::ceil(m / 1000);
        set(h, 1000, h);
    } else if (m <= 10000) {
        set(10000, 1000, 5000);
    } else if (m <= 50000) {
        const double h = 10000 * std::ceil(m / 10000);
        set(h, 10000, h);
    } else if (m <= 100000) {
        set(100000, 10000, 50000);
    } else {
        set(500000, 100000, 500000);
    }
    return s;
}

OverlayScale overlayAbsoluteScale(double maximum, double lowest)
{
    OverlayScale s = overlayScale(maximum);
    if (s.height < lowest)
        s = {lowest, 1, lowest};
    return s;
}

OverlayTimeAxis overlayWholeRun(double latestMinutes)
{
    OverlayTimeAxis a;
    const double latest = std::max(0.0, latestMinutes);
    const QList<int> spans = QenVocabulary::graphSpanMinutes();
    const auto fits = std::find_if(spans.cbegin(), spans.cend(),
                                   [latest](int span) { return span >= latest - 1e-6; });
    if (fits != spans.cend()) {
        QenGraphView::timeAxis(*fits, &a.labelEvery, &a.tickEvery);
    } else {
        // Longer than the longest span: about five labels on whole hours.
        a.labelEvery = 60 * std::ceil(latest / 300);
        a.tickEvery = a.labelEvery / 2;
    }
    a.size = std::max(5.0, a.tickEvery * std::ceil(latest / a.tickEvery - 1e-6));
    return a;
}

OverlayTimeAxis overlaySpan(int spanMinutes, double latestMinutes)
{
    OverlayTimeAxis a;
    a.size = std::max(1, spanMinutes);
    QenGraphView::timeAxis(spanMinutes, &a.labelEvery, &a.tickEvery);
    const double start = latestMinutes - a.size;
    a.origin = start <= 0 ? 0 : a.labelEvery * std::ceil(start / a.labelEvery - 1e-6);
    return a;
}

bool overlayRatioBand(int over, double height)
{
    return over != OverlayOne && height > 1 && height <= 50;
}

void OverlayMeasure::start(double jumpThreshold)
{
    m_threshold = jumpThreshold;
    m_maximum = -1;
    m_count = 0;
    m_previous.fill(-1);
}

void OverlayMeasure::add(int line, double ratio)
{
    if (line < 0 || line >= MaxLines)
        return;
    double &previous = m_previous[size_t(line)];
    if (ratio >= 0 && previous >= 0) {
        ++m_count;
        m_maximum = std::max(m_maximum, ratio);
        if (std::fabs(ratio - previous) < m_threshold)
            m_maximum = std::max(m_maximum, previous);
    }
    previous = ratio < 0 ? -1 : ratio;
}

OverlayRunFacts overlayRunFacts(const QString &name, const QString &agent, const QString &circuit,
                                double del, double fgf, double va, double co, double weightKg)
{
    OverlayRunFacts facts;
    facts.name = name;
    facts.settings = {agent,
                      circuit,
                      QStringLiteral("DEL=") + number(del),
                      QStringLiteral("FGF=") + number(fgf),
                      QStringLiteral("VA=") + number(va),
                      QStringLiteral("CO=") + number(co),
                      number(weightKg) + QStringLiteral(" Kg")};
    return facts;
}

QStringList overlayLegends(const QList<OverlayRunFacts> &runs)
{
    int settingCount = 0;
    for (const OverlayRunFacts &run : runs)
        settingCount = std::max(settingCount, int(run.settings.size()));
    QList<bool> differs(settingCount, false);
    for (int k = 0; k < settingCount; ++k) {
        for (const OverlayRunFacts &run : runs)
            differs[k] = differs[k] || run.settings.value(k) != runs.first().settings.value(k);
    }
    QStringList legends;
    for (const OverlayRunFacts &run : runs) {
        QStringList named;
        for (int k = 0; k < settingCount; ++k) {
            if (differs[k])
                named << run.settings.value(k);
        }
        legends << (named.isEmpty() ? run.name
                                    : run.name + QStringLiteral(" (") +
                                          named.join(QLatin1Char('/')) + QLatin1Char(')'));
    }
    return legends;
}

QStringList overlayColors(const QStringList &wanted, const QStringList &palette,
                          const QColor &paper)
{
    auto distance = [](const QColor &a, const QColor &b) {
        const int r = a.red() - b.red();
        const int g = a.green() - b.green();
        const int bl = a.blue() - b.blue();
        return std::sqrt(double(r * r + g * g + bl * bl));
    };
    QStringList chosen;
    for (const QString &color : wanted) {
        if (!chosen.contains(color, Qt::CaseInsensitive)) {
            chosen << color;
            continue;
        }
        // The spare colour that stands out most from the lines and the paper.
        QString spare = color;
        double best = -1;
        for (const QString &candidate : palette) {
            if (chosen.contains(candidate, Qt::CaseInsensitive) ||
                wanted.contains(candidate, Qt::CaseInsensitive))
                continue;
            const QColor c(candidate);
            double nearest = distance(c, paper);
            for (const QString &taken : std::as_const(chosen))
                nearest = std::min(nearest, distance(c, QColor(taken)));
            if (nearest > best) {
                best = nearest;
                spare = candidate;
            }
        }
        chosen << spare;
    }
    return chosen;
}
