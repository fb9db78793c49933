// Time and peak memory of the exports: the XML of a 20-hour run (one agent
// and five agents) with every result, and the HTML page and PDF report of a
// 2-hour run. The graphs come from a stand-in picture of the report's size,
// since drawing them belongs to the views.

#include "document/qendoc.h"
#include "document/qendochost.h"
#include "document/qenexport.h"
#include "document/qenreport.h"
#include "engine/qencatalogue.h"
#include "engine/qenengine.h"
#include "engine/qenprompt.h"
#include "quietprompt.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Peak resident memory since the last reset, in MiB (Linux).
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double peakMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

void runTo(QenEngine &engine, quint32 ms)
{
    engine.setSpeed(QenSystemOrigin, 1000);
    while (engine.simTime() < ms && engine.simTime() < engine.limitMs()) {
        if (!engine.advanceOneStep())
            break;
    }
    for (int i = 0; i < 100000 && engine.displayTime() < engine.simTime(); ++i)
        engine.advance(int(engine.simTime()));
}

QByteArray standInGraphs(const QSize &pixels)
{
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    for (int band = 0; band < 6; ++band) {
        const int y = pixels.height() * (band + 1) / 6;
        p.drawLine(0, y, pixels.width(), y);
        for (int x = 0; x < pixels.width(); x += 4)
            p.drawPoint(x, y - int(40 * std::sin(x / 50.0)) - 50);
    }
    p.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

template <typename F> double millis(F &&work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int repeats = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("quenor.ini"));
    QFile::copy(QStringLiteral(":/safeCopy/quenor_en_US.ini"), ini);
    QFile::copy(QStringLiteral(":/safeCopy/qen_en_US.xsl"),
                dir.filePath(QStringLiteral("qen.xsl")));
    QuietPrompt prompt;
    QenDocHost host(ini, &prompt);

    const QPageLayout layout = QenReport::defaultLayout(QLocale(QStringLiteral("en_US")));
    QenExportSettings settings;
    settings.stylesheetPath = dir.filePath(QStringLiteral("qen.xsl"));
    settings.graphDisplaySize = QenReport::graphDisplaySize(layout);
    const QByteArray graphs = standInGraphs(settings.graphDisplaySize * 2);
    settings.graphPng = [&graphs] {
        return graphs;
    };
    QStringList temporary;
    settings.addTemporaryFile = [&temporary](const QString &path) {
        temporary << path;
    };

    std::printf("%-44s %9s %9s %10s %10s\n", "export", "min ms", "median", "file KiB", "peak MiB");
    auto report = [&](const char *title, const std::function<bool()> &work, const QString &file) {
        std::vector<double> times;
        double peak = 0;
        for (int r = 0; r < repeats; ++r) {
            const double before = residentMiB();
            resetPeak();
            bool ok = false;
            times.push_back(millis([&] { ok = work(); }));
            peak = std::max(peak, peakMiB() - before);
            if (!ok)
                std::printf("  (%s failed)\n", title);
        }
        std::sort(times.begin(), times.end());
        std::printf("%-44s %9.1f %9.1f %10.0f %10.1f\n", title, times.front(),
                    times[times.size() / 2], QFileInfo(file).size() / 1024.0, peak);
    };

    for (int agents : {1, 5}) {
        QenDoc doc(&host);
        doc.newDocument();
        for (const char *name : {"Isoflurane", "Sevoflurane", "Desflurane", "Nitrous Oxide"}) {
            if (doc.agentCount() >= agents)
                break;
            doc.addAgent(
                doc.catalogue().at(doc.catalogue().findByName(QLatin1String(name)))->displayName);
        }
        runTo(*doc.engine(), doc.engine()->limitMs());
        const QString path = dir.filePath(QStringLiteral("run%1.xml").arg(agents));
        const QByteArray title = QStringLiteral("XML, 20 h, %1 agent(s), %2 results")
                                     .arg(agents)
                                     .arg(doc.engine()->track(0).samples.size())
                                     .toUtf8();
        report(
            title.constData(), [&] { return QenExport::writeXml(&doc, path, settings); }, path);
    }

    QenDoc doc(&host);
    doc.newDocument();
    runTo(*doc.engine(), 2 * 3600 * 1000);
    doc.engine()->setFGF(QenUserOrigin, 2.0f);
    const QString html = dir.filePath(QStringLiteral("run.html"));
    report(
        "HTML page, 2 h, 1 agent",
        [&] { return QenExport::writeHtml(&doc, html, false, settings); }, html);
    const QString pdf = dir.filePath(QStringLiteral("run.pdf"));
    report(
        "PDF report, 2 h, 1 agent",
        [&] {
            QTextDocument text;
            QenReport::setReportFont(&text, layout);
            return QenReport::load(&text, &doc, settings) &&
                   QenReport::writePdf(&text, layout, pdf, &doc);
        },
        pdf);
    for (const QString &path : std::as_const(temporary))
        QFile::remove(path);
    std::printf("target: the 20-hour single-agent XML in under 1000 ms\n");
    return 0;
}
