#include "search/texts.h"

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

} // namespace
} // namespace kw::search
