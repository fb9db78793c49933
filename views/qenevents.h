#pragma once

#include <QEvent>

// Custom event types of the views. The graph's value request and the panel
// view's deferred operation share one number: each receiver knows which of the
// two it can get.
inline constexpr QEvent::Type QenGraphEventType = QEvent::Type(1002);
inline constexpr QEvent::Type QenCallbackEventType = QEvent::Type(1002);
