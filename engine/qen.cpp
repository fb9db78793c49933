#include "engine/qen.h"

#include "engine/qencatalogue.h"

#include <QDataStream>

void Qen::resetState(float ambient)
{
    for (int i = 0; i < QenCompartments; ++i)
        state[i] = ambient;
    state[QenUptake] = 0.0f;
    state[QenDelivered] = 0.0f;
    std::copy(std::begin(state), std::end(state), std::begin(values));
}

void Qen::appendSample(const QenSample &sample)
{
    // Grow in fixed chunks: doubling would leave up to half of a long
    // recording's memory unused.
    constexpr size_t chunk = 1024;
    if (samples.size() == samples.capacity())
        samples.reserve(samples.size() + chunk);
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
    auto agentOk = [&](const QenSample &s) {
        return catalogue.value(s.agent) != nullptr;
    };

    std::vector<QenSample> read;
    read.reserve(size_t(count));
    for (qint32 i = 0; i < count; ++i) {
        QenSample s;
        s.serialize(stream, false);
        if (stream.status() != QDataStream::Ok || !agentOk(s))
            return false;
        read.push_back(s);
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
