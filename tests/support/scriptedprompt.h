#pragma once

#include "engine/qenprompt.h"

#include <QList>
#include <QString>

// A prompt for tests: records every message and answers from a queue. A message
// that finds the queue empty is unexpected and fails the running test.
class ScriptedPrompt : public QenPrompt
{
public:
    struct Record
    {
        Icon icon;
        QString title;
        QString text;
        int buttons;
        int defaultButton;
    };

    // Queues the answer to the next message.
    void expect(int answer) { m_answers.append(answer); }
    // Lets every message through, answered with its default button (or Ok).
    void setPermissive(bool permissive) { m_permissive = permissive; }

    int ask(Icon icon, const QString &title, const QString &text, int buttons,
            int defaultButton) override;

    const QList<Record> &records() const { return m_records; }
    int pending() const { return int(m_answers.size()); }
    void clear()
    {
        m_records.clear();
        m_answers.clear();
    }

private:
    QList<Record> m_records;
    QList<int> m_answers;
    bool m_permissive = false;
};
