// Outer window frames, as placement works with them.
#pragma once

#include "search/placement.h"

class QWidget;

namespace kw::ui
{

// The window's frame on the screen. The native window is created first, so that the frame's
// width is known also for a window that has not been shown yet, where the platform tells.
search::Rect outerRect(QWidget *window);

// The screen that holds the window.
search::Rect screenRect(const QWidget *window);

void moveOuter(QWidget *window, search::Point corner);

} // namespace kw::ui
