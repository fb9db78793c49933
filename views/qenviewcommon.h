#pragma once

#include "document/qendoc.h"

#include <QPointer>
#include <QWidget>

class QenChildWindowInterface;
class QenUpdateEvent;

// The base of the views a child window shows (the picture, the graphs and the
// control tray). It knows the document it shows and the window that holds it,
// and reports the agent it shows.
//
// Ownership: neither the document nor the window is owned. The window owns the
// view; the document outlives its windows' views.
class QenViewCommon : public QWidget
{
    Q_OBJECT

public:
    QenViewCommon(QenDoc *document, QenChildWindowInterface *owner, QWidget *parent = nullptr);

    QenDoc *document() const { return m_doc; }
    QenChildWindowInterface *owner() const { return m_owner; }
    void setOwner(QenChildWindowInterface *owner) { m_owner = owner; }

    // The agent this view shows; false for a view that shows none.
    virtual bool currentAgent(int *agent) const;
    // The agent shown, or -1.
    int agentIndex() const;

protected:
    // Whether a notice concerns this view: the whole simulation, or its agent.
    bool concernsMe(const QenUpdateEvent *event) const;

private:
    QPointer<QenDoc> m_doc;
    QenChildWindowInterface *m_owner;
};
