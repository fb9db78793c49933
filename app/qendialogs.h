#pragma once

#include <functional>

class QDialog;
class QWidget;
class QenDoc;
class QenPanelView;

// The commands that change a simulation through a dialog: each pauses the
// run, passes the replay guard where a change would erase the recording,
// fills its dialog from the document, runs it, and applies what the user
// changed. Each returns true when the document changed.
//
// `run` shows the filled (and prepared) dialog and returns true when it was
// accepted; by default the dialog runs modally. Tests pass a function that
// edits the fields and presses the buttons instead.
namespace QenDialogs {

using Runner = std::function<bool(QDialog &dialog)>;

// Bottle size and cost of the current agent ("Set Cost" of the menu and the tray).
bool setCost(QenDoc &doc, QWidget *parent, const Runner &run = {});
// DEL of the current agent, FGF, VA and CO.
bool adjustDel(QenDoc &doc, QWidget *parent, const Runner &run = {});
// Unit dose of the current agent.
bool unitDose(QenDoc &doc, QWidget *parent, const Runner &run = {});
// Weight, volumes, flow shares, CO and VA; only the weight unit can be
// changed once the run has begun.
bool changePatient(QenDoc &doc, QWidget *parent, const Runner &run = {});
// The bookmarks.
bool setBookmark(QenDoc &doc, QWidget *parent, const Runner &run = {});
// The breakpoint condition (Ctrl+B).
bool setBreakPoint(QenDoc &doc, QWidget *parent, const Runner &run = {});

// The description of the simulation. It is saved with the simulation, so an
// accepted edit marks the document modified even when the text is the same.
bool editDescription(QenDoc &doc, QWidget *parent, const Runner &run = {});

// The agent of a picture (only before the run has begun) and the circuit.
// A different agent is applied first; the circuit only when that succeeded.
bool changeAgent(QenPanelView &view, QWidget *parent, const Runner &run = {});

} // namespace QenDialogs
