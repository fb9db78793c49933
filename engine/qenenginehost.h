#pragma once

#include <QString>
#include <QtGlobal>

class QenPrompt;

// Who made a setting change: 0 the system (loading, replaying), -1 the user,
// or the identity of the view through which the user made it (that view is
// not told about its own change).
using QenOrigin = qintptr;
constexpr QenOrigin QenSystemOrigin = 0;
constexpr QenOrigin QenUserOrigin = -1;

// Update hint bits carried by a change notice.
namespace QenHint {
enum : int {
    All = 0,
    Agent = 1,
    Circuit = 2,
    Speed = 4,
    Del = 8,
    Fgf = 16,
    Va = 32,
    Co = 64,
    Values = 128,
    RunState = 256,
    Weight = 512,
    Reset = 2048,
};
}

// What the engine needs from the desktop around it. Every member has a quiet
// default, so a batch run or a test overrides only what it watches.
class QenEngineHost
{
public:
    virtual ~QenEngineHost() = default;

    // A setting or the displayed time changed: `agentNumber` is 0 for the
    // whole simulation, else track index + 1.
    virtual void notify(int agentNumber, int hints, QenOrigin origin)
    {
        Q_UNUSED(agentNumber);
        Q_UNUSED(hints);
        Q_UNUSED(origin);
    }
    // Where the replay question and the erase question are asked; none means
    // every question is answered OK.
    virtual QenPrompt *prompt() { return nullptr; }
    // Whether Ctrl is held as a run starts (the run then goes as fast as possible).
    virtual bool ctrlHeld() const { return false; }
    // Whether the active child window of the main window shows this simulation.
    virtual bool isActiveDocument() const { return false; }
    virtual void beep() {}
    virtual void playSound(const QString &path) { Q_UNUSED(path); }
    // The run state or the recording changed: the main window refreshes its actions.
    virtual void refreshActions() {}
    // A question is about to be asked while a control may hold the mouse.
    virtual void releaseMouseGrab() {}
};
