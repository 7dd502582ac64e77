#include "results/deletion.h"

#include "search/texts.h"

namespace kw::results
{

DeletionQuestion deletionQuestion(const Lines &lines, const Marks &marks)
{
    DeletionQuestion question;
    bool inBlock = false;
    bool allMarked = true;
    const auto closeBlock = [&] {
        if (inBlock && allMarked)
            ++question.wholeBlocks;
        inBlock = false;
        allMarked = true;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) {
            closeBlock();
            continue;
        }
        const bool marked = i < marks.size() && marks[i];
        question.files += marked ? 1 : 0;
        allMarked = allMarked && marked;
        inBlock = true;
    }
    closeBlock();

    const std::string count = search::decimal(question.files);
    question.text = question.files == 1
        ? "Soll die markierte Datei in den Papierkorb verschoben werden?"
        : "Sollen die " + count + " markierten Dateien in den Papierkorb verschoben werden?";
    if (question.wholeBlocks > 0) {
        const std::string blocks = question.wholeBlocks == 1
            ? "In einer Gruppe sind alle Kopien markiert."
            : "In " + search::decimal(question.wholeBlocks) + " Gruppen sind alle Kopien markiert.";
        question.text += "\r\rAchtung: " + blocks
            + "\rVon diesen Dateien bliebe danach keine Kopie mehr übrig, nur noch der Papierkorb.";
    }
    return question;
}

std::vector<std::string> reconcileAfterDeletion(
    Lines &lines, Marks &marks, const std::function<bool(const std::string &)> &exists)
{
    marks.resize(lines.size(), false);
    std::vector<std::string> removed;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (marks[i] && !lines[i].empty() && !exists(lines[i])) {
            removed.push_back(std::move(lines[i]));
            continue;
        }
        if (kept != i) {
            lines[kept] = std::move(lines[i]);
            marks[kept] = marks[i];
        }
        ++kept;
    }
    lines.resize(kept);
    marks.resize(kept);
    return removed;
}

FormattedDocument deletionLog(const std::vector<std::string> &removed, std::string_view date, std::string_view time)
{
    FormattedDocument document;
    DocumentBuilder builder(document);
    addHead(builder, "Gelöschte Datei-Duplikate", date, time);
    for (const std::string &line : removed)
        builder.add(line);
    addFooter(builder);
    return document;
}

std::string outcomeReason(const TrashOutcome &outcome)
{
    std::string text = search::reasonText(outcome.error);
    if (!outcome.strandedAt.empty())
        text += "; sie liegt jetzt im Papierkorb als '" + outcome.strandedAt + "'";
    return text;
}

std::string notMovedText(const std::vector<TrashOutcome> &failures)
{
    std::string text = failures.size() == 1 ? "Diese Datei konnte nicht in den Papierkorb verschoben werden:"
                                            : "Diese Dateien konnten nicht in den Papierkorb verschoben werden:";
    for (const TrashOutcome &failure : failures)
        text += "\r" + failure.path + " (" + outcomeReason(failure) + ")";
    return text;
}

} // namespace kw::results
