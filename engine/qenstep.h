#pragma once

#include "engine/qen.h"

class QenAnesthetic;
struct QenSample;

// The uptake and distribution model: how one step moves an agent's partial
// pressures between circuit, lungs, tissues and blood. Plain functions over
// what the body and the step need, so that the arithmetic reads on its own;
// the engine decides when a step runs and keeps what it records.
//
// A step of one track is split into 2^n substeps (level n, 0 to 4). For each
// level the step plans the fresh gas and decay factors once (planLevel),
// refuses a level whose changes are too fast for it (tooFast), and then, for
// each substep, works out every track's uptake rate before advancing each
// track (substep): the agents meet through their total uptake.

// The patient and the step length, as the step reads them.
struct QenBody
{
    const float *volumes = nullptr;       // L at 70 kg, compartment order
    const float *flowFractions = nullptr; // shares of cardiac output (VRG, MUS, FAT used)
    float stepMinutes = 0.1f;
    quint16 stepMs = 6000;
};

// What a substep of level n needs that does not depend on the state: the
// fresh gas, the circuit flows and the decay factors of the circuit and the
// alveoli (99 when not computed). It is the same for every substep of the
// level.
struct QenLevelPlan
{
    double dt = 0.0;
    double v = 0.0;  // vapour delivered, L
    double fi = 0.0; // fresh-gas partial pressure
    double f0 = 0.0; // flows[CKT]
    double f1 = 0.0; // flows[ALV]
    double blood = 0.0;
    double aCkt = 99.0;
    double aAlv = 99.0;
};

namespace QenStep {

// Fills the track's tissue flows and exponent table for the settings in
// `key` (agent, FGF, VA, CO, weight) and records them as the table's key.
void buildTable(const QenBody &body, Qen &track, const QenAnesthetic &agent,
                const Qen::TableKey &key);

// L/min of vapour entering the body over the coming substep of level n, from
// the state at its start; `row` is the table row of the level.
double uptakeRate(const QenBody &body, const QenSample &sample, const float *state,
                  const float *row, int n, const QenAnesthetic &agent);

// The plan of level n for the step `sample` records with `doses` injected;
// also writes flows[CKT] and flows[ALV] of the track.
QenLevelPlan planLevel(const QenBody &body, const QenSample &sample, int doses, float *flows,
                       const float *row, int n, const QenAnesthetic &agent);

// True when level n changes too fast to be accurate, for a step computed at
// `now` (a step well in the past is accepted as it is).
bool tooFast(const QenBody &body, const QenSample &sample, const QenLevelPlan &plan, quint32 now,
             int n);

// Advances `state` by one substep of a level that passed tooFast(), given
// the uptake rate of every track together and of this one; false when a
// compartment went negative below level 4.
bool substep(const QenBody &body, const QenSample &sample, const QenLevelPlan &plan, bool flushNow,
             float *state, const float *row, double totalUptake, double ownUptake, int n,
             const QenAnesthetic &agent);

} // namespace QenStep
