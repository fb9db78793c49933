#include "engine/qensample.h"

#include <QDataStream>
#include <QtEndian>

#include <cstring>

namespace {

// A stream's single-precision float: the big-endian bits of the number.
float floatAt(const uchar *bytes)
{
    const quint32 bits = qFromBigEndian<quint32>(bytes);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

} // namespace

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

QenSample QenSample::fromStream(const uchar *bytes)
{
    QenSample s;
    s.time = qFromBigEndian<quint32>(bytes);
    float *const settings[] = {&s.del, &s.fgf, &s.va, &s.co, &s.weight, &s.unitDose};
    const uchar *at = bytes + 4;
    for (float *v : settings) {
        *v = floatAt(at);
        at += 4;
    }
    s.agent = qFromBigEndian<quint16>(at);
    s.flags = qFromBigEndian<quint16>(at + 2) & StoredMask;
    at += 4;
    for (float &v : s.state) {
        v = floatAt(at);
        at += 4;
    }
    Q_ASSERT(at == bytes + StreamBytes);
    return s;
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
