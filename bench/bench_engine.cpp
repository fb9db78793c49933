// Wall time of a full-length simulation (11,999 steps at 70 kg) run as fast
// as possible, and the memory each stored sample costs.

#include "engine/qencatalogue.h"
#include "engine/qendefaults.h"
#include "engine/qenengine.h"
#include "engine/qenini.h"
#include "engine/qenvocabulary.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

struct Setup
{
    const char *title;
    std::function<void(QenEngine &, const QenCatalogue &)> prepare;
};

QString shown(const QenCatalogue &catalogue, const char *name)
{
    return catalogue.at(catalogue.findByName(QLatin1String(name)))->displayName;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quenor.ini"));
    QFile::copy(QStringLiteral(":/safeCopy/quenor_en_US.ini"), path);
    const QenIni ini(path);
    QenCatalogue catalogue;
    catalogue.load(ini, QenVocabulary::colorNames(), nullptr);
    const QenDefaults defaults = QenDefaults::load(ini);
    const int repeats = argc > 1 ? std::max(1, atoi(argv[1])) : 15;

    const std::vector<Setup> setups = {
        {"one agent, semi-closed defaults",
         [](QenEngine &, const QenCatalogue &) {
         }},
        {"five agents, semi-closed defaults",
         [](QenEngine &e, const QenCatalogue &c) {
             for (const char *name : {"Isoflurane", "Sevoflurane", "Desflurane", "Nitrous Oxide"})
                 e.addAgent(shown(c, name));
         }},
        {"Ether, open circuit, DEL 12 (every step subdivided)",
         [](QenEngine &e, const QenCatalogue &c) {
             e.setAgent(QenUserOrigin, 0, shown(c, "Ether"));
             e.setCircuit(QenUserOrigin, QenVocabulary::circuits().at(0));
             e.setDEL(QenUserOrigin, 0, 12.0f);
         }},
    };

    std::printf("sizeof(QenSample) = %zu bytes\n", sizeof(QenSample));
    std::printf("%-52s %8s %9s %9s %10s %10s %8s %9s\n", "scenario", "samples", "min ms", "median",
                "ms/agent", "cold/agent", "divided", "B/sample");
    for (const Setup &setup : setups) {
        std::vector<double> times;
        size_t samples = 0, held = 0;
        int agents = 0, subdivided = 0;
        std::vector<double> cold;
        for (int r = 0; r < 2 * repeats; ++r) {
            // Every other run starts with fresh pages, as a new process would:
            // the first touch of the recording's memory is part of its cost.
            const bool fresh = r % 2 == 0;
#if defined(__GLIBC__)
            if (fresh)
                malloc_trim(0);
#endif
            QenEngine engine(&catalogue);
            engine.reset(defaults);
            setup.prepare(engine, catalogue);
            engine.setSpeed(QenSystemOrigin, 1000);

            subdivided = 0;
            const auto start = std::chrono::steady_clock::now();
            while (engine.simTime() < engine.limitMs()) {
                if (!engine.advanceOneStep())
                    break;
                subdivided += engine.lastStepLevel() > 0;
            }
            engine.advance(-1);
            const auto end = std::chrono::steady_clock::now();
            (fresh ? cold : times)
                .push_back(std::chrono::duration<double, std::milli>(end - start).count());

            agents = engine.trackCount();
            samples = held = 0;
            for (const Qen &t : engine.tracks()) {
                samples += t.samples.size();
                held += t.samples.capacity() * sizeof(QenSample);
            }
            if (engine.state() != AFinished || engine.displayTime() != 71994000u)
                std::printf("  (run did not finish at 71,994,000 ms)\n");
        }
        std::sort(times.begin(), times.end());
        std::sort(cold.begin(), cold.end());
        const double median = times[times.size() / 2];
        const double coldMedian = cold[cold.size() / 2];
        std::printf("%-52s %8zu %9.2f %9.2f %10.3f %10.3f %8d %9.1f\n", setup.title, samples,
                    times[0], median, median / agents, coldMedian / agents, subdivided,
                    double(held) / double(samples));
    }
    std::printf("targets: at most 2 ms per agent; at most 80 bytes per stored sample\n");
    return 0;
}
