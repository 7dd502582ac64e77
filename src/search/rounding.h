#pragma once

#include <cmath>

namespace kw::search
{

// x rounded to the nearest integer, an exact half going to the even neighbour (the default
// rounding mode), as the percentages and the window arithmetic want it.
inline int nearest(double x)
{
    return static_cast<int>(std::nearbyint(x));
}

} // namespace kw::search
