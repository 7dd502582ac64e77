#include "shell/help_topics.h"
#include "shell/hint_placement.h"

#include <gtest/gtest.h>

#include <fstream>

namespace kw::shell
{
namespace
{

TEST(Help, EveryTopicAndContextHasAPageThatShips)
{
    const std::string folder = helpFolder(KW_SOURCE_DIR);
    EXPECT_EQ(helpPageForTopic(kHelpIndexTopic), "index.html");
    for (const HelpContext context : {HelpContext::StartFolderView, HelpContext::MarkedFolderList,
             HelpContext::AboutBox, HelpContext::ResultWindow}) {
        const std::string page = folder + helpPageForContext(context);
        EXPECT_TRUE(std::ifstream(page).good()) << page;
    }
    EXPECT_TRUE(std::ifstream(folder + helpPageForTopic(kHelpIndexTopic)).good());
}

TEST(HintPlacement, HintNearTheBottomIsMovedUp)
{
    EXPECT_EQ(hintTop(700, 768), 700);
    EXPECT_EQ(hintTop(758, 768), 758);
    EXPECT_EQ(hintTop(759, 768), 757);
    EXPECT_EQ(hintTop(800, 768), 757);
}

} // namespace
} // namespace kw::shell
