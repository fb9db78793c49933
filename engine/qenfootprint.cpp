#include "engine/qenfootprint.h"

#include "engine/qen.h"
#include "engine/qenanesthetic.h"
#include "engine/qenengine.h"
#include "engine/qenfiles.h"
#include "engine/qenini.h"

#include <QCoreApplication>

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

QString QenFootprint::builtInSource()
{
    return QCoreApplication::translate("QenFootprint",
                                       "IPCC Sixth Assessment Report (2021), Working Group I, "
                                       "Table 7.SM.7, 100-year");
}

std::optional<float> QenFootprint::builtInGwp100(const QString &iniName)
{
    // Every language's built-in table carries the same constants.
    const QenIni builtIn(
        QenFiles::builtInCopy(QStringLiteral("quenor.ini"), QStringLiteral("en_US")));
    QenAnesthetic agent;
    agent.name = iniName;
    agent.readFootprint(builtIn);
    return agent.gwp100;
}

QString QenFootprint::sourceOf(const QenAnesthetic *agent)
{
    if (!agent || !agent->gwp100)
        return QString();
    if (builtInGwp100(agent->name) == agent->gwp100)
        return builtInSource();
    return QCoreApplication::translate("QenFootprint", "the agent table in the settings");
}
