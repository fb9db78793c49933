#include "engine/qendecrement.h"

#include "engine/qendefaults.h"
#include "engine/qenengine.h"
#include "engine/qenvocabulary.h"

#include <QBuffer>
#include <QDataStream>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr double MinuteMs = 60000.0;
// Version flags under which an agent's stream form carries its display name.
constexpr quint32 WithDisplayName = 4;

} // namespace

QenDecrement::QenDecrement(const QenCatalogue &catalogue)
{
    // The agent's own stream form carries every constant the model uses, so
    // a copy made through it cannot miss one.
    for (int i = 0; i < catalogue.size(); ++i) {
        QByteArray bytes;
        {
            QDataStream out(&bytes, QIODevice::WriteOnly);
            out.setFloatingPointPrecision(QDataStream::SinglePrecision);
            catalogue.at(i)->serialize(out, true, WithDisplayName);
        }
        QDataStream in(bytes);
        in.setFloatingPointPrecision(QDataStream::SinglePrecision);
        auto agent = std::make_unique<QenAnesthetic>();
        agent->serialize(in, false, WithDisplayName);
        m_catalogue.append(std::move(agent));
    }
}

QenDecrement::Start QenDecrement::startAt(QenEngine &engine, quint32 fromMs)
{
    Start s;
    fromMs = std::min(fromMs, std::max(engine.endTime(), engine.displayTime()));
    s.fromMs = fromMs;
    s.stepMs = engine.stepMs();
    s.limitMs = engine.limitMs();
    std::copy(engine.volumes(), engine.volumes() + QenCompartments, s.volumes);
    std::copy(engine.flowFractions(), engine.flowFractions() + QenCompartments, s.flowFractions);

    // At the live end the settings in effect are the current ones, exactly as
    // the next step would record them; in the past they are the recorded ones.
    const bool live = fromMs >= engine.simTime();
    auto settingsOf = [&](int k) -> std::optional<QenSample> {
        if (live)
            return engine.makeSample(k);
        if (const QenSample *sample = engine.sampleOf(k, fromMs))
            return *sample;
        return std::nullopt;
    };

    const std::optional<QenSample> first = settingsOf(0);
    s.stepStartMs = first ? first->time : fromMs;
    const QenSample base = first.value_or(engine.makeSample(0));
    s.weight = base.weight;
    s.fgf = base.fgf;
    s.va = base.va;
    s.co = base.co;
    s.circuit = base.circuit();
    s.uptakeEffect = base.hasUptake();
    s.venousReturn = base.hasReturn();
    s.vaporEffect = base.hasVapor();

    const QenCatalogue *catalogue = engine.catalogue();
    for (int k = 0; k < engine.trackCount(); ++k) {
        Start::Track t;
        if (const std::optional<QenSample> own = settingsOf(k)) {
            t.agent = own->agent;
            t.unitDose = own->unitDose;
            std::copy(std::begin(own->state), std::end(own->state), std::begin(t.state));
        } else {
            // A track added after D had not started yet: it is still at room air.
            const Qen &track = engine.track(k);
            t.agent = track.agent;
            t.unitDose = track.unitDose;
            const QenAnesthetic *a = catalogue ? catalogue->value(track.agent) : nullptr;
            std::fill(t.state, t.state + QenCompartments, a ? a->ambient : 0.0f);
        }
        const QenAnesthetic *a = catalogue ? catalogue->value(t.agent) : nullptr;
        t.displayName = a ? a->displayName : engine.track(k).displayName;
        s.tracks.push_back(t);
    }
    return s;
}

std::optional<std::vector<QenDecrement::Times>>
QenDecrement::run(const Start &start, int levels, const std::atomic<bool> *cancel) const
{
    levels = std::clamp(levels, 1, Levels);
    for (const Start::Track &t : start.tracks)
        if (!m_catalogue.value(t.agent))
            return std::nullopt;

    // The copy: no host, so it asks nothing and tells nobody.
    QenEngine copy(&m_catalogue);
    copy.reset(QenDefaults());
    copy.setStepMs(start.stepMs);
    copy.setWeight(QenSystemOrigin, start.weight);
    for (int c = 0; c < QenCompartments; ++c) {
        copy.setVolume(c, start.volumes[c]);
        copy.setFlowFraction(c, start.flowFractions[c]);
    }
    const QStringList &circuits = QenVocabulary::circuits();
    copy.setCircuit(QenSystemOrigin, circuits.value(start.circuit, circuits.value(1)));
    copy.setFGF(QenSystemOrigin, flowFromD(start));
    copy.setVA(QenSystemOrigin, start.va);
    copy.setCO(QenSystemOrigin, start.co);
    copy.disableUptake(!start.uptakeEffect);
    copy.disableReturn(!start.venousReturn);
    copy.enableVapor(start.vaporEffect);
    copy.setFlush(false);

    std::vector<Qen> &tracks = copy.tracks();
    tracks.assign(start.tracks.size(), Qen());
    std::vector<Times> result(start.tracks.size());
    const double remaining =
        start.limitMs > start.fromMs ? (start.limitMs - start.fromMs) / MinuteMs : 0.0;
    for (size_t k = 0; k < tracks.size(); ++k) {
        const Start::Track &from = start.tracks[k];
        Qen &t = tracks[k];
        t.agent = from.agent;
        t.displayName = from.displayName;
        t.del = 0.0f;
        t.unitDose = from.unitDose;
        t.pendingDoses = 0;
        std::copy(std::begin(from.state), std::end(from.state), std::begin(t.state));
        std::copy(std::begin(from.state), std::end(from.state), std::begin(t.values));
        result[k].agent = from.displayName;
        result[k].vrgAtStart = from.state[VRG];
        result[k].remainingMin = remaining;
        // Nothing in the brain: nothing to wait for.
        if (!(from.state[VRG] > 0.0f))
            result[k].minutes.fill(0.0);
    }
    copy.restoreClocks(start.stepStartMs, 0, start.stepStartMs);
    copy.setSpeed(QenSystemOrigin, 1000);

    auto pending = [&] {
        for (const Times &times : result)
            for (int level = 0; level < levels; ++level)
                if (!times.minutes[size_t(level)])
                    return true;
        return false;
    };
    while (pending() && copy.simTime() < start.limitMs) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return std::nullopt;
        if (!copy.advanceOneStep())
            break;
        const double minutes = (double(copy.simTime()) - double(start.fromMs)) / MinuteMs;
        for (size_t k = 0; k < result.size(); ++k) {
            const double vrg = copy.track(int(k)).state[VRG];
            for (int level = 0; level < Levels; ++level) {
                std::optional<double> &slot = result[k].minutes[size_t(level)];
                const double left = 1.0 - Percents[size_t(level)] / 100.0;
                if (!slot && vrg <= left * double(result[k].vrgAtStart))
                    slot = minutes;
            }
        }
    }
    return result;
}

float QenDecrement::flowFromD(const Start &start)
{
    if (!start.wakeFgf || !std::isfinite(*start.wakeFgf))
        return start.fgf;
    const float flow = std::clamp(*start.wakeFgf, 0.0f, QenEngine::MaxFlow);
    // An open circuit never breathes back: its flow stays at least the
    // ventilation, which a lower flow would otherwise drag down with it.
    return start.circuit == 0 ? std::max(flow, start.va) : flow;
}

QByteArray QenDecrement::csv(QenEngine &engine, quint32 everyMs, std::optional<float> wakeFgf)
{
    QByteArray out = "agent,d_min,t50_min,t80_min,t90_min\n";
    if (!engine.catalogue() || everyMs == 0)
        return out;
    const QenDecrement forecast(*engine.catalogue());
    const quint32 end = std::max(engine.endTime(), engine.displayTime());
    for (quint32 d = everyMs; d <= end && d >= everyMs; d += everyMs) {
        Start start = startAt(engine, d);
        start.wakeFgf = wakeFgf;
        const std::optional<std::vector<Times>> times = forecast.run(start);
        if (!times)
            continue;
        for (size_t k = 0; k < times->size(); ++k) {
            const QenAnesthetic *a = engine.catalogue()->value(start.tracks[k].agent);
            QString name = a ? a->name : (*times)[k].agent;
            if (name.contains(QLatin1Char(',')) || name.contains(QLatin1Char('"')))
                name = QLatin1Char('"') + name.replace(QLatin1String("\""), QLatin1String("\"\"")) +
                       QLatin1Char('"');
            out += name.toUtf8() + ',' + QByteArray::number(double(d) / MinuteMs, 'g', 9);
            for (const std::optional<double> &m : (*times)[k].minutes)
                out += ',' + (m ? QByteArray::number(*m, 'g', 9) : QByteArray());
            out += '\n';
        }
    }
    return out;
}
