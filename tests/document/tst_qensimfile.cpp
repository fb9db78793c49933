#include "document/qensimfile.h"

#include <QBuffer>
#include <QDataStream>
#include <QTest>

#include <cstring>
#include <limits>

namespace {

// Writes the bytes of a file field by field, straight from the layout, so the
// reader and the writer are checked against the layout rather than each other.
class Builder
{
public:
    Builder() : m_stream(&bytes, QIODevice::WriteOnly)
    {
        m_stream.setVersion(QDataStream::Qt_4_0);
        m_stream.setFloatingPointPrecision(QDataStream::SinglePrecision);
    }

    qsizetype pos() const { return bytes.size(); }
    template <typename T> Builder &operator<<(const T &v)
    {
        m_stream << v;
        return *this;
    }

    void agent(const QString &name, bool withDisplayName, float lambda)
    {
        m_stream << name;
        if (withDisplayName)
            m_stream << (name + QStringLiteral(" (local)"));
        m_stream << QStringLiteral("%4.1f") << quint16(5);
        lastLambda = pos();
        m_stream << lambda << 25.0f << 3.3f << 0.0f << 0.8f << quint16(240) << 0.5f << 15.0f
                 << quint16(250);
        lastPartition = pos();
        for (float p : {1.0f, 1.0f, 4.8f, 9.9f, 150.0f, lambda})
            m_stream << p;
    }

    void sample(quint32 time, quint16 agent, quint16 flags, float seed)
    {
        lastSample = pos();
        m_stream << time << 1.5f << 8.0f << 4.0f << 5.0f << 70.0f << 0.5f << agent << flags;
        for (int i = 0; i < 8; ++i)
            m_stream << seed + float(i) / 8.0f;
    }

    void settingsBlock(qint16 layout, quint16 stepMs = 6000)
    {
        m_stream << qint16(-1) << layout << qint16(stepMs) << qint16(1) << qint16(0) << qint16(5)
                 << qint16(10) << qint16(10) << qint16(10) << qint16(1) << qint16(60) << qint16(30);
    }

    QByteArray bytes;
    // Where the last agent's Lambda and partition coefficients and the last
    // sample begin.
    qsizetype lastLambda = 0;
    qsizetype lastPartition = 0;
    qsizetype lastSample = 0;

private:
    QDataStream m_stream;
};

// Byte offsets of a sample's fields from its start.
constexpr qsizetype sampleDel = 4;
constexpr qsizetype sampleWeight = 4 + 4 * 4;
constexpr qsizetype sampleState = 4 + 6 * 4 + 4;

// Offsets of the counts in the small file below, for the corruption rows.
struct Offsets
{
    qsizetype catalogueCount = 0;
    qsizetype trackCount = 0;
    qsizetype sampleCount = 0;
    qsizetype firstSampleAgent = 0;
    qsizetype layout = 0;
    qsizetype stepMs = 0;
    qsizetype colorCount = 0;
    qsizetype bookmarkCount = 0;
    qsizetype stepIndex = 0;
    qsizetype endOfLayout = 0; // where a file without a breakpoint ends
    qsizetype lambda = 0;      // the first agent's
    qsizetype partition = 0;   // the first agent's CKT coefficient
    qsizetype samples[2][3] = {};
    qsizetype liveState[2] = {};
    qsizetype simTime = 0;
    qsizetype endTime = 0;
    qsizetype volumes = 0;
    qsizetype flows = 0;
};

// A complete current file: two agents in the catalogue, two tracks of three
// samples, a description, colours, two bookmarks and a breakpoint.
QByteArray smallFile(Offsets *at = nullptr)
{
    Offsets o;
    Builder b;
    b << qint32(9933) << quint32(15);
    o.catalogueCount = b.pos();
    b << qint32(2);
    b.agent(QStringLiteral("Halothane"), true, 2.47f);
    o.lambda = b.lastLambda;
    o.partition = b.lastPartition;
    b.agent(QStringLiteral("Isoflurane"), true, 1.3f);
    o.trackCount = b.pos();
    b << qint32(2);
    for (quint16 track = 0; track < 2; ++track) {
        if (track == 0)
            o.sampleCount = b.pos();
        b << qint32(3);
        for (quint32 i = 0; i < 3; ++i) {
            if (track == 0 && i == 0)
                o.firstSampleAgent = b.pos() + 4 + 6 * 4;
            b.sample(i * 6000, track, quint16(0x0007 | (i == 1 ? 0x0110 : 0)), float(i + track));
            o.samples[track][i] = b.lastSample;
        }
        o.liveState[track] = b.pos();
        for (int i = 0; i < 8; ++i)
            b << float(track) + 0.25f * float(i);
    }
    o.layout = b.pos() + 2;
    o.stepMs = b.pos() + 4;
    b.settingsBlock(5);
    b << QStringLiteral("A description") << quint32(18000);
    o.colorCount = b.pos();
    b << qint32(2) << QStringLiteral("red") << QStringLiteral("purple");
    o.simTime = b.pos();
    o.endTime = b.pos() + 4;
    b << quint32(18000) << quint32(17000);
    o.bookmarkCount = b.pos();
    b << qint16(2) << quint32(60000) << quint32(12000);
    o.volumes = b.pos();
    for (float v : {8.0f, 2.5f, 6.0f, 33.0f, 14.5f, 1.0f})
        b << v;
    o.flows = b.pos();
    for (float v : {1.0f, 1.0f, 0.76f, 0.18f, 0.06f, 1.0f})
        b << v;
    o.stepIndex = b.pos();
    for (int i = 0; i < QenSimFile::stepSlots; ++i)
        b << qint16(i < 3 ? i : 0);
    o.endOfLayout = b.pos();
    b << QStringLiteral("ALV = 1");
    if (at)
        *at = o;
    return b.bytes;
}

QenSimFile::Result readBytes(const QByteArray &bytes, QenSimFile *file)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return file->read(&buffer, nullptr, {});
}

QByteArray writeBytes(QenSimFile &file)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!file.write(&buffer))
        return {};
    return buffer.data();
}

void patch16(QByteArray &bytes, qsizetype at, qint16 value)
{
    bytes[at] = char(quint16(value) >> 8);
    bytes[at + 1] = char(value & 0xff);
}

void patch32(QByteArray &bytes, qsizetype at, qint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char(quint32(value) >> (24 - 8 * i));
}

void patchFloat(QByteArray &bytes, qsizetype at, float value)
{
    qint32 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    patch32(bytes, at, bits);
}

bool sameSample(const QenSimFile::Sample &a, const QenSimFile::Sample &b)
{
    return a.time == b.time && a.agent == b.agent && a.flags == b.flags &&
           std::memcmp(&a.del, &b.del, 6 * sizeof(float)) == 0 &&
           std::memcmp(a.state, b.state, sizeof a.state) == 0;
}

} // namespace

class TestQenSimFile : public QObject
{
    Q_OBJECT

private slots:
    void readsAndWritesTheLayoutByteForByte()
    {
        const QByteArray bytes = smallFile();
        QenSimFile file;
        QCOMPARE(readBytes(bytes, &file), QenSimFile::Result::Ok);

        QCOMPARE(file.version, 15u);
        QCOMPARE(file.catalogue.size(), 2);
        QCOMPARE(file.catalogue.at(1)->displayName, QStringLiteral("Isoflurane (local)"));
        QCOMPARE(file.catalogue.at(0)->bottleSize, 250);
        QCOMPARE(file.tracks.size(), size_t(2));
        QCOMPARE(file.tracks[1].samples[2].state[7], 3.875f);
        QCOMPARE(file.tracks[0].samples[1].flags, quint16(0x0117));
        QCOMPARE(file.tracks[1].state[2], 1.5f);
        QCOMPARE(file.settings.layout, 1); // version bit 3: the layout counts as 1
        QCOMPARE(file.settings.speed, qint16(60));
        QCOMPARE(file.settings.graphMinutes, qint16(30));
        QCOMPARE(file.settings.gaugeTops[2], qint16(10));
        QCOMPARE(file.description, QStringLiteral("A description"));
        QCOMPARE(file.colors, (QStringList{"red", "purple"}));
        QCOMPARE(file.liveTime, 18000u);
        QCOMPARE(file.simTime, 18000u);
        QCOMPARE(file.endTime, 17000u);
        QCOMPARE(file.bookmarks, (QList<quint32>{60000, 12000}));
        QCOMPARE(file.flows[2], 0.76f);
        QCOMPARE(file.stepIndex[2], qint16(2));
        QCOMPARE(file.breakpointText, QStringLiteral("ALV = 1"));

        // Written back, every byte is where it was.
        QCOMPARE(writeBytes(file), bytes);
    }

    void highFlagBitsAreDropped()
    {
        Offsets at;
        QByteArray bytes = smallFile(&at);
        patch16(bytes, at.firstSampleAgent + 2, qint16(0xfc05));
        QenSimFile file;
        QCOMPARE(readBytes(bytes, &file), QenSimFile::Result::Ok);
        QCOMPARE(file.tracks[0].samples[0].flags, quint16(0x0005));
    }

    void aFileWithoutRunKeepsItsSettingsSample()
    {
        QenSimFile file;
        file.catalogue.append(std::make_unique<QenAnesthetic>());
        file.tracks.resize(2);
        file.tracks[1].settings.del = 2.5f;
        file.tracks[1].settings.unitDose = 0.5f;
        file.tracks[0].settings.fgf = 3.0f;
        file.tracks[0].settings.flags = 0x0009;
        file.colors = QStringList{"red", "blue"};
        const QByteArray bytes = writeBytes(file);
        // No step index: header, one agent record, two tracks of a count and a
        // settings sample, the block, the tail and a settings sample.
        QVERIFY(bytes.size() < 500);

        QenSimFile back;
        QCOMPARE(readBytes(bytes, &back), QenSimFile::Result::Ok);
        QVERIFY(back.tracks[0].samples.empty());
        QCOMPARE(back.tracks[1].settings.del, 2.5f);
        QCOMPARE(back.tracks[0].settings.fgf, 3.0f);
        QCOMPARE(back.tracks[0].settings.flags, quint16(0x0009));
        QCOMPARE(writeBytes(back), bytes);
    }

    void olderFiles_data()
    {
        QTest::addColumn<qint32>("magic");
        QTest::addColumn<quint32>("storedVersion");
        QTest::addColumn<int>("layout"); // -1: the oldest block, no marker
        QTest::addColumn<quint32>("version");
        QTest::addColumn<bool>("displayNames");

        QTest::newRow("9932, layout 2") << 9932 << 0u << 2 << 0u << false;
        QTest::newRow("9932, layout 3") << 9932 << 0u << 3 << 1u << false;
        QTest::newRow("9932, layout 4") << 9932 << 0u << 4 << 3u << false;
        QTest::newRow("9932, layout 5") << 9932 << 0u << 5 << 7u << false;
        QTest::newRow("9932, oldest block") << 9932 << 0u << -1 << 0u << false;
        QTest::newRow("9933 v4, layout 1") << 9933 << 4u << 1 << 4u << true;
        QTest::newRow("9933 v8 ignores layout 4") << 9933 << 8u << 4 << 8u << false;
        QTest::newRow("9933 v2, layout 3") << 9933 << 2u << 3 << 3u << false;
    }
    void olderFiles()
    {
        QFETCH(qint32, magic);
        QFETCH(quint32, storedVersion);
        QFETCH(int, layout);
        QFETCH(quint32, version);
        QFETCH(bool, displayNames);

        Builder b;
        b << magic;
        if (magic == 9933)
            b << storedVersion;
        b << qint32(1);
        b.agent(QStringLiteral("Ether"), displayNames, 12.0f);
        b << qint32(1) << qint32(2);
        b.sample(0, 0, 0x0005, 0.0f);
        b.sample(5000, 0, 0x0005, 1.0f);
        for (int i = 0; i < 8; ++i)
            b << 2.0f;
        if (layout < 0)
            b << qint16(5000);
        else
            b.settingsBlock(qint16(layout), 5000);
        if (version & QenSimFile::HasDescription)
            b << QStringLiteral("old");
        b << quint32(10000);
        if (version & QenSimFile::HasColors)
            b << qint32(3) << QStringLiteral("blue") << QStringLiteral("red")
              << QStringLiteral("cyan");
        b << quint32(10000) << quint32(10000) << qint16(0);
        for (int i = 0; i < 12; ++i)
            b << 1.0f;
        for (int i = 0; i < QenSimFile::stepSlots; ++i)
            b << qint16(i < 2 ? i : 0);

        QenSimFile file;
        QCOMPARE(readBytes(b.bytes, &file), QenSimFile::Result::Ok);
        QCOMPARE(file.version, version);
        QCOMPARE(file.settings.stepMs, quint16(5000));
        QCOMPARE(file.catalogue.at(0)->displayName,
                 displayNames ? QStringLiteral("Ether (local)") : QStringLiteral("Ether"));
        QCOMPARE(file.description,
                 (version & QenSimFile::HasDescription) ? QStringLiteral("old") : QString());
        QCOMPARE(file.colors.size(), (version & QenSimFile::HasColors) ? 3 : 0);
        QCOMPARE(file.settings.layout, (storedVersion & 8) ? 1 : layout);
        QCOMPARE(file.tracks[0].samples[1].state[0], 1.0f);
        QVERIFY(file.breakpointText.isEmpty());
    }

    void everyTruncationIsRefused()
    {
        Offsets at;
        const QByteArray bytes = smallFile(&at);
        for (qsizetype length = 0; length < bytes.size(); ++length) {
            QenSimFile file;
            const QenSimFile::Result result = readBytes(bytes.left(length), &file);
            if (length == at.endOfLayout) {
                // Where files without a breakpoint end.
                QCOMPARE(result, QenSimFile::Result::Ok);
                QVERIFY(file.breakpointText.isEmpty());
            } else if (result == QenSimFile::Result::Ok) {
                QFAIL(qPrintable(QStringLiteral("accepted at length %1").arg(length)));
            }
        }
    }

    void corruptFilesAreRefused_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<qint32>("value");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("result");

        const int corrupt = int(QenSimFile::Result::Corrupt);
        QTest::newRow("magic") << "magic" << 9934 << 4 << int(QenSimFile::Result::BadMagic);
        QTest::newRow("catalogue count huge") << "catalogueCount" << 0x7fffffff << 4 << corrupt;
        QTest::newRow("catalogue count negative") << "catalogueCount" << -1 << 4 << corrupt;
        QTest::newRow("no tracks") << "trackCount" << 0 << 4 << corrupt;
        QTest::newRow("tracks beyond the bytes") << "trackCount" << 100000 << 4 << corrupt;
        QTest::newRow("sample count huge") << "sampleCount" << 12001 << 4 << corrupt;
        QTest::newRow("sample count flipped") << "sampleCount" << 0x03000000 << 4 << corrupt;
        QTest::newRow("sample count beyond the bytes") << "sampleCount" << 4000 << 4 << corrupt;
        QTest::newRow("agent outside the catalogue") << "firstSampleAgent" << 2 << 2 << corrupt;
        QTest::newRow("unknown layout") << "layout" << 6 << 2 << corrupt;
        QTest::newRow("time step 0") << "stepMs" << 0 << 2 << corrupt;
        QTest::newRow("colour count beyond the bytes") << "colourCount" << 1000000 << 4 << corrupt;
        QTest::newRow("21 bookmarks") << "bookmarkCount" << 21 << 2 << corrupt;
        QTest::newRow("negative bookmarks") << "bookmarkCount" << -2 << 2 << corrupt;
        QTest::newRow("step index past the samples") << "stepIndex" << 3 << 2 << corrupt;
        QTest::newRow("step index negative") << "stepIndex" << -1 << 2 << corrupt;
    }
    void corruptFilesAreRefused()
    {
        QFETCH(QString, field);
        QFETCH(qint32, value);
        QFETCH(int, width);
        QFETCH(int, result);

        Offsets at;
        QByteArray bytes = smallFile(&at);
        const QHash<QString, qsizetype> offsets = {
            {"magic", 0},
            {"catalogueCount", at.catalogueCount},
            {"trackCount", at.trackCount},
            {"sampleCount", at.sampleCount},
            {"firstSampleAgent", at.firstSampleAgent},
            {"layout", at.layout},
            {"stepMs", at.stepMs},
            {"colourCount", at.colorCount},
            {"bookmarkCount", at.bookmarkCount},
            {"stepIndex", at.stepIndex},
        };
        if (field == QLatin1String("layout"))
            patch32(bytes, 4, 7); // without bit 3, which would ignore the layout
        if (width == 2)
            patch16(bytes, offsets.value(field), qint16(value));
        else
            patch32(bytes, offsets.value(field), value);
        QenSimFile file;
        QCOMPARE(int(readBytes(bytes, &file)), result);
    }

    // Numbers a view would print as "nan" or "inf", or a step would carry on
    // forever, make the file corrupt wherever they stand.
    void unreadableNumbersAreRefused_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("index");
        QTest::addColumn<float>("value");
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const float inf = std::numeric_limits<float>::infinity();
        QTest::newRow("agent Lambda NaN") << "lambda" << 0 << nan;
        QTest::newRow("agent MAC infinite") << "lambda" << 4 << inf;
        QTest::newRow("agent partition FAT NaN") << "partition" << 4 << nan;
        QTest::newRow("sample DEL NaN") << "sample01" << 0 << nan;
        QTest::newRow("sample weight -inf") << "sample12" << 4 << -inf;
        QTest::newRow("sample VRG state inf") << "state12" << 2 << inf;
        QTest::newRow("sample delivered NaN") << "state00" << 7 << nan;
        QTest::newRow("live state -inf") << "live1" << 5 << -inf;
        QTest::newRow("volume MUS NaN") << "volumes" << 3 << nan;
        QTest::newRow("flow share FAT inf") << "flows" << 4 << inf;
    }
    void unreadableNumbersAreRefused()
    {
        QFETCH(QString, field);
        QFETCH(int, index);
        QFETCH(float, value);
        Offsets at;
        QByteArray bytes = smallFile(&at);
        {
            // The file as built reads, so the one number is what is refused.
            QenSimFile file;
            QCOMPARE(readBytes(bytes, &file), QenSimFile::Result::Ok);
        }
        const QHash<QString, qsizetype> offsets = {
            {"lambda", at.lambda},
            {"partition", at.partition},
            {"sample01", at.samples[0][1] + sampleDel},
            {"sample12", at.samples[1][2] + sampleDel},
            {"state12", at.samples[1][2] + sampleState},
            {"state00", at.samples[0][0] + sampleState},
            {"live1", at.liveState[1]},
            {"volumes", at.volumes},
            {"flows", at.flows},
        };
        QVERIFY(offsets.contains(field));
        patchFloat(bytes, offsets.value(field) + 4 * index, value);
        QenSimFile file;
        QCOMPARE(readBytes(bytes, &file), QenSimFile::Result::Corrupt);
    }

    // Samples follow the steps in order; the end time may lie anywhere (a run
    // as fast as possible computes far ahead of the display).
    void clocksAreChecked_data()
    {
        QTest::addColumn<quint32>("endTime");
        QTest::addColumn<quint32>("lastTime"); // of the third sample of both tracks
        QTest::addColumn<bool>("accepted");
        QTest::newRow("as built") << 17000u << 12000u << true;
        QTest::newRow("end at 0") << 0u << 12000u << true;
        QTest::newRow("third sample back in time") << 17000u << 5999u << false;
        QTest::newRow("third sample back to 0") << 17000u << 0u << false;
        QTest::newRow("third sample between steps") << 17000u << 6001u << true;
    }
    void clocksAreChecked()
    {
        QFETCH(quint32, endTime);
        QFETCH(quint32, lastTime);
        QFETCH(bool, accepted);
        Offsets at;
        QByteArray bytes = smallFile(&at);
        patch32(bytes, at.endTime, qint32(endTime));
        // Both tracks alike, so that they still agree time for time.
        patch32(bytes, at.samples[0][2], qint32(lastTime));
        patch32(bytes, at.samples[1][2], qint32(lastTime));
        QenSimFile file;
        QCOMPARE(readBytes(bytes, &file) == QenSimFile::Result::Ok, accepted);
    }

    void samplesSurviveBitForBit()
    {
        QenSimFile file;
        file.catalogue.append(std::make_unique<QenAnesthetic>());
        file.tracks.resize(1);
        auto &samples = file.tracks[0].samples;
        for (quint32 i = 0; i < 50; ++i) {
            QenSimFile::Sample s;
            s.time = i * 6000;
            s.del = 1.0f / float(i + 3);
            s.fgf = std::nextafter(8.0f, 9.0f);
            s.flags = quint16(i & 0x3ff);
            for (int k = 0; k < 8; ++k)
                s.state[k] = float(i) / 7.0f + float(k) * 1e-7f;
            samples.push_back(s);
            file.stepIndex[i] = qint16(i);
        }
        file.simTime = file.endTime = 50 * 6000;
        QenSimFile back;
        QCOMPARE(readBytes(writeBytes(file), &back), QenSimFile::Result::Ok);
        QCOMPARE(back.tracks[0].samples.size(), samples.size());
        for (size_t i = 0; i < samples.size(); ++i)
            QVERIFY(sameSample(back.tracks[0].samples[i], samples[i]));
    }
};

QTEST_GUILESS_MAIN(TestQenSimFile)
#include "tst_qensimfile.moc"
