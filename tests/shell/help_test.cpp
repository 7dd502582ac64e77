#include "shell/help_topics.h"
#include "shell/hint_placement.h"
#include "support/temp_tree.h"

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
             HelpContext::AboutBox, HelpContext::ResultWindow, HelpContext::SearchOptions}) {
        const std::string page = folder + helpPageForContext(context);
        EXPECT_TRUE(std::ifstream(page).good()) << page;
    }
    EXPECT_TRUE(std::ifstream(folder + helpPageForTopic(kHelpIndexTopic)).good());
}

TEST(Help, InstalledPagesAreFoundInTheDataFolderAndOtherwiseBesideTheProgram)
{
    test::TempTree tree;
    tree.dir("usr/bin");
    tree.file("usr/bin/help/index.html", "beside");
    EXPECT_EQ(helpFolder(tree.path("usr/bin")), tree.path("usr/bin") + "/help/");

    tree.dir("usr/share/kopienwacht/help");
    EXPECT_EQ(helpFolder(tree.path("usr/bin") + "/"), tree.path("usr/bin") + "/help/")
        << "a data folder without its index page is not the help";
    tree.file("usr/share/kopienwacht/help/index.html", "installed");
    const std::string found = helpFolder(tree.path("usr/bin"));
    EXPECT_EQ(found, tree.path("usr/bin") + "/../share/kopienwacht/help/");
    EXPECT_EQ(test::readFile(found + "index.html"), "installed");
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
