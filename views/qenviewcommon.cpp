#include "views/qenviewcommon.h"

#include "document/qendoc.h"
#include "document/qenupdateevent.h"

QenViewCommon::QenViewCommon(QenDoc *document, QenChildWindowInterface *owner, QWidget *parent)
    : QWidget(parent), m_doc(document), m_owner(owner)
{}

bool QenViewCommon::currentAgent(int *agent) const
{
    if (agent)
        *agent = -1;
    return false;
}

int QenViewCommon::agentIndex() const
{
    int agent = -1;
    return currentAgent(&agent) ? agent : -1;
}

bool QenViewCommon::concernsMe(const QenUpdateEvent *event) const
{
    if (event->document() != m_doc)
        return false;
    return event->agent() == 0 || event->agent() == agentIndex() + 1;
}
