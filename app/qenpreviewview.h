#pragma once

#include <QAbstractScrollArea>
#include <QMarginsF>
#include <QPoint>
#include <QSize>
#include <QSizeF>

class QTextDocument;

// The pages of a report as they will print: white sheets with their margins
// on a dark ground, zoomed in steps, dragged with the mouse.
class QenPreviewView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    static constexpr double ZoomStep = 0.2;
    // Below this the pages are specks; above it one line of text fills the view.
    static constexpr double MinScale = 0.2;
    static constexpr double MaxScale = 5.0;
    static constexpr int Spacing = 30;

    explicit QenPreviewView(QTextDocument *document, QWidget *parent = nullptr);

    double scale() const { return m_scale; }
    const QMarginsF &pageMargins() const { return m_margins; }
    void setPageMargins(const QMarginsF &margins) { m_margins = margins; }

    // The size of everything the view shows: every page with its margins at
    // `scale`, and the spacing around and between them.
    static QSize contentSize(const QSizeF &page, const QMarginsF &margins, int pageCount,
                             double scale, int spacing = Spacing);
    // The scale one zoom step from `scale`, kept within the bounds.
    static double zoomed(double scale, int steps);
    // The scale at which a sheet with its margins fills `viewWidth` between
    // the spacing on either side, kept within the bounds.
    static double widthScale(const QSizeF &page, const QMarginsF &margins, int viewWidth,
                             int spacing = Spacing);

public slots:
    void zoomIn();
    void zoomOut();
    // The sheets fill the view's width, and keep filling it as the window
    // is resized, until the user zooms. A preview opens this way.
    void fitToWidth();
    // Fits the scroll bars to the document's pages and repaints.
    void relayout();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QTextDocument *m_doc;
    double m_scale = 1.0;
    bool m_fitWidth = true;
    QMarginsF m_margins;
    QPoint m_pressPos;
    QPoint m_pressScroll;
    bool m_dragging = false;
};
