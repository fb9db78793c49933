#pragma once

#include "engine/qencatalogue.h"
#include "engine/qen.h"
#include "engine/qendefaults.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class QDataStream;
class QIODevice;
class QenIni;

// The contents of a .qen file, record by record. The document fills one from
// itself before writing and reads a file into a fresh one, so a file that
// turns out to be corrupt never touches the open simulation.
//
// Every record has one routine that serves both directions, the engine's own
// for samples, tracks and the step index; the reader checks the stream after
// each record and bounds each count before it allocates.
class QenSimFile
{
public:
    static constexpr qint32 magicCurrent = 9933;
    static constexpr qint32 magicOldest = 9932;
    static constexpr quint32 versionWritten = 15;
    static constexpr int stepSlots = QenMaxSteps; // steps of the longest simulation
    static constexpr int layoutWritten = 5;

    // Version bits: which optional parts the file carries.
    enum VersionBit : quint32 {
        HasColors = 1,
        HasDescription = 2,
        HasDisplayNames = 4,
        IgnoreLayout = 8,
    };

    // One step of one agent: the engine's record, in its stream form.
    using Sample = QenSample;

    // One simulated agent: the engine's track with its history and live state,
    // read and written by the engine's own routine. Without a history,
    // `settings` is the sample that stands in for it.
    struct Track : Qen
    {
        QenSample settings;
    };

    // The settings block. Fields 5 to 10 belong to the panel of the first
    // window: the writer stores the selected agent in `panelMarker`, the reader
    // keeps whatever the file holds there.
    struct Settings
    {
        int layout = layoutWritten; // -1 for the oldest files, which have no layout
        quint16 stepMs = 6000;
        qint16 documentValue = 1;
        qint16 panelMarker = 0;
        qint16 delTop = 0;
        qint16 gaugeTops[3] = {};
        qint16 panelFlag = 0;
        qint16 speed = 20;
        qint16 graphMinutes = 15;
    };

    enum class Result { Ok, BadMagic, Corrupt };

    static std::unique_ptr<QenAnesthetic> copyOf(const QenAnesthetic &agent);

    // Writes the whole file; `version` becomes 15. False when the device
    // refused a write.
    bool write(QIODevice *device);

    // Reads a whole file into this object, which should be fresh. The agent
    // records take their colours from `ini` again. Anything but Ok leaves
    // this object in an unspecified state, to be thrown away.
    Result read(QIODevice *device, const QenIni *ini, const QStringList &colorNames);

    quint32 version = versionWritten;
    QenCatalogue catalogue;
    std::vector<Track> tracks;
    Settings settings;
    QString description;
    quint32 liveTime = 0;
    QStringList colors; // as stored: untranslated where the writer translated
    quint32 simTime = 0;
    quint32 endTime = 0;
    QList<quint32> bookmarks;
    std::array<float, QenCompartments> volumes = QenTextbookVolumesL;
    float flows[6] = {1.0f, 1.0f, 0.76f, 0.18f, 0.06f, 1.0f};
    QenStepIndex stepIndex{};
    QString breakpointText;

private:
    Result serialize(QDataStream &stream, bool writing, const QenIni *ini,
                     const QStringList &colorNames);
    Result serializeSettings(QDataStream &stream, bool writing);
    Result checkIndexes() const;
    // Every stored number finite, sample times in order.
    Result checkNumbers() const;
};
