#include "app/qenreports.h"

#include "app/qenapplication.h"
#include "app/qenprintpreview.h"
#include "app/qenprintselect.h"
#include "document/qendoc.h"
#include "document/qendochost.h"
#include "document/qenreport.h"
#include "views/qenreportimage.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

namespace {
// The graphs are drawn with twice the pixels the page shows them at, so that
// their lines stay sharp on paper.
constexpr int graphOversampling = 2;
} // namespace

QenReports::QenReports(QWidget *window, DescriptionDialog describe)
    : QObject(window), m_window(window), m_describe(std::move(describe))
{}

QenReports::~QenReports() = default;

QPrinter *QenReports::printer()
{
    // Made on first use: finding the system's printers can take a moment.
    if (!m_printer) {
        m_printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        m_printer->setPageLayout(QenReport::defaultLayout(QLocale::system()));
    }
    return m_printer.get();
}

QenExportSettings QenReports::exportSettings(QenDoc *doc)
{
    QenExportSettings s;
    if (qenApp) {
        s.stylesheetPath = qenApp->stylesheetPath();
        s.iconPath = qenApp->iconPath();
        s.addTemporaryFile = [](const QString &path) {
            qenApp->addTemporaryFile(path);
        };
    }
    s.printGraph = m_printGraph;
    s.printPrintout = m_printTable;
    const QPageLayout layout = printer()->pageLayout();
    s.graphDisplaySize = QenReport::graphDisplaySize(layout);
    const QSize pixels = s.graphDisplaySize * graphOversampling;
    s.graphPng = [doc, pixels] {
        return QenReportImage::png(doc, pixels);
    };
    return s;
}

bool QenReports::describe(QenDoc *doc)
{
    if (!doc->description().isEmpty())
        return true;
    return m_describe && m_describe();
}

QString QenReports::askFile(QenDoc *doc, const QString &title, const QString &filter,
                            const QString &suffix)
{
    // The export is proposed under the simulation's own name, beside its file.
    QString folder = doc->isUntitled() ? doc->host()->lastSaveDirectory()
                                       : QFileInfo(doc->fileName()).absolutePath();
    if (folder.isEmpty())
        folder = QDir::homePath();
    const QString proposal = QDir(folder).filePath(doc->title() + suffix);
    const QString answer = doc->host()->getSaveFileName(title, proposal, filter);
    return QenExport::withSuffix(answer, suffix);
}

bool QenReports::exported(QenDoc *doc, const QString &path, bool written)
{
    if (written)
        doc->announce(tr("Exported to %1").arg(QDir::toNativeSeparators(path)));
    return written;
}

bool QenReports::exportToXml(QenDoc *doc)
{
    if (!doc || !describe(doc))
        return false;
    const QString path =
        askFile(doc, tr("Export to XML"), tr("XML Files (*.xml)"), QStringLiteral(".xml"));
    if (path.isEmpty())
        return false;
    return exported(doc, path, QenExport::writeXml(doc, path, exportSettings(doc)));
}

bool QenReports::exportToHtml(QenDoc *doc)
{
    if (!doc || !describe(doc))
        return false;
    const QString path =
        askFile(doc, tr("Export to HTML"), tr("Web Page (*.html)"), QStringLiteral(".html"));
    if (path.isEmpty())
        return false;
    return exported(doc, path, QenExport::writeHtml(doc, path, false, exportSettings(doc)));
}

void QenReports::applyPageSize()
{
    if (!m_paperChosen)
        printer()->setPageSize(QPageSize(QenReport::pageSizeFor(QLocale::system())));
}

bool QenReports::loadReport(QenDoc *doc)
{
    if (!m_report)
        m_report = std::make_unique<QTextDocument>();
    applyPageSize();
    QenReport::setReportFont(m_report.get(), printer()->pageLayout());
    return QenReport::load(m_report.get(), doc, exportSettings(doc));
}

bool QenReports::prepareReport(QenDoc *doc)
{
    if (!doc || !describe(doc))
        return false;
    if (!loadReport(doc))
        return false;
    printer()->setOutputFormat(QPrinter::NativeFormat);
    printer()->setOutputFileName(QString());
    return true;
}

bool QenReports::exportToPdf(QenDoc *doc)
{
    if (!doc || !describe(doc))
        return false;
    const QString path =
        askFile(doc, tr("Export to PDF"), tr("PDF Files (*.pdf)"), QStringLiteral(".pdf"));
    if (path.isEmpty() || !loadReport(doc))
        return false;
    return exported(doc, path,
                    QenReport::writePdf(m_report.get(), printer()->pageLayout(), path, doc));
}

bool QenReports::print(QenDoc *doc)
{
    if (!prepareReport(doc))
        return false;
    const bool accepted = m_printDialog
                              ? m_printDialog(printer(), m_window)
                              : QPrintDialog(printer(), m_window).exec() == QDialog::Accepted;
    if (accepted)
        m_report->print(printer());
    return accepted;
}

QenPrintPreview *QenReports::printPreview(QenDoc *doc)
{
    if (!prepareReport(doc))
        return nullptr;
    printer();
    auto *preview = new QenPrintPreview(m_report.get(), m_printer, m_window);
    preview->setPrintDialog(m_printDialog);
    preview->setPageSetupDialog(m_pageSetupDialog);
    connect(preview, &QenPrintPreview::pageSetupAccepted, this, &QenReports::notePaper);
    preview->show();
    return preview;
}

void QenReports::pageSetup()
{
    const QPageSize before = printer()->pageLayout().pageSize();
    const bool accepted = m_pageSetupDialog
                              ? m_pageSetupDialog(printer(), m_window)
                              : QPageSetupDialog(printer(), m_window).exec() == QDialog::Accepted;
    if (accepted)
        notePaper(before);
}

void QenReports::notePaper(const QPageSize &before)
{
    // A paper the user chose outlasts the one the locale would give.
    if (!printer()->pageLayout().pageSize().isEquivalentTo(before))
        m_paperChosen = true;
}

void QenReports::selectPrintOutput()
{
    bool printout = m_printTable;
    bool graphs = m_printGraph;
    bool accepted = false;
    if (m_selectDialog) {
        accepted = m_selectDialog(m_window, &printout, &graphs);
    } else {
        QenPrintSelect dialog(m_window);
        dialog.setChoices(printout, graphs);
        accepted = dialog.exec() == QDialog::Accepted;
        printout = dialog.printout();
        graphs = dialog.graphs();
    }
    if (!accepted)
        return;
    m_printTable = printout;
    m_printGraph = graphs;
}
