// Time to open a 20-hour, five-agent simulation: the reading of the file
// alone, and the open a user waits for in the main window, with the tray and
// each agent's picture and graph built and shown.

#include "app/qenappdochost.h"
#include "app/qenapplication.h"
#include "app/qenmainwindow.h"
#include "document/qendoc.h"
#include "document/qensimfile.h"
#include "engine/qencatalogue.h"
#include "engine/qenengine.h"
#include "engine/qenprompt.h"
#include "quietprompt.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

QTemporaryDir *folder = nullptr;
QString filePath;

// The offscreen platform says, for every window shown, that it cannot pass on
// size hints; a real display says nothing, so neither does the benchmark (the
// writes to the terminal would be timed as part of the open).
QtMessageHandler passOn = nullptr;
void quietPlatform(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (!text.contains(QLatin1String("propagateSizeHints")))
        passOn(type, context, text);
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A simulation run to its 20-hour limit with the primary agent and four more.
bool makeFile(QenMainWindow &window, const QString &path)
{
    QenDoc doc(window.host());
    if (!doc.newDocument())
        return false;
    for (const char *name : {"Isoflurane", "Sevoflurane", "Desflurane", "Nitrous Oxide"}) {
        const int at = doc.catalogue().findByName(QLatin1String(name));
        if (at < 0 || doc.addAgent(doc.catalogue().at(at)->displayName) < 0)
            return false;
    }
    QenEngine &engine = *doc.engine();
    engine.setSpeed(QenSystemOrigin, 1000);
    while (engine.simTime() < engine.limitMs()) {
        if (!engine.advanceOneStep())
            break;
    }
    return doc.agentCount() == 5 && doc.saveFile(path, false);
}

void BM_DecodeFile(benchmark::State &state)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("cannot read the file");
        return;
    }
    QByteArray bytes = file.readAll();
    const QenIni &ini = qenApp->ini();
    const QStringList colors;
    for (auto _ : state) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QenSimFile contents;
        if (contents.read(&buffer, &ini, colors) != QenSimFile::Result::Ok) {
            state.SkipWithError("the file was refused");
            return;
        }
        benchmark::DoNotOptimize(contents.tracks.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// From the call to the first paint of the finished window.
void BM_OpenWithWindows(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<QenMainWindow>();
        window->resize(1400, 900);
        window->show();
        QCoreApplication::processEvents();
        state.ResumeTiming();

        const bool opened = window->openDocument(filePath);
        QCoreApplication::processEvents();

        state.PauseTiming();
        const bool whole = opened && window->documents().size() == 1 &&
                           QenMainWindow::childrenOf(window->documents().front()).size() == 11;
        for (QenDoc *doc : window->documents())
            doc->setModified(false);
        window.reset();
        flushDeletes();
        state.ResumeTiming();
        if (!whole) {
            state.SkipWithError("the file did not open with its eleven windows");
            return;
        }
    }
}

} // namespace

BENCHMARK(BM_DecodeFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenWithWindows)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    passOn = qInstallMessageHandler(quietPlatform);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    folder = &dir;
    // The program's and the user's folders are the benchmark's own.
    int appArgc = 1;
    char name[] = "quenor";
    char *appArgv[] = {name, nullptr};
    QenApplication app(appArgc, appArgv, dir.path(), dir.filePath(QStringLiteral("user")));
    app.setPrompt(std::make_unique<QuietPrompt>());
    app.loadVocabulary();
    app.loadDefaults();
    app.setValue(QStringLiteral("MainWindow"), QStringLiteral("Max"), false);

    filePath = dir.filePath(QStringLiteral("twenty-hours.qen"));
    {
        QenMainWindow window;
        if (!makeFile(window, filePath)) {
            std::fprintf(stderr, "could not make the 20-hour five-agent file\n");
            return 1;
        }
    }
    std::printf("file: 20 h, 5 agents, %lld KiB\n", QFile(filePath).size() / 1024);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("goal: open with windows in under 50 ms\n");
    return 0;
}
