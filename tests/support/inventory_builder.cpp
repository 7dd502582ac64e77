#include "support/inventory_builder.h"

#include "fs/path_text.h"
#include "fs/posix/stat_conversion.h"

#include <sys/stat.h>

#include <map>
#include <stdexcept>

namespace kw::test
{

search::Inventory inventoryOf(const std::string &root, const std::vector<std::string> &relative)
{
    search::Inventory inventory;
    fs::Opened top = fs::openFolder(root);
    if (top.error)
        throw std::runtime_error("cannot open " + root);
    struct stat status = {};
    ::stat(root.c_str(), &status);
    inventory.tops.push_back({root, std::move(top.fd), {status.st_dev, status.st_ino}});
    std::map<std::string, std::uint32_t> folders;
    for (const std::string &path : relative) {
        const std::string full = fs::joinPath(root, path);
        const std::string folder = full.substr(0, full.rfind('/') + 1);
        const auto [place, added] = folders.try_emplace(folder, static_cast<std::uint32_t>(inventory.folders.size()));
        if (added)
            inventory.addFolder(folder, 0);
        struct stat fileStatus = {};
        const bool listed = ::lstat(full.c_str(), &fileStatus) == 0;
        inventory.addFile(
            place->second, fs::baseName(full), listed ? fs::stampOf(fileStatus) : fs::FileStamp {}, false);
    }
    return inventory;
}

search::Inventory inventoryOfSizes(const std::vector<std::pair<std::string, std::uint64_t>> &files)
{
    search::Inventory inventory;
    inventory.tops.push_back({"/", fs::OwnedHandle {}, {}});
    const std::uint32_t folder = inventory.addFolder("/", 0);
    for (const auto &[name, size] : files) {
        fs::FileStamp stamp;
        stamp.size = size;
        inventory.addFile(folder, name, stamp, false);
    }
    return inventory;
}

} // namespace kw::test
