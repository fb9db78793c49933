#pragma once

#include <QtGlobal>

class QDataStream;

// The record of one step of one track: the settings the step ran with and the
// track's state at its start. Plain data held by value, thousands at a time.
struct QenSample
{
    // Bits of the flags word.
    enum Flag : quint16 {
        VenousReturn = 0x0001,
        UptakeEffect = 0x0002,
        CircuitMask = 0x000C,
        DosesMask = 0x00F0,
        Flush = 0x0100,
        VaporEffect = 0x0200,
        StoredMask = 0x03FF, // every bit a stream carries
        EventMask = DosesMask | Flush | VaporEffect,
    };
    static constexpr int CircuitShift = 2;
    static constexpr int DosesShift = 4;
    static constexpr qint64 StreamBytes = 64; // size of the stream form

    quint32 time = 0; // ms, the start of the step
    float del = 0.0f;
    float fgf = 0.0f;
    float va = 0.0f;
    float co = 0.0f;
    float weight = 0.0f;
    float unitDose = 0.0f;
    quint16 agent = 0;
    quint16 flags = 0;
    float state[8] = {};

    int circuit() const { return (flags & CircuitMask) >> CircuitShift; }
    int doses() const { return (flags & DosesMask) >> DosesShift; }
    bool hasFlush() const { return flags & Flush; }
    bool hasVapor() const { return flags & VaporEffect; }
    bool hasReturn() const { return flags & VenousReturn; }
    bool hasUptake() const { return flags & UptakeEffect; }

    // The stream form of a saved simulation. The caller sets the stream to
    // single-precision floats.
    void serialize(QDataStream &stream, bool writing);
    // The same form decoded from `StreamBytes` bytes at `bytes`, for readers
    // that take a whole track's samples from the stream in one block.
    static QenSample fromStream(const uchar *bytes);

    // What differs between two samples, as update-hint bits: 1 agent, 2 circuit
    // or switches, 8 DEL, 16 FGF, 32 VA, 64 CO, 512 weight, 1024 when `b`
    // carries doses or a flush.
    static int changesBetween(const QenSample &a, const QenSample &b);
};
