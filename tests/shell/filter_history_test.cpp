#include "shell/filter_history.h"

#include <gtest/gtest.h>

namespace kw::shell
{
namespace
{

using History = std::vector<std::string>;

TEST(FilterHistory, SearchMovesTheFilterToTheFrontRemovingAtMostOneRepeat)
{
    History history = {"*.*", "*.txt", "*.jpg"};
    recordFilterUse(history, "*.txt");
    EXPECT_EQ(history, (History {"*.txt", "*.*", "*.jpg"}));

    history = {"*.*", "*.txt"};
    recordFilterUse(history, "*.TXT"); // the comparison is case-sensitive
    EXPECT_EQ(history, (History {"*.TXT", "*.*", "*.txt"}));

    history = {"a", "b", "a", "a"};
    recordFilterUse(history, "a");
    EXPECT_EQ(history, (History {"a", "b", "a", "a"}));

    history = {};
    for (int i = 0; i < 12; ++i)
        recordFilterUse(history, "*." + std::to_string(i));
    EXPECT_EQ(history.size(), 12U); // no limit while the program runs
}

TEST(FilterHistory, AtCloseEveryRepeatGoesAndEightAreKept)
{
    EXPECT_EQ(historyToStore({"*.jpg", "*.txt"}, "*.txt"), (History {"*.txt", "*.jpg"}));
    EXPECT_EQ(historyToStore({"a", "b", "a", "c", "a"}, "a"), (History {"a", "b", "c"}));
    EXPECT_EQ(historyToStore({"1", "2", "3", "4", "5", "6", "7", "8", "9"}, ""),
        (History {"1", "2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(historyToStore({"1", "", "3"}, "0"), (History {"0", "1"}));
}

} // namespace
} // namespace kw::shell
