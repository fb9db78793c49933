#include "engine/qenparser.h"

#include <cmath>

QenParser::QenParser(QObject *parent) : QObject(parent) {}

const QStringList &QenParser::operandNames()
{
    static const QStringList names = {
        QStringLiteral("FGF"), QStringLiteral("DEL"), QStringLiteral("CKT"), QStringLiteral("ALV"),
        QStringLiteral("MUS"), QStringLiteral("FAT"), QStringLiteral("VRG")};
    return names;
}

bool QenParser::isOperator(QChar c)
{
    return c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('*') ||
           c == QLatin1Char('/');
}

bool QenParser::parse(const QString &text)
{
    m_operands.clear();
    m_operators.clear();
    m_target = 0.0f;
    m_expectOperator = false;

    const QString simplified = text.simplified();
    if (simplified.isEmpty() || isOperator(simplified.at(0)))
        return false;
    if (simplified.count(QLatin1Char('=')) != 1)
        return false;
    const int equals = simplified.indexOf(QLatin1Char('='));
    bool ok = false;
    const float target = simplified.mid(equals + 1).simplified().toFloat(&ok);
    // "nan" and "inf" read as numbers, but no value ever reaches them, so the
    // breakpoint would be accepted and never stop the run.
    if (!ok || !std::isfinite(target))
        return false;

    QString expression = simplified.left(equals);
    QStringList operands;
    QString operators;
    while (!expression.isEmpty()) {
        const QChar c = expression.at(0);
        if (c == QLatin1Char(' ')) {
            expression.remove(0, 1);
        } else if (!isOperator(c)) {
            if (m_expectOperator)
                return false;
            const QString name = expression.left(3);
            if (!operandNames().contains(name))
                return false;
            operands.append(name);
            expression.remove(0, 3);
            m_expectOperator = true;
        } else {
            if (!m_expectOperator)
                return false;
            operators.append(c);
            expression.remove(0, 1);
            m_expectOperator = false;
        }
    }
    if (operands.size() != operators.size() + 1)
        return false;
    m_operands = operands;
    m_operators = operators;
    m_target = target;
    return true;
}
