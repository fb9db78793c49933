#include "app/options/qenoptions.h"

#include "app/options/qenoptionsdialog.h"
#include "app/qenappdochost.h"
#include "app/qenchildwindow.h"
#include "app/qenmainwindow.h"
#include "document/qendoc.h"
#include "engine/qenengine.h"
#include "views/qengraphview.h"

namespace QenOptions {

bool setDefaultOptions(QenMainWindow *window, const QenDialogs::Runner &run)
{
    QenOptionsDialog dialog(window->host(), window);
    dialog.setDialogRunner(run);
    dialog.prepare();
    const bool accepted = run ? run(dialog) : dialog.QDialog::exec() == QDialog::Accepted;
    if (!accepted)
        return false;

    if (dialog.commit()) {
        for (QenChildWindow *child : window->allChildren()) {
            if (QenGraphView *graph = child->graphViewWidget())
                graph->reloadGraphSettings();
        }
    }
    // The minute signal is the user's preference, not a condition of the
    // simulation: a running simulation follows the new choice at once.
    const int click = window->host()->defaults().click;
    for (QenDoc *doc : window->documents()) {
        QenEngine *engine = doc->engine();
        if (engine->defaults().click != click) {
            QenDefaults d = engine->defaults();
            d.click = click;
            engine->setDefaults(d);
        }
    }
    return true;
}

} // namespace QenOptions
