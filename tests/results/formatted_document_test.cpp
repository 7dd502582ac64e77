#include "results/formatted_document.h"

#include <gtest/gtest.h>

namespace kw::results
{
namespace
{

TEST(FListe, ParagraphsInOrderWithTheAttributesInForce)
{
    const FormattedDocument document
        = FListe({"/a", "", "/b"}, search::ListKind::DuplicateList, "08.12.26", "14:05:09");
    const FormattedDocument expected = {
        {"Doppelte Dateien", true, true, 18},
        {"(08.12.26 um 14:05:09)", false, false, 8},
        {"", false, false, 8},
        {"/a", false, false, 10},
        {"", false, false, 10},
        {"/b", false, false, 10},
        {"", false, false, 10},
        {"", false, false, 10},
        {"URL: https://kopienwacht.example.org", false, false, 8},
        {"e-Mail: kopienwacht@example.org", false, false, 8},
    };
    EXPECT_EQ(document, expected);
}

TEST(FListe, EmptyListHasThreeEmptyParagraphsInARow)
{
    const FormattedDocument document = FListe({}, search::ListKind::FileList, "d", "t");
    ASSERT_EQ(document.size(), 7U);
    EXPECT_EQ(document[0].text, "Dateiliste");
    EXPECT_EQ(document[2].text, "");
    EXPECT_EQ(document[3].text, "");
    EXPECT_EQ(document[4].text, "");
    EXPECT_EQ(document[4].pointSize, 10);
}

} // namespace
} // namespace kw::results
