#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

class QenAnesthetic;
class QenEngine;

// The greenhouse footprint of the vapour a simulation delivers, in kg of
// CO2-equivalent over a hundred years. An agent whose warming potential or
// molar mass is unknown has no footprint: callers show a dash, never 0.
namespace QenFootprint {

// Litres of any gas in one mole at 20 °C and 1 atm: the conditions the
// delivered volumes are counted in.
constexpr double MolarVolumeL = 24.055;

// CO2e of `litres` of the agent's vapour; nothing when the agent is missing
// or either of its two constants is unknown.
std::optional<double> co2eKg(const QenAnesthetic *agent, double litres);

// CO2e of what the track had delivered by time `t` (ms), with the track's agent.
std::optional<double> co2eAt(QenEngine &engine, int track, quint32 t);

// Where the warming potentials of the built-in agent table come from, in the
// user's language: the one place that names the source, for the reports and
// anything else that cites it.
QString builtInSource();

// The warming potential the built-in agent table gives the agent of section
// `iniName`; nothing when that table has no such agent or no value for it.
std::optional<float> builtInGwp100(const QString &iniName);

// Where the agent's warming potential comes from: the built-in source when it
// is the built-in value for that agent, the user's settings when they changed
// it (or added the agent); empty when the agent has none.
QString sourceOf(const QenAnesthetic *agent);

} // namespace QenFootprint
