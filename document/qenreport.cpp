#include "document/qenreport.h"

#include "document/qendoc.h"
#include "document/qendochost.h"
#include "document/qenexport.h"
#include "engine/qenprompt.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <QPdfWriter>
#include <QSaveFile>
#include <QScreen>
#include <QTemporaryFile>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>

namespace {

// Margins of a new page layout, in millimetres.
constexpr qreal marginMm = 15.0;
// Resolution of the PDF file: fine enough for the graphs' hairlines.
constexpr int pdfDpi = 600;

qreal screenDpiX()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

qreal screenDpiY()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

} // namespace

QPageSize::PageSizeId QenReport::pageSizeFor(const QLocale &locale)
{
    switch (locale.territory()) {
    case QLocale::UnitedStates:
    case QLocale::UnitedStatesOutlyingIslands:
    case QLocale::Canada:
    case QLocale::AnyTerritory:
        return QPageSize::Letter;
    default:
        return QPageSize::A4;
    }
}

QPageLayout QenReport::defaultLayout(const QLocale &locale)
{
    return QPageLayout(QPageSize(pageSizeFor(locale)), QPageLayout::Portrait,
                       QMarginsF(marginMm, marginMm, marginMm, marginMm), QPageLayout::Millimeter);
}

QSizeF QenReport::screenPageSize(const QPageLayout &layout)
{
    const QRectF points = layout.paintRect(QPageLayout::Point);
    return QSizeF(points.width() * screenDpiX() / 72.0, points.height() * screenDpiY() / 72.0);
}

QSize QenReport::graphDisplaySize(const QPageLayout &layout)
{
    const QSizeF page = screenPageSize(layout);
    // Leaves room for the document's own margins and the line the picture
    // sits in, so that it is never pushed past its page.
    return QSize(std::max(1, int(page.width()) - 24), std::max(1, int(page.height() * 0.85)));
}

void QenReport::setReportFont(QTextDocument *report, const QPageLayout &layout,
                              const QString &family, int pointSize)
{
    report->setPageSize(screenPageSize(layout));
    QFont font(family, pointSize);
    font.setFixedPitch(true);
    report->setDefaultFont(font);
}

bool QenReport::load(QTextDocument *report, QenDoc *doc, const QenExportSettings &settings)
{
    report->clear();
    QTemporaryFile page(QDir::tempPath() + QStringLiteral("/quenor_XXXXXX.html"));
    if (!page.open()) {
        if (QenPrompt *prompt = doc->host() ? doc->host()->prompt() : nullptr)
            prompt->warning(
                tr("Quenor®"),
                tr("<p>Cannot write file %1:\n%2.").arg(QDir::tempPath(), page.errorString()));
        return false;
    }
    const QString path = page.fileName();
    page.close();
    if (!QenExport::writeHtml(doc, path, true, settings))
        return false;
    QFile html(path);
    if (!html.open(QIODevice::ReadOnly))
        return false;
    // The picture and icon are named by absolute paths in the page.
    report->setBaseUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath() + QLatin1Char('/')));
    report->setHtml(QString::fromUtf8(html.readAll()));
    return true;
}

bool QenReport::writePdf(QTextDocument *report, const QPageLayout &layout, const QString &path,
                         QenDoc *doc)
{
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) {
        QPdfWriter writer(&file);
        writer.setPageLayout(layout);
        writer.setResolution(pdfDpi);
        writer.setCreator(tr("Quenor®"));
        writer.setTitle(doc->title());
        report->print(&writer);
    }
    ok = ok && file.commit();
    if (!ok) {
        if (QenPrompt *prompt = doc->host() ? doc->host()->prompt() : nullptr)
            prompt->warning(tr("Quenor®"),
                            tr("<p>Cannot write file %1:\n%2.")
                                .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    return ok;
}
