// Where a hint window goes near the bottom of the screen.
#pragma once

namespace kw::shell
{

// A hint whose top would lie within 10 pixels of the screen's bottom is moved up so that its
// top is 11 pixels above the bottom edge.
int hintTop(int top, int screenHeight);

} // namespace kw::shell
