#include "results/rtf_writer.h"

#include "results/save_naming.h"

#include <gtest/gtest.h>

namespace kw::results
{
namespace
{

TEST(Rtf, FontTableParagraphsAndAttributes)
{
    const std::string rtf = toRtf({{"Doppelte Dateien", true, true, 18}, {"/a.txt", false, false, 10}}, "DejaVu Sans");
    EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi"));
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fswiss\\fcharset0 DejaVu Sans;}}"), std::string::npos);
    EXPECT_NE(rtf.find("{\\colortbl ;\\red0\\green0\\blue0;}"), std::string::npos);
    EXPECT_NE(rtf.find("\\pard\\plain\\f0\\cf1\\fs36\\b\\ul Doppelte Dateien\\par\n"), std::string::npos);
    EXPECT_NE(rtf.find("\\pard\\plain\\f0\\cf1\\fs20 /a.txt\\par\n"), std::string::npos);
    EXPECT_TRUE(rtf.ends_with("}\n"));
}

TEST(Rtf, EscapesSoThatAnyPathSurvives)
{
    const std::string rtf = toRtf({{"/home/jörg/{a}\\b.txt", false, false, 10}}, "F");
    EXPECT_NE(rtf.find(" /home/j\\u246?rg/\\{a\\}\\\\b.txt\\par"), std::string::npos);
    // beyond 16 bits as a surrogate pair, above 0x7FFF as a negative number, bad bytes as U+FFFD
    const std::string wide = toRtf({{"\xF0\x9F\x98\x80 \xE2\x82\xAC \xEF\xBC\xA1 \xFF", false, false, 10}}, "F");
    EXPECT_NE(wide.find("\\u-10179?\\u-8704? \\u8364? \\u-223? \\u-3?"), std::string::npos);
    // nothing but ASCII in the file
    for (const char c : wide)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80U);
}

TEST(SaveNaming, TitlesAndNamesForEachCommandAndListKind)
{
    SaveDialogState dialog;
    prepareSave(dialog, SaveKind::PlainList, search::ListKind::DuplicateList, "08-12-26");
    EXPECT_EQ(dialog.title, "Einfache Liste doppelter Dateien Speichern");
    EXPECT_EQ(dialog.fileName, "Duplikate(08-12-26).txt");
    EXPECT_EQ(dialog.filterIndex, 1);
    EXPECT_EQ(dialog.defaultExtension, "txt");
    prepareSave(dialog, SaveKind::RichDocument, search::ListKind::DuplicateList, "08-12-26");
    EXPECT_EQ(dialog.title, "Erweiterte Liste doppelter Dateien Speichern");
    EXPECT_EQ(dialog.fileName, "Duplikate(08-12-26).rtf");
    EXPECT_EQ(dialog.filterIndex, 2);
    EXPECT_EQ(dialog.defaultExtension, "rtf");
    prepareSave(dialog, SaveKind::PlainList, search::ListKind::FileList, "08-12-26");
    EXPECT_EQ(dialog.title, "Einfache Dateiliste Speichern");
    EXPECT_EQ(dialog.fileName, "Dateiliste(08-12-26).txt");
    prepareSave(dialog, SaveKind::RichDocument, search::ListKind::FileList, "08-12-26");
    EXPECT_EQ(dialog.title, "Erweiterte Dateiliste Speichern");
    EXPECT_EQ(dialog.fileName, "Dateiliste(08-12-26).rtf");
}

TEST(SaveNaming, DeletionLogNamingHoldsForTheRichSaveOnly)
{
    SaveDialogState dialog;
    dialog.filterIndex = 1;
    dialog.defaultExtension = "txt";
    prepareDeletionLog(dialog, "08-12-26");
    prepareSave(dialog, SaveKind::RichDocument, search::ListKind::FileList, "09-12-26");
    EXPECT_EQ(dialog.title, "Liste der gelöschten Duplikate Speichern");
    EXPECT_EQ(dialog.fileName, "Geloescht(08-12-26).rtf");
    EXPECT_EQ(dialog.filterIndex, 1); // kept as they were
    prepareSave(dialog, SaveKind::PlainList, search::ListKind::FileList, "09-12-26");
    EXPECT_EQ(dialog.title, "Einfache Dateiliste Speichern");
    EXPECT_FALSE(deletionLogPrepared(dialog));
}

} // namespace
} // namespace kw::results
