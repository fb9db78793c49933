#pragma once

#include "document/qenexport.h"

#include <QObject>
#include <QPageSize>
#include <QPageLayout>

#include <functional>
#include <memory>

class QPrinter;
class QTextDocument;
class QWidget;
class QenDoc;
class QenPrintPreview;

// The main window's reports: export to XML, HTML and PDF, printing, print
// preview, page setup and the choice of what a report holds. It keeps the one
// printer of the program, so that the page setup and the printer chosen hold
// from one print to the next, and the report document that prints reuse.
//
// Owned by the main window. The printer is shared with the previews it
// opens, which may outlive a report but not the main window.
class QenReports : public QObject
{
    Q_OBJECT

public:
    // Opens the description editor on the active document; false on Cancel.
    using DescriptionDialog = std::function<bool()>;
    // The printer's print or page-setup dialog; false when cancelled.
    using PrinterDialog = std::function<bool(QPrinter *printer, QWidget *parent)>;
    // The "Select Printer Output" dialog: edits both choices, false on Cancel.
    using SelectDialog = std::function<bool(QWidget *parent, bool *printout, bool *graphs)>;

    QenReports(QWidget *window, DescriptionDialog describe);
    ~QenReports() override;

    // Tests answer the dialogs themselves.
    void setPrintDialog(PrinterDialog dialog) { m_printDialog = std::move(dialog); }
    void setPageSetupDialog(PrinterDialog dialog) { m_pageSetupDialog = std::move(dialog); }
    void setSelectDialog(SelectDialog dialog) { m_selectDialog = std::move(dialog); }

    bool printTable() const { return m_printTable; }
    bool printGraph() const { return m_printGraph; }
    QPrinter *printer();
    // The report as last prepared; null before the first.
    QTextDocument *report() const { return m_report.get(); }
    // What an export of `doc` takes from the program now.
    QenExportSettings exportSettings(QenDoc *doc);

    // The commands; each does nothing without a document.
    bool exportToXml(QenDoc *doc);
    bool exportToHtml(QenDoc *doc);
    bool exportToPdf(QenDoc *doc);
    bool print(QenDoc *doc);
    QenPrintPreview *printPreview(QenDoc *doc);
    void pageSetup();
    void selectPrintOutput();

    // Builds the report of `doc` on the printer's page; false when the user
    // cancels the description or the page cannot be made.
    bool prepareReport(QenDoc *doc);

private:
    bool describe(QenDoc *doc);
    QString askFile(QenDoc *doc, const QString &title, const QString &filter,
                    const QString &suffix);
    // Says so in the status bar when `written`; returns `written`.
    bool exported(QenDoc *doc, const QString &path, bool written);
    void applyPageSize();
    bool loadReport(QenDoc *doc);
    // After an accepted page setup, here or in a preview: remembers a paper
    // that differs from `before`.
    void notePaper(const QPageSize &before);

    QWidget *m_window;
    DescriptionDialog m_describe;
    PrinterDialog m_printDialog;
    PrinterDialog m_pageSetupDialog;
    SelectDialog m_selectDialog;
    std::shared_ptr<QPrinter> m_printer;
    std::unique_ptr<QTextDocument> m_report;
    bool m_printTable = true;
    bool m_printGraph = true;
    // Once the user picks a paper in the page setup, it is kept.
    bool m_paperChosen = false;
};
