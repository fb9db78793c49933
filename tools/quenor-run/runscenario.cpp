#include "runscenario.h"

#include "document/qendoc.h"
#include "engine/qenengine.h"
#include "engine/qenscenario.h"

#include <algorithm>
#include <cmath>

namespace QenRunScenario {

bool expand(const QStringList &arguments, QStringList *expanded, QString *error)
{
    const QString option = QStringLiteral("--scenario");
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString path;
        if (i > 0 && arguments[i] == option && i + 1 < arguments.size())
            path = arguments[++i];
        else if (i > 0 && arguments[i].startsWith(option + QLatin1Char('=')))
            path = arguments[i].mid(option.size() + 1);
        else {
            *expanded << arguments[i];
            continue;
        }
        QenScenario scenario;
        if (!scenario.read(path, error))
            return false;
        *expanded << scenario.arguments();
    }
    return true;
}

bool addBookmarks(QenDoc &doc, const QStringList &minutes, QString *error)
{
    QList<quint32> bookmarks = doc.engine()->bookmarks();
    const quint32 endMs = doc.engine()->simTime();
    for (const QString &text : minutes) {
        bool ok = false;
        const double value = text.trimmed().toDouble(&ok);
        const double ms = ok && std::isfinite(value) ? std::round(value * 60.0) * 1000.0 : -1.0;
        if (ms < 0.0 || ms > double(endMs)) {
            *error = QStringLiteral("--bookmark %1: not a time within the run (0 to %2 minutes)")
                         .arg(text)
                         .arg(endMs / 60000.0);
            return false;
        }
        if (!bookmarks.contains(quint32(ms)))
            bookmarks << quint32(ms);
    }
    if (bookmarks.size() > QenEngine::MaxBookmarks) {
        *error = QStringLiteral("--bookmark: more than %1 bookmarks").arg(QenEngine::MaxBookmarks);
        return false;
    }
    std::sort(bookmarks.begin(), bookmarks.end());
    doc.setBookmarks(bookmarks);
    return true;
}

} // namespace QenRunScenario
