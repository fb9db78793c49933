// Feeds arbitrary bytes to the .qen reader alone: no document, no simulation,
// no re-save, so it gets through thousands of inputs a second. An accepted
// file must have a step index the engine can follow.
#include "fuzzworld.h"

#include "document/qensimfile.h"

#include <QBuffer>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static FuzzWorld world;
    static const QStringList colorNames = QenVocabulary::colorNames();
    QBuffer input;
    input.setData(reinterpret_cast<const char *>(data), qsizetype(size));
    input.open(QIODevice::ReadOnly);

    QenSimFile file;
    // Without an INI the agents keep the colours the file gives them: looking
    // each up in the settings file would cost more than the read itself, and
    // the INI has a target of its own.
    if (file.read(&input, nullptr, colorNames) != QenSimFile::Result::Ok)
        return 0;
    // Accepted: the step index the engine will follow must stay inside the
    // recording, whatever the reader's own check says.
    const quint32 stepMs = file.settings.stepMs;
    const size_t samples = file.tracks.empty() ? 0 : file.tracks.front().samples.size();
    if (stepMs == 0 || file.tracks.empty())
        __builtin_trap();
    if (samples > 0 && file.simTime > 0) {
        for (quint32 step = 0; step <= (file.simTime - 1) / stepMs; ++step) {
            const qint16 entry = file.stepIndex[step];
            if (entry < 0 || size_t(entry) >= samples)
                __builtin_trap();
        }
    }
    return 0;
}
