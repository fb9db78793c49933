#pragma once

#include "engine/qenenginehost.h"

#include <QEvent>

class QenDoc;

// The notice a document sends synchronously to the views of its windows after
// a change: which agent it concerns (0 the whole simulation, otherwise agent
// index + 1) and what changed (the hint bits of QenHint).
class QenUpdateEvent : public QEvent
{
public:
    static constexpr QEvent::Type eventType = QEvent::Type(1001);

    QenUpdateEvent(QenDoc *document, int agent, int hints)
        : QEvent(eventType), m_document(document), m_agent(agent), m_hints(hints)
    {}

    QenDoc *document() const { return m_document; }
    int agent() const { return m_agent; }
    int hints() const { return m_hints; }

private:
    QenDoc *m_document;
    int m_agent;
    int m_hints;
};
