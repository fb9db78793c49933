#include "engine/qenfootprint.h"

#include "engine/qen.h"
#include "engine/qenanesthetic.h"
#include "engine/qenengine.h"

std::optional<double> QenFootprint::co2eKg(const QenAnesthetic *agent, double litres)
{
    if (!agent || !agent->gwp100 || !agent->molarMass)
        return std::nullopt;
    const double moles = litres / MolarVolumeL;
    return moles * double(*agent->molarMass) / 1000.0 * double(*agent->gwp100);
}

std::optional<double> QenFootprint::co2eAt(QenEngine &engine, int track, quint32 t)
{
    if (track < 0 || track >= engine.trackCount())
        return std::nullopt;
    return co2eKg(engine.agentOf(track), double(engine.compartmentAt(track, QenDelivered, t)));
}
