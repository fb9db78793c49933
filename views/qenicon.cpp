#include "views/qenicon.h"

#include <QHash>

QIcon qenIcon(const QString &path)
{
    // Icons live on the GUI thread only, so one table serves without a lock.
    static QHash<QString, QIcon> read;
    auto it = read.constFind(path);
    if (it == read.cend())
        it = read.insert(path, QIcon(path));
    return it.value();
}
