// A whole search against a file system that changes under it, and against names and trees
// that a simple walk gets wrong.
#include "search/engine.h"

#include "fs/failure.h"
#include "fs/file_access.h"
#include "fs/open_faults.h"
#include "support/recording_observer.h"
#include "support/temp_tree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>

namespace kw::search
{
namespace
{

using Lines = std::vector<std::string>;

class EngineEdges : public testing::Test
{
protected:
    SearchOutcome search(const SearchHooks *hooks = nullptr, std::string filter = "*.*")
    {
        EngineOptions options;
        options.hooks = hooks;
        return runSearch({t.root(), {}, true, std::move(filter), {}}, observer, options);
    }
    std::string p(std::string_view relative) { return t.path(relative); }
    // Writes whose times would fall into the same clock tick as the file's making are told
    // apart only by content; an old time makes any later write show.
    void ageFile(std::string_view relative)
    {
        const timespec old[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, p(relative).c_str(), old, 0), 0);
    }

    test::TempTree t;
    test::RecordingObserver observer;
};

TEST_F(EngineEdges, FolderSwappedForALinkDuringTheSearchListsNoFileTwice)
{
    t.file("a/foto.jpg", "bild");
    t.file("b/foto.jpg", "bild");
    SearchHooks hooks;
    hooks.afterFolders = [&] {
        ASSERT_EQ(std::rename(p("b").c_str(), p("alt").c_str()), 0);
        t.symlink("b", p("a")); // b/foto.jpg is now a/foto.jpg itself
    };
    const SearchOutcome outcome = search(&hooks);
    EXPECT_EQ(outcome.lines, Lines {});
    ASSERT_EQ(observer.skips.size(), 1U);
    EXPECT_EQ(observer.skips[0].first, p("b/foto.jpg"));
    EXPECT_EQ(observer.skips[0].second, std::errc::too_many_symbolic_link_levels);
}

TEST_F(EngineEdges, FileRewrittenAfterItsLastBlockIsEqualToNothing)
{
    for (const char *name : {"a.txt", "b.txt", "c.txt"}) {
        t.file(name, "gleich");
        ageFile(name);
    }
    SearchHooks hooks;
    hooks.afterLastBlock = [&](const std::string &path) {
        if (path == p("b.txt"))
            test::TempTree::writeAt(path, "anders"); // same size, in place
    };
    const SearchOutcome outcome = search(&hooks);
    EXPECT_EQ(outcome.lines, (Lines {p("a.txt"), p("c.txt")}));
    ASSERT_EQ(observer.skips.size(), 1U);
    EXPECT_EQ(observer.skips[0].second, fs::Failure::ChangedDuringSearch);
    EXPECT_EQ(outcome.state.AccessErrorCount, 1U);
}

TEST_F(EngineEdges, FileReplacedByAFifoOrALinkAfterItWasReadIsNotListed)
{
    for (const char *name : {"a.txt", "b.txt", "c.txt", "d.txt"})
        t.file(name, "gleich");
    SearchHooks hooks;
    hooks.afterLastBlock = [&](const std::string &path) {
        if (path == p("b.txt")) {
            t.fifo("rohr");
            ASSERT_EQ(std::rename(p("rohr").c_str(), path.c_str()), 0);
        } else if (path == p("c.txt")) {
            t.symlink("verweis", p("a.txt"));
            ASSERT_EQ(std::rename(p("verweis").c_str(), path.c_str()), 0);
        }
    };
    const SearchOutcome outcome = search(&hooks);
    EXPECT_EQ(outcome.lines, (Lines {p("a.txt"), p("d.txt")}));
    ASSERT_EQ(observer.skips.size(), 2U);
    EXPECT_EQ(observer.skips[0].second, fs::Failure::NotARegularFile);
    EXPECT_EQ(observer.skips[1].second, fs::Failure::NotARegularFile);
}

TEST_F(EngineEdges, EmptyFileReplacedByADeviceIsNotAnEmptyFile)
{
    t.file("leer1", "");
    t.file("leer2", "");
    SearchHooks hooks;
    bool made = false;
    hooks.afterFolders = [&] {
        t.remove("leer2");
        made = ::mknod(p("leer2").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; // what /dev/null is
    };
    const SearchOutcome outcome = search(&hooks);
    if (!made)
        GTEST_SKIP() << "cannot make a device node here";
    EXPECT_EQ(outcome.lines, Lines {});
}

TEST_F(EngineEdges, IdenticalEmptyFilesSurviveAnUnreadableFileThatSortsFirst)
{
    t.file("a-gesperrt.bin", std::string(100, 'x'));
    t.file("leer1", "");
    t.file("leer2", "");
    const fs::ScopedOpenFault fault([](std::string_view path) { return path.ends_with("a-gesperrt.bin"); });
    const SearchOutcome outcome = search();
    // the unreadable file joins the group of size 0 and is equal to nothing
    EXPECT_EQ(outcome.lines, (Lines {p("leer1"), p("leer2")}));
    EXPECT_EQ(outcome.state.AccessErrorCount, 1U);
}

TEST_F(EngineEdges, StarsAndQuestionMarksInNamesAreMatchedByTheFilter)
{
    t.file("*foto.jpg", "bild");
    t.file("a*c.jpg", "bild");
    t.file("?.jpg", "bild");
    EXPECT_EQ(search(nullptr, "*.jpg").lines, (Lines {p("*foto.jpg"), p("?.jpg"), p("a*c.jpg")}));
    EXPECT_EQ(search(nullptr, "a*").lines, Lines {}); // one file alone
}

TEST_F(EngineEdges, TreesDeeperThanAPathMaySearchAsAnyOther)
{
    // 25 folders of 200 bytes: 5,000 bytes of path, more than one system call may take.
    const std::string name(200, 't');
    std::string relative;
    fs::OwnedHandle folder = fs::openFolder(t.root()).fd;
    for (int level = 0; level < 25; ++level) {
        ASSERT_EQ(::mkdirat(folder.get().native(), name.c_str(), 0755), 0);
        folder = fs::OwnedHandle(::openat(folder.get().native(), name.c_str(), O_RDONLY | O_DIRECTORY));
        relative += name + "/";
    }
    for (const char *file : {"x.txt", "y.txt"}) {
        const fs::OwnedHandle fd(::openat(folder.get().native(), file, O_WRONLY | O_CREAT, 0644));
        ASSERT_EQ(::write(fd.get().native(), "tief", 4), 4);
    }
    const SearchOutcome outcome = search();
    EXPECT_EQ(outcome.lines, (Lines {p(relative + "x.txt"), p(relative + "y.txt")}));
    EXPECT_EQ(outcome.state.AccessErrorCount, 0U);
    for (int level = 25; level > 0; --level) { // what a path cannot reach, a handle can remove
        const std::size_t length = static_cast<std::size_t>(level - 1) * (name.size() + 1);
        const fs::Opened up = fs::openFolderBelow(
            fs::openFolder(t.root()).fd.get(), level == 1 ? std::string() : relative.substr(0, length - 1));
        ASSERT_FALSE(up.error);
        if (level == 25) {
            const fs::Opened deepest = fs::openFolderBelow(up.fd.get(), name);
            ::unlinkat(deepest.fd.get().native(), "x.txt", 0);
            ::unlinkat(deepest.fd.get().native(), "y.txt", 0);
        }
        ASSERT_EQ(::unlinkat(up.fd.get().native(), name.c_str(), AT_REMOVEDIR), 0);
    }
}

TEST_F(EngineEdges, CancelledSearchEndsWithAnEmptyList)
{
    t.file("a.txt", "gleich");
    t.file("b.txt", "gleich");
    std::atomic<bool> cancel {true};
    EngineOptions options;
    options.cancel = &cancel;
    const SearchOutcome outcome = runSearch({t.root(), {}, true, "*.*", {}}, observer, options);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_TRUE(outcome.lines.empty());
}

// Cancelling as a phase starts stops the search in that phase: the next never begins.
class CancellingObserver final : public test::RecordingObserver
{
public:
    CancellingObserver(Phase at, std::atomic<bool> &cancel) : m_at(at), m_cancel(cancel) { }
    void phaseStarted(Phase phase) override
    {
        RecordingObserver::phaseStarted(phase);
        if (phase == m_at)
            m_cancel.store(true);
    }

private:
    Phase m_at;
    std::atomic<bool> &m_cancel;
};

TEST_F(EngineEdges, CancelStopsEveryPhaseBeforeTheNext)
{
    for (int folder = 0; folder < 20; ++folder)
        for (int file = 0; file < 5; ++file)
            t.file("d" + std::to_string(folder) + "/f" + std::to_string(file), std::to_string(file));
    const std::pair<Phase, std::size_t> phases[]
        = {{Phase::FolderSearch, 1}, {Phase::FileSearch, 2}, {Phase::Comparison, 3}};
    for (const auto &[phase, captions] : phases) {
        std::atomic<bool> cancel {false};
        CancellingObserver watcher(phase, cancel);
        EngineOptions options;
        options.cancel = &cancel;
        const SearchOutcome outcome = runSearch({t.root(), {}, true, "*.*", {}}, watcher, options);
        EXPECT_TRUE(outcome.cancelled) << captions;
        EXPECT_TRUE(outcome.lines.empty());
        EXPECT_EQ(watcher.captions.size(), captions);
        EXPECT_TRUE(watcher.statuses.empty() || phase != Phase::FolderSearch) << watcher.statuses.size();
    }
}

TEST_F(EngineEdges, FiltersOfTheCommandLineNarrowTheSearch)
{
    t.file("klein1", "ab");
    t.file("klein2", "ab");
    t.file("gross1", "abcdef");
    t.file("gross2", "abcdef");
    t.file("leer1", "");
    t.file("leer2", "");
    t.file("node_modules/x1", "abcdef");
    t.file("tmp.tmp", "abcdef");
    SearchRequest request {t.root(), {}, true, "*.*", {}};
    request.filters.sizes.minimum = 2; // exactly the minimum is in
    request.filters.sizes.maximum = 2;
    EXPECT_EQ(runSearch(request, observer).lines, (Lines {p("klein1"), p("klein2")}));
    request.filters.sizes = {1, std::numeric_limits<std::uint64_t>::max()};
    request.filters.excluded = {"node_modules", "*.TMP"};
    EXPECT_EQ(runSearch(request, observer).lines, (Lines {p("klein1"), p("klein2"), "", p("gross1"), p("gross2")}));
}

TEST_F(EngineEdges, OneLinkListsOnePathOfEachFile)
{
    t.file("a.txt", "inhalt");
    t.hardlink("b.txt", "a.txt");
    t.file("c.txt", "inhalt");
    SearchRequest request {t.root(), {}, true, "*.*", {}};
    request.filters.oneLink = true;
    EXPECT_EQ(runSearch(request, observer).lines, (Lines {p("a.txt"), p("c.txt")}));
    t.remove("c.txt");
    EXPECT_EQ(runSearch(request, observer).lines, Lines {}); // a file and its own second name
}

} // namespace
} // namespace kw::search
