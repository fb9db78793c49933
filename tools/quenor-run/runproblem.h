#pragma once

#include "engine/qenprompt.h"

#include <QString>

#include <functional>

// How the runner reports what ends a run: one line on stderr and an exit status.
namespace QenRun {

constexpr int BadInput = 2;
constexpr int Failure = 1;

// A problem that ends the run; status 0 is none.
struct Problem
{
    int status = 0;
    QString text;
};

// Writes "quenor-run: `text`" as a line of its own on stderr.
void complain(const QString &text);

// Messages of the catalogue (an agent the INI describes badly) and of the
// document go to stderr.
class StderrPrompt : public QenPrompt
{
public:
    int ask(Icon, const QString &, const QString &text, int buttons, int defaultButton) override;

    // Runs `operation` with the messages held back, so that a failure is one
    // line: the document's own message, or `fallback` when it gave none.
    Problem attempt(const std::function<bool()> &operation, const QString &fallback);

private:
    bool m_holding = false;
    QString m_held;
};

} // namespace QenRun
