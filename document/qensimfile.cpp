#include "document/qensimfile.h"

#include "engine/qenengine.h"
#include "engine/qenini.h"

#include <QDataStream>
#include <QIODevice>

#include <algorithm>
#include <cmath>

namespace {

// Smallest stored size of each record, to bound a count by the bytes left.
constexpr qint64 minAgentRecordBytes = 66; // two strings, 2 + 20 + 2 + 8 + 2 + 24 bytes
constexpr qint64 minTrackBytes = 4 + QenSample::StreamBytes;
constexpr qint64 minStringBytes = 4;

template <typename T> void io(QDataStream &stream, bool writing, T &value)
{
    if (writing)
        stream << value;
    else
        stream >> value;
}

bool ok(const QDataStream &stream)
{
    return stream.status() == QDataStream::Ok;
}

qint64 bytesLeft(const QDataStream &stream)
{
    return stream.device() ? stream.device()->bytesAvailable() : 0;
}

// A count as stored (i32 or i16), bounded on reading by `limit` and by the
// bytes still in the file at `minBytes` per item.
template <typename Count>
bool ioCount(QDataStream &stream, bool writing, qint64 &count, qint64 minBytes, qint64 limit)
{
    Count stored = Count(count);
    io(stream, writing, stored);
    if (writing)
        return ok(stream);
    if (!ok(stream) || stored < 0 || stored > limit || stored * minBytes > bytesLeft(stream))
        return false;
    count = stored;
    return true;
}

bool allFinite(const float *begin, const float *end)
{
    return std::all_of(begin, end, [](float v) { return std::isfinite(v); });
}

// Every number of a sample a view shows or a step computes with.
bool finiteSample(const QenSample &s)
{
    const float settings[] = {s.del, s.fgf, s.va, s.co, s.weight, s.unitDose};
    return allFinite(std::begin(settings), std::end(settings)) &&
           allFinite(std::begin(s.state), std::end(s.state));
}

bool finiteAgent(const QenAnesthetic &a)
{
    const float constants[] = {a.lambdaBlood, a.max,         a.defaultDel, a.ambient,
                               a.mac,         a.defUnitDose, a.bottleCost};
    return allFinite(std::begin(constants), std::end(constants)) &&
           allFinite(std::begin(a.partition), std::end(a.partition));
}

} // namespace

std::unique_ptr<QenAnesthetic> QenSimFile::copyOf(const QenAnesthetic &in)
{
    auto a = std::make_unique<QenAnesthetic>();
    a->name = in.name;
    a->displayName = in.displayName;
    a->format = in.format;
    a->color = in.color;
    a->volatility = in.volatility;
    a->high = in.high;
    a->lambdaBlood = in.lambdaBlood;
    a->max = in.max;
    a->defaultDel = in.defaultDel;
    a->ambient = in.ambient;
    a->mac = in.mac;
    a->defUnitDose = in.defUnitDose;
    a->bottleCost = in.bottleCost;
    a->bottleSize = in.bottleSize;
    a->liquid = in.liquid;
    std::copy(std::begin(in.partition), std::end(in.partition), std::begin(a->partition));
    return a;
}

bool QenSimFile::write(QIODevice *device)
{
    QDataStream stream(device);
    version = versionWritten;
    return serialize(stream, true, nullptr, {}) == Result::Ok;
}

QenSimFile::Result QenSimFile::read(QIODevice *device, const QenIni *ini,
                                    const QStringList &colorNames)
{
    QDataStream stream(device);
    if (!ini)
        return serialize(stream, false, nullptr, colorNames);
    // Each agent record looks up a few keys of its own: one reading serves all.
    const QenIni once = ini->readOnce();
    return serialize(stream, false, &once, colorNames);
}

QenSimFile::Result QenSimFile::serialize(QDataStream &stream, bool writing, const QenIni *ini,
                                         const QStringList &colorNames)
{
    stream.setVersion(QDataStream::Qt_4_0);
    stream.setByteOrder(QDataStream::BigEndian);
    stream.setFloatingPointPrecision(QDataStream::SinglePrecision);

    qint32 magic = magicCurrent;
    io(stream, writing, magic);
    if (!ok(stream))
        return writing ? Result::Corrupt : Result::BadMagic;
    if (magic == magicCurrent) {
        io(stream, writing, version);
    } else if (magic == magicOldest) {
        version = 0;
    } else {
        return Result::BadMagic;
    }
    if (!ok(stream))
        return Result::Corrupt;

    qint64 count = catalogue.size();
    if (!ioCount<qint32>(stream, writing, count, minAgentRecordBytes, bytesLeft(stream)))
        return Result::Corrupt;
    if (writing) {
        for (int i = 0; i < catalogue.size(); ++i)
            catalogue.at(i)->serialize(stream, true, version);
    } else {
        for (qint64 i = 0; i < count; ++i) {
            auto agent = std::make_unique<QenAnesthetic>();
            agent->serialize(stream, false, version, ini, colorNames);
            if (!ok(stream))
                return Result::Corrupt;
            catalogue.append(std::move(agent));
        }
    }
    if (!ok(stream))
        return Result::Corrupt;

    count = qint64(tracks.size());
    if (!ioCount<qint32>(stream, writing, count, minTrackBytes, bytesLeft(stream)))
        return Result::Corrupt;
    if (count == 0)
        return Result::Corrupt; // every simulation has its primary agent
    if (!writing)
        tracks.resize(size_t(count));
    for (Track &track : tracks) {
        if (!track.serialize(stream, writing, catalogue, &track.settings))
            return Result::Corrupt;
    }

    const Result settingsResult = serializeSettings(stream, writing);
    if (settingsResult != Result::Ok)
        return settingsResult;

    if (writing || (version & HasDescription))
        io(stream, writing, description);
    io(stream, writing, liveTime);
    if (!ok(stream))
        return Result::Corrupt;

    if (writing || (version & HasColors)) {
        count = colors.size();
        if (!ioCount<qint32>(stream, writing, count, minStringBytes, bytesLeft(stream)))
            return Result::Corrupt;
        if (!writing)
            colors = QStringList(qsizetype(count), QString());
        for (QString &name : colors)
            io(stream, writing, name);
        if (!ok(stream))
            return Result::Corrupt;
    }

    io(stream, writing, simTime);
    io(stream, writing, endTime);
    count = bookmarks.size();
    if (!ioCount<qint16>(stream, writing, count, 4, QenEngine::MaxBookmarks))
        return Result::Corrupt;
    if (!writing)
        bookmarks = QList<quint32>(qsizetype(count), 0);
    for (quint32 &b : bookmarks)
        io(stream, writing, b);
    for (float &v : volumes)
        io(stream, writing, v);
    for (float &v : flows)
        io(stream, writing, v);
    if (!ok(stream))
        return Result::Corrupt;

    Track &primary = tracks.front();
    if (!primary.samples.empty())
        QenEngine::serializeStepIndex(stream, writing, stepIndex);
    else
        primary.settings.serialize(stream, writing);
    if (!ok(stream))
        return Result::Corrupt;

    // The breakpoint came after the last field, so files without it still
    // open, and readers that stop at the step index still read ours.
    if (writing || !stream.atEnd()) {
        io(stream, writing, breakpointText);
        if (!ok(stream))
            return Result::Corrupt;
    }

    if (writing)
        return Result::Ok;
    const Result numbers = checkNumbers();
    return numbers == Result::Ok ? checkIndexes() : numbers;
}

QenSimFile::Result QenSimFile::checkNumbers() const
{
    // "nan" and "inf" would reach the gauges as text, and a step that starts
    // from them never produces a number again.
    for (int i = 0; i < catalogue.size(); ++i) {
        if (!finiteAgent(*catalogue.at(i)))
            return Result::Corrupt;
    }
    if (!allFinite(volumes.data(), volumes.data() + volumes.size()) ||
        !allFinite(std::begin(flows), std::end(flows)))
        return Result::Corrupt;
    for (const Track &track : tracks) {
        if (track.samples.empty() ? !finiteSample(track.settings)
                                  : !allFinite(std::begin(track.state), std::end(track.state)))
            return Result::Corrupt;
        for (size_t i = 0; i < track.samples.size(); ++i) {
            if (!finiteSample(track.samples[i]))
                return Result::Corrupt;
            // One sample a step, in the order the steps ran.
            if (i > 0 && track.samples[i].time < track.samples[i - 1].time)
                return Result::Corrupt;
        }
    }
    return Result::Ok;
}

QenSimFile::Result QenSimFile::serializeSettings(QDataStream &stream, bool writing)
{
    qint16 first = -1;
    io(stream, writing, first);
    if (!ok(stream))
        return Result::Corrupt;
    if (!writing && first != -1) {
        // The oldest layout holds nothing but the time step.
        settings.layout = -1;
        settings.stepMs = quint16(first);
        return Result::Ok;
    }

    qint16 layout = qint16(layoutWritten);
    io(stream, writing, layout);
    if (!ok(stream))
        return Result::Corrupt;
    if (!writing) {
        if (version & IgnoreLayout)
            layout = 1;
        switch (layout) {
        case 1:
        case 2:
            break;
        case 3:
            version |= HasColors;
            break;
        case 4:
            version |= HasColors | HasDescription;
            break;
        case 5:
            version |= HasColors | HasDescription | HasDisplayNames;
            break;
        default:
            // Its fields are unknown: whatever follows would be misread.
            return Result::Corrupt;
        }
        settings.layout = layout;
    }

    qint16 stepMs = qint16(settings.stepMs);
    io(stream, writing, stepMs);
    settings.stepMs = quint16(stepMs);
    io(stream, writing, settings.documentValue);
    io(stream, writing, settings.panelMarker);
    io(stream, writing, settings.delTop);
    for (qint16 &top : settings.gaugeTops)
        io(stream, writing, top);
    io(stream, writing, settings.panelFlag);
    io(stream, writing, settings.speed);
    io(stream, writing, settings.graphMinutes);
    return ok(stream) ? Result::Ok : Result::Corrupt;
}

QenSimFile::Result QenSimFile::checkIndexes() const
{
    if (settings.stepMs == 0)
        return Result::Corrupt;

    // An agent records every step from the one it was added in, so each
    // track's samples are the last steps of the longest recording, time for
    // time. (Each track's reader has checked its agent indices.)
    const Track *longest = &tracks.front();
    for (const Track &track : tracks) {
        if (track.samples.size() > longest->samples.size())
            longest = &track;
    }
    const std::vector<QenSample> &all = longest->samples;
    for (const Track &track : tracks) {
        const size_t offset = all.size() - track.samples.size();
        for (size_t i = 0; i < track.samples.size(); ++i) {
            if (track.samples[i].time != all[offset + i].time)
                return Result::Corrupt;
        }
    }
    const std::vector<QenSample> &primary = tracks.front().samples;
    const size_t samples = primary.size();
    // The settings sample at the end stands in for the primary agent's
    // history, and then it is the only history there is.
    if (samples == 0 && (!all.empty() || !catalogue.value(tracks.front().settings.agent)))
        return Result::Corrupt;

    if (samples > 0 && simTime > 0) {
        // A lookup before the live time starts at the step's index entry;
        // steps before the primary agent's first sample have none.
        const quint32 lastStep = (simTime - 1) / settings.stepMs;
        if (lastStep >= quint32(stepSlots))
            return Result::Corrupt;
        const quint32 firstStep = primary.front().time / settings.stepMs;
        for (quint32 step = 0; step <= lastStep; ++step) {
            const qint16 entry = stepIndex[step];
            if (size_t(qMax<qint16>(entry, 0)) >= samples || (entry < 0 && step >= firstStep))
                return Result::Corrupt;
        }
    }
    return Result::Ok;
}
