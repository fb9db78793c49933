#pragma once

#include "runproblem.h"

#include <QString>

#include <optional>
#include <vector>

class QenDoc;
class QenEngine;

// The simulation a run makes: started new or from a saved one, set up from
// the options as a user would, and played to its end with the changes due.
namespace QenRun {

struct RunOptions;

struct AgentRequest
{
    int catalogueIndex = -1;
    std::optional<float> del;
};

struct Operation
{
    quint32 atMs = 0;
    QString text; // as given, for messages
    QString name; // fgf, va, co, del, inject, flush, circuit, weight, uptake, return, vapor
    int track = 0;
    float value = 0.0f;
    QString circuit;
    bool on = false;
};

struct Scenario
{
    bool continued = false; // goes on from a saved simulation
    std::vector<AgentRequest> agents;
    std::optional<float> weight, fgf, va, co, wakeFgf;
    std::optional<QString> circuit;
    double minutes = 60.0;
    std::vector<Operation> operations; // in their order in time

    // Where the run ends, at most the longest time a recording counts.
    double endMs() const;
};

// A new simulation from the INI, or the one --open names.
Problem startSimulation(QenDoc &doc, const RunOptions &options, StderrPrompt &prompt);

// The options read against the simulation's catalogue and limits.
Problem buildScenario(QenDoc &doc, const RunOptions &options, Scenario *scenario);

// Sets the simulation up and runs it to the end as fast as it goes, making
// each change at its time; the display stands at the live end afterwards.
Problem play(QenDoc &doc, const Scenario &scenario);

// The program computes one step ahead of what it shows, so the state at the
// end of the run is a recorded sample when it exports; here too, for the
// CSV and the reports alike.
void recordEnd(QenEngine &engine);

} // namespace QenRun
