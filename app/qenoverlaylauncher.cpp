#include "app/qenoverlaylauncher.h"

#include "app/qenchildwindow.h"
#include "document/qendoc.h"
#include "document/qendochost.h"
#include "views/qengraphview.h"
#include "views/qenoverlay.h"
#include "views/qenpanelview.h"

namespace {

// The choice of the last overlay, for as long as the program runs.
struct Selection
{
    bool known = false;
    int show = OverlayALV;
    int over = OverlayOne;
};

Selection &remembered()
{
    static Selection selection;
    return selection;
}

} // namespace

QenOverlay *QenOverlayLauncher::open(QWidget *parent, QenChildWindow *active,
                                     QenChildWindow *target,
                                     const QList<QenChildWindow *> &children)
{
    // A run that went on under the overlay would leave its curve behind.
    if (active && active->document() && active->document()->engine()->state() == ARunning &&
        active->panelView())
        active->panelView()->run();
    if (!target || !target->graphViewWidget() || !target->document())
        return nullptr;

    QList<QenOverlay::Run> runs;
    for (QenChildWindow *child : children) {
        if (child && child->document())
            runs.append({child->document(), child->agentIndex(), child->title()});
    }
    QenDocHost *host = target->document()->host();
    OverlaySettings settings = overlaySettings(host->ini());
    Selection &selection = remembered();
    if (selection.known) {
        settings.show = selection.show;
        settings.over = selection.over;
    }
    auto *overlay =
        new QenOverlay(target->graphViewWidget()->compartmentGraph(), runs, settings, host, parent);
    selection = {true, overlay->showId(), overlay->overId()};
    QObject::connect(overlay, &QenOverlay::selectionChanged, overlay, [](int show, int over) {
        remembered() = {true, show, over};
    });
    overlay->show();
    return overlay;
}

void QenOverlayLauncher::forgetSelection()
{
    remembered() = Selection();
}
