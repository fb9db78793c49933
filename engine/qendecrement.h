#pragma once

#include "engine/qen.h"
#include "engine/qencatalogue.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <atomic>
#include <optional>
#include <vector>

class QenEngine;

// Wake-up forecast: how long after the vaporizers are turned off the
// vessel-rich group (the brain) of each agent falls by 50, 80 and 90 %.
//
// From a time D of a recorded simulation, a copy of it goes on with every DEL
// at 0, every other setting as it was in effect at D, no injection and no
// flush. At wake-up the fresh gas flow may be raised, as clinicians do to
// wash the circuit out; else it stays as it was. The time for p % is the
// minutes from D to the first step end at
// which the agent's VRG is at most (1 - p/100) of its VRG at D. The copy is a
// throw-away engine of its own, so the simulation itself is never touched,
// and runs on a catalogue of its own, so that it may run on any thread.
class QenDecrement
{
public:
    static constexpr int Levels = 3;
    static constexpr std::array<int, Levels> Percents = {50, 80, 90};

    // Everything the copy needs, taken from the simulation at one time.
    struct Start
    {
        quint32 fromMs = 0;      // D
        quint32 stepStartMs = 0; // start of the step that holds D
        quint32 limitMs = 0;
        quint16 stepMs = 6000;
        float weight = 70.0f;
        float fgf = 0.0f;
        // The flow from D on; none: the flow in effect at D. An open circuit
        // keeps at least the ventilation, as its flow always does.
        std::optional<float> wakeFgf;
        float va = 0.0f;
        float co = 0.0f;
        int circuit = 1; // 0 Open .. 3 Ideal
        bool uptakeEffect = true;
        bool venousReturn = true;
        bool vaporEffect = false;
        float volumes[QenCompartments] = {};
        float flowFractions[QenCompartments] = {};
        struct Track
        {
            int agent = -1;
            QString displayName;
            float unitDose = 0.0f;
            float state[QenStateSize] = {};
        };
        std::vector<Track> tracks;
    };

    // The times of one agent. A level without minutes was not reached before
    // the simulation's limit: "more than remainingMin".
    struct Times
    {
        QString agent; // display name
        float vrgAtStart = 0.0f;
        std::array<std::optional<double>, Levels> minutes;
        double remainingMin = 0.0;
    };

    // Copies the agents of `catalogue` (their model constants).
    explicit QenDecrement(const QenCatalogue &catalogue);

    // The state of `engine` at `fromMs` (limited to what is recorded) and the
    // settings in effect then. Reads the recording only.
    static Start startAt(QenEngine &engine, quint32 fromMs);

    // Runs the copy until every agent has reached the deepest level asked
    // for (`levels` of 50, 80, 90 %), or until the simulation's limit. Returns
    // one entry per track, or nothing when `cancel` was raised or the start
    // names an agent this forecast does not know.
    std::optional<std::vector<Times>> run(const Start &start, int levels = Levels,
                                          const std::atomic<bool> *cancel = nullptr) const;

    // The forecast from D = every `everyMs` up to the end of the recording,
    // as CSV: agent,d_min,t50_min,t80_min,t90_min, one row per agent and D;
    // a level not reached before the limit is an empty field. `wakeFgf`: the
    // flow from D on (none: the flow in effect at D).
    static QByteArray csv(QenEngine &engine, quint32 everyMs = 600000,
                          std::optional<float> wakeFgf = std::nullopt);

    // The flow the copy runs at from D: `start.wakeFgf` within the engine's
    // range, at least the ventilation in an open circuit; else the flow at D.
    static float flowFromD(const Start &start);

private:
    QenCatalogue m_catalogue;
};
