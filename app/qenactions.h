#pragma once

#include "document/qenchildwindowinterface.h"
#include "engine/qenengine.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

// What is active in the main window, as far as the commands care. The main
// window fills it in; everything after `hasChild` describes the active child
// window and its document and means nothing without one.
struct QenActiveState
{
    bool hasChild = false; // a child window that shows an agent of a document
    QenChildWindowInterface::Type childType = QenChildWindowInterface::Control;
    AState runState = ANotRun; // of the active document
    int childCount = 0;        // child windows of every document
    bool anyRunning = false;   // of every document
    bool anyStartable = false; // some document is paused or not yet run
    quint32 displayTime = 0;
    quint32 endTime = 0;
    quint32 simTime = 0;
    bool hasSelection = false; // a grabbed picture waits to be copied
    QString mailProblem;       // why a simulation cannot be mailed; empty when it can
    bool hasAgent = false;     // the current track names an agent of the document
    float unitDose = 0.0f;     // of the current track
    bool canInject = false;
    bool agentVolatile = false; // the current agent has a cost to set
    bool uptakeEffect = true;
    bool venousReturn = true;
    bool vaporEffect = false;
    bool scrolling = false;
    bool numericsHidden = false;
    bool costShown = false;
    int zoom = 1;
    bool overlayTarget = false; // some visible graph window could take an overlay
};

// Every command of the main window: made from one table, each reached by its
// object name ("actionRun", ...), placed into the menus and the tool bar by
// the same table, and kept enabled, checked and labelled by one rule,
// `update()`, a function of the active state alone.
//
// Adding a command:
//  1. add a row to the command table at the top of qenactions.cpp: object
//     name, text, shortcut, icon, flags, and where it sits (its menu and
//     position there, its position on the tool bar); if it depends on what is
//     active, add a line to `update()`;
//  2. give it its handler in QenCommands::connectHandlers(), one line:
//       {"actionXml", [this, w] { w->reports()->exportToXml(document()); }},
// A command without a handler runs the fallback, which tells the user the
// feature is not implemented yet: wiring a stub is step 2 alone.
class QenActions : public QObject
{
    Q_OBJECT

public:
    // Makes the sub-menus whose contents are a class of their own (the key is
    // the menu table's, "File/Examples"); `parent` is the menu it goes into.
    using MenuMaker = std::function<QMenu *(const QString &key, QMenu *parent)>;

    explicit QenActions(QObject *parent = nullptr);

    // The command named `name`, or null.
    QAction *get(const QString &name) const { return m_byName.value(name); }
    QList<QAction *> all() const { return m_actions; }
    // Makes an action made elsewhere (a sub-menu's entry) subject to `update()`.
    void adopt(QAction *act);

    // Fills the window's menu bar and `toolBar` from the tables, and gives the
    // window the commands it reaches by shortcut alone. Returns every menu by
    // its key ("File", "View/NewGraph"); the sub-menus filled at run time are
    // left empty for their owners.
    QHash<QString, QMenu *> build(QMainWindow *window, QToolBar *toolBar, const MenuMaker &make);

    void setHandler(const QString &name, std::function<void()> handler);
    // For checkable commands: called with the new check state.
    void setHandler(const QString &name, std::function<void(bool)> handler);
    // What a command without a handler of its own does.
    void setFallback(std::function<void(const QString &name)> fallback);

    void update(const QenActiveState &state);

private:
    void run(QAction *act, bool checked);
    void setEnabled(const char *name, bool on) const;
    void setChecked(const char *name, bool on) const;

    QList<QAction *> m_actions;
    QHash<QString, QAction *> m_byName;
    QHash<QString, std::function<void(bool)>> m_handlers;
    std::function<void(const QString &)> m_fallback;
};
