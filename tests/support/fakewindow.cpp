#include "fakewindow.h"

#include "document/qendoc.h"
#include "document/qenupdateevent.h"

bool NoticeRecorder::event(QEvent *e)
{
    if (e->type() != QenUpdateEvent::eventType)
        return QObject::event(e);
    auto *u = static_cast<QenUpdateEvent *>(e);
    notices.append({u->agent(), u->hints()});
    return true;
}

QList<int> NoticeRecorder::hints() const
{
    QList<int> result;
    for (const Notice &n : notices)
        result.append(n.hints);
    return result;
}

int NoticeRecorder::count(int hint) const
{
    int n = 0;
    for (const Notice &notice : notices)
        n += (notice.hints & hint) ? 1 : 0;
    return n;
}

void FakeWindow::setTitle(const QString &t, const QString &frameNum, const QString &priority,
                          const QString &agent)
{
    title = t + QLatin1Char(':') + QString::number(m_type) + frameNum;
    if (!priority.isEmpty())
        title += QStringLiteral(":(%1:%2)").arg(priority, agent);
}

void FakeWindow::closeView()
{
    closed = true;
    if (m_doc)
        m_doc->viewClosed(this);
}
