#include "engine/qen.h"

#include "engine/qencatalogue.h"

#include <QDataStream>
#include <QIODevice>

#include <algorithm>
#include <cstdint>
#include <memory>

#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#endif

namespace {

// Maps in the pages of [begin, end) in one call. Touching fresh pages one at a
// time costs a fault each, which on some machines outweighs the whole step.
void prefault(const void *begin, const void *end)
{
#if defined(Q_OS_LINUX) && defined(MADV_POPULATE_WRITE)
    constexpr uintptr_t page = 4096;
    const uintptr_t from = (reinterpret_cast<uintptr_t>(begin) + page - 1) & ~(page - 1);
    const uintptr_t to = reinterpret_cast<uintptr_t>(end) & ~(page - 1);
    if (to > from)
        madvise(reinterpret_cast<void *>(from), to - from, MADV_POPULATE_WRITE);
#else
    Q_UNUSED(begin);
    Q_UNUSED(end);
#endif
}

} // namespace

void Qen::resetState(float ambient)
{
    for (int i = 0; i < QenCompartments; ++i)
        state[i] = ambient;
    state[QenUptake] = 0.0f;
    state[QenDelivered] = 0.0f;
    std::copy(std::begin(state), std::end(state), std::begin(values));
}

void Qen::appendSample(const QenSample &sample, size_t expected)
{
    // Doubling would leave up to half of a long recording's memory unused and
    // copy it on every growth; the pages of the reservation that a short run
    // never reaches are never touched.
    if (samples.size() == samples.capacity())
        samples.reserve(std::max(expected, samples.size() + 1));
    if (samples.data() != m_mappedBase) {
        m_mappedBase = samples.data();
        m_mapped = 0;
    }
    if (samples.size() >= m_mapped) {
        constexpr size_t ahead = 4096; // 256 KB
        const size_t to = std::min(samples.capacity(), samples.size() + ahead);
        prefault(samples.data() + m_mapped, samples.data() + to);
        m_mapped = to;
    }
    samples.push_back(sample);
    current = int(samples.size()) - 1;
}

bool Qen::serialize(QDataStream &stream, bool writing, const QenCatalogue &catalogue,
                    QenSample *settings)
{
    if (writing) {
        stream << qint32(samples.size());
        for (QenSample &s : samples)
            s.serialize(stream, true);
        if (samples.empty()) {
            QenSample stand = settings ? *settings : QenSample();
            stand.serialize(stream, true);
        } else {
            for (float v : state)
                stream << v;
        }
        return stream.status() == QDataStream::Ok;
    }

    qint32 count = 0;
    stream >> count;
    if (stream.status() != QDataStream::Ok || count < 0 || count > QenMaxSteps)
        return false;
    // A flipped count must not reserve storage the stream cannot fill.
    const QIODevice *device = stream.device();
    if (!device || count * QenSample::StreamBytes > device->bytesAvailable())
        return false;
    auto agentOk = [&](const QenSample &s) {
        return catalogue.value(s.agent) != nullptr;
    };

    // The samples are one block of fixed-size records: read at once, decoded
    // from memory, they cost a fraction of a stream read a field at a time.
    std::vector<QenSample> read;
    if (count > 0) {
        const qint64 bytes = count * QenSample::StreamBytes;
        const std::unique_ptr<char[]> block(new char[size_t(bytes)]);
        if (stream.readRawData(block.get(), int(bytes)) != bytes)
            return false;
        read.resize(size_t(count));
        const auto *at = reinterpret_cast<const uchar *>(block.get());
        for (QenSample &s : read) {
            s = QenSample::fromStream(at);
            if (!agentOk(s))
                return false;
            at += QenSample::StreamBytes;
        }
    }
    QenSample first;
    float live[QenStateSize] = {};
    if (count == 0) {
        first.serialize(stream, false);
        if (stream.status() != QDataStream::Ok || !agentOk(first))
            return false;
    } else {
        first = read.front();
        for (float &v : live)
            stream >> v;
        if (stream.status() != QDataStream::Ok)
            return false;
    }

    const QenAnesthetic *a = catalogue.at(first.agent);
    agent = first.agent;
    displayName = a->displayName;
    del = first.del;
    unitDose = first.unitDose;
    pendingDoses = 0;
    invalidateTable();
    samples = std::move(read);
    if (samples.empty()) {
        resetState(a->ambient);
        current = -1;
    } else {
        std::copy(std::begin(live), std::end(live), std::begin(state));
        std::copy(std::begin(live), std::end(live), std::begin(values));
        current = int(samples.size()) - 1;
    }
    if (settings)
        *settings = first;
    return true;
}
