// kowacht's output formats read back by the tools scripts use, its filters, and --trash.
#include "kowacht_runner.h"
#include "support/environment.h"
#include "support/temp_tree.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace kw::test
{
namespace
{

using Result = KowachtRun;

Result kowacht(const TempTree &tree, std::vector<std::string> args)
{
    return runKowacht(tree, tree.root(), std::move(args));
}

// What a Python script prints when it reads `input` on stdin (bytes as they are).
std::string python(const TempTree &tree, const std::string &script, const std::string &input)
{
    const std::string in = tree.root() + ".in";
    TempTree::writeAt(in, input);
    const std::string command = "python3 -c '" + script + "' < " + in;
    std::string printed;
    if (std::FILE *pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            printed.append(buffer, n);
        ::pclose(pipe);
    }
    ::unlink(in.c_str());
    return printed;
}

class KowachtFormats : public testing::Test
{
protected:
    void SetUp() override
    {
        t.file("a, \"b\"/eins.txt", "gleich");
        t.file("c/\xff\xfe.txt", "gleich");
        t.file("c/zwei.txt", "anders");
        t.file("d/drei.txt", "anders");
    }
    std::string p(std::string_view relative) const { return t.path(relative); }
    TempTree t;
};

TEST_F(KowachtFormats, NulEndsEveryPathAndOneMoreEveryBlock)
{
    const Result run = kowacht(t, {"-r", "-0", "."});
    EXPECT_EQ(run.out,
        p("a, \"b\"/eins.txt") + '\0' + p("c/\xff\xfe.txt") + '\0' + '\0' + p("c/zwei.txt") + '\0' + p("d/drei.txt")
            + '\0' + '\0');
    EXPECT_EQ(kowacht(t, {"-r", "--format=null", "."}).out, run.out);
}

TEST_F(KowachtFormats, JsonReadsBackWithPathsThatAreNoUtf8)
{
    const Result run = kowacht(t, {"-r", "--format=json", "."});
    ASSERT_EQ(run.status, 0);
    const std::string printed = python(t,
        "import json, sys\n"
        "d = json.load(sys.stdin)\n"
        "for g in d[\"groups\"]:\n"
        "    sys.stdout.buffer.write(b\"%d:\" % g[\"size\"] + b\"|\".join(p.encode(\"utf-8\", \"surrogateescape\") for "
        "p in g[\"paths\"]) + b\"\\n\")\n"
        "print(d[\"search\"][\"files\"], d[\"search\"][\"duplicates\"], d[\"search\"][\"recursive\"])\n",
        run.out);
    EXPECT_EQ(printed,
        "6:" + p("a, \"b\"/eins.txt") + "|" + p("c/\xff\xfe.txt") + "\n6:" + p("c/zwei.txt") + "|" + p("d/drei.txt")
            + "\n4 4 True\n");
}

// What scripts that sort copies need: each file's identity and age, and the room taken.
TEST_F(KowachtFormats, JsonGivesEachFilesIdentityAgeAndTheRoomTheCopiesTake)
{
    t.hardlink("c/zwei-link.txt", "c/zwei.txt");
    const Result run = kowacht(t, {"-r", "--format=json", "."});
    ASSERT_EQ(run.status, 0);
    const std::string printed = python(t,
        "import json, os, sys\n"
        "d = json.load(sys.stdin)\n"
        "for g in d[\"groups\"]:\n"
        "    for f in g[\"files\"]:\n"
        "        s = os.lstat(os.fsencode(f[\"path\"]))\n"
        "        ok = (f[\"device\"], f[\"inode\"], f[\"mtime_ns\"]) == (s.st_dev, s.st_ino, s.st_mtime_ns)\n"
        "        ok = ok and abs(f[\"mtime\"] - s.st_mtime) < 1e-3\n"
        "        print(\"ok\" if ok else \"wrong: \" + f[\"path\"])\n"
        "    print(len(g[\"files\"]), g[\"duplicate_bytes\"])\n"
        "print(d[\"search\"][\"duplicate_bytes\"])\n",
        run.out);
    // The hard link beside its file takes no room of its own.
    EXPECT_EQ(printed, "ok\nok\n2 6\nok\nok\nok\n3 6\n12\n");
}

TEST_F(KowachtFormats, CsvIsOneQuotedRowPerFile)
{
    const Result run = kowacht(t, {"-r", "--format=csv", "."});
    const std::string printed = python(t,
        "import csv, sys\n"
        "rows = list(csv.reader(sys.stdin.buffer.read().decode(\"utf-8\", \"surrogateescape\").splitlines()))\n"
        "for r in rows: sys.stdout.buffer.write(\"/\".join(r).encode(\"utf-8\", \"surrogateescape\") + b\"\\n\")\n",
        run.out);
    EXPECT_EQ(printed,
        "group/size/path\n1/6/" + p("a, \"b\"/eins.txt") + "\n1/6/" + p("c/\xff\xfe.txt") + "\n2/6/" + p("c/zwei.txt")
            + "\n2/6/" + p("d/drei.txt") + "\n");
}

TEST_F(KowachtFormats, SizeFiltersIncludeTheirEdgesAndExcludedFoldersAreNotEntered)
{
    t.file("e/gross1.bin", std::string(2048, 'g'));
    t.file("e/gross2.bin", std::string(2048, 'g'));
    t.file("e/leer1", "");
    t.file("e/leer2", "");
    EXPECT_EQ(kowacht(t, {"-r", "--min-size", "2K", "."}).out, p("e/gross1.bin") + "\n" + p("e/gross2.bin") + "\n");
    EXPECT_EQ(kowacht(t, {"-r", "--max-size", "0", "."}).out, p("e/leer1") + "\n" + p("e/leer2") + "\n");
    EXPECT_EQ(kowacht(t, {"-r", "--no-empty", "--max-size", "6", "--exclude", "c", "."}).out, "");
    // an excluded name that is also a folder the user named is searched all the same
    EXPECT_EQ(kowacht(t, {"-r", "--exclude", "c", "c", "d"}).out, p("c/zwei.txt") + "\n" + p("d/drei.txt") + "\n");
}

TEST_F(KowachtFormats, OneLinkListsOnePathOfEachFile)
{
    t.hardlink("d/vier.txt", "d/drei.txt");
    EXPECT_EQ(kowacht(t, {"-r", "-f", "*.txt", "c", "d"}).out.find(p("d/vier.txt")) != std::string::npos, true);
    EXPECT_EQ(kowacht(t, {"-r", "--one-link", "c", "d"}).out.find(p("d/vier.txt")), std::string::npos);
}

class KowachtTrash : public KowachtFormats
{
protected:
    std::size_t filesIn(const std::string &folder) const
    {
        std::size_t count = 0;
        std::error_code ignored;
        for (auto it = std::filesystem::recursive_directory_iterator(p(folder), ignored);
             it != std::filesystem::recursive_directory_iterator(); ++it)
            count += it->is_regular_file() ? 1 : 0;
        return count;
    }
    const ScopedEnvironment dataHome {"XDG_DATA_HOME", t.path("daten")};
};

TEST_F(KowachtTrash, DryRunMovesNothing)
{
    const Result run = kowacht(t, {"-r", "--trash", "--dry-run", "."});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("würde in den Papierkorb verschieben: " + p("c/\xff\xfe.txt")), std::string::npos)
        << run.err;
    EXPECT_EQ(filesIn("."), 4U);
}

TEST_F(KowachtTrash, KeepsTheFirstOrThoseBelowKeepInAndLosesNothing)
{
    const Result run = kowacht(t, {"-r", "--trash", "--keep-in", "d", "."});
    // the first block has no file in d: it is left alone and said so
    EXPECT_NE(run.err.find("liegt in einem --keep-in-Ordner"), std::string::npos) << run.err;
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(std::filesystem::exists(p("d/drei.txt")));
    EXPECT_FALSE(std::filesystem::exists(p("c/zwei.txt")));
    EXPECT_TRUE(std::filesystem::exists(p("c/\xff\xfe.txt")));
    EXPECT_EQ(filesIn("daten/Trash/files"), 1U);
    EXPECT_EQ(filesIn("daten/Trash/info"), 1U);
    const Result plain = kowacht(t, {"-r", "--trash", "."});
    EXPECT_EQ(plain.status, 0);
    EXPECT_TRUE(std::filesystem::exists(p("a, \"b\"/eins.txt")));
    EXPECT_FALSE(std::filesystem::exists(p("c/\xff\xfe.txt")));
    // every file is somewhere: where it was or in the trash
    EXPECT_EQ(filesIn("a, \"b\"") + filesIn("c") + filesIn("d") + filesIn("daten/Trash/files"), 4U);
}

} // namespace
} // namespace kw::test
