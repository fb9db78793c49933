#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// Checks a breakpoint condition such as "ALV-CKT = 0.5" and splits it into
// operands, operators and the target value on the right of "=".
class QenParser : public QObject
{
    Q_OBJECT

public:
    explicit QenParser(QObject *parent = nullptr);

    // True when `text` is a legal condition; its parts are then available below.
    bool parse(const QString &text);

    const QStringList &operands() const { return m_operands; }
    const QString &operators() const { return m_operators; } // one character each
    float target() const { return m_target; }

    static const QStringList &operandNames();
    static bool isOperator(QChar c);

private:
    QStringList m_operands;
    QString m_operators;
    float m_target = 0.0f;
    bool m_expectOperator = false;
};
