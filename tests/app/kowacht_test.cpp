// kowacht end to end: the real binary on real trees, its output compared byte for byte.
#include "kowacht_runner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kw::test
{
namespace
{

using Outcome = KowachtRun;

Outcome kowacht(
    const TempTree &tree, const std::string &folder, std::vector<std::string> args, const std::string &stdoutTo = {})
{
    return runKowacht(tree, folder, std::move(args), stdoutTo);
}

class Kowacht : public testing::Test
{
protected:
    void SetUp() override
    {
        t.file("Fotos/a.jpg", "bild-eins");
        t.file("Fotos/Urlaub/b.jpg", "bild-eins");
        t.file("Fotos/Urlaub/c.JPG", "bild-zwei");
        t.file("Fotos/d.jpg", "bild-zwei");
        t.file("Fotos/e.txt", "bild-eins");
        t.file("Fotos/.versteckt.jpg", "bild-eins");
        t.file("Archiv/f.jpg", "bild-eins");
    }
    std::string p(std::string_view relative) const { return t.path(relative); }
    TempTree t;
};

TEST_F(Kowacht, PrintsBlocksOnStdoutAndTheCaptionOnStderr)
{
    const Outcome run = kowacht(t, t.root(), {"-r", "-f", "*.jpg", "Fotos"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
        p("Fotos/a.jpg") + "\n" + p("Fotos/Urlaub/b.jpg") + "\n\n" + p("Fotos/d.jpg") + "\n" + p("Fotos/Urlaub/c.JPG")
            + "\n");
    EXPECT_EQ(run.err, "Suchergebnis (4 aus 4 Dateien)\n");
}

TEST_F(Kowacht, FurtherFoldersAreSearchedToo)
{
    const Outcome run = kowacht(t, t.root(), {"--filter", "*.jpg", "Fotos", p("Archiv")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, p("Archiv/f.jpg") + "\n" + p("Fotos/a.jpg") + "\n");
}

TEST_F(Kowacht, WithoutDuplicatesStdoutStaysEmpty)
{
    const Outcome run = kowacht(t, p("Fotos"), {"-f", "*.txt", "."});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Es wurden keine Duplikate gefunden.\n");
}

TEST_F(Kowacht, OutputFileHasCrLfAfterEveryLine)
{
    const Outcome run = kowacht(t, t.root(), {"-r", "-q", "-o", "liste.txt", "Fotos"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(readFile(p("liste.txt")),
        p("Fotos/a.jpg") + "\r\n" + p("Fotos/e.txt") + "\r\n" + p("Fotos/Urlaub/b.jpg") + "\r\n\r\n" + p("Fotos/d.jpg")
            + "\r\n" + p("Fotos/Urlaub/c.JPG") + "\r\n");
}

TEST_F(Kowacht, OutputFileThatCannotBeCreated)
{
    const Outcome run = kowacht(t, t.root(), {"-o", p("fehlt/liste.txt"), "Fotos"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(
        run.err.find("kowacht: Schreibfehler: '" + p("fehlt/liste.txt") + "': nicht mehr vorhanden"), std::string::npos)
        << run.err;
}

TEST_F(Kowacht, UsageErrorsSearchNothing)
{
    EXPECT_EQ(kowacht(t, t.root(), {}).status, 2);
    const Outcome unknown = kowacht(t, t.root(), {"--rekursiv", "Fotos"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err,
        "kowacht: unbekannte Option „--rekursiv“\nAufruf: kowacht [OPTION]... ORDNER...\nMehr mit: kowacht --help\n");
    EXPECT_EQ(kowacht(t, t.root(), {"Fotos", "-x"}).err.find("kowacht: unbekannte Option „-x“\n"), 0U);
    EXPECT_EQ(
        kowacht(t, t.root(), {"Fotos", "--filter"}).err.find("kowacht: der Option „--filter“ fehlt der Wert\n"), 0U);
    EXPECT_EQ(kowacht(t, t.root(), {"-f"}).status, 2);
    EXPECT_EQ(kowacht(t, t.root(), {""}).status, 2); // not the current folder
    EXPECT_EQ(kowacht(t, t.root(), {"--format=xml", "Fotos"}).status, 2);
    EXPECT_EQ(kowacht(t, t.root(), {"--min-size", "3Q", "Fotos"}).status, 2);
    EXPECT_EQ(kowacht(t, t.root(), {"--dry-run", "Fotos"}).status, 2); // belongs to --trash
    const Outcome missing = kowacht(t, t.root(), {"-o", "liste.txt", "Fotos", "fehlt"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "kowacht: 'fehlt' existiert nicht.\n");
    EXPECT_EQ(kowacht(t, t.root(), {"Fotos/a.jpg"}).err, "kowacht: 'Fotos/a.jpg' ist kein Ordner.\n");
    EXPECT_EQ(kowacht(t, t.root(), {"--recursive=yes", "Fotos"})
                  .err.find("kowacht: die Option „--recursive“ erlaubt keinen Wert\n"),
        0U);
    EXPECT_EQ(::access(p("liste.txt").c_str(), F_OK), -1);
    EXPECT_EQ(kowacht(t, t.root(), {"Fotos/a.jpg"}).status, 2);
}

TEST_F(Kowacht, HelpAndVersionWhereverTheyStand)
{
    for (const auto &args : {std::vector<std::string> {"--help"}, std::vector<std::string> {"Fotos", "-r", "--help"},
             std::vector<std::string> {"--gibt-es-nicht", "--help"}}) {
        const Outcome help = kowacht(t, t.root(), args);
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find("Aufruf: kowacht"), std::string::npos);
        EXPECT_NE(help.out.find("Rückgabewert"), std::string::npos);
    }
    const Outcome version = kowacht(t, t.root(), {"Fotos", "--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.find("kowacht (Kopienwacht) 4.2\nCopyright (C) 2026 Ostwerk\nLizenz GPLv3+"), 0U);
    // Abbreviated as every long option may be; but not where it is the value of an option.
    EXPECT_EQ(kowacht(t, t.root(), {"--he"}).out.find("Aufruf: kowacht"), 0U);
    EXPECT_EQ(kowacht(t, t.root(), {"--vers"}).out.find("kowacht (Kopienwacht)"), 0U);
    t.file("Fotos/--help", "bild-eins");
    const Outcome valued = kowacht(t, t.root(), {"-f", "--help", "Fotos"});
    EXPECT_EQ(valued.status, 0);
    EXPECT_EQ(valued.out, "");
    EXPECT_EQ(kowacht(t, t.root(), {"-rf", "--help", "Fotos"}).out, "");
    EXPECT_EQ(kowacht(t, t.root(), {"--filter", "--version", "Fotos"}).status, 0);
}

TEST_F(Kowacht, OptionsMayFollowTheFoldersAndTwoDashesEndThem)
{
    const Outcome before = kowacht(t, t.root(), {"-r", "-f", "*.jpg", "Fotos"});
    EXPECT_EQ(kowacht(t, t.root(), {"Fotos", "-r", "--filter=*.jpg"}).out, before.out);
    t.file("-x/a.jpg", "gleich");
    t.file("-x/b.jpg", "gleich");
    const Outcome dashed = kowacht(t, t.root(), {"--", "-x"});
    EXPECT_EQ(dashed.status, 0);
    EXPECT_EQ(dashed.out, p("-x/a.jpg") + "\n" + p("-x/b.jpg") + "\n");
}

TEST_F(Kowacht, DotDotAfterALinkMeansWhatTheKernelOpens)
{
    t.file("echt/innen/x.txt", "gleich");
    t.file("echt/y.txt", "gleich");
    t.symlink("verweis", p("echt/innen"));
    // "verweis/.." is "echt", where the link leads up from, not the tree's root
    EXPECT_EQ(kowacht(t, t.root(), {"-r", "verweis/.."}).out, p("echt/innen/x.txt") + "\n" + p("echt/y.txt") + "\n");
    // without a link the text stays as it was typed
    EXPECT_EQ(kowacht(t, t.root(), {"-r", "echt/innen/.."}).out, p("echt/innen/x.txt") + "\n" + p("echt/y.txt") + "\n");
}

TEST_F(Kowacht, WriteErrorsAreReportedAndSayItInTheStatus)
{
    const Outcome full = kowacht(t, t.root(), {"-r", "Fotos"}, "/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("kowacht: Schreibfehler: kein Platz mehr auf dem Datenträger"), std::string::npos);
}

TEST_F(Kowacht, SomethingUnreadableGivesItsOwnStatus)
{
    t.file("Fotos/zwei\nzeilen.jpg", "bild-eins");
    const Outcome run = kowacht(t, t.root(), {"-r", "Fotos"});
    EXPECT_EQ(run.status, 3);
    // the name is shown escaped: every message stays one line
    EXPECT_NE(run.err.find("kowacht: Der Name '" + p("Fotos/zwei\\nzeilen.jpg") + "' enthält einen Zeilenumbruch"),
        std::string::npos)
        << run.err;
}

TEST_F(Kowacht, KernelFileSystemAsFolderIsReportedNotListed)
{
    const Outcome run = kowacht(t, t.root(), {"-r", "/proc"});
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("kowacht: '/proc' gehört zu einem Dateisystem des Kernels"), std::string::npos) << run.err;
}

TEST_F(Kowacht, FilterMatchesStarsInNamesAndEmptyFilesSurvive)
{
    t.file("Sterne/*foto.jpg", "x");
    t.file("Sterne/foto.jpg", "x");
    t.file("Sterne/leer1", "");
    t.file("Sterne/leer2", "");
    EXPECT_EQ(kowacht(t, t.root(), {"-f", "*.jpg", "Sterne"}).out,
        p("Sterne/*foto.jpg") + "\n" + p("Sterne/foto.jpg") + "\n");
    EXPECT_EQ(kowacht(t, t.root(), {"-f", "leer*", "Sterne"}).out, p("Sterne/leer1") + "\n" + p("Sterne/leer2") + "\n");
}

TEST_F(Kowacht, ThreadsGiveTheSameOutput)
{
    for (int i = 0; i < 40; ++i)
        t.file("Viele/" + std::to_string(i % 6) + "/f" + std::to_string(i),
            std::string(static_cast<std::size_t>(1 + i % 7), 'q'));
    const Outcome one = kowacht(t, t.root(), {"-r", "--threads", "1", "."});
    EXPECT_EQ(one.status, 0);
    for (const char *threads : {"2", "5"}) {
        const Outcome many = kowacht(t, t.root(), {"-r", "--threads", threads, "."});
        EXPECT_EQ(many.out, one.out) << threads;
        EXPECT_EQ(many.err, one.err) << threads;
    }
    EXPECT_EQ(kowacht(t, t.root(), {"--threads", "0", "."}).status, 2);
    for (const char *readAhead : {"--read-ahead=always", "--read-ahead=never"}) {
        const Outcome ahead = kowacht(t, t.root(), {"-r", readAhead, "."});
        EXPECT_EQ(ahead.out, one.out) << readAhead;
        EXPECT_EQ(ahead.err, one.err) << readAhead;
    }
    const Outcome wrong = kowacht(t, t.root(), {"--read-ahead=immer", "."});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_NE(wrong.err.find("--read-ahead: „immer“"), std::string::npos) << wrong.err;
}

} // namespace
} // namespace kw::test
