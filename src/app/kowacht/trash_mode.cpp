#include "app/kowacht/trash_mode.h"

#include "fs/path_text.h"
#include "results/deletion.h"
#include "search/result_list.h"
#include "search/texts.h"

#include <algorithm>

namespace kw::app
{
namespace
{

bool below(const std::string &path, const std::vector<std::string> &folders)
{
    return std::any_of(folders.begin(), folders.end(),
        [&](const std::string &folder) { return path.starts_with(fs::entryForm(folder)); });
}

} // namespace

TrashPlan planTrash(const search::ResultList &lines, const std::vector<std::string> &keepIn)
{
    TrashPlan plan;
    for (const std::vector<std::string> &block : search::blocksOf(lines)) {
        std::vector<std::string> kept;
        std::vector<std::string> going;
        for (std::size_t i = 0; i < block.size(); ++i) {
            const bool keep = keepIn.empty() ? i == 0 : below(block[i], keepIn);
            (keep ? kept : going).push_back(block[i]);
        }
        if (kept.empty()) {
            plan.leftAlone.push_back(block.front());
            continue;
        }
        for (std::string &path : going)
            plan.requests.push_back({std::move(path), kept, false});
    }
    return plan;
}

bool carryOutTrash(
    const TrashPlan &plan, const search::SearchRecords *records, fs::Trash &trash, bool dryRun, ProgressLine &progress)
{
    for (const std::string &first : plan.leftAlone)
        progress.message("kowacht: keine Datei der Gruppe von '" + escapedForMessage(first)
            + "' liegt in einem --keep-in-Ordner; die Gruppe bleibt, wie sie ist");
    bool everything = true;
    for (const results::TrashRequest &request : plan.requests) {
        const std::string shown = escapedForMessage(request.path);
        const results::TrashOutcome outcome = dryRun
            ? results::TrashOutcome {request.path, results::checkBeforeTrash(request, records).error, {}}
            : results::trashOne(request, records, trash);
        if (outcome.error) {
            everything = false;
            results::TrashOutcome said = outcome; // where it lies, escaped as every path here
            said.strandedAt = outcome.strandedAt.empty() ? std::string() : escapedForMessage(outcome.strandedAt);
            progress.message("kowacht: nicht verschoben: " + shown + " (" + results::outcomeReason(said) + ")");
        } else {
            progress.message(
                (dryRun ? "kowacht: würde in den Papierkorb verschieben: " : "kowacht: in den Papierkorb: ") + shown);
        }
    }
    return everything;
}

} // namespace kw::app
