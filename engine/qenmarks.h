#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// The marks a user sets on a simulation's time line: bookmarks (where a replay
// pauses), wake-ups (where a paused graph asks to be woken) and the breakpoint
// (a condition on the displayed values that stops a run). Each rule of a mark
// lives here; the engine asks, and decides what a stop means for the run.
class QenMarks
{
public:
    // A simulation keeps at most this many bookmarks, and as many wake-ups.
    static constexpr int MaxBookmarks = 20;
    static constexpr int MaxWakeUps = MaxBookmarks;

    // Beyond the limit a wake-up is not kept.
    void addWakeUp(quint32 t);
    // Removes one wake-up at `t`, if there is one.
    void removeWakeUp(quint32 t);
    const std::vector<quint32> &wakeUps() const { return m_wakeUps; }

    // Keeps the first MaxBookmarks, in the order given.
    void setBookmarks(const QList<quint32> &bookmarks);
    const QList<quint32> &bookmarks() const { return m_bookmarks; }
    void clearBookmarks() { m_bookmarks.clear(); }

    // An empty text clears the breakpoint, a legal one replaces it (its last
    // value starts at its target); an illegal one is refused and changes nothing.
    bool setBreakpoint(const QString &text);
    const QString &breakpointText() const { return m_breakpointText; }
    const QStringList &breakpointOperands() const { return m_operands; }
    const QString &breakpointOperators() const { return m_operators; }
    float breakpointTarget() const { return m_target; }
    float breakpointLastValue() const { return m_lastValue; }

    // What the breakpoint's operands read: the fresh gas flow, and the first
    // agent's DEL and displayed compartment values (indexed CKT .. FAT).
    struct Operands
    {
        float fgf = 0.0f;
        float del = 0.0f;
        const float *values = nullptr;
    };
    // Evaluates the condition on `now`: a hit when the value equals the target
    // (to 0.0001) or has crossed it since the last evaluation. Remembers the
    // value for the next one; a division by zero is no hit and remembers nothing.
    bool breakpointHit(const Operands &now);
    // The next evaluation starts afresh, as right after the breakpoint was set.
    void resetBreakpoint() { m_lastValue = m_target; }

private:
    static float operandValue(const QString &name, const Operands &now);

    std::vector<quint32> m_wakeUps;
    QList<quint32> m_bookmarks;

    QString m_breakpointText;
    QStringList m_operands;
    QString m_operators;
    float m_target = 0.0f;
    float m_lastValue = 0.0f;
};
