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

QString pendingKey(const QString &group, const QString &key)
{
    return (group + QLatin1Char('/') + key).toLower();
}

// Writes (or, for an invalid value, removes) one key of an open file.
void put(QSettings &settings, const QString &group, const QString &key, const QVariant &value)
{
    const bool entered = enter(settings, group);
    const QString actual = matchIn(settings.childKeys(), key);
    if (!value.isValid()) {
        settings.remove(actual);
    } else {
        const int type = value.userType();
        if (type == QMetaType::Double || type == QMetaType::Float)
            settings.setValue(actual, QenIni::roundToSixDecimals(value.toDouble()));
        else
            settings.setValue(actual, value);
    }
    if (entered)
        settings.endGroup();
}

} // namespace

double QenIni::roundToSixDecimals(double value)
{
    return std::floor(value * 1000000.0 + 0.5) / 1000000.0;
}

void QenIni::setPath(const QString &path)
{
    m_path = path;
    m_contents.reset();
    m_session = std::make_shared<Session>();
}

const QenIni::Pending *QenIni::pendingFor(const QString &group, const QString &key) const
{
    const auto it = m_session->pending.constFind(pendingKey(group, key));
    return it == m_session->pending.cend() ? nullptr : &it.value();
}

QenIni QenIni::readOnce() const
{
    QenIni copy(*this);
    auto contents = std::make_shared<Contents>();
    const QenSettings settings(m_path);
    const QStringList all = settings.allKeys();
    contents->values.reserve(all.size());
    for (const QString &path : all)
        contents->values.insert(path, settings.value(path));
    contents->groups = settings.childGroups();
    contents->topKeys = settings.childKeys();
    for (const QString &group : std::as_const(contents->groups))
        contents->groupKeys.insert(group, QStringList());
    for (const QString &path : all) {
        const qsizetype slash = path.indexOf(QLatin1Char('/'));
        if (slash > 0 && path.indexOf(QLatin1Char('/'), slash + 1) < 0)
            contents->groupKeys[path.left(slash)].append(path.mid(slash + 1));
    }
    copy.m_contents = std::move(contents);
    return copy;
}

QStringList QenIni::keysOf(const QString &group) const
{
    // A group as the file spells it; a path below a group ("A/B") is rare
    // enough to be worked out when asked.
    const auto it = m_contents->groupKeys.constFind(group);
    if (it != m_contents->groupKeys.cend())
        return it.value();
    QStringList keys;
    const QString prefix = group + QLatin1Char('/');
    for (auto v = m_contents->values.cbegin(); v != m_contents->values.cend(); ++v) {
        if (v.key().startsWith(prefix) && v.key().indexOf(QLatin1Char('/'), prefix.size()) < 0)
            keys.append(v.key().mid(prefix.size()));
    }
    keys.sort();
    return keys;
}

QString QenIni::pathOf(const QString &group, const QString &key) const
{
    if (group.isNull())
        return matchIn(m_contents->topKeys, key);
    const QString actual = matchIn(m_contents->groups, group);
    return actual + QLatin1Char('/') + matchIn(keysOf(actual), key);
}

QVariant QenIni::value(const QString &group, const QString &key, const QVariant &defaultValue) const
{
    if (const Pending *kept = pendingFor(group, key))
        return kept->value.isValid() ? kept->value : defaultValue;
    if (m_contents)
        return m_contents->values.value(pathOf(group, key), defaultValue);
    QenSettings settings(m_path);
    enter(settings, group);
    return settings.value(matchIn(settings.childKeys(), key), defaultValue);
}

QVariantList QenIni::values(const QString &group,
                            const QList<std::pair<QString, QVariant>> &keysAndDefaults) const
{
    QVariantList answers;
    answers.reserve(keysAndDefaults.size());
    if (m_contents) {
        for (const auto &[key, fallback] : keysAndDefaults)
            answers.append(value(group, key, fallback));
        return answers;
    }
    QenSettings settings(m_path);
    enter(settings, group);
    const QStringList names = settings.childKeys();
    for (const auto &[key, fallback] : keysAndDefaults) {
        if (const Pending *kept = pendingFor(group, key))
            answers.append(kept->value.isValid() ? kept->value : fallback);
        else
            answers.append(settings.value(matchIn(names, key), fallback));
    }
    return answers;
}

bool QenIni::write(const QString &group, const QString &key, const QVariant &value) const
{
    m_contents.reset();
    QenSettings settings(m_path);
    // What an earlier write could not save goes out first, so that it is not
    // lost once the file can be written again.
    for (const Pending &kept : std::as_const(m_session->pending))
        put(settings, kept.group, kept.key, kept.value);
    put(settings, group, key, value);
    settings.sync();
    if (settings.status() == QSettings::NoError) {
        m_session->pending.clear();
        return true;
    }
    QVariant kept = value;
    const int type = value.userType();
    if (type == QMetaType::Double || type == QMetaType::Float)
        kept = roundToSixDecimals(value.toDouble());
    m_session->pending.insert(pendingKey(group, key), Pending{group, key, kept});
    m_session->failed = true;
    return false;
}

bool QenIni::setValue(const QString &group, const QString &key, const QVariant &value) const
{
    // An invalid value would read as a removal.
    return write(group, key, value.isValid() ? value : QVariant(QString()));
}

bool QenIni::remove(const QString &group, const QString &key) const
{
    return write(group, key, QVariant());
}

bool QenIni::contains(const QString &group, const QString &key) const
{
    if (const Pending *kept = pendingFor(group, key))
        return kept->value.isValid();
    if (m_contents)
        return m_contents->values.contains(pathOf(group, key));
    QenSettings settings(m_path);
    enter(settings, group);
    return settings.contains(matchIn(settings.childKeys(), key));
}

QStringList QenIni::childKeys(const QString &group) const
{
    if (m_contents)
        return group.isNull() ? m_contents->topKeys : keysOf(matchIn(m_contents->groups, group));
    QenSettings settings(m_path);
    enter(settings, group);
    return settings.childKeys();
}

QStringList QenIni::childGroups() const
{
    if (m_contents)
        return m_contents->groups;
    QenSettings settings(m_path);
    return settings.childGroups();
}

bool QenIni::takeWriteFailureNotice() const
{
    if (!m_session->failed || m_session->told)
        return false;
    m_session->told = true;
    return true;
}
