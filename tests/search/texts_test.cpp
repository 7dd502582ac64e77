#include "search/texts.h"

#include "fs/failure.h"

#include <gtest/gtest.h>

namespace kw::search
{
namespace
{

TEST(Texts, ProgressAndResultTexts)
{
    EXPECT_EQ(foldersFoundText(7), "7 Ordner gefunden");
    EXPECT_EQ(filesFoundText(120), "120 Dateien gefunden");
    EXPECT_EQ(sortingText(28), "Dateien sortieren (28%)...");
    EXPECT_EQ(comparingText(1, 5), "1 von 5 Dateien");
    EXPECT_EQ(accessDeniedText("/home/u/gesperrt.doc"), "Zugriff auf '/home/u/gesperrt.doc' wurde verweigert!");
    EXPECT_EQ(resultCaption("4", "120", 2), "Suchergebnis (4 aus 120 Dateien) / 2 Fehler!");
    EXPECT_EQ(resultCaption("4", "120", 0), "Suchergebnis (4 aus 120 Dateien)");
}

TEST(Texts, UnexpectedErrorUsesCarriageReturnsOnly)
{
    const std::string text = unexpectedErrorText(17, 2, 5);
    EXPECT_EQ(text.substr(0, text.find('\r')), "Unerwarteter Fehler [344] - Code: 17-2-5");
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_NE(text.find("\r\rBitte Teilen sie die Fehlernummer+Fehlercode dem Autor mit!\r\r"), std::string::npos);
    EXPECT_TRUE(text.ends_with(kAuthorMail));
}

TEST(Texts, TheCommandLineSaysWhoSpeaksAndWhyAFileCouldNotBeRead)
{
    EXPECT_EQ(commandLineSkippedText("/u/a", std::make_error_code(std::errc::permission_denied)),
        "kowacht: kein Zugriff auf '/u/a': keine Berechtigung");
    EXPECT_EQ(commandLineSkippedText("/proc", fs::Failure::KernelFileSystem),
        "kowacht: '/proc' gehört zu einem Dateisystem des Kernels und wird nicht durchsucht.");
    EXPECT_EQ(commandLineSkippedText("/u/b", std::make_error_code(std::errc::io_error)),
        "kowacht: Auf '/u/b' kann nicht zugegriffen werden: Ein-/Ausgabefehler beim Lesen.");
}

TEST(Texts, ASearchThatBrokeOffSaysWhy)
{
    EXPECT_EQ(
        searchFailureReason({std::make_error_code(std::errc::not_enough_memory), {}}), "nicht genug Arbeitsspeicher");
    EXPECT_EQ(searchFailureReason({std::make_error_code(std::errc::state_not_recoverable), "kaputt"}),
        "ein interner Fehler (kaputt)");
    EXPECT_EQ(searchFailedText({std::make_error_code(std::errc::not_enough_memory), {}}),
        "Die Suche brach ab: nicht genug Arbeitsspeicher.\rDie Liste enthält nur, was bis dahin verglichen wurde.");
}

} // namespace
} // namespace kw::search
