#include "app/qenpreviewview.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

QenPreviewView::QenPreviewView(QTextDocument *document, QWidget *parent)
    : QAbstractScrollArea(parent), m_doc(document)
{
    verticalScrollBar()->setSingleStep(20);
    horizontalScrollBar()->setSingleStep(20);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::OpenHandCursor);
}

QSize QenPreviewView::contentSize(const QSizeF &page, const QMarginsF &margins, int pageCount,
                                  double scale, int spacing)
{
    const double width = (margins.left() + page.width() + margins.right()) * scale + 2.0 * spacing;
    const double height = (margins.top() + page.height() + margins.bottom()) * pageCount * scale +
                          (pageCount + 1.0) * spacing;
    return QSize(int(std::lround(width)), int(std::lround(height)));
}

double QenPreviewView::zoomed(double scale, int steps)
{
    // Tenths, so that repeated steps land on the same scales both ways.
    const double next = std::round((scale + steps * ZoomStep) * 10.0) / 10.0;
    return std::clamp(next, MinScale, MaxScale);
}

double QenPreviewView::widthScale(const QSizeF &page, const QMarginsF &margins, int viewWidth,
                                  int spacing)
{
    const double sheet = margins.left() + page.width() + margins.right();
    if (sheet <= 0)
        return 1.0;
    return std::clamp((viewWidth - 2.0 * spacing) / sheet, MinScale, MaxScale);
}

void QenPreviewView::fitToWidth()
{
    m_fitWidth = true;
    relayout();
}

void QenPreviewView::zoomIn()
{
    m_fitWidth = false;
    m_scale = zoomed(m_scale, 1);
    relayout();
}

void QenPreviewView::zoomOut()
{
    m_fitWidth = false;
    m_scale = zoomed(m_scale, -1);
    relayout();
}

void QenPreviewView::relayout()
{
    // Until the user zooms, the sheets follow the window's width.
    if (m_fitWidth)
        m_scale = widthScale(m_doc->pageSize(), m_margins, viewport()->width());
    const QSize content = contentSize(m_doc->pageSize(), m_margins, m_doc->pageCount(), m_scale);
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - view.width()));
    verticalScrollBar()->setRange(0, std::max(0, content.height() - view.height()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setPageStep(view.height());
    viewport()->update();
}

void QenPreviewView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void QenPreviewView::paintEvent(QPaintEvent *)
{
    QPainter p(viewport());
    p.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    p.translate(Spacing, Spacing);

    const QSizeF page = m_doc->pageSize();
    const QRectF sheet(0, 0, m_margins.left() + page.width() + m_margins.right(),
                       m_margins.top() + page.height() + m_margins.bottom());
    const int pages = m_doc->pageCount();
    for (int i = 0; i < pages; ++i) {
        p.save();
        p.scale(m_scale, m_scale);
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(sheet);
        // The page's slice of the document, seen through its text area.
        p.translate(m_margins.left(), m_margins.top() - i * page.height());
        const QRectF area(0, i * page.height(), page.width(), page.height());
        p.setClipRect(area);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = area;
        context.palette.setColor(QPalette::Text, Qt::black);
        m_doc->documentLayout()->draw(&p, context);
        p.restore();
        p.translate(0, sheet.height() * m_scale + Spacing);
    }
}

void QenPreviewView::mousePressEvent(QMouseEvent *event)
{
    m_pressPos = event->position().toPoint();
    m_pressScroll = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    m_dragging = true;
    viewport()->setCursor(Qt::ClosedHandCursor);
    event->accept();
}

void QenPreviewView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging) {
        const QPoint delta = m_pressPos - event->position().toPoint();
        horizontalScrollBar()->setValue(m_pressScroll.x() + delta.x());
        verticalScrollBar()->setValue(m_pressScroll.y() + delta.y());
    }
    event->accept();
}

void QenPreviewView::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    viewport()->setCursor(Qt::OpenHandCursor);
    event->accept();
}
