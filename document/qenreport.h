#pragma once

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QSize>
#include <QSizeF>
#include <QString>

class QLocale;
class QTextDocument;
class QenDoc;
struct QenExportSettings;

// The printed report of a simulation: the HTML page of the export laid out
// on the printer's pages. Printing, the preview and the PDF file all show the
// same report.
class QenReport
{
    Q_DECLARE_TR_FUNCTIONS(QenReport)

public:
    // Letter where it is the paper in use (the United States and its outlying
    // islands, Canada) and where the system names no country; A4 elsewhere.
    static QPageSize::PageSizeId pageSizeFor(const QLocale &locale);
    // A portrait page of that size with margins a handout needs.
    static QPageLayout defaultLayout(const QLocale &locale);

    // The layout's printable area in the screen's pixels: the size at which
    // the report is laid out, whatever the printer's resolution.
    static QSizeF screenPageSize(const QPageLayout &layout);
    // The size at which a page shows the graphs: the printable width and
    // nearly all of a page's height, so that they fill a page of their own.
    static QSize graphDisplaySize(const QPageLayout &layout);

    // Sizes the report's pictures (those with a size of their own: the graphs)
    // to fit on one page of `layout`, keeping their proportions and never
    // beyond the size the page gave them: a report made for a portrait page
    // and shown on a landscape one keeps its graphs on a single page.
    static void fitPictures(QTextDocument *report, const QPageLayout &layout);

    // Lays `report` out on pages of `layout` with the report's default font.
    static void setReportFont(QTextDocument *report, const QPageLayout &layout,
                              const QString &family = QStringLiteral("Courier"),
                              int pointSize = 10);

    // Loads the document's page into `report` (its picture and icon in
    // temporary files). False when the page could not be made: the report is
    // then empty and the user has been told why.
    static bool load(QTextDocument *report, QenDoc *doc, const QenExportSettings &settings);

    // Writes `report` as a PDF file on pages of `layout`, whole or not at all;
    // on failure warns through the document's prompt.
    static bool writePdf(QTextDocument *report, const QPageLayout &layout, const QString &path,
                         QenDoc *doc);
};
