#pragma once

#include "engine/qen.h"

#include <vector>

class QDataStream;
class QenCatalogue;
struct QenClocks;
struct QenSimSettings;

// What a simulation has recorded, and the questions asked of it: which sample
// holds a time, the state of a track then, and the values the views and
// reports show for any time (the recorded past, or the live settings and
// values from the computed time on). Keeps the step-to-sample table and the
// caches that make repeated lookups of nearby times cheap.
//
// The tracks, clocks, settings and catalogue belong to the engine; the
// recording reads them (and writes each track's query buffer and, when the
// recording is cut, its samples). Whoever changes the samples or the table
// other than through this class calls invalidateCaches().
class QenRecording
{
public:
    QenRecording(std::vector<Qen> &tracks, const QenClocks &clocks, const QenSimSettings &settings,
                 const QenCatalogue *const &catalogue);

    // Index of the first track's sample that holds time `t` (-1 without samples).
    int sampleAt(quint32 t);
    // The recorded sample of `track` that holds time `t`, or null when the
    // track has recorded nothing up to `t`.
    const QenSample *sampleOf(int track, quint32 t);
    // State of `track` at time `t` (8 values); valid until the next query.
    const float *stateAt(int track, quint32 t);

    const QenStepIndex &stepIndex() const { return m_stepIndex; }
    // The table as a saved simulation gives it; lookups walk from any entry.
    void setStepIndex(const QenStepIndex &table);
    // The step-to-sample table in its stream form (12000 16-bit entries).
    static void serializeStepIndex(QDataStream &stream, bool writing, QenStepIndex &table);
    void rebuildStepIndex();
    void clearStepIndex() { m_stepIndex.fill(-1); }
    // Notes where step `step` begins in the first track's samples (-1: nowhere).
    void setStepEntry(quint32 step, qint16 entry) { m_stepIndex[step] = entry; }
    void invalidateCaches();
    void clearLookupCache() { m_lookupIndex = -1; }

    // Cuts every track's samples from time `from` (a step boundary before the
    // computed time) on, taking back into each track the doses the cut
    // samples recorded up to `displayTime`. True when one of those recorded a
    // flush. The caller moves the clocks.
    bool cutAfter(quint32 from, quint32 displayTime);

    // --- Value queries (time in float minutes, or ms) -----------------------
    // Minutes as a query time: rounded down to ms, held to the recording.
    quint32 queryMs(float minutes) const;
    // Element 0-5 a partial pressure, 6 uptake, 7 delivered.
    float compartmentAt(int track, int element, quint32 t);
    float coAt(quint32 t);
    float fgfDeliveredAt(int track, quint32 t);
    float vaBreathedAt(quint32 t);
    float delDeliveredAt(int track, quint32 t, quint32 other = 0, bool *event = nullptr);

private:
    int trackCount() const { return int(m_tracks.size()); }
    void loadQueryBuffers(int index0);

    std::vector<Qen> &m_tracks;
    const QenClocks &m_clocks;
    const QenSimSettings &m_settings;
    const QenCatalogue *const &m_catalogue;

    QenStepIndex m_stepIndex;
    // The sample the last lookup found, and the times it holds.
    int m_lookupIndex = -1;
    quint32 m_lookupFirst = 0;
    quint32 m_lookupLast = 0;
    // The times whose state the tracks' query buffers hold.
    quint32 m_cacheStart = 0;
    quint32 m_cacheEnd = 0;
};
