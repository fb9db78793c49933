#include "engine/qensample.h"

#include <QDataStream>

void QenSample::serialize(QDataStream &stream, bool writing)
{
    if (writing) {
        stream << time << del << fgf << va << co << weight << unitDose << agent
               << quint16(flags & StoredMask);
        for (float v : state)
            stream << v;
        return;
    }
    stream >> time >> del >> fgf >> va >> co >> weight >> unitDose >> agent >> flags;
    flags &= StoredMask;
    for (float &v : state)
        stream >> v;
}

int QenSample::changesBetween(const QenSample &a, const QenSample &b)
{
    constexpr quint16 switches = CircuitMask | VenousReturn | UptakeEffect | VaporEffect;
    int mask = 0;
    if (a.agent != b.agent)
        mask |= 1;
    if ((a.flags & switches) != (b.flags & switches))
        mask |= 2;
    if (a.del != b.del)
        mask |= 8;
    if (a.fgf != b.fgf)
        mask |= 16;
    if (a.va != b.va)
        mask |= 32;
    if (a.co != b.co)
        mask |= 64;
    if (a.weight != b.weight)
        mask |= 512;
    if (b.flags & (DosesMask | Flush))
        mask |= 1024;
    return mask;
}
