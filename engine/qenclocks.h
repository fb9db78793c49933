#pragma once

#include <QtGlobal>

#include <algorithm>

// The clocks of one simulation and the step length they move by. Run control
// moves them, the step advances the computed time, the recording answers
// queries against them; all read the one copy the engine holds.
struct QenClocks
{
    static constexpr quint32 LongestRunMs = 72000000;
    static constexpr int MaxStepsPerRun = 11999;

    quint16 stepMs = 6000;
    float stepMinutes = 0.1f;
    quint32 limitMs = 6000u * MaxStepsPerRun; // the simulation ends here

    quint32 simTime = 0;     // computed up to here
    quint32 displayTime = 0; // shown
    quint32 targetTime = 0;  // where the display is heading, 0 for nowhere
    quint32 endTime = 0;     // the recording ends here
    quint32 liveTime = 0;    // the live state of every track is at this time

    // The step length derives the time limit: as many steps as the step index
    // holds, and never beyond the longest run.
    void setStepMs(quint16 ms)
    {
        stepMs = std::max<quint16>(ms, 1);
        stepMinutes = float(stepMs / 60000.0);
        const quint64 limit = quint64(stepMs) * MaxStepsPerRun;
        limitMs = quint32(std::min<quint64>(limit, LongestRunMs));
    }
};
