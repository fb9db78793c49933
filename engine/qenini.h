#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

// The INI file opened for one read or write and closed right after, so every
// change is on disk at once and every read sees the file as it is now.
class QenSettings : public QSettings
{
public:
    explicit QenSettings(const QString &path) : QSettings(path, QSettings::IniFormat) {}
};

// Access to quenor.ini. Keys (and group names) are matched without regard to
// case: the delivered file spells some keys in mixed case ("Bottlecost",
// "Showcost") that the program reads as "BottleCost" and "ShowCost".
class QenIni
{
public:
    QenIni() = default;
    explicit QenIni(const QString &path) : m_path(path) {}

    const QString &path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }

    // A null group reads the key at the top level.
    QVariant value(const QString &group, const QString &key,
                   const QVariant &defaultValue = QVariant()) const;
    // Doubles and floats are rounded to six decimals before they are written.
    // An existing key is rewritten under its own spelling.
    void setValue(const QString &group, const QString &key, const QVariant &value) const;
    void remove(const QString &group, const QString &key) const;
    bool contains(const QString &group, const QString &key) const;
    QStringList childKeys(const QString &group) const;
    QStringList childGroups() const;

    static double roundToSixDecimals(double value);

private:
    QString m_path;
};
