#include "engine/qenrecording.h"

#include "engine/qencatalogue.h"
#include "engine/qenclocks.h"
#include "engine/qensimsettings.h"

#include <QDataStream>

#include <algorithm>

QenRecording::QenRecording(std::vector<Qen> &tracks, const QenClocks &clocks,
                           const QenSimSettings &settings, const QenCatalogue *const &catalogue)
    : m_tracks(tracks), m_clocks(clocks), m_settings(settings), m_catalogue(catalogue)
{
    m_stepIndex.fill(-1);
}

void QenRecording::invalidateCaches()
{
    clearLookupCache();
    m_cacheStart = m_cacheEnd = 0;
}

void QenRecording::rebuildStepIndex()
{
    m_stepIndex.fill(-1);
    const std::vector<QenSample> &first = m_tracks.front().samples;
    for (size_t i = 0; i < first.size(); ++i) {
        const quint32 step = first[i].time / m_clocks.stepMs;
        if (step < quint32(QenMaxSteps) && m_stepIndex[step] < 0)
            m_stepIndex[step] = qint16(i);
    }
    clearLookupCache();
}

void QenRecording::setStepIndex(const QenStepIndex &table)
{
    m_stepIndex = table;
    clearLookupCache();
}

void QenRecording::serializeStepIndex(QDataStream &stream, bool writing, QenStepIndex &table)
{
    for (qint16 &entry : table) {
        if (writing)
            stream << entry;
        else
            stream >> entry;
    }
}

int QenRecording::sampleAt(quint32 t)
{
    const std::vector<QenSample> &s = m_tracks.front().samples;
    const int n = int(s.size());
    if (n == 0)
        return -1;
    if (t >= m_clocks.simTime)
        return n - 1;
    if (m_lookupIndex >= 0 && m_lookupIndex < n && t >= m_lookupFirst && t <= m_lookupLast)
        return m_lookupIndex;
    const quint32 step = t / m_clocks.stepMs;
    int i = step < quint32(QenMaxSteps) ? m_stepIndex[step] : n - 1;
    // The table comes from a file too: walk from wherever it points.
    if (i < 0 || i >= n)
        i = 0;
    while (i > 0 && s[size_t(i)].time > t)
        --i;
    while (i + 1 < n && s[size_t(i) + 1].time <= t)
        ++i;
    m_lookupIndex = i;
    m_lookupFirst = s[size_t(i)].time;
    m_lookupLast = i + 1 < n ? s[size_t(i) + 1].time - 1 : m_clocks.simTime;
    return i;
}

const QenSample *QenRecording::sampleOf(int track, quint32 t)
{
    if (track < 0 || track >= trackCount())
        return nullptr;
    const int index0 = sampleAt(t);
    if (index0 < 0)
        return nullptr;
    const std::vector<QenSample> &first = m_tracks.front().samples;
    const std::vector<QenSample> &own = m_tracks[size_t(track)].samples;
    if (track == 0)
        return &first[size_t(index0)];
    if (own.empty())
        return nullptr;
    // Every track records each step it exists for, so its samples line up
    // with the last ones of the first track; check, and search when not.
    const qint64 j = qint64(index0) - qint64(first.size()) + qint64(own.size());
    if (j >= 0 && j < qint64(own.size()) && own[size_t(j)].time == first[size_t(index0)].time)
        return &own[size_t(j)];
    auto it = std::upper_bound(own.begin(), own.end(), t,
                               [](quint32 value, const QenSample &s) { return value < s.time; });
    return it == own.begin() ? nullptr : &*(it - 1);
}

void QenRecording::loadQueryBuffers(int index0)
{
    const quint32 t = m_tracks.front().samples[size_t(index0)].time;
    for (int k = 0; k < trackCount(); ++k) {
        Qen &track = m_tracks[size_t(k)];
        const QenSample *s = sampleOf(k, t);
        // A track added later shows, before it existed, what it started with.
        const float *from = s                        ? s->state
                            : !track.samples.empty() ? track.samples.front().state
                                                     : track.state;
        std::copy(from, from + QenStateSize, track.query);
    }
}

const float *QenRecording::stateAt(int track, quint32 t)
{
    Qen &own = m_tracks[size_t(track)];
    if (t >= m_clocks.liveTime)
        return own.state;
    if (t < m_cacheStart || t >= m_cacheEnd) {
        const int i = sampleAt(t);
        if (i < 0)
            return own.state;
        const std::vector<QenSample> &first = m_tracks.front().samples;
        loadQueryBuffers(i);
        m_cacheStart = first[size_t(i)].time;
        m_cacheEnd = size_t(i) + 1 < first.size() ? first[size_t(i) + 1].time : m_clocks.simTime;
    }
    return own.query;
}

bool QenRecording::cutAfter(quint32 from, quint32 displayTime)
{
    bool flush = false;
    const std::vector<QenSample> &first = m_tracks.front().samples;
    const size_t firstCount = first.size();
    size_t g = 0;
    if (firstCount > 0) {
        g = size_t(sampleAt(from));
        if (first[g].time == from) {
            clearLookupCache();
        } else if (first[g].time < from) {
            ++g;
            m_lookupLast = std::min(m_lookupLast, from);
        }
    }
    for (Qen &t : m_tracks) {
        // Tracks added later hold only the most recent steps.
        const size_t offset = firstCount - std::min(firstCount, t.samples.size());
        const size_t cut = g > offset ? g - offset : 0;
        for (size_t j = cut; j < t.samples.size(); ++j) {
            const QenSample &s = t.samples[j];
            if (s.time <= displayTime) {
                t.pendingDoses = std::min(t.pendingDoses + s.doses(), 15);
                if (s.hasFlush())
                    flush = true;
            }
        }
        if (cut < t.samples.size())
            t.samples.erase(t.samples.begin() + std::ptrdiff_t(cut), t.samples.end());
        t.current = -1;
    }
    if (from < m_cacheEnd) {
        m_cacheEnd = from + m_clocks.stepMs;
        if (m_cacheStart > m_cacheEnd)
            m_cacheStart = m_cacheEnd;
    }
    return flush;
}

// --- Value queries ------------------------------------------------------------

quint32 QenRecording::queryMs(float minutes) const
{
    const double ms = double(minutes) * 60000.0;
    quint32 t = 0;
    if (ms >= 4294967295.0)
        t = 0xFFFFFFFFu;
    else if (ms > 0.0)
        t = quint32(ms);
    return std::min(t, m_clocks.endTime);
}

float QenRecording::compartmentAt(int track, int element, quint32 t)
{
    if (track < 0 || track >= trackCount() || element < 0 || element >= QenStateSize)
        return 0.0f;
    if (t < m_clocks.simTime)
        return stateAt(track, t)[element];
    return m_tracks[size_t(track)].values[element];
}

float QenRecording::coAt(quint32 t)
{
    if (t < m_clocks.simTime) {
        if (const QenSample *s = sampleOf(0, t))
            return s->co;
    }
    return m_settings.co;
}

float QenRecording::fgfDeliveredAt(int track, quint32 t)
{
    if (track < 0 || track >= trackCount())
        return 0.0f;
    auto liquid = [this](int agent) {
        const QenAnesthetic *a = m_catalogue ? m_catalogue->value(agent) : nullptr;
        return a && a->liquid;
    };
    if (t < m_clocks.simTime) {
        if (const QenSample *s = sampleOf(track, t)) {
            if (s->hasFlush() && t - s->time < m_clocks.stepMs)
                return 30.0f;
            if (s->hasVapor() && liquid(s->agent))
                return float(double(s->fgf) * 100.0 / (100.0 - std::min(s->del, 99.0f)));
            return s->fgf;
        }
    }
    const Qen &own = m_tracks[size_t(track)];
    if (m_settings.flush)
        return 30.0f;
    if (m_settings.vaporEffect && liquid(own.agent))
        return float(double(m_settings.fgf) * 100.0 / (100.0 - std::min(own.del, 99.0f)));
    return m_settings.fgf;
}

float QenRecording::vaBreathedAt(quint32 t)
{
    const int count = trackCount();
    std::vector<double> now(size_t(count), 0.0);
    double va = m_settings.va;
    bool uptake = m_settings.uptakeEffect;
    const bool past = t < m_clocks.simTime;
    if (past) {
        if (const QenSample *s = sampleOf(0, t)) {
            va = s->va;
            uptake = s->hasUptake();
        }
    }
    if (!uptake || t < m_clocks.stepMs)
        return float(va);
    for (int k = 0; k < count; ++k)
        now[size_t(k)] = past ? stateAt(k, t)[QenUptake] : m_tracks[size_t(k)].values[QenUptake];
    double sum = 0.0;
    for (int k = 0; k < count; ++k)
        sum += (now[size_t(k)] - stateAt(k, t - m_clocks.stepMs)[QenUptake]) / m_clocks.stepMinutes;
    return float(va + sum);
}

float QenRecording::delDeliveredAt(int track, quint32 t, quint32 other, bool *event)
{
    if (track < 0 || track >= trackCount())
        return 0.0f;
    const Qen &own = m_tracks[size_t(track)];
    const bool past = t < m_clocks.simTime;

    if (event) {
        if (!past) {
            *event = own.pendingDoses > 0;
        } else {
            *event = false;
            const quint32 low = std::min(t, other);
            const quint32 high = std::max(t, other);
            const QenSample *s = sampleOf(track, low);
            const QenSample *end = own.samples.data() + own.samples.size();
            if (!s && !own.samples.empty())
                s = own.samples.data();
            for (; s && s < end && s->time <= high; ++s) {
                if (s->time >= low && (s->flags & QenSample::EventMask)) {
                    *event = true;
                    break;
                }
            }
        }
    }

    const QenSample *current = past ? sampleOf(track, t) : nullptr;
    if (past && current && current->hasFlush() && t - current->time < m_clocks.stepMs)
        return 0.0f;
    if (!past && m_settings.flush)
        return 0.0f;
    if (t >= m_clocks.stepMs) {
        const QenSample *before = sampleOf(track, t - m_clocks.stepMs);
        if (before && before->fgf != 0.0f) {
            const double delivered =
                past ? double(stateAt(track, t)[QenDelivered]) : double(own.values[QenDelivered]);
            const double earlier = stateAt(track, t - m_clocks.stepMs)[QenDelivered];
            const double fgfEarlier = fgfDeliveredAt(track, t - m_clocks.stepMs);
            return float((delivered - earlier) * 100.0 / fgfEarlier / m_clocks.stepMinutes);
        }
    }
    if (past && current)
        return current->del;
    return own.del;
}
