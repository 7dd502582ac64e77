#include "fs/path_text.h"

#include <vector>

namespace kw::fs
{

std::string normalizedAbsolute(std::string_view path, std::string_view base)
{
    std::string joined;
    if (!path.starts_with('/')) {
        joined.assign(base);
        joined.push_back('/');
    }
    joined.append(path);

    std::vector<std::string_view> names;
    std::string_view rest = joined;
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view name = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view {} : rest.substr(slash + 1);
        if (name.empty() || name == ".")
            continue;
        if (name == "..") {
            if (!names.empty())
                names.pop_back();
            continue;
        }
        names.push_back(name);
    }
    if (names.empty())
        return "/";
    std::string result;
    for (const std::string_view name : names) {
        result.push_back('/');
        result.append(name);
    }
    return result;
}

std::string folderForm(std::string_view folder)
{
    while (folder.size() > 1 && folder.ends_with('/'))
        folder.remove_suffix(1);
    return std::string(folder);
}

std::string entryForm(std::string_view folder)
{
    std::string result(folder);
    if (!result.ends_with('/'))
        result.push_back('/');
    return result;
}

std::string joinPath(std::string_view folder, std::string_view name)
{
    std::string result;
    result.reserve(folder.size() + 1 + name.size());
    result.append(folder);
    if (!result.ends_with('/'))
        result.push_back('/');
    result.append(name);
    return result;
}

std::string_view baseName(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace kw::fs
