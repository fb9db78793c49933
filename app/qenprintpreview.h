#pragma once

#include <QMainWindow>
#include <QPageSize>

#include <functional>
#include <memory>

class QPrinter;
class QTextDocument;
class QenPreviewView;

// The print preview of a report: a window of its own over a copy of the
// report, so that a later report does not change what it shows. It prints on
// the program's printer and shares its page setup.
class QenPrintPreview : public QMainWindow
{
    Q_OBJECT

public:
    // Shows the printer's dialog; false when cancelled.
    using PrinterDialog = std::function<bool(QPrinter *printer, QWidget *parent)>;

    QenPrintPreview(const QTextDocument *report, std::shared_ptr<QPrinter> printer,
                    QWidget *parent = nullptr);
    ~QenPrintPreview() override;

    void setPrintDialog(PrinterDialog dialog) { m_printDialog = std::move(dialog); }
    void setPageSetupDialog(PrinterDialog dialog) { m_pageSetupDialog = std::move(dialog); }

    QenPreviewView *view() const { return m_view; }
    const QTextDocument *document() const { return m_doc; }

public slots:
    void print();
    void pageSetup();

signals:
    // The page setup was accepted; `before` is the paper it replaced.
    void pageSetupAccepted(const QPageSize &before);

private:
    // Fits the copy and the view to the printer's page.
    void setUp();

    std::shared_ptr<QPrinter> m_printer;
    QTextDocument *m_doc = nullptr;
    QenPreviewView *m_view = nullptr;
    PrinterDialog m_printDialog;
    PrinterDialog m_pageSetupDialog;
};
