#pragma once

#include "app/qendialogs.h"

#include <QObject>
#include <QPixmap>

class QMenu;
class QenActions;
struct QenActiveState;
class QenDoc;
class QenGraphView;
class QenMainWindow;
class QenPanelView;

// What the main window's commands do: the handler of every command of the
// table (QenActions), run on whatever the window says is active, and what
// the commands' enabling rule reads of it. It also keeps the picture Select
// All grabbed until Copy Selection copies it.
//
// Ownership: a child of the window it serves; it holds no document and no
// view, only the grabbed picture.
class QenCommands : public QObject
{
    Q_OBJECT

public:
    // Gives every command of `actions` its handler.
    QenCommands(QenMainWindow *window, QenActions *actions);

    // What is active now, as the commands' rule sees it.
    QenActiveState activeState() const;

    const QPixmap &selection() const { return m_selection; }
    void clearSelection() { m_selection = QPixmap(); }

    // A New Graph or New Picture menu: the agents of `doc`, then those of the
    // catalogue it does not hold, to add ("(Add) " and the name; only before
    // the run has begun).
    void fillNewViewMenu(QMenu *menu, QenDoc *doc, bool graph);

private:
    void connectHandlers(QenActions *actions);
    QenDoc *document() const;
    QenPanelView *panel() const;
    QenGraphView *graph() const;
    // Runs `dialog` on the active document, then brings the commands in step.
    void openDialog(bool (*dialog)(QenDoc &, QWidget *, const QenDialogs::Runner &),
                    bool refresh = true);
    // Stops every running document, or, when none runs, starts every one
    // that can start.
    void runAll();
    // `text` is an entry of a New Graph / New Picture menu.
    void newViewOrAdd(QString text, bool graph);
    void showNotImplemented();

    QenMainWindow *m_window;
    QPixmap m_selection;
};
