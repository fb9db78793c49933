#include "views/qenreportimage.h"

#include "document/qendoc.h"
#include "document/qenchildwindowinterface.h"
#include "engine/qenvocabulary.h"
#include "views/qengraphview.h"

#include <QBuffer>
#include <QImage>

QenGraphView *QenReportImage::firstGraphView(QenDoc *doc)
{
    if (!doc)
        return nullptr;
    QenGraphView *fallback = nullptr;
    for (QenChildWindowInterface *view : doc->views()) {
        auto *graph = qobject_cast<QenGraphView *>(view->graphView());
        if (!graph || graph->agentIndex() < 0)
            continue;
        if (view->viewType() == QenChildWindowInterface::Graph)
            return graph;
        if (!fallback)
            fallback = graph;
    }
    return fallback;
}

int QenReportImage::wholeRunSpan(quint32 endMs)
{
    const QList<int> spans = QenVocabulary::graphSpanMinutes();
    for (int span : spans) {
        if (quint64(span) * 60000 >= endMs)
            return span;
    }
    return spans.isEmpty() ? 15 : spans.last();
}

QByteArray QenReportImage::png(QenDoc *doc, const QSize &pixels)
{
    if (!doc || pixels.isEmpty())
        return QByteArray();
    QImage image;
    if (QenGraphView *graph = firstGraphView(doc)) {
        image = graph->reportImage(pixels);
    } else {
        // A new view takes its span from the document: for this picture, the
        // one that holds the whole run. The document keeps its own.
        const int kept = doc->graphMinutes();
        doc->setGraphMinutes(wholeRunSpan(doc->engine()->endTime()));
        QenGraphView view(doc, nullptr);
        view.resize(view.sizeHint());
        view.selectAgent(0);
        doc->setGraphMinutes(kept);
        image = view.reportImage(pixels);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? bytes : QByteArray();
}
