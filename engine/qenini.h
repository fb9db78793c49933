#pragma once

#include <QHash>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <utility>

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
//
// A value that cannot be written (the file or its folder is read-only) is not
// lost: it is kept in memory and read back in its place for the rest of the
// session, and written out with the next write that succeeds. Copies of one
// store share what they keep.
class QenIni
{
public:
    QenIni() = default;
    explicit QenIni(const QString &path) : m_path(path) {}

    const QString &path() const { return m_path; }
    // A new path starts with nothing kept from the old file.
    void setPath(const QString &path);

    // A null group reads the key at the top level.
    QVariant value(const QString &group, const QString &key,
                   const QVariant &defaultValue = QVariant()) const;
    // Several keys of one group, each with its default, answered in the order
    // asked with the file opened once: for a reader that wants a handful of
    // settings together, each time a window is built.
    QVariantList values(const QString &group,
                        const QList<std::pair<QString, QVariant>> &keysAndDefaults) const;
    // Doubles and floats are rounded to six decimals before they are written.
    // An existing key is rewritten under its own spelling. False when the file
    // could not be written (the value is kept for this session).
    bool setValue(const QString &group, const QString &key, const QVariant &value) const;
    bool remove(const QString &group, const QString &key) const;
    bool contains(const QString &group, const QString &key) const;
    QStringList childKeys(const QString &group) const;
    QStringList childGroups() const;

    // Whether some values live only in memory because the file could not be
    // written.
    bool hasUnsavedValues() const { return !m_session->pending.isEmpty(); }
    // True once, the first time it is asked after a write failed: the user is
    // told about a read-only settings file once per session, not per value.
    bool takeWriteFailureNotice() const;

    static double roundToSixDecimals(double value);

    // A copy that has read the whole file once and answers every later read
    // from memory (values kept for the session still come first): what a
    // loader that reads many keys works on. A write through the copy goes to
    // the file and makes the copy read the file again on its next read.
    QenIni readOnce() const;

private:
    struct Pending
    {
        QString group;
        QString key;
        QVariant value; // invalid: the key was removed
    };
    struct Session
    {
        QHash<QString, Pending> pending; // by lower-case "group/key"
        bool failed = false;
        bool told = false;
    };

    bool write(const QString &group, const QString &key, const QVariant &value) const;
    const Pending *pendingFor(const QString &group, const QString &key) const;

    // The file as one read found it: every key by its full path ("Group/Key")
    // and, for each group, its keys in the reader's order.
    struct Contents
    {
        QHash<QString, QVariant> values;
        QStringList groups;
        QStringList topKeys;
        QHash<QString, QStringList> groupKeys;
    };
    QStringList keysOf(const QString &group) const;
    QString pathOf(const QString &group, const QString &key) const;

    QString m_path;
    std::shared_ptr<Session> m_session = std::make_shared<Session>();
    mutable std::shared_ptr<const Contents> m_contents;
};
