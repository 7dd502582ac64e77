#include "shell/window_placement.h"

#include "search/rounding.h"

#include <algorithm>

namespace kw::shell
{

using search::nearest;

Point centredOver(const Rect &main, int width, int height)
{
    return {main.left + nearest((main.width - width) / 2.0), main.top + nearest((main.height - height) / 2.0)};
}

Point withoutNegativeEdges(Point corner, const Rect &screen)
{
    return {std::max(corner.x, screen.left), std::max(corner.y, screen.top)};
}

Point fittedOnScreen(Point corner, int width, int height, const Rect &screen)
{
    return {std::min(corner.x, screen.left + screen.width - width),
        std::min(corner.y, screen.top + screen.height - height)};
}

Point resultWindowAfterSearch(const Rect &main, int width, int height, const Rect &screen)
{
    const Point centred = withoutNegativeEdges(centredOver(main, width, height), screen);
    return fittedOnScreen(centred, width, height, screen);
}

Point resultWindowCentred(const Rect &main, int width, int height, const Rect &screen)
{
    return withoutNegativeEdges(centredOver(main, width, height), screen);
}

int Tweite(int current, int textWidth, double pixelsPerInch)
{
    const int needed = textWidth + nearest(pixelsPerInch * 0.15625);
    return std::max(current, needed);
}

int storedOrCentredEdge(std::optional<int> stored, int windowExtent, int screenExtent)
{
    if (stored && *stored + windowExtent <= screenExtent)
        return *stored;
    return nearest((screenExtent - windowExtent) / 2.0);
}

} // namespace kw::shell
