#include "results/deletion.h"

#include "fs/failure.h"
#include "results/save_naming.h"

#include <gtest/gtest.h>

#include <set>

namespace kw::results
{
namespace
{

TEST(Deletion, ReconcilingRemovesExactlyTheMarkedLinesWhoseFilesAreGone)
{
    Lines lines = {"/A", "/B", "/C", "", "/D", "/E"};
    Marks marks = {false, true, true, false, false, true};
    const std::set<std::string> gone = {"/B", "/C", "/E", "/D"};
    const auto removed = reconcileAfterDeletion(lines, marks, [&](const std::string &p) { return !gone.count(p); });
    EXPECT_EQ(removed, (std::vector<std::string> {"/B", "/C", "/E"})); // /D was not marked
    EXPECT_EQ(lines, (Lines {"/A", "", "/D"}));
    EXPECT_EQ(marks, (Marks {false, false, false}));
}

TEST(Deletion, FileThatStaysKeepsItsPlaceAndMark)
{
    Lines lines = {"/A", "/B", "", "/C", "/D"};
    Marks marks = {false, true, false, false, true};
    const auto removed = reconcileAfterDeletion(lines, marks, [](const std::string &p) { return p == "/B"; });
    EXPECT_EQ(removed, (std::vector<std::string> {"/D"}));
    EXPECT_EQ(lines, (Lines {"/A", "/B", "", "/C"}));
    EXPECT_EQ(marks, (Marks {false, true, false, false}));
}

TEST(Deletion, WholeBlockLeavesItsSeparatorsBehind)
{
    Lines lines = {"/A", "/B", "", "/C", "/D", "", "/E", "/F"};
    Marks marks = {false, false, false, true, true, false, false, false};
    reconcileAfterDeletion(lines, marks, [](const std::string &) { return false; });
    EXPECT_EQ(lines, (Lines {"/A", "/B", "", "", "/E", "/F"}));
}

TEST(Deletion, QuestionCountsFilesAndBlocksWithoutACopyLeft)
{
    const Lines lines = {"/A", "/B", "", "/C", "/D", "", "/E", "/F"};
    const DeletionQuestion some = deletionQuestion(lines, {false, true, false, false, true, false, false, true});
    EXPECT_EQ(some.files, 3U);
    EXPECT_EQ(some.wholeBlocks, 0U);
    EXPECT_EQ(some.text, "Sollen die 3 markierten Dateien in den Papierkorb verschoben werden?");

    const DeletionQuestion all = deletionQuestion(lines, {true, true, false, true, true, false, false, true});
    EXPECT_EQ(all.files, 5U);
    EXPECT_EQ(all.wholeBlocks, 2U);
    EXPECT_NE(all.text.find("In 2 Gruppen sind alle Kopien markiert."), std::string::npos);

    EXPECT_EQ(deletionQuestion({"/A", "/B"}, {false, true}).text,
        "Soll die markierte Datei in den Papierkorb verschoben werden?");
}

TEST(Deletion, RequestsHoldTheMarkedLinesAsAbsolutePathsWithTheCopiesThatStay)
{
    const Lines lines = {"/a/x", "", "rel/y", "/b/z", "", "/c/1", "/c/2"};
    const Marks marks = {true, false, true, false, false, true, true};
    const std::vector<TrashRequest> requests = trashRequests(lines, marks, "/home/u", false);
    ASSERT_EQ(requests.size(), 4U);
    EXPECT_EQ(requests[0].path, "/a/x");
    EXPECT_TRUE(requests[0].keptCopies.empty());
    EXPECT_EQ(requests[1].path, "/home/u/rel/y");
    EXPECT_EQ(requests[1].keptCopies, (std::vector<std::string> {"/b/z"}));
    EXPECT_FALSE(requests[1].everyCopyConfirmed);
    // whole blocks go only when the user said so
    EXPECT_FALSE(requests[2].everyCopyConfirmed);
    EXPECT_TRUE(trashRequests(lines, marks, "/home/u", true)[3].everyCopyConfirmed);
    EXPECT_FALSE(trashRequests(lines, marks, "/home/u", true)[1].everyCopyConfirmed);
}

TEST(Deletion, FailureMessageNamesEachFileWithItsReason)
{
    const std::vector<TrashOutcome> failures
        = {{"/a/x", fs::Failure::KeptCopyDiffers, {}}, {"/b/y", std::make_error_code(std::errc::permission_denied), {}},
            {"/c/z", fs::Failure::StrandedInTrash, "/h/Trash/files/z"}};
    const std::string text = notMovedText(failures);
    EXPECT_EQ(text,
        "Diese Dateien konnten nicht in den Papierkorb verschoben werden:\r/a/x (die verbleibende Kopie ist "
        "nicht mehr gleich)\r/b/y (keine Berechtigung)\r/c/z (sie konnte nicht aus dem Papierkorb zurückgelegt "
        "werden; sie liegt jetzt im Papierkorb als '/h/Trash/files/z')");
}

TEST(Deletion, LogHasHeadingDateRemovedLinesAndFooter)
{
    const FormattedDocument log = deletionLog({"/B", "/C"}, "08.12.26", "14:05:09");
    ASSERT_EQ(log.size(), 3U + 2U + 4U);
    EXPECT_EQ(log[0], (Paragraph {"Gelöschte Datei-Duplikate", true, true, 18}));
    EXPECT_EQ(log[1], (Paragraph {"(08.12.26 um 14:05:09)", false, false, 8}));
    EXPECT_EQ(log[3], (Paragraph {"/B", false, false, 10}));
    EXPECT_EQ(log[4], (Paragraph {"/C", false, false, 10}));
    EXPECT_EQ(log.back().text, "e-Mail: kopienwacht@example.org");
    EXPECT_EQ(deletionLog({}, "d", "t").size(), 7U);
}

TEST(SaveNaming, DateStampKeepsNoFolderSeparator)
{
    EXPECT_EQ(dateStamp("08.12.26"), "08-12-26");
    EXPECT_EQ(dateStamp("12/8/26"), "12-8-26");
    EXPECT_EQ(dateStamp("2026-12-08"), "2026-12-08");
    SaveDialogState dialog;
    dialog.filterIndex = 1;
    prepareDeletionLog(dialog, "08-12-26");
    EXPECT_EQ(dialog.title, "Liste der gelöschten Duplikate Speichern");
    EXPECT_EQ(dialog.fileName, "Geloescht(08-12-26).rtf");
    EXPECT_EQ(dialog.filterIndex, 1);
}

} // namespace
} // namespace kw::results
