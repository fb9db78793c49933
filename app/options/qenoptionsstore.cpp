#include "app/options/qenoptionsstore.h"

#include "engine/qenprompt.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <cmath>

void QenOptionsStore::write(const QString &group, const QString &key, const QVariant &value)
{
    m_ini.setValue(group, key, value);
    m_written.append(group + QLatin1Char('/') + key);
}

void QenOptionsStore::remove(const QString &group, const QString &key)
{
    m_ini.remove(group, key);
    m_written.append(group + QLatin1Char('/') + key);
}

bool QenOptionsStore::differs(double kept, double shown)
{
    if (kept == shown)
        return false;
    return std::fabs(kept - shown) * 10000.0 >= std::min(std::fabs(kept), std::fabs(shown));
}

void QenOptionsStore::tellIfUnsaved(const QenIni &ini, QenPrompt *prompt)
{
    if (!prompt || !ini.takeWriteFailureNotice())
        return;
    prompt->warning(
        QCoreApplication::translate("QenOptionsDialog", "Quenor® "),
        QCoreApplication::translate("QenOptionsDialog",
                                    "<p>The settings could not be saved to %1: the file or its "
                                    "folder cannot be written.<p>Your choices apply until the "
                                    "program closes.")
            .arg(QDir::toNativeSeparators(ini.path()).toHtmlEscaped()));
}
