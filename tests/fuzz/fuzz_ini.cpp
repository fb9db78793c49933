// Feeds arbitrary text as quenor.ini to the agent table and defaults loaders.
// Every refused agent must be reported with a message, and nothing may crash
// or hang; the defaults that come out must be values a simulation can start
// from, and every value refused in their place is named.
#include "fuzzworld.h"

#include <cmath>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static FuzzWorld world;
    static int serial = 0;
    // A fresh name each time: the settings reader caches files by path.
    const QString path = world.dir.filePath(QStringLiteral("fuzz%1.ini").arg(++serial % 1000));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const QenIni ini(path);
    QenCatalogue catalogue;
    catalogue.load(ini, QenVocabulary::colorNames(), &world.prompt);
    for (int i = 0; i < catalogue.size(); ++i) {
        const QenAnesthetic *agent = catalogue.at(i);
        if (agent->displayName.isEmpty())
            __builtin_trap();
        // An agent named twice in the list is read once.
        for (int j = 0; j < i; ++j) {
            if (catalogue.at(j)->name.compare(agent->name, Qt::CaseInsensitive) == 0)
                __builtin_trap();
        }
    }

    const QenDefaults defaults = QenDefaults::load(ini);
    const float rates[] = {defaults.fgf, defaults.va, defaults.co, defaults.weight};
    for (float v : rates) {
        if (!std::isfinite(v) || v < 0.0f)
            __builtin_trap();
    }
    for (int c = 0; c < QenCompartments; ++c) {
        if (!std::isfinite(defaults.volumes[c]) || defaults.volumes[c] <= 0.0f ||
            !std::isfinite(defaults.flows[c]) || defaults.flows[c] < 0.0f)
            __builtin_trap();
    }
    for (const QenDefaults::Refusal &r : defaults.refused) {
        if (r.key.isEmpty() || !std::isfinite(r.used))
            __builtin_trap();
    }
    if (defaults.refused.isEmpty() != defaults.refusalMessage(path).isEmpty())
        __builtin_trap();
    QFile::remove(path);
    return 0;
}
