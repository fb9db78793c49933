#include "runcsv.h"

#include "engine/qencatalogue.h"
#include "engine/qenengine.h"
#include "engine/qenfootprint.h"
#include "runsimulation.h"

#include <QString>

#include <algorithm>
#include <optional>

namespace QenRun {

namespace {

QString csvText(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray csv(const QenEngine &engine)
{
    QByteArray out =
        "time_ms,agent,del,fgf,va,co,flags,ckt,alv,vrg,mus,fat,ven,uptake,delivered,co2e_kg\n";
    auto number = [](float v) {
        return QByteArray::number(double(v), 'g', 9);
    };
    // An agent added during the run (in a saved simulation) has samples for
    // the last steps only: rows follow the longest recording, and each agent
    // appears from the step it was added in.
    size_t count = 0;
    for (int k = 0; k < engine.trackCount(); ++k)
        count = std::max(count, engine.track(k).samples.size());
    for (size_t i = 0; i < count; ++i) {
        for (int k = 0; k < engine.trackCount(); ++k) {
            const Qen &t = engine.track(k);
            const size_t offset = count - t.samples.size();
            if (i < offset)
                continue;
            const QenSample &s = t.samples[i - offset];
            const QenAnesthetic *a = engine.catalogue()->value(s.agent);
            out += QByteArray::number(s.time) + ',' + csvText(a ? a->name : QString()).toUtf8() +
                   ',' + number(s.del) + ',' + number(s.fgf) + ',' + number(s.va) + ',' +
                   number(s.co) + ',' + QByteArray::number(s.flags);
            for (float v : s.state)
                out += ',' + number(v);
            // Unknown for an agent without its footprint constants: left empty.
            const std::optional<double> co2e =
                QenFootprint::co2eKg(a, double(s.state[QenDelivered]));
            out += ',' + (co2e ? QByteArray::number(*co2e, 'g', 9) : QByteArray()) + '\n';
        }
    }
    return out;
}

} // namespace

QByteArray csvTable(QenEngine &engine)
{
    recordEnd(engine);
    return csv(engine);
}

} // namespace QenRun
