#include "engine/qenini.h"

#include <cmath>

namespace {

QString matchIn(const QStringList &names, const QString &wanted)
{
    for (const QString &name : names) {
        if (name == wanted)
            return name;
    }
    for (const QString &name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    }
    return wanted;
}

// Enters `group` as the file spells it; returns false for a null group.
bool enter(QSettings &settings, const QString &group)
{
    if (group.isNull())
        return false;
    settings.beginGroup(matchIn(settings.childGroups(), group));
    return true;
}

} // namespace

double QenIni::roundToSixDecimals(double value)
{
    return std::floor(value * 1000000.0 + 0.5) / 1000000.0;
}

QVariant QenIni::value(const QString &group, const QString &key, const QVariant &defaultValue) const
{
    QenSettings settings(m_path);
    enter(settings, group);
    return settings.value(matchIn(settings.childKeys(), key), defaultValue);
}

void QenIni::setValue(const QString &group, const QString &key, const QVariant &value) const
{
    QenSettings settings(m_path);
    enter(settings, group);
    const QString actual = matchIn(settings.childKeys(), key);
    const int type = value.userType();
    if (type == QMetaType::Double || type == QMetaType::Float)
        settings.setValue(actual, roundToSixDecimals(value.toDouble()));
    else
        settings.setValue(actual, value);
}

void QenIni::remove(const QString &group, const QString &key) const
{
    QenSettings settings(m_path);
    enter(settings, group);
    settings.remove(matchIn(settings.childKeys(), key));
}

bool QenIni::contains(const QString &group, const QString &key) const
{
    QenSettings settings(m_path);
    enter(settings, group);
    return settings.contains(matchIn(settings.childKeys(), key));
}

QStringList QenIni::childKeys(const QString &group) const
{
    QenSettings settings(m_path);
    enter(settings, group);
    return settings.childKeys();
}

QStringList QenIni::childGroups() const
{
    QenSettings settings(m_path);
    return settings.childGroups();
}
