// Path texts: a path made absolute is absolute, without "//", "." or ".." names and without a
// trailing "/", and stays as it is when made absolute again. Input: base, NUL, path.
#include "fs/path_text.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{

bool normal(const std::string &path)
{
    if (path.empty() || path[0] != '/')
        return false;
    if (path == "/")
        return true;
    if (path.back() == '/' || path.find("//") != std::string::npos)
        return false;
    const std::string wrapped = path + "/";
    return wrapped.find("/./") == std::string::npos && wrapped.find("/../") == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    const std::size_t split = input.find('\0');
    if (split == std::string::npos)
        return 0;
    const std::string base = kw::fs::normalizedAbsolute(input.substr(0, split), "/");
    const std::string path = input.substr(split + 1);
    const std::string absolute = kw::fs::normalizedAbsolute(path, base);
    if (!normal(absolute) || kw::fs::normalizedAbsolute(absolute, "/x") != absolute)
        std::abort();
    if (kw::fs::folderForm(kw::fs::entryForm(absolute)) != absolute)
        std::abort();
    const std::string name(kw::fs::baseName(absolute));
    if (absolute != "/" && kw::fs::joinPath(absolute.substr(0, absolute.size() - name.size()), name) != absolute)
        std::abort();
    return 0;
}
