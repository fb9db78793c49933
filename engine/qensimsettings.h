#pragma once

#include "engine/qendefaults.h"

#include <QString>

#include <array>
#include <cmath>

// The settings of the whole simulation: patient, circuit, flows and switches.
// Plain values; the engine's setters hold them to their ranges and report
// each change.
struct QenSimSettings
{
    float weight = 70.0f;
    std::array<float, QenCompartments> volumes = QenTextbookVolumesL;
    float flowFractions[QenCompartments] = {1.0f, 1.0f, 0.76f, 0.18f, 0.06f, 1.0f};
    QString circuit;
    int circuitIndex = 0; // 0 Open .. 3 Ideal
    float fgf = 8.0f;
    float va = 4.0f;
    float co = 5.0f;
    bool uptakeEffect = true;
    bool venousReturn = true;
    bool vaporEffect = false;
    bool flush = false;
    int speed = 60;

    // (x)^0.75 as the model has always computed it.
    static double power075(double x) { return std::sqrt(std::sqrt(x * x * x)); }
    // (weight / 70)^0.75
    double bodyScale() const { return power075(double(weight) / 70.0); }
};
