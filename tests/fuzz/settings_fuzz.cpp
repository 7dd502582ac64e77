// The settings' value formats: whatever a store holds, reading it never fails, and what is
// written back reads as what was read. Input: values separated by NUL, given in turn to the
// value names the program reads.
#include "shell/memory_store.h"
#include "shell/settings.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    std::vector<std::string> names = {"Pfad", "Ansicht", "XPos", "YPos", "UnterOrdner"};
    for (std::size_t i = 1; i <= 4; ++i) {
        names.push_back(kw::shell::markedFolderValueName(i));
        names.push_back(kw::shell::filterValueName(i));
    }
    kw::test::MemoryStore store;
    std::size_t at = 0;
    for (const std::string &name : names) {
        if (at > input.size())
            break;
        const std::size_t end = std::min(input.find('\0', at), input.size());
        store.values[name] = std::string(input.substr(at, end - at));
        at = end + 1;
    }
    const kw::shell::StoredSettings read = kw::shell::readSettings(store);
    if (const auto x = store.read("XPos");
        x && read.xPos && kw::shell::parseDecimal(std::to_string(*read.xPos)) != read.xPos)
        std::abort();
    // The format is unambiguous for the paths the program stores, which are absolute; the
    // start-up drops any other, as no such folder opens.
    for (const kw::search::MarkedFolder &entry : read.markedFolders) {
        if (entry.path.starts_with('/')
            && kw::shell::parseMarkedFolderValue(kw::shell::markedFolderValue(entry)) != entry)
            std::abort();
    }
    kw::shell::SettingsToWrite again;
    again.startFolder = read.startFolder.value_or("/");
    for (const kw::search::MarkedFolder &entry : read.markedFolders)
        if (entry.path.starts_with('/'))
            again.markedFolders.push_back(entry);
    again.xPos = read.xPos.value_or(0);
    again.yPos = read.yPos.value_or(0);
    again.filterHistory = read.filters;
    again.subfolders = read.subfolders;
    kw::test::MemoryStore written;
    kw::shell::writeSettings(written, again);
    const kw::shell::StoredSettings reread = kw::shell::readSettings(written);
    if (reread.subfolders != read.subfolders || reread.xPos != read.xPos.value_or(0)
        || reread.markedFolders != again.markedFolders)
        std::abort();
    return 0;
}
