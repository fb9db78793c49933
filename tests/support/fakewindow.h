#pragma once

#include "document/qenchildwindowinterface.h"

#include <QList>
#include <QObject>
#include <QString>

class QenDoc;

// Stands in for a view: records the update notices a document sends it.
class NoticeRecorder : public QObject
{
public:
    struct Notice
    {
        int agent;
        int hints;
    };

    bool event(QEvent *e) override;
    // The hints of every notice, in the order they came.
    QList<int> hints() const;
    // How many notices carried `hint`.
    int count(int hint) const;
    void clear() { notices.clear(); }

    QList<Notice> notices;
};

// A child window stand-in without widgets: records its title, modified mark
// and closing, and the notices its two views would get. Given a document, it
// reports its closing to it as a real window does.
class FakeWindow : public QenChildWindowInterface
{
public:
    FakeWindow(QenDoc *doc, int type, int agent) : m_doc(doc), m_type(type), m_agent(agent) {}

    int viewType() const override { return m_type; }
    int agentIndex() const override { return m_agent; }
    void setAgentIndex(int agent) override { m_agent = agent; }
    bool isWindowModified() const override { return m_modified; }
    void setWindowModified(bool modified) override { m_modified = modified; }
    // Recorded as "title:<type><frame>", then ":(<priority>:<agent>)" when given.
    void setTitle(const QString &title, const QString &frameNum, const QString &priority,
                  const QString &agent) override;
    QObject *pictureView() const override { return const_cast<NoticeRecorder *>(&picture); }
    QObject *graphView() const override { return const_cast<NoticeRecorder *>(&graph); }
    void closeView() override;

    QString title;
    bool closed = false;
    NoticeRecorder picture;
    NoticeRecorder graph;

private:
    QenDoc *m_doc;
    int m_type;
    int m_agent;
    bool m_modified = false;
};
