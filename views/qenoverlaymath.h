#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

class QenIni;

// The arithmetic of the overlay comparison, kept apart from the window so that
// it can be checked number by number.

// Button ids of the Show (numerator) and Over (denominator) choices. Ids 0..6
// are the same quantity in both groups; 7 is the cost when shown and the
// agent's MAC when divided by; 8 (Over only) divides by nothing.
enum OverlayId {
    OverlayDEL = 0,
    OverlayCKT = 1,
    OverlayALV = 2,
    OverlayVRG = 3,
    OverlayMUS = 4,
    OverlayFAT = 5,
    OverlayVEN = 6,
    OverlayCost = 7,
    OverlayMAC = 7,
    OverlayOne = 8,
};

// The overlay's keys of [Defaults], each already checked.
struct OverlaySettings
{
    double height = 5; // Y height while absolute values are shown
    double slope = 10; // how large a jump still joins a line's first point to the measure
    int show = OverlayALV;
    int over = OverlayOne;
};
OverlaySettings overlaySettings(const QenIni &ini);

// The ratio drawn for numerator n over denominator d; -1 where nothing is drawn
// (no denominator, or a ratio too large to mean anything).
double overlayRatio(double n, double d);

// Y height, tick and label spacing for the largest ratio measured.
struct OverlayScale
{
    double height = 5;
    double tickEvery = 1;
    double labelEvery = 5;
};
OverlayScale overlayScale(double maximum);
// The scale of values shown as they are: as measured, but never below
// `lowest` (the settings' default height), so that small values keep the
// familiar scale and large ones are never cut off.
OverlayScale overlayAbsoluteScale(double maximum, double lowest);

// The time axis of the overlay, in minutes.
struct OverlayTimeAxis
{
    double origin = 0;
    double size = 5;
    double labelEvery = 1;
    double tickEvery = 1;
};
// The whole recorded span: from 0 to the latest time of the longest run,
// rounded up to a tick (at least 5 minutes).
OverlayTimeAxis overlayWholeRun(double latestMinutes);
// A span of the graph view ending at or just after the latest time; its left
// edge falls on a labelled time, so that the axis says where it starts.
OverlayTimeAxis overlaySpan(int spanMinutes, double latestMinutes);
// Whether the hatched band marks a ratio of 1 on a scale of `height`.
bool overlayRatioBand(int over, double height);

// The measuring pass: every line's ratios in time order. A line's first point
// after a gap counts only when the next one follows it without a jump, so
// that a spike at the start of a run does not flatten the whole scale.
class OverlayMeasure
{
public:
    static constexpr int MaxLines = 6;

    void start(double jumpThreshold);
    // `ratio` < 0 is a gap.
    void add(int line, double ratio);
    double maximum() const { return m_maximum; }
    int count() const { return m_count; }
    double threshold() const { return m_threshold; }

private:
    double m_threshold = 0;
    double m_maximum = -1;
    int m_count = 0;
    std::array<double, MaxLines> m_previous{};
};

// The settings of one run that a legend may name, in a fixed order (agent,
// circuit, DEL, FGF, VA, CO, weight), each as the legend writes it.
struct OverlayRunFacts
{
    QString name;
    QStringList settings;
};
OverlayRunFacts overlayRunFacts(const QString &name, const QString &agent, const QString &circuit,
                                double del, double fgf, double va, double co, double weightKg);
// One legend per run: its name, then in parentheses the settings in which the
// runs differ.
QStringList overlayLegends(const QList<OverlayRunFacts> &runs);

// The colour of each line: the one asked for, unless an earlier line already
// has it; then the colour of `palette` that no line asks for and that lies
// farthest from the lines' colours and the paper.
QStringList overlayColors(const QStringList &wanted, const QStringList &palette,
                          const QColor &paper);
