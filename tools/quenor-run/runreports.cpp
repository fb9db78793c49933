#include "runreports.h"

#include "document/qendoc.h"
#include "document/qenexport.h"
#include "document/qenreport.h"
#include "engine/qenfiles.h"
#include "runoptions.h"
#include "runoutput.h"
#include "runsimulation.h"
#include "views/qenreportimage.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QTextDocument>

namespace QenRun {

Problem exportReports(QenDoc &doc, const RunOptions &options, StderrPrompt &prompt,
                      QByteArray *output)
{
    if (options.xmlPath.isEmpty() && options.htmlPath.isEmpty() && options.pdfPath.isEmpty())
        return {};
    recordEnd(*doc.engine());
    const QString dir = QCoreApplication::applicationDirPath();
    const QString locale = QLocale::system().name();
    const QPageLayout layout = QenReport::defaultLayout(QLocale::system());
    QStringList temporaryFiles;
    QenExportSettings settings;
    const QenFiles::ExportFiles files = QenFiles::exportFiles(dir, locale, QenFiles::userFolder());
    settings.stylesheetPath = files.stylesheetPath;
    settings.iconPath = files.iconPath;
    settings.graphDisplaySize = QenReport::graphDisplaySize(layout);
    const QSize pixels = settings.graphDisplaySize * 2;
    settings.graphPng = [&doc, pixels] {
        return QenReportImage::png(&doc, pixels);
    };
    settings.addTemporaryFile = [&temporaryFiles](const QString &path) {
        temporaryFiles << path;
    };

    Problem problem;
    if (isStdout(options.xmlPath))
        *output = QenExport::xmlFile(&doc, settings);
    else if (!options.xmlPath.isEmpty())
        problem =
            prompt.attempt([&] { return QenExport::writeXml(&doc, options.xmlPath, settings); },
                           QStringLiteral("cannot write %1").arg(options.xmlPath));
    if (problem.status == 0 && !options.htmlPath.isEmpty())
        problem = prompt.attempt(
            [&] { return QenExport::writeHtml(&doc, options.htmlPath, false, settings); },
            QStringLiteral("cannot write %1").arg(options.htmlPath));
    if (problem.status == 0 && !options.pdfPath.isEmpty()) {
        QTextDocument report;
        problem = prompt.attempt(
            [&] {
                QenReport::setReportFont(&report, layout);
                return QenReport::load(&report, &doc, settings) &&
                       QenReport::writePdf(&report, layout, options.pdfPath, &doc);
            },
            QStringLiteral("cannot write %1").arg(options.pdfPath));
    }
    for (const QString &path : std::as_const(temporaryFiles))
        QFile::remove(path);
    return problem;
}

} // namespace QenRun
