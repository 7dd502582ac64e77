#include "app/kowacht/run.h"

#include "app/kowacht/options.h"
#include "app/kowacht/progress_line.h"
#include "fs/path_text.h"
#include "results/list_files.h"
#include "search/engine.h"
#include "search/texts.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace kw::app
{
namespace
{

constexpr int kCompleted = 0;
constexpr int kOutputFailed = 1;
constexpr int kUsageError = 2;

bool isFolder(const std::string &path)
{
    struct stat status = {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The folders as the engine wants them: the first is the start folder, the others are
// active marked folders. Relative ones are taken from the current folder.
bool buildRequest(const KowachtOptions &options, search::SearchRequest &request)
{
    const std::string here = fs::currentFolder();
    for (std::size_t i = 0; i < options.folders.size(); ++i) {
        const std::string folder = fs::normalizedAbsolute(options.folders[i], here);
        if (!isFolder(folder)) {
            std::fprintf(stderr, "kowacht: '%s' ist kein Ordner.\n", options.folders[i].c_str());
            return false;
        }
        if (i == 0)
            request.startFolder = folder;
        else
            request.markedFolders.push_back({fs::entryForm(folder), true});
    }
    request.includeSubfolders = options.recursive;
    request.filter = options.filter;
    return true;
}

void writeList(const search::ResultList &lines)
{
    // Paths go out as the file system holds their bytes.
    for (const std::string &line : lines) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
    std::fflush(stdout);
}

} // namespace

int runKowacht(int argc, char **argv)
{
    const ParsedOptions parsed = parseKowachtOptions(argc, argv);
    const KowachtOptions &options = parsed.options;
    if (options.help) {
        std::fputs(kowachtHelpText().c_str(), stdout);
        return kCompleted;
    }
    if (options.version) {
        std::printf("kowacht %s\n", std::string(search::kVersionText).c_str());
        return kCompleted;
    }
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "kowacht: %s\nMehr mit: kowacht --help\n", parsed.error.c_str());
        return kUsageError;
    }
    search::SearchRequest request;
    if (!buildRequest(options, request))
        return kUsageError;

    ProgressLine progress(stderr, !options.quiet && ::isatty(STDERR_FILENO) == 1);
    const search::SearchOutcome outcome = search::runSearch(request, progress);
    progress.finish();

    writeList(outcome.lines);
    if (outcome.lines.empty())
        std::fprintf(stderr, "%s\n", std::string(search::kNoDuplicatesText).c_str());
    else
        std::fprintf(stderr, "%s\n", outcome.caption().c_str());

    if (!options.output.empty()) {
        if (results::writePlainList(options.output, outcome.lines)) {
            std::fprintf(stderr, "Datei %s kann nicht erstellt werden\n", options.output.c_str());
            return kOutputFailed;
        }
    }
    return kCompleted;
}

} // namespace kw::app
