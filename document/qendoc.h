#pragma once

#include "document/qenchildwindowinterface.h"
#include "engine/qencatalogue.h"
#include "engine/qenengine.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QenDocHost;
class QenPacer;
class QenSimFile;
class QIODevice;

// One simulation: the unit the user creates, runs, saves and opens.
//
// Ownership: the document owns its copy of the agent catalogue and the engine
// that holds the agents, settings, samples, clocks, bookmarks and breakpoint
// (the engine points into the catalogue, so it is destroyed first). It also
// holds what only a document has: its file, title and modified state, the
// agents' colours, the description, and the list of windows that show it;
// the windows are not owned. Every change reaches the windows' views as a
// QenUpdateEvent sent synchronously; a document deletes itself (later) when
// its last window closes.
class QenDoc : public QObject
{
    Q_OBJECT

public:
    explicit QenDoc(QenDocHost *host, QObject *parent = nullptr);
    ~QenDoc() override;

    QenDocHost *host() const { return m_host; }
    QenEngine *engine() { return m_engine.get(); }
    const QenEngine *engine() const { return m_engine.get(); }
    const QenCatalogue &catalogue() const { return *m_catalogue; }

    // The origin a change made through `view` carries, so that view is not
    // told of its own change.
    static QenOrigin originOf(const QObject *view) { return QenOrigin(view); }

    // --- file lifecycle
    bool newDocument();
    // `remember` false keeps the file out of the recent files (and so leaves
    // the settings file untouched), for a reader that is not the program's
    // own File menu.
    bool openFile(const QString &path, bool remember = true);
    // Reads the simulation at `path` as a new untitled one (an example
    // lesson): Save asks for a name, and the file itself is never written
    // nor remembered among the recent files.
    bool openAsUntitled(const QString &path);
    bool save();
    bool saveAs();
    bool saveFile(const QString &path, bool remember);
    bool maybeSave();
    // Hands a copy of the simulation to the desktop's mail client as the
    // attachment of a new message; the document keeps its name, its place
    // in the recent files and its modified mark.
    void mail();
    // The file's contents alone, without dialogs for the device or the
    // recent-file list: a refused stream reports the corruption with `path`.
    bool readFrom(QIODevice *device, const QString &path);
    bool writeTo(QIODevice *device) const;
    // The answer of the save dialog with ".qen" appended unless it ends so.
    static QString withQenExtension(const QString &answer);

    QString fileName() const { return m_fileName; }
    bool isUntitled() const { return m_untitled; }
    // The file name without folder and last extension: Untitled1 for Untitled1.qen.
    QString title() const;
    // Puts `text` in the status bar while this simulation is the active one.
    void announce(const QString &text) { emit announced(text); }
    quint32 fileVersion() const { return m_fileVersion; }

    // Mirrored onto every window's modified mark.
    bool isModified() const { return m_modified; }
    void setModified(bool modified);

    QString description() const { return m_description; }
    void setDescription(const QString &text);

    // Carried through the file for the first window's panel.
    const QenChildWindowInterface::PanelSettings &panelSettings() const { return m_panel; }
    qint16 panelMarker() const { return m_panelMarker; }
    void setPanelSettings(const QenChildWindowInterface::PanelSettings &settings)
    {
        m_panel = settings;
    }
    int graphMinutes() const { return m_graphMinutes; }
    void setGraphMinutes(int minutes) { m_graphMinutes = minutes; }

    // --- scale tops of the picture's gauges and the graphs' strips
    // One set per simulation, shared by all its windows: DEL's top is the
    // agent's (in %atm, kept in the simulation's copy of the agent table),
    // FGF, VA and CO have one each (in L/min). `setting` counts DEL, FGF,
    // VA, CO from 0.
    enum ScaleSetting { DelScale = 0, FgfScale = 1, VaScale = 2, CoScale = 3 };
    int scaleTop(int setting, int agent) const;
    // The largest top a setting takes: the agent's vaporizer maximum for DEL,
    // 500 for the flows. The smallest is 1.
    int maxScaleTop(int setting, int agent) const;
    // False, changing nothing, for a top out of range.
    bool setScaleTop(int setting, int agent, int top);

    // The run's pacing, shared by every window of the simulation.
    QenPacer *pacer() const { return m_pacer; }

    // --- erasing
    // Both ask first; false when the user cancels (or, restoring defaults,
    // when the agent table cannot be read: the simulation then stays as it was).
    bool eraseAndRestoreDefaults();
    bool eraseKeepSettings();

    // --- windows
    void addView(QenChildWindowInterface *view);
    void viewClosed(QenChildWindowInterface *view);
    const QList<QenChildWindowInterface *> &views() const { return m_views; }
    void updateTitles();
    // Sends the notice to the views of every window, except the view it came from.
    void notifyViews(int agentNumber, int hints, QenOrigin origin = QenUserOrigin);

    // --- agents
    int agentCount() const { return m_engine->trackCount(); }
    QString agentName(int agent) const;
    int addAgent(const QString &name);
    // Returns the windows that showed the agent; the caller closes them.
    QList<QenChildWindowInterface *> removeAgent(int agent);
    // Agents `a` and `b` change places with everything that is theirs (track,
    // recording, colour); the windows follow their agent, the current agent
    // stays the same agent. The views are told to refresh. Callers ask the
    // replay guard first.
    bool swapAgents(int a, int b);
    // The cost dialog for the current agent; true when something changed.
    bool editCost();
    // The same with the dialog given by the caller: `edit` shows the bottle
    // cost and size, lets the user change them and returns false on cancel.
    bool editCost(const std::function<bool(float *bottleCost, int *bottleSize)> &edit);

    // --- colours
    const QStringList &agentColors() const { return m_colors; }
    QString agentColor(int agent) const { return m_colors.value(agent); }
    void setAgentColor(int agent, const QString &color);
    void swapAgentColors(int a, int b);
    void defaultAgentColors();
    QString defaultColor(int agent) const;

    // --- operations that do more than the engine's
    // The settings, the run and the values are the engine's: callers use
    // engine() for them. These add what only the document has (its windows,
    // its modified mark, the agent table).
    // Also marks the document modified: the file stores the speed.
    void setSpeed(QenOrigin origin, int value);
    bool setAgent(QenOrigin origin, int track, const QString &name);
    // Bookmarks and breakpoint as their dialogs set them; a change marks the
    // document modified, since both are saved with it.
    void setBookmarks(const QList<quint32> &bookmarks);
    bool setBreakpoint(const QString &text);

signals:
    void updateControl();
    void updatePanel();
    void agentChanged(int agent, const QString &name);
    void allCleared();
    void modified(bool modified);
    void modified();
    void stateChanged(AState state);
    void titleChanged(const QString &title);
    void noViewsOfAgent(int agent);
    void agentColorsChanged();
    // The run stopped by itself; `why` is for the status bar.
    void runStopped(const QString &why);
    // Something done for the user that leaves nothing on screen (a file
    // exported, mail handed over): `text` is for the status bar.
    void announced(const QString &text);
    void scaleTopChanged(int setting, int agent);

private:
    class EngineHost;

    std::unique_ptr<QenEngine> makeEngine(const QenCatalogue *catalogue);
    void swapIn(std::unique_ptr<QenCatalogue> catalogue, std::unique_ptr<QenEngine> engine);
    bool loadCatalogue(std::unique_ptr<QenCatalogue> *catalogue) const;
    void resetDocumentState();
    void loadGaugeTops(const QenChildWindowInterface::PanelSettings *stored);
    void fillFile(QenSimFile *contents) const;
    void takeFile(QenSimFile &contents);
    // The file at `path` read into the document; false after telling the user why.
    bool readFile(const QString &path);
    void afterLoadOrSave(const QString &path, bool remember = true);
    void rememberRecentFile(const QString &path);
    void changed();
    void sendToViews(int agentNumber, int hints, QenOrigin origin);
    QString boxTitle() const;

    QenDocHost *m_host;
    std::unique_ptr<EngineHost> m_engineHost;
    std::unique_ptr<QenCatalogue> m_catalogue; // declared before the engine that uses it
    std::unique_ptr<QenEngine> m_engine;
    QList<QenChildWindowInterface *> m_views;
    QString m_fileName;
    bool m_untitled = true;
    bool m_modified = false;
    quint32 m_fileVersion = 15;
    QString m_description;
    QStringList m_colors;
    qint16 m_documentValue = 1;
    qint16 m_panelMarker = 0;
    QenChildWindowInterface::PanelSettings m_panel;
    int m_graphMinutes = 15;
    int m_gaugeTops[3] = {10, 10, 10}; // FGF, VA, CO
    QenPacer *m_pacer = nullptr;
};
