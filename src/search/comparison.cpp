#include "search/comparison.h"

#include "search/texts.h"

#include <exception>

namespace kw::search
{
namespace
{

// Compares one group and appends its blocks; returns the number of paths listed.
std::size_t compareGroup(
    std::span<const Candidate> group, SearchState &state, ContentComparer &comparer, ComparisonResult &result)
{
    if (group.size() < 2)
        return 0;
    std::size_t listed = 0;
    for (const std::vector<std::size_t> &set : comparer.CompFile(group, state)) {
        std::vector<std::string> block;
        block.reserve(set.size());
        for (const std::size_t member : set)
            block.push_back(group[member].path);
        appendBlock(result.lines, block);
        listed += block.size();
    }
    if (listed > 0)
        result.widthProbes.push_back(group.back().path);
    return listed;
}

} // namespace

ComparisonResult Tcomp(
    const CandidateList &candidates, SearchState &state, SearchObserver &observer, ContentComparer &comparer)
{
    ComparisonResult result;
    std::size_t found = 0;
    state.FoundCount = decimal(0); // not = "0": GCC 12 warns wrongly (-Wrestrict) there
    observer.phaseStarted(Phase::Comparison);
    state.ComparedCount = 0;

    long long line = 0; // position in the candidate list, separators included
    for (std::size_t g = 0; g < candidates.groupCount(); ++g) {
        const std::span<const Candidate> group = candidates.group(g);
        for (std::size_t m = 0; m < group.size(); ++m) {
            state.SearchIndex = line++;
            observer.comparing(state.ComparedCount + 1, state.CandidateCount);
            ++state.ComparedCount;
        }
        const bool lastGroup = g + 1 == candidates.groupCount();
        if (!lastGroup) { // the separator line closes the group
            state.SearchIndex = line++;
            observer.comparing(state.ComparedCount + 1, state.CandidateCount);
        }
        try {
            found += compareGroup(group, state, comparer, result);
        } catch (const std::exception &) {
            observer.unexpectedError(static_cast<std::size_t>(state.SearchIndex), state.OuterIndex, state.InnerIndex);
        }
    }
    state.FoundCount = decimal(found);
    return result;
}

} // namespace kw::search
