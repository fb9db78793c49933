#include "document/qenreport.h"

#include "document/qendoc.h"
#include "document/qendochost.h"
#include "document/qenexport.h"
#include "engine/qenprompt.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QScreen>
#include <QTemporaryFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>

#include <algorithm>
#include <cmath>

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

// Prints the report page by page as QTextDocument::print does, but keeps
// the pictures lossless: a PDF stores them as JPEG otherwise, which blurs the
// graphs' thin lines and small labels.
void printLossless(const QTextDocument *report, QPagedPaintDevice *device)
{
    QPainter painter(device);
    if (!painter.isActive())
        return;
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const QSizeF page = report->pageSize();
    painter.scale(device->width() / page.width(), device->height() / page.height());
    QAbstractTextDocumentLayout *layout = report->documentLayout();
    const int pages = report->pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            device->newPage();
        painter.save();
        painter.translate(0, -i * page.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, i * page.height(), page.width(), page.height());
        context.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(context.clip);
        layout->draw(&painter, context);
        painter.restore();
    }
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

void QenReport::fitPictures(QTextDocument *report, const QPageLayout &layout)
{
    // The size the page gave a picture is kept beside it, so that a page
    // turned back gets the pictures back at their size.
    constexpr int givenWidth = QTextFormat::UserProperty + 1;
    constexpr int givenHeight = QTextFormat::UserProperty + 2;
    const QSizeF box = graphDisplaySize(layout);
    QTextCursor cursor(report);
    for (QTextBlock block = report->begin(); block.isValid(); block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            if (!image.hasProperty(givenWidth)) {
                if (!(image.width() > 0 && image.height() > 0))
                    continue;
                image.setProperty(givenWidth, image.width());
                image.setProperty(givenHeight, image.height());
            }
            const double width = image.doubleProperty(givenWidth);
            const double height = image.doubleProperty(givenHeight);
            const double scale = std::min({1.0, box.width() / width, box.height() / height});
            image.setWidth(std::floor(width * scale));
            image.setHeight(std::floor(height * scale));
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
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
        printLossless(report, &writer);
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
