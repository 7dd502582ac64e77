// How long the result window's status line takes to count what the marked files free, for a
// block of 50,000 marked files and one that stays, with the facts the window looks up in
// the search's records. The line is counted again at every click.
#include "results/marking.h"
#include "search/records.h"

#include <chrono>
#include <cstdio>
#include <string>

int main()
{
    constexpr std::size_t kFiles = 50'001;
    kw::results::Lines lines;
    kw::results::Marks marks;
    kw::search::SearchRecords records;
    for (std::size_t i = 0; i < kFiles; ++i) {
        lines.push_back("/daten/ordner" + std::to_string(i % 500) + "/kopie" + std::to_string(i) + ".jpg");
        marks.push_back(i > 0);
        kw::search::FoundFile found;
        found.stamp.size = 4'000'000;
        found.stamp.identity = {2049, 1'000'000 + i}; // every one a file of its own
        records.add(lines.back(), found);
    }
    const auto facts = [&](const std::string &path) -> std::optional<kw::results::FileFacts> {
        const kw::search::FoundFile *found = records.find(path);
        if (found == nullptr)
            return std::nullopt;
        return kw::results::FileFacts {
            found->stamp.size, found->stamp.identity.device, found->stamp.identity.inode, {}};
    };
    double best = 1e9;
    kw::results::MarkedSpace space;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        space = kw::results::markedSpace(lines, marks, facts);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    std::printf("marked space, one block of %zu files, %zu marked: %.4f s (best of 5)\n", kFiles, space.files, best);
    return space.files == kFiles - 1 ? 0 : 1;
}
