#pragma once

#include "app/qendialogs.h"

class QenMainWindow;

namespace QenOptions {

// Tools > Options: runs "Default options" over the program's defaults and,
// after OK, lets the open simulations hear what concerns them: graphs reload
// their settings when labels, line width or graph paper changed, and every
// simulation sounds the minute signal now chosen. Their own settings stay as
// they are. `run` shows the prepared dialog (modal by default; tests answer
// it) and also runs the sound choice. True when the user pressed OK.
bool setDefaultOptions(QenMainWindow *window, const QenDialogs::Runner &run = {});

} // namespace QenOptions
