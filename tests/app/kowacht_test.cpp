// kowacht end to end: the real binary on real trees, its output compared byte for byte.
#include "support/temp_tree.h"

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

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs kowacht in `folder` with stdout and stderr going to files (so stderr is no terminal).
Outcome kowacht(const TempTree &tree, const std::string &folder, std::vector<std::string> args)
{
    const std::string outPath = tree.root() + "/../" + tree.root().substr(tree.root().rfind('/') + 1) + ".out";
    const std::string errPath = outPath + ".err";
    args.insert(args.begin(), KOWACHT_BINARY);
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int in = ::open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0 || ::chdir(folder.c_str()) != 0)
            ::_exit(126);
        ::dup2(out, 1), ::dup2(err, 2), ::dup2(in, 0);
        std::vector<char *> argv;
        for (std::string &arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    Outcome run;
    int status = 0;
    ::waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readFile(outPath);
    run.err = readFile(errPath);
    ::unlink(outPath.c_str());
    ::unlink(errPath.c_str());
    return run;
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
    EXPECT_NE(run.err.find("Datei " + p("fehlt/liste.txt") + " kann nicht erstellt werden"), std::string::npos);
}

TEST_F(Kowacht, UsageErrorsSearchNothing)
{
    EXPECT_EQ(kowacht(t, t.root(), {}).status, 2);
    EXPECT_EQ(kowacht(t, t.root(), {"--gibt-es-nicht", "Fotos"}).status, 2);
    EXPECT_EQ(kowacht(t, t.root(), {"-f"}).status, 2);
    const Outcome missing = kowacht(t, t.root(), {"-o", "liste.txt", "Fotos", "fehlt"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "kowacht: 'fehlt' ist kein Ordner.\n");
    EXPECT_EQ(::access(p("liste.txt").c_str(), F_OK), -1);
    EXPECT_EQ(kowacht(t, t.root(), {"Fotos/a.jpg"}).status, 2);
}

TEST_F(Kowacht, HelpAndVersion)
{
    const Outcome help = kowacht(t, t.root(), {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Aufruf: kowacht"), std::string::npos);
    const Outcome version = kowacht(t, t.root(), {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.out.find("Version 4.2"), std::string::npos);
}

} // namespace
} // namespace kw::test
