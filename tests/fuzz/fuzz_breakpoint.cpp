// Feeds arbitrary text to the breakpoint parser and, when it is accepted, to
// an engine that evaluates it on every step of a short run.
#include "fuzzworld.h"

#include "engine/qenengine.h"
#include "engine/qenenginehost.h"
#include "engine/qenparser.h"

#include <cmath>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static FuzzWorld world;
    static QenEngineHost host;
    static QenEngine engine(&world.catalogue, &host);
    static bool ready = [] {
        engine.setIni(world.ini);
        engine.reset(world.defaults);
        return true;
    }();
    Q_UNUSED(ready);

    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    QenParser parser;
    if (parser.parse(text)) {
        // The evaluator pairs operator i with operand i + 1.
        if (parser.operands().isEmpty() ||
            parser.operators().size() != parser.operands().size() - 1)
            __builtin_trap();
        // A target that no value can reach would be accepted and never stop a run.
        if (!std::isfinite(parser.target()))
            __builtin_trap();
        for (const QString &operand : parser.operands()) {
            if (!QenParser::operandNames().contains(operand))
                __builtin_trap();
        }
    }
    if (!engine.setBreakpoint(text))
        return 0;
    engine.reset(world.defaults);
    engine.setBreakpoint(text);
    engine.setSpeed(QenSystemOrigin, 1000);
    for (int i = 0; i < 5; ++i) {
        engine.advanceOneStep();
        engine.breakpointHit();
    }
    return 0;
}
