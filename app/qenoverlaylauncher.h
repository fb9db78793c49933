#pragma once

#include <QList>

class QWidget;
class QenChildWindow;
class QenOverlay;

// Opens the overlay comparison for the main window and keeps the Show and
// Over choice from one overlay to the next while the program runs (it starts
// from the settings).
class QenOverlayLauncher
{
public:
    // Stops the active window's run, then compares the runs of `children`
    // over the time window of `target`'s graph. Returns the shown overlay, or
    // null when there is no graph to compare against.
    static QenOverlay *open(QWidget *parent, QenChildWindow *active, QenChildWindow *target,
                            const QList<QenChildWindow *> &children);

    // The next overlay starts from the settings again.
    static void forgetSelection();
};
