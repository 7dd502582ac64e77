#include "shell/marked_folders.h"

#include <gtest/gtest.h>

namespace kw::shell
{
namespace
{

using Entries = std::vector<MarkedEntry>;
constexpr auto Open = FolderIcon::Open;
constexpr auto Closed = FolderIcon::Closed;

TEST(MarkedFolderRelations, CompareWithSlashAsSeparator)
{
    EXPECT_TRUE(equalsStartFolder("/Daten/", "/Daten"));
    EXPECT_TRUE(equalsStartFolder("/", "/"));
    EXPECT_TRUE(liesInsideStartFolder("/Daten/Fotos/", "/Daten"));
    EXPECT_FALSE(liesInsideStartFolder("/Datenbank/", "/Daten"));
    EXPECT_TRUE(liesInsideStartFolder("/Daten/", "/"));
    EXPECT_TRUE(containsStartFolder("/Daten/", "/Daten/Fotos"));
    EXPECT_TRUE(containsStartFolder("/", "/Daten"));
    EXPECT_FALSE(containsStartFolder("/Dat/", "/Daten"));
    EXPECT_FALSE(containsStartFolder("/Daten/", "/Daten"));
}

TEST(MarkedFolders, InsertingAKnownFolderAppendsNothing)
{
    MarkedFolders list;
    list.entries = {{"/Daten/", true, Closed}, {"/Musik/", true, Closed}};
    list.OrdnerEinfgen1Click("/Daten", false);
    EXPECT_EQ(list.entries, (Entries {{"/Daten/", true, Open}, {"/Musik/", true, Closed}}));
}

TEST(MarkedFolders, EntryInsideTheStartFolderBecomesTheStartFolder)
{
    MarkedFolders list;
    list.entries = {{"/Datenbank/", true, Closed}, {"/Daten/Fotos/", false, Closed}};
    list.OrdnerEinfgen1Click("/Daten", false);
    EXPECT_EQ(list.entries, (Entries {{"/Datenbank/", true, Closed}, {"/Daten/", false, Open}}));
    // with subfolders, /Datenbank/ still does not lie inside /Daten
    const Overview overview = list.Ordnerliste("/Daten", true);
    EXPECT_NE(overview.state, StartFolderState::ChildrenMarked);
}

TEST(MarkedFolders, ParentInTheListCoversTheStartFolderWithSubfolders)
{
    MarkedFolders list;
    list.entries = {{"/Daten/", true, Closed}};
    list.OrdnerEinfgen1Click("/Daten/Fotos", true);
    EXPECT_EQ(list.entries.size(), 1U);
    const Overview overview = list.Ordnerliste("/Daten/Fotos", true);
    EXPECT_EQ(overview.startFolderHint, "Startordner@(Die Liste enthält einen übergeordneten Ordner!)");
    EXPECT_EQ(overview.effectiveCount, 1);
}

TEST(MarkedFolders, AfterAHitWithSubfoldersCoveredEntriesGoAndEqualOnesMerge)
{
    MarkedFolders list;
    list.entries = {{"/Musik/", true, Closed}, {"/Daten/Fotos/", false, Closed}, {"/Daten/Texte/", true, Closed},
        {"/Daten/", true, Closed}, {"/Datenbank/", false, Closed}};
    list.OrdnerEinfgen1Click("/Daten", true);
    EXPECT_EQ(
        list.entries, (Entries {{"/Musik/", true, Closed}, {"/Daten/", false, Open}, {"/Datenbank/", false, Closed}}));

    MarkedFolders plain; // without subfolders only the entries the rewrite made equal merge
    plain.entries = {{"/Daten/Fotos/", false, Closed}, {"/Daten/Texte/", true, Closed}, {"/Daten/", false, Closed}};
    plain.OrdnerEinfgen1Click("/Daten", false);
    EXPECT_EQ(plain.entries, (Entries {{"/Daten/", false, Open}, {"/Daten/Texte/", true, Closed}}));
}

TEST(MarkedFolders, RootStartFolderIsAppendedWithOneSlash)
{
    MarkedFolders list;
    list.OrdnerEinfgen1Click("/", false);
    EXPECT_EQ(list.entries, (Entries {{"/", true, Open}}));
}

TEST(MarkedFolders, DeactivatedStartFolderAloneDisablesTheSearch)
{
    MarkedFolders list;
    list.entries = {{"/Daten/", false, Open}};
    const Overview overview = list.Ordnerliste("/Daten", false);
    EXPECT_EQ(overview.effectiveCount, 0);
    EXPECT_FALSE(overview.startEnabled);
    EXPECT_TRUE(overview.startFolderGreyed);
    EXPECT_EQ(overview.startFolderHint, "Startordner@(in Liste deaktiviert!)");
    EXPECT_EQ(overview.labelCaption, "&Ordner (0 - 0/1 Vorgemerkt)");

    list.entries.push_back({"/Musik/", true, Closed});
    const Overview withOther = list.Ordnerliste("/Daten", false);
    EXPECT_TRUE(withOther.startEnabled);
    EXPECT_TRUE(withOther.startFolderGreyed);
    EXPECT_EQ(withOther.startFolderHint, "Startordner@(in Liste deaktiviert!)");

    list.entries.pop_back();
    list.selected = 0;
    list.OrdnerLschen1Click(); // deleting the entry that deactivated it
    const Overview after = list.Ordnerliste("/Daten", false);
    EXPECT_TRUE(after.startEnabled);
    EXPECT_FALSE(after.startFolderGreyed);
    EXPECT_EQ(after.labelCaption, "&Ordner");
}

TEST(MarkedFolders, LabelCountsEffectiveActiveAndAllEntries)
{
    MarkedFolders list;
    list.entries = {{"/Musik/", true, Closed}, {"/Fotos/", false, Closed}, {"/Texte/", false, Closed}};
    EXPECT_EQ(list.Ordnerliste("/Daten", false).labelCaption, "&Ordner (2 - 1/3 Vorgemerkt)");
    list.listShown = true;
    EXPECT_EQ(list.Ordnerliste("/Daten", false).labelCaption, "&Ordner");
}

TEST(MarkedFolders, SubfolderToggleOnAnEmptyList)
{
    MarkedFolders list;
    list.CheckBox1Click("/Daten", false);
    EXPECT_TRUE(list.entries.empty());
    list.CheckBox1Click("/Daten", true);
    EXPECT_EQ(list.entries, (Entries {{"/Daten/", true, Open}}));
    EXPECT_FALSE(list.addSuppressed);
}

TEST(MarkedFolders, SwitchingSubfoldersOffActivatesTheLastEntry)
{
    MarkedFolders list;
    list.entries = {{"/Musik/", false, Closed}, {"/Fotos/", false, Closed}};
    list.CheckBox1Click("/Daten", false);
    EXPECT_EQ(list.entries, (Entries {{"/Musik/", false, Closed}, {"/Fotos/", true, Closed}}));
}

TEST(MarkedFolders, StatesFollowTheLastMatchingEntry)
{
    MarkedFolders list;
    list.entries = {{"/Daten/", true, Closed}, {"/Daten/Fotos/", true, Closed}};
    const Overview overview = list.Ordnerliste("/Daten", true);
    EXPECT_EQ(overview.state, StartFolderState::ChildrenMarked);
    EXPECT_EQ(overview.startFolderHint, "Startordner@(Die Liste enthält untergeordnete Ordner!)");
    EXPECT_EQ(overview.effectiveCount, 1);
    EXPECT_EQ(list.Ordnerliste("/Daten", false).startFolderHint, "Startordner@(Vorgemerkt)");
    list.RzDirectoryListBox1Change("/Daten/Fotos");
    EXPECT_EQ(list.entries[0].icon, Closed);
    EXPECT_EQ(list.entries[1].icon, Open);
}

TEST(MarkedFolders, ListHintNamesTheSelectedEntry)
{
    MarkedFolders list;
    list.entries = {{"/a@b/", true, Closed}, {"/c/", false, Closed}};
    EXPECT_EQ(list.listHint(), "Vorgemerkte Ordner");
    list.selected = 0;
    EXPECT_EQ(list.listHint(), "Vorgemerkte Ordner@aktiv - /a@b/");
    list.selected = 1;
    EXPECT_EQ(list.listHint(), "Vorgemerkte Ordner@inaktiv - /c/");
}

} // namespace
} // namespace kw::shell
