#pragma once

#include <QString>

class QObject;

// What a document needs of a window that shows it. The child window implements
// it; the document keeps a list of them (not owned) and notifies, titles and
// marks them through this interface only.
class QenChildWindowInterface
{
public:
    enum Type { Picture = 0, Graph = 1, Control = 2 };

    // Panel values a saved simulation carries for the first window's panel.
    struct PanelSettings
    {
        qint16 delTop = 0;
        qint16 gaugeTops[3] = {};
        bool flag = false;
    };

    virtual ~QenChildWindowInterface() = default;

    virtual int viewType() const = 0;
    // The agent shown; negative when the window no longer shows one.
    virtual int agentIndex() const = 0;
    virtual void setAgentIndex(int agent) = 0;

    virtual bool isWindowModified() const = 0;
    virtual void setWindowModified(bool modified) = 0;
    // `frameNum` is the running number of windows of this type (empty for the
    // Control window); `priority` and `agent` are empty unless the document
    // simulates more than one agent.
    virtual void setTitle(const QString &title, const QString &frameNum, const QString &priority,
                          const QString &agent) = 0;

    // The two views that receive the document's update events.
    virtual QObject *pictureView() const = 0;
    virtual QObject *graphView() const = 0;

    // Asks the window to close (it then reports viewClosed to the document).
    virtual void closeView() = 0;
};
