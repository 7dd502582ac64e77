// The arithmetic of window placement, apart from any window system: all sizes are outer
// window frames in screen pixels.
#pragma once

#include <optional>

namespace kw::shell
{

// The width of the result window before any path has been measured.
inline constexpr int kInitialResultWidth = 562;

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point &, const Point &) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The top-left corner that centres a window of `width` × `height` over `main`.
Point centredOver(const Rect &main, int width, int height);

// Moves an edge that lies left of or above the screen onto the screen's edge.
Point withoutNegativeEdges(Point corner, const Rect &screen);

// Moves the window left and up until its right and bottom edges are on the screen; a window
// larger than the screen ends with an edge off its left or top.
Point fittedOnScreen(Point corner, int width, int height, const Rect &screen);

// Where a result window is shown at the end of a search: centred over the main window, then
// kept off negative edges, then moved to fit the screen.
Point resultWindowAfterSearch(const Rect &main, int width, int height, const Rect &screen);

// Where an invisible result window goes when a search starts or a list is reopened:
// centred, negative edges moved to the screen's edge, no fitting.
Point resultWindowCentred(const Rect &main, int width, int height, const Rect &screen);

// The width the result window needs for a path whose text is `textWidth` pixels wide in
// the label font: the text, plus a margin of 0.15625 inch, and never less than `current`.
int Tweite(int current, int textWidth, double pixelsPerInch);

// The main window's stored edge if the window fits the screen there, else centred.
int storedOrCentredEdge(std::optional<int> stored, int windowExtent, int screenExtent);

} // namespace kw::shell
