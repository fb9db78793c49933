#pragma once

#include <QByteArray>
#include <QSize>

class QenDoc;
class QenGraphView;

// The picture of the graphs a report shows: drawn by the document's first
// graph view as the user left it, or, for a simulation no window shows (a
// batch run), by a new graph view of the primary agent over the whole run.
class QenReportImage
{
public:
    // The graph view of the document's first graph window; without one, the
    // graph view of its first window of any kind; null when it has none.
    static QenGraphView *firstGraphView(QenDoc *doc);
    // The span of the graph list that shows a run of `endMs` whole.
    static int wholeRunSpan(quint32 endMs);
    // The graphs on a page of `pixels` as a PNG; empty when there is nothing
    // to draw them with.
    static QByteArray png(QenDoc *doc, const QSize &pixels);
};
