#include "shell/window_placement.h"

#include "search/rounding.h"

#include <gtest/gtest.h>

namespace kw::shell
{
namespace
{

TEST(Placement, NearestRoundsHalvesToEven)
{
    EXPECT_EQ(search::nearest(-108.5), -108);
    EXPECT_EQ(search::nearest(-109.5), -110);
    EXPECT_EQ(search::nearest(0.5), 0);
    EXPECT_EQ(search::nearest(1.5), 2);
    EXPECT_EQ(search::nearest(2.5), 2);
    EXPECT_EQ(search::nearest(2.4999), 2);
    EXPECT_EQ(search::nearest(-0.6), -1);
}

TEST(Placement, ResultWindowAfterSearch)
{
    const Rect screen {0, 0, 1024, 768};
    // left 100 + nearest((344 − 562) / 2) = −9, which becomes 0
    EXPECT_EQ(resultWindowAfterSearch({100, 100, 344, 300}, 562, 316, screen).x, 0);
    // a width difference of −217 gives the offset nearest(−108.5) = −108
    EXPECT_EQ(centredOver({500, 0, 345, 300}, 562, 300).x, 392);
    // moved left until the right edge is on the screen
    EXPECT_EQ(resultWindowAfterSearch({900, 600, 344, 300}, 562, 316, screen), (Point {462, 452}));
    // larger than the screen: ends with a negative edge
    EXPECT_EQ(resultWindowAfterSearch({0, 0, 344, 300}, 1200, 316, screen).x, -176);
}

TEST(Placement, CentredWindowKeepsOffNegativeEdgesButIsNotFitted)
{
    const Rect screen {0, 0, 1024, 768};
    EXPECT_EQ(resultWindowCentred({-50, -50, 344, 300}, 562, 316, screen), (Point {0, 0}));
    EXPECT_EQ(resultWindowCentred({900, 600, 344, 300}, 562, 316, screen), (Point {791, 592}));
    // the progress dialog is centred without any clamping
    EXPECT_EQ(centredOver({-50, -50, 344, 300}, 255, 120), (Point {-6, 40}));
}

TEST(Placement, TweiteAddsAMarginOfAFractionOfAnInch)
{
    EXPECT_EQ(Tweite(562, 600, 96), 615);
    EXPECT_EQ(Tweite(562, 600, 120), 619);
    EXPECT_EQ(Tweite(562, 600, 144), 622);
    EXPECT_EQ(Tweite(562, 100, 96), 562); // never narrower than before
    EXPECT_EQ(Tweite(700, 680, 96), 700);
}

TEST(Placement, StoredEdgeOnlyWhenTheWindowFits)
{
    EXPECT_EQ(storedOrCentredEdge(100, 400, 1024), 100);
    EXPECT_EQ(storedOrCentredEdge(-20, 400, 1024), -20);
    EXPECT_EQ(storedOrCentredEdge(700, 400, 1024), 312);
    EXPECT_EQ(storedOrCentredEdge(std::nullopt, 401, 1024), 312); // 311.5 goes to the even 312
    EXPECT_EQ(storedOrCentredEdge(624, 400, 1024), 624);
}

} // namespace
} // namespace kw::shell
