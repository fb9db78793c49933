#pragma once

// Hosts the picture and graph views of a real document the way a child
// window will: the window implements the document's view interface, holds
// both views and is registered with the document, which then sends its
// update notices to the two views.

#include "document/qendoc.h"
#include "document/qendochost.h"
#include "document/qendocview.h"
#include "document/qenupdateevent.h"
#include "scriptedprompt.h"
#include "testfiles.h"
#include "views/qengraphview.h"
#include "views/qenpanelview.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Counts the notices a view would receive.
class NoticeSink : public QObject
{
public:
    bool event(QEvent *e) override
    {
        if (e->type() != QenUpdateEvent::eventType)
            return QObject::event(e);
        auto *u = static_cast<QenUpdateEvent *>(e);
        notices.append({u->agent(), u->hints()});
        return true;
    }
    int count(int hint) const
    {
        int n = 0;
        for (const auto &notice : notices)
            n += (notice.second & hint) ? 1 : 0;
        return n;
    }
    QList<QPair<int, int>> notices;
};

// A child window stand-in: both views of one agent.
class HarnessWindow : public QenDocView
{
public:
    HarnessWindow(QenDoc *doc, int agent, int type) : m_type(type), m_agent(agent)
    {
        panel = std::make_unique<QenPanelView>(doc, this);
        graph = std::make_unique<QenGraphView>(doc, this);
        panel->selectAgent(agent);
        graph->selectAgent(agent);
        doc->addView(this);
    }

    int viewType() const override { return m_type; }
    int agentIndex() const override { return m_agent; }
    void setAgentIndex(int agent) override
    {
        m_agent = agent;
        panel->selectAgent(agent);
        graph->selectAgent(agent);
    }
    bool isWindowModified() const override { return m_modified; }
    void setWindowModified(bool modified) override { m_modified = modified; }
    void setTitle(const QString &, const QString &, const QString &, const QString &) override {}
    QObject *pictureView() const override { return panel.get(); }
    QObject *graphView() const override { return graph.get(); }
    void closeView() override {}

    std::unique_ptr<QenPanelView> panel;
    std::unique_ptr<QenGraphView> graph;

private:
    int m_type;
    int m_agent;
    bool m_modified = false;
};

// A window whose views only count what they are told.
class SinkWindow : public QenDocView
{
public:
    explicit SinkWindow(int agent) : m_agent(agent) {}
    int viewType() const override { return Picture; }
    int agentIndex() const override { return m_agent; }
    void setAgentIndex(int agent) override { m_agent = agent; }
    bool isWindowModified() const override { return false; }
    void setWindowModified(bool) override {}
    void setTitle(const QString &, const QString &, const QString &, const QString &) override {}
    QObject *pictureView() const override { return const_cast<NoticeSink *>(&sink); }
    QObject *graphView() const override { return nullptr; }
    void closeView() override {}

    NoticeSink sink;

private:
    int m_agent;
};

// A document over a private copy of the built-in quenor.ini.
class DocFixture
{
public:
    // `defaults` are written into [Defaults] before the document reads them.
    explicit DocFixture(const QList<QPair<QString, QVariant>> &defaults = {})
    {
        iniPath = writeDefaultIni(dir.path());
        host = std::make_unique<QenDocHost>(iniPath, &prompt);
        for (const auto &d : defaults)
            host->ini().setValue(QStringLiteral("Defaults"), d.first, d.second);
        host->reloadDefaults();
        doc = std::make_unique<QenDoc>(host.get());
        ok = doc->newDocument();
    }
    ~DocFixture()
    {
        windows.clear();
        doc.reset();
    }

    HarnessWindow *window(int agent = 0, int type = QenDocView::Graph)
    {
        windows.push_back(std::make_unique<HarnessWindow>(doc.get(), agent, type));
        return windows.back().get();
    }
    QenEngine *engine() { return doc->engine(); }

    // Puts `name` on the first agent, as the user would before a run.
    bool usePrimary(const QString &name) { return doc->setAgent(QenUserOrigin, 0, name); }

    // Lets the run go on, a whole number of timer ticks, until the display
    // reaches `ms` or the run stops on its own.
    void runUntil(quint32 ms)
    {
        QenEngine *e = engine();
        int guard = 1000000;
        while (e->state() == ARunning && e->displayTime() < ms && guard-- > 0) {
            e->advance(int(ms));
            while (e->timerActive() && guard-- > 0)
                e->tick();
        }
    }

    QTemporaryDir dir;
    QString iniPath;
    ScriptedPrompt prompt;
    std::unique_ptr<QenDocHost> host;
    std::unique_ptr<QenDoc> doc;
    std::vector<std::unique_ptr<HarnessWindow>> windows;
    bool ok = false;
};
