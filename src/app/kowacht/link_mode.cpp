#include "app/kowacht/link_mode.h"

#include "app/kowacht/trash_mode.h"

namespace kw::app
{

results::LinkPlan planLinks(const search::ResultList &lines, const std::vector<std::string> &keepIn)
{
    TrashPlan chosen = planTrash(lines, keepIn);
    results::LinkPlan plan;
    plan.leftAlone = std::move(chosen.leftAlone);
    for (results::TrashRequest &request : chosen.requests)
        plan.requests.push_back({std::move(request.path), request.keptCopies.front()});
    return plan;
}

LinkTotals carryOutLinks(const results::LinkPlan &plan, const search::SearchRecords *records, results::LinkKind kind,
    bool dryRun, ProgressLine &progress)
{
    for (const std::string &first : plan.leftAlone)
        progress.message("kowacht: keine Datei der Gruppe von '" + escapedForMessage(first)
            + "' liegt in einem --keep-in-Ordner; die Gruppe bleibt, wie sie ist");
    const bool blocks = kind == results::LinkKind::SharedBlocks;
    LinkTotals totals;
    for (const results::LinkRequest &request : plan.requests) {
        const std::string shown = escapedForMessage(request.path);
        const results::LinkOutcome outcome = results::linkOne(request, records, kind, dryRun);
        if (outcome.error) {
            totals.everything = false;
            progress.message("kowacht: nicht ersetzt: " + shown + " (" + results::linkFailureReason(outcome) + ")");
            continue;
        }
        totals.freed += outcome.freed;
        if (outcome.alreadyOne)
            progress.message("kowacht: schon eins mit '" + escapedForMessage(request.keptPath) + "': " + shown);
        else if (dryRun)
            progress.message(
                std::string(blocks ? "kowacht: würde Blöcke teilen: " : "kowacht: würde hart verknüpfen: ") + shown);
        else
            progress.message(std::string(blocks ? "kowacht: Blöcke geteilt: " : "kowacht: hart verknüpft: ") + shown);
    }
    return totals;
}

} // namespace kw::app
