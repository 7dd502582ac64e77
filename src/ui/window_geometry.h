// Outer window frames, as placement works with them.
#pragma once

#include "shell/window_placement.h"

#include <functional>

class QWidget;

namespace kw::ui
{

// The window's frame on the screen. The native window is created first, so that the frame's
// width is known also for a window that has not been shown yet, where the platform tells.
shell::Rect outerRect(QWidget *window);

// The screen that holds the window.
shell::Rect screenRect(const QWidget *window);

void moveOuter(QWidget *window, shell::Point corner);

// Places the window's frame where `corner` says for its outer size: now, and once more when
// the window manager has put its frame around the window after it was first shown. Until
// then the frame is not known and a window's outer size is its client's, so a position
// computed before would put the client where the frame was meant to be.
// `onFrameKnown`, where given, runs then first: a size that depends on the frame is set
// there once more, now that the frame is known.
void placeOuter(QWidget *window, std::function<shell::Point(const shell::Rect &outer)> corner,
    std::function<void()> onFrameKnown = {});

} // namespace kw::ui
