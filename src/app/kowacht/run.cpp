#include "app/kowacht/run.h"

#include "app/kowacht/folder_arguments.h"
#include "app/kowacht/link_mode.h"
#include "app/kowacht/options.h"
#include "app/kowacht/output_formats.h"
#include "app/kowacht/progress_line.h"
#include "app/kowacht/summary.h"
#include "app/kowacht/trash_mode.h"
#include "fs/path_facts.h"
#include "fs/path_text.h"
#include "fs/replace_file.h"
#include "results/list_files.h"
#include "search/engine.h"
#include "search/texts.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <string>

namespace kw::app
{
namespace
{

// Why `given` cannot be searched ("existiert nicht", "ist kein Ordner"), or empty.
std::string notAFolder(const std::string &path)
{
    const fs::PathKind found = fs::kindOf(path, true);
    if (found.error)
        return found.error == std::errc::no_such_file_or_directory
            ? "existiert nicht"
            : "ist nicht zu erreichen: " + search::reasonText(found.error);
    return found.kind == fs::EntryKind::Folder ? std::string() : "ist kein Ordner";
}

int usageError(const std::string &text)
{
    std::fprintf(stderr, "kowacht: %s\n%sMehr mit: kowacht --help\n", text.c_str(), kowachtUsageLine().c_str());
    return kUsageError;
}

// The folders as the engine wants them: the first is the start folder, the others are
// active marked folders. Relative ones are taken from the current folder.
bool buildRequest(const KowachtOptions &options, search::SearchRequest &request, std::vector<std::string> &folders)
{
    const std::string here = fs::currentFolder();
    for (std::size_t i = 0; i < options.folders.size(); ++i) {
        const std::string folder = resolvedFolderArgument(options.folders[i], here);
        if (const std::string why = notAFolder(folder); !why.empty()) {
            std::fprintf(stderr, "kowacht: '%s' %s.\n", escapedForMessage(options.folders[i]).c_str(), why.c_str());
            return false;
        }
        folders.push_back(folder);
        if (i == 0)
            request.startFolder = folder;
        else
            request.markedFolders.push_back({fs::entryForm(folder), true});
    }
    request.includeSubfolders = options.recursive;
    request.filter = options.filter;
    request.filters.sizes = {options.minSize, options.maxSize};
    request.filters.excluded = options.excluded;
    request.filters.oneLink = options.oneLink;
    return true;
}

bool keepFolders(const KowachtOptions &options, std::vector<std::string> &keepIn)
{
    for (const std::string &given : options.keepIn) {
        const std::string folder = resolvedFolderArgument(given, fs::currentFolder());
        if (const std::string why = notAFolder(folder); !why.empty()) {
            std::fprintf(stderr, "kowacht: '%s' (--keep-in) %s.\n", escapedForMessage(given).c_str(), why.c_str());
            return false;
        }
        keepIn.push_back(folder);
    }
    return true;
}

// Writes the list to stdout; an error when not all of it got there. A closed pipe ends the
// program on SIGPIPE, quietly, before this can say anything.
std::error_code writeToStdout(const std::string &bytes)
{
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
        return {errno, std::generic_category()};
    if (std::fflush(stdout) != 0)
        return {errno, std::generic_category()};
    return {};
}

// The plain list line by line, not first put together: it may be large.
std::error_code writeLinesToStdout(const search::ResultList &lines)
{
    for (const std::string &line : lines) {
        if (std::fwrite(line.data(), 1, line.size(), stdout) != line.size() || std::fputc('\n', stdout) == EOF)
            return {errno, std::generic_category()};
    }
    return writeToStdout({});
}

int writeFailed(const std::string &where, std::error_code error)
{
    std::fprintf(stderr, "kowacht: Schreibfehler: %s%s\n", where.c_str(), search::reasonText(error).c_str());
    return kWriteFailed;
}

int searchFailed(const search::SearchFailure &failure)
{
    std::fprintf(stderr, "kowacht: die Suche brach ab: %s\n", search::searchFailureReason(failure).c_str());
    return kSearchFailed;
}

int runUnguarded(int argc, char **argv, const search::SearchHooks *hooks)
{
    const ParsedOptions parsed = parseKowachtOptions(argc, argv);
    const KowachtOptions &options = parsed.options;
    if (options.help) {
        std::fputs(kowachtHelpText().c_str(), stdout);
        return writeToStdout({}) ? kWriteFailed : kCompleted;
    }
    if (options.version) {
        std::fputs(kowachtVersionText().c_str(), stdout);
        return writeToStdout({}) ? kWriteFailed : kCompleted;
    }
    if (!parsed.error.empty())
        return usageError(parsed.error);
    search::SearchRequest request;
    SearchDescription described {&options, {}, {}};
    std::vector<std::string> keepIn;
    if (!buildRequest(options, request, described.folders) || !keepFolders(options, keepIn))
        return kUsageError;

    ProgressLine progress(stderr, liveDisplayForStderr(options.quiet));
    search::EngineOptions engine;
    engine.threads = options.threads;
    engine.readAhead = options.readAhead;
    // Each file is checked against them before it goes; JSON gives each file's identity.
    engine.keepRecords = actsOnDuplicates(options) || options.format == OutputFormat::Json;
    engine.hooks = hooks;
    // Where nothing needs the whole list afterwards, each block goes out as it is found.
    const bool streamed = options.format != OutputFormat::Json && options.output.empty() && !actsOnDuplicates(options);
    StreamedList stream(options.format, stdout);
    if (streamed)
        engine.blockSink
            = [&](const std::vector<std::string> &block, std::uint64_t size) { stream.block(block, size); };
    const search::SearchOutcome outcome = search::runSearch(request, progress, engine);
    progress.finish();
    described.skipped = progress.skippedEntries();

    const std::error_code written = streamed   ? stream.finish()
        : options.format == OutputFormat::Text ? writeLinesToStdout(outcome.lines)
                                               : writeToStdout(formattedList(options.format, outcome, described));
    if (written)
        return writeFailed("", written);
    if (outcome.blockCount == 0)
        std::fprintf(stderr, "%s\n", std::string(search::kNoDuplicatesText).c_str());
    else
        std::fprintf(stderr, "%s\n", outcome.caption().c_str());
    if (options.stats || fs::standardErrorIsTerminal())
        std::fprintf(stderr, "%s\n", summaryText(outcome).c_str());

    if (!options.output.empty()) {
        if (const std::error_code error = results::writePlainList(options.output, outcome.lines))
            return writeFailed("'" + escapedForMessage(options.output) + "': ", error);
    }
    if (outcome.failure) {
        if (options.trash)
            std::fputs("kowacht: nichts wurde in den Papierkorb verschoben, da die Suche abbrach\n", stderr);
        else if (actsOnDuplicates(options))
            std::fputs("kowacht: nichts wurde ersetzt, da die Suche abbrach\n", stderr);
        return searchFailed(*outcome.failure);
    }
    if (options.trash) {
        fs::FreedesktopTrash trash;
        if (!carryOutTrash(planTrash(outcome.lines, keepIn), outcome.records.get(), trash, options.dryRun, progress))
            return kNotAllMoved;
    }
    if (options.reflink || options.hardlink) {
        const LinkTotals totals = carryOutLinks(planLinks(outcome.lines, keepIn), outcome.records.get(),
            options.reflink ? results::LinkKind::SharedBlocks : results::LinkKind::HardLink, options.dryRun, progress);
        if (options.stats)
            progress.message(
                std::string(options.dryRun ? "Durch die Verknüpfungen würden frei: " : "Durch die Verknüpfungen frei: ")
                + search::sizeText(totals.freed) + ".");
        if (!totals.everything)
            return kNotAllMoved;
    }
    return outcome.state.AccessErrorCount > 0 ? kSomethingUnreadable : kCompleted;
}

} // namespace

int runKowacht(int argc, char **argv, const search::SearchHooks *hooks)
{
#ifdef SIGPIPE // where there are pipe signals
    std::signal(SIGPIPE, SIG_DFL); // as every filter does, whatever the caller ignored
#endif
    try {
        return runUnguarded(argc, argv, hooks);
    } catch (...) {
        return searchFailed(search::SearchFailure::of(std::current_exception()));
    }
}

} // namespace kw::app
