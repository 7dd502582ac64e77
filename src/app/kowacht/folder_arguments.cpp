#include "app/kowacht/folder_arguments.h"

#include "fs/path_facts.h"
#include "fs/path_text.h"

#include <cstdlib>
#include <vector>

namespace kw::app
{
namespace
{

bool isLink(const std::string &path)
{
    return fs::kindOf(path, false).kind == fs::EntryKind::SymbolicLink;
}

std::string joined(const std::vector<std::string> &names)
{
    std::string path;
    for (const std::string &name : names)
        path.append("/").append(name);
    return path.empty() ? std::string("/") : path;
}

std::vector<std::string> namesOf(const std::string &path)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        if (slash > start)
            names.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return names;
}

} // namespace

std::string resolvedFolderArgument(const std::string &argument, const std::string &currentFolder)
{
    const std::string text = argument.starts_with('/') ? argument : currentFolder + "/" + argument;
    std::vector<std::string> names;
    bool throughLink = false; // a link lies on the way to what `names` names
    for (const std::string &name : namesOf(text)) {
        if (name == ".")
            continue;
        if (name != "..") {
            names.push_back(name);
            throughLink = throughLink || isLink(joined(names));
            continue;
        }
        if (throughLink) {
            // Where the links really lead; going up from there is what the kernel does.
            if (const std::optional<std::string> real = fs::resolvedPath(joined(names)))
                names = namesOf(*real);
            throughLink = false;
        }
        if (!names.empty())
            names.pop_back();
    }
    return joined(names);
}

} // namespace kw::app
