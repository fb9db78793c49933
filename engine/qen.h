#pragma once

#include "engine/qenanesthetic.h"
#include "engine/qensample.h"

#include <QString>

#include <array>
#include <vector>

class QDataStream;
class QenCatalogue;

// Entries of the step-to-sample table: one per step of the longest simulation,
// so also the most samples a track can hold.
constexpr int QenMaxSteps = 12000;
constexpr int QenStateSize = 8; // six partial pressures, uptake, delivered
constexpr int QenUptake = 6;
constexpr int QenDelivered = 7;
constexpr int QenLevels = 5; // subdivision levels: 1, 2, 4, 8, 16 substeps
// Index of the first sample of each step (-1 for none).
using QenStepIndex = std::array<qint16, QenMaxSteps>;

// One agent being simulated: its settings, live and displayed state, the
// exponent tables of the step and the samples it has recorded.
class Qen
{
public:
    int agent = -1; // index into the document's catalogue
    QString displayName;
    float del = 0.0f;
    float unitDose = 0.0f;
    int pendingDoses = 0; // unit doses injected since the last step

    float state[QenStateSize] = {};  // live state, at the engine's simTime
    float values[QenStateSize] = {}; // what the views show at the displayed time
    float query[QenStateSize] = {};  // state loaded for past-time queries

    float flows[QenCompartments] = {};
    float expTable[QenLevels][QenCompartments] = {};
    struct TableKey
    {
        int agent = -1; // -1: the tables have never been built
        float fgf = 0.0f;
        float va = 0.0f;
        float co = 0.0f;
        float weight = 0.0f;
    } tableKey;

    std::vector<QenSample> samples;
    int current = -1; // index of the current sample, -1 for none

private:
    // How far the sample storage has been mapped in ahead of use.
    const QenSample *m_mappedBase = nullptr;
    size_t m_mapped = 0;

public:
    // Live and displayed state at the agent's ambient values, nothing taken up
    // or delivered.
    void resetState(float ambient);
    // `expected` is the most samples the run can hold: the storage for all of
    // them is taken at once, so a long run never copies its recording.
    void appendSample(const QenSample &sample, size_t expected);
    void invalidateTable() { tableKey.agent = -1; }

    // The stream form of a saved track. Writing a track without samples writes
    // `settings` in their place; reading one returns the sample read there in
    // `settings`. Reading bounds the count by the bytes left in the stream,
    // checks agent indices against `catalogue` and returns false on a corrupt
    // or truncated stream, leaving the track as it was.
    bool serialize(QDataStream &stream, bool writing, const QenCatalogue &catalogue,
                   QenSample *settings);
};
