#pragma once

#include "views/qenevents.h"

#include <QEvent>

class QenGraph;

// One value a graph asks its data source for while it paints.
// On the way in: time = sample time in minutes, value = line index,
// extra = time of the line's previous point (the sample time itself after a gap).
// On the way back: value = the Y value in axis units; time = -1 when there is no
// data at this time (the pen is lifted), -2 for an event marker at this time.
struct GraphSample
{
    float time = 0;
    float value = 0;
    float extra = 0;
};

// Sent synchronously (QCoreApplication::sendEvent) to the graph's data source.
// A receiver that does not know the graph sets sample()->time to -1.
class QenGraphEvent : public QEvent
{
public:
    QenGraphEvent(GraphSample *sample, QenGraph *graph)
        : QEvent(QenGraphEventType), m_sample(sample), m_graph(graph)
    {}

    GraphSample *sample() const { return m_sample; }
    QenGraph *graph() const { return m_graph; }

private:
    GraphSample *m_sample;
    QenGraph *m_graph;
};
