#include "app/qenprintpreview.h"

#include "app/qenpreviewview.h"
#include "document/qenreport.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QTextFrame>
#include <QToolBar>

#include <cmath>

QenPrintPreview::QenPrintPreview(const QTextDocument *report, std::shared_ptr<QPrinter> printer,
                                 QWidget *parent)
    : QMainWindow(parent), m_printer(std::move(printer))
{
    setWindowTitle(tr("Print Preview"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A top-level window, though the main window owns it.
    setWindowFlag(Qt::Window);

    m_doc = report->clone(this);
    m_view = new QenPreviewView(m_doc, this);
    setCentralWidget(m_view);
    resize(800, 600);

    m_doc->setUseDesignMetrics(true);
    m_doc->documentLayout()->setPaintDevice(m_view->viewport());
    setUp();
    QFont font = m_doc->defaultFont();
    font.setPointSize(10);
    m_doc->setDefaultFont(font);

    QToolBar *bar = addToolBar(tr("Print"));
    bar->setObjectName(QStringLiteral("previewToolBar"));
    QAction *printAct = bar->addAction(QIcon(QStringLiteral(":/images/print.png")), tr("&Print..."),
                                       this, &QenPrintPreview::print);
    printAct->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    printAct->setObjectName(QStringLiteral("actionPrint"));
    bar->addAction(tr("Page Setup..."), this, &QenPrintPreview::pageSetup)
        ->setObjectName(QStringLiteral("actionPageSetup"));
    bar->addSeparator();
    bar->addAction(QIcon(QStringLiteral(":/images/zoomin.png")), tr("Zoom In"), m_view,
                   &QenPreviewView::zoomIn)
        ->setObjectName(QStringLiteral("actionZoomIn"));
    bar->addAction(QIcon(QStringLiteral(":/images/zoomout.png")), tr("Zoom Out"), m_view,
                   &QenPreviewView::zoomOut)
        ->setObjectName(QStringLiteral("actionZoomOut"));
    bar->addSeparator();
    bar->addAction(tr("&Close"), this, &QWidget::close)
        ->setObjectName(QStringLiteral("actionClose"));
}

QenPrintPreview::~QenPrintPreview() = default;

void QenPrintPreview::setUp()
{
    const QPageLayout layout = m_printer->pageLayout();
    m_doc->setPageSize(QenReport::screenPageSize(layout));
    QenReport::fitPictures(m_doc, layout);
    QTextFrameFormat frame = m_doc->rootFrame()->frameFormat();
    frame.setMargin(0);
    frame.setPadding(0);
    m_doc->rootFrame()->setFrameFormat(frame);

    // The sheet around the printable area, in the screen's pixels.
    const QRectF paper = layout.fullRect(QPageLayout::Point);
    const QRectF page = layout.paintRect(QPageLayout::Point);
    const QSizeF screen = QenReport::screenPageSize(layout);
    const double sx = page.width() > 0 ? screen.width() / page.width() : 1.0;
    const double sy = page.height() > 0 ? screen.height() / page.height() : 1.0;
    m_view->setPageMargins(QMarginsF(std::abs(page.left() - paper.left()) * sx,
                                     std::abs(page.top() - paper.top()) * sy,
                                     std::abs(paper.right() - page.right()) * sx,
                                     std::abs(paper.bottom() - page.bottom()) * sy));
}

void QenPrintPreview::print()
{
    const bool accepted = m_printDialog
                              ? m_printDialog(m_printer.get(), this)
                              : QPrintDialog(m_printer.get(), this).exec() == QDialog::Accepted;
    if (accepted)
        m_doc->print(m_printer.get());
}

void QenPrintPreview::pageSetup()
{
    const QPageSize before = m_printer->pageLayout().pageSize();
    const bool accepted = m_pageSetupDialog
                              ? m_pageSetupDialog(m_printer.get(), this)
                              : QPageSetupDialog(m_printer.get(), this).exec() == QDialog::Accepted;
    if (!accepted)
        return;
    setUp();
    m_view->relayout();
    emit pageSetupAccepted(before);
}
