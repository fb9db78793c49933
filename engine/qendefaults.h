#pragma once

#include "engine/qenanesthetic.h"

#include <QList>
#include <QString>

#include <array>

class QenIni;

// Textbook compartment volumes of a 70 kg patient, L, in compartment order:
// what a new simulation and a file without volumes start from, and what an
// impossible [Volumes] value falls back to.
inline constexpr std::array<float, QenCompartments> QenTextbookVolumesL = {8.0f,  2.5f,  6.0f,
                                                                           33.0f, 14.5f, 1.0f};

// The defaults every new simulation starts from, read once at start-up (and
// again after the options are changed). Out-of-range values get fallbacks.
struct QenDefaults
{
    QString agent;        // INI name of a new simulation's agent; empty for the first
    int click = 0;        // minute signal: 0 off, 1 beep, n >= 2 sound System_(n - 1)
    int speed = 20;       // 1, 2, 5, 10, 20, 60, 120, or 1000 for as fast as possible
    QString circuit;      // translated circuit name
    float fgf = 8.0f;     // L/min
    float va = 4.0f;      // L/min at 70 kg
    float co = 5.0f;      // L/min at 70 kg
    float weight = 70.0f; // kg
    std::array<float, QenCompartments> volumes = QenTextbookVolumesL;       // L at 70 kg
    float flows[QenCompartments] = {1.0f, 1.0f, 0.76f, 0.18f, 0.06f, 1.0f}; // shares of CO

    // A value the file holds that was not used: not a number, not finite, or
    // out of range. `used` is what was taken in its place.
    struct Refusal
    {
        QString group;
        QString key;
        QString text;
        float used = 0.0f;
    };
    QList<Refusal> refused;

    static QenDefaults load(const QenIni &ini);
    // The message that names each refused value, the file and what was used;
    // empty when nothing was refused.
    QString refusalMessage(const QString &iniPath) const;
};
