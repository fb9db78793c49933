#pragma once

#include "engine/qendefaults.h"
#include "engine/qenini.h"

#include <QString>
#include <QVariant>

class QenPrompt;

// What the options dialog writes to: the settings store and a working copy of
// the defaults record new documents start from. The dialog's pages fill
// themselves from it and, on OK, write what the user changed into both.
class QenOptionsStore
{
public:
    QenOptionsStore(const QenIni &ini, const QenDefaults &record) : m_ini(ini), m_record(record) {}

    const QenIni &ini() const { return m_ini; }
    QVariant value(const QString &group, const QString &key, const QVariant &defaultValue) const
    {
        return m_ini.value(group, key, defaultValue);
    }
    void write(const QString &group, const QString &key, const QVariant &value);
    void remove(const QString &group, const QString &key);
    // Keys written (or removed) so far, as "Group/Key".
    const QStringList &written() const { return m_written; }

    const QenDefaults &record() const { return m_record; }
    QenDefaults &record() { return m_record; }

    // Whether a number the user sees as `shown` differs from the stored `kept`
    // by at least one part in ten thousand: what a spin box rounds away does
    // not count as a change.
    static bool differs(double kept, double shown);

    // When the settings file could not be written, tells the user once per
    // session, naming the file; the values are kept for the session.
    static void tellIfUnsaved(const QenIni &ini, QenPrompt *prompt);

private:
    QenIni m_ini;
    QenDefaults m_record;
    QStringList m_written;
};
