#pragma once

// Hosts the picture and graph views of a real document the way a child
// window will: the window implements the document's view interface, holds
// both views and is registered with the document, which then sends its
// update notices to the two views.

#include "docfixture.h"
#include "document/qendoc.h"
#include "document/qenchildwindowinterface.h"
#include "views/qengraphview.h"
#include "views/qenpanelview.h"

#include <QTest>

#include <memory>
#include <vector>

// A child window stand-in: both views of one agent.
class HarnessWindow : public QenChildWindowInterface
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

// A document whose windows hold the real picture and graph views.
class ViewFixture : public DocFixture
{
public:
    using DocFixture::DocFixture;
    ~ViewFixture() override { windows.clear(); }

    HarnessWindow *window(int agent = 0, int type = QenChildWindowInterface::Graph)
    {
        windows.push_back(std::make_unique<HarnessWindow>(doc.data(), agent, type));
        return windows.back().get();
    }

    std::vector<std::unique_ptr<HarnessWindow>> windows;
};
