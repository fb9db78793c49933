// Feeds arbitrary bytes to the .qen reader. A stream it accepts is taken into a
// document and then exercised the way views and a resave would: every value
// query over the recording, a rewind and replay, and writing it out again.
#include "fuzzworld.h"

#include "document/qendoc.h"
#include "document/qendochost.h"

#include <QBuffer>

#include <cstdint>
#include <memory>

namespace {

struct World : FuzzWorld
{
    World() : host(std::make_unique<QenDocHost>(iniPath, &prompt)) {}
    std::unique_ptr<QenDocHost> host;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static World world;
    QBuffer input;
    input.setData(reinterpret_cast<const char *>(data), qsizetype(size));
    input.open(QIODevice::ReadOnly);

    QenDoc doc(world.host.get());
    if (!doc.readFrom(&input, QStringLiteral("fuzz.qen")))
        return 0;

    QenEngine *e = doc.engine();
    const quint32 end = std::max(e->endTime(), e->simTime());
    const quint32 step = std::max<quint32>(e->stepMs() / 2, 1);
    for (quint32 t = 0; t <= end + step && t < 80000000u; t += std::max(step, end / 64 + 1)) {
        for (int track = 0; track < e->trackCount(); ++track) {
            for (int element = 0; element < 8; ++element)
                e->compartmentAt(track, element, t);
            e->fgfDeliveredAt(track, t);
            bool event = false;
            e->delDeliveredAt(track, t, t / 2, &event);
            e->costAt(track, t);
        }
        e->coAt(t);
        e->vaBreathedAt(t);
    }
    e->setSpeed(QenSystemOrigin, 1000);
    e->setState(QenSystemOrigin, ARunning);
    e->advance(int(std::min<quint32>(end, 600000)));
    for (int i = 0; i < 200 && e->timerActive(); ++i)
        e->tick();
    e->pause();

    QBuffer output;
    output.open(QIODevice::WriteOnly);
    doc.writeTo(&output);
    return 0;
}
