#pragma once

#include "engine/qen.h"
#include "engine/qenstep.h"

#include <vector>

class QenCatalogue;
class QenRecording;
struct QenClocks;
struct QenSimSettings;

// Computes the simulation one step at a time: records every track's sample
// of the settings and state at the computed time, runs the model over the
// step (at the first subdivision level it accepts) and moves the computed
// time on. A step whose values leave what the model can compute is undone.
// The tracks, clocks, settings, recording and catalogue belong to the engine;
// run control decides when a step is due.
class QenStepper
{
public:
    QenStepper(std::vector<Qen> &tracks, QenClocks &clocks, QenSimSettings &settings,
               QenRecording &recording, const QenCatalogue *const &catalogue);

    // What the step reads of the patient and the step length now.
    QenBody body() const;
    // The sample a step of `track` records now.
    QenSample makeSample(int track) const;

    // Computes the step that starts at the computed time; false when it is
    // beyond the step table, an agent is unknown, or the step was refused.
    bool step();
    // True when the last step was refused because its values were no longer
    // finite numbers, or beyond any real pressure.
    bool outOfRange() const { return m_outOfRange; }
    void clearOutOfRange() { m_outOfRange = false; }
    // Subdivision level (0-4) at which the last step was accepted.
    int lastLevel() const { return m_lastLevel; }

private:
    // Everything planLevel() reads, as stored bits: equal inputs give an
    // equal plan, so one worked out for an earlier step can serve again.
    struct PlanInputs
    {
        float stepMinutes = 0.0f;
        float fgf = 0.0f;
        float del = 0.0f;
        float va = 0.0f;
        float co = 0.0f;
        float unitDose = 0.0f;
        quint32 flags = 0;
        qint32 doses = 0;
        float rateCkt = 0.0f; // expTable[n][CKT]
        float rateAlv = 0.0f; // expTable[n][ALV]
        quint32 liquid = 0;
        quint32 volatility = 0;
        float partitionCkt = 0.0f;
        float partitionAlv = 0.0f;
        float lambdaBlood = 0.0f;
    };
    struct PlanMemo
    {
        bool valid = false;
        PlanInputs inputs;
        QenLevelPlan plan;
    };
    // The plan of track k at level n, from the memo when its inputs are unchanged.
    const QenLevelPlan &planFor(int k, int n);

    std::vector<Qen> &m_tracks;
    QenClocks &m_clocks;
    QenSimSettings &m_settings;
    QenRecording &m_recording;
    const QenCatalogue *const &m_catalogue;

    int m_lastLevel = 0;
    bool m_outOfRange = false;
    // Scratch of the step, kept to avoid allocating per step.
    std::vector<double> m_rates;
    // Track k's memo for level n is entry k * QenLevels + n.
    std::vector<PlanMemo> m_plans;
};
