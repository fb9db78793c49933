#include "engine/qenmarks.h"

#include "engine/qenanesthetic.h"
#include "engine/qenparser.h"

#include <algorithm>
#include <cmath>

void QenMarks::addWakeUp(quint32 t)
{
    if (int(m_wakeUps.size()) < MaxWakeUps)
        m_wakeUps.push_back(t);
}

void QenMarks::removeWakeUp(quint32 t)
{
    auto it = std::find(m_wakeUps.begin(), m_wakeUps.end(), t);
    if (it != m_wakeUps.end())
        m_wakeUps.erase(it);
}

void QenMarks::setBookmarks(const QList<quint32> &bookmarks)
{
    m_bookmarks = bookmarks.mid(0, MaxBookmarks);
}

bool QenMarks::setBreakpoint(const QString &text)
{
    const QString simplified = text.simplified();
    if (simplified.isEmpty()) {
        m_breakpointText.clear();
        m_operands.clear();
        m_operators.clear();
        m_target = 0.0f;
        m_lastValue = 0.0f;
        return true;
    }
    QenParser parser;
    if (!parser.parse(simplified))
        return false;
    m_breakpointText = simplified;
    m_operands = parser.operands();
    m_operators = parser.operators();
    m_target = parser.target();
    m_lastValue = m_target;
    return true;
}

float QenMarks::operandValue(const QString &name, const Operands &now)
{
    if (name == QLatin1String("FGF"))
        return now.fgf;
    if (name == QLatin1String("DEL"))
        return now.del;
    static const char *const codes[] = {"CKT", "ALV", "VRG", "MUS", "FAT"};
    for (int c = CKT; c <= FAT; ++c)
        if (name == QLatin1String(codes[c]))
            return now.values ? now.values[c] : 0.0f;
    return 0.0f;
}

bool QenMarks::breakpointHit(const Operands &now)
{
    if (m_operands.isEmpty())
        return false;
    double value = operandValue(m_operands.front(), now);
    for (int i = 1; i < m_operands.size(); ++i) {
        const double v = operandValue(m_operands[i], now);
        const QChar op = i - 1 < m_operators.size() ? m_operators[i - 1] : QLatin1Char('+');
        if (op == QLatin1Char('+')) {
            value = v + value;
        } else if (op == QLatin1Char('-')) {
            value = value - v;
        } else if (op == QLatin1Char('*')) {
            value = v * value;
        } else {
            if (v == 0.0)
                return false;
            value = value / v;
        }
    }
    const double target = m_target;
    const double last = m_lastValue;
    const bool hit = value == target || (last < target && target < value) ||
                     (value < target && target < last) || std::fabs(value - target) < 0.0001;
    m_lastValue = float(value);
    return hit;
}
