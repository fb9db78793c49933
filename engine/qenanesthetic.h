#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class QDataStream;
class QenIni;

// Compartment codes, in the fixed order of every array, stream and table.
enum QenCompartment { CKT = 0, ALV = 1, VRG = 2, MUS = 3, FAT = 4, VEN = 5 };
constexpr int QenCompartments = 6;

// One anaesthetic agent of the catalogue: its physical and economic properties,
// as read from its section of quenor.ini or from a saved simulation.
class QenAnesthetic : public QObject
{
    Q_OBJECT

public:
    explicit QenAnesthetic(QObject *parent = nullptr);

    // Reads the section named `name` and validates it. On failure, `failedKey`
    // receives the parameter name the message reports and false is returned.
    // `colorNames` is the application's list of colour names.
    bool readFromIni(const QenIni &ini, const QStringList &colorNames, QString *failedKey);

    // The agent's stream form in a saved simulation; `version` holds the file's
    // version flags (bit 2: the display name is stored).
    void serialize(QDataStream &stream, bool writing, quint32 version, const QenIni *ini = nullptr,
                   const QStringList &colorNames = {});

    // The entry of `colorNames` that matches `text` ignoring case, or an empty
    // string when none or more than one does.
    static QString matchColor(const QString &text, const QStringList &colorNames);

    // Reads the two optional constants of the greenhouse footprint from the
    // agent's section; a missing or unusable value leaves the constant unknown
    // and never refuses the agent.
    void readFootprint(const QenIni &ini);
    // The largest bottle size (mL) and cost the agent table accepts; every
    // control that edits them offers the same range.
    static constexpr int MaxBottleSizeMl = 5000;
    static constexpr float MaxBottleCost = 10000.0f;
    static constexpr int MaxGwp100 = 100000;

    QString name = QStringLiteral("Unknown");
    QString displayName;
    QString format = QStringLiteral("%4.2f");
    QString color;
    quint16 volatility = 0;
    quint16 high = 0;
    float lambdaBlood = 1.4f;
    float max = 5.0f;
    float defaultDel = 0.0f;
    float ambient = 0.0f;
    float mac = 0.0f;
    float defUnitDose = 0.0f;
    float bottleCost = 0.0f;
    qint32 bottleSize = 0;
    bool liquid = false;
    float partition[QenCompartments] = {1.0f, 1.0f, 2.6f, 5.2f, 60.0f, 1.4f};
    // Global warming potential over 100 years (GWP100) and g/mol; not stored in
    // simulation files, always taken from the INI.
    std::optional<float> gwp100;
    std::optional<float> molarMass;
};
