#include "runproblem.h"

#include <cstdio>

namespace QenRun {

void complain(const QString &text)
{
    std::fprintf(stderr, "quenor-run: %s\n", qPrintable(text));
}

int StderrPrompt::ask(Icon, const QString &, const QString &text, int buttons, int defaultButton)
{
    QString plain = text;
    plain.remove(QStringLiteral("<p>"));
    plain = plain.simplified();
    if (m_holding)
        m_held = plain;
    else
        complain(plain);
    if (defaultButton != NoButton)
        return defaultButton;
    return (buttons & Ok) ? int(Ok) : buttons & -buttons;
}

Problem StderrPrompt::attempt(const std::function<bool()> &operation, const QString &fallback)
{
    m_holding = true;
    m_held.clear();
    const bool done = operation();
    m_holding = false;
    if (!done)
        return {Failure, m_held.isEmpty() ? fallback : m_held};
    if (!m_held.isEmpty())
        complain(m_held);
    return {};
}

} // namespace QenRun
