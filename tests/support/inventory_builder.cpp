#include "support/inventory_builder.h"

#include "fs/path_text.h"

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
            inventory.folders.push_back({folder, 0});
        search::InventoryFile file;
        file.folder = place->second;
        file.nameOffset = static_cast<std::uint32_t>(inventory.names.size());
        const std::string name(fs::baseName(full));
        file.nameLength = static_cast<std::uint16_t>(name.size());
        inventory.names.append(name);
        struct stat fileStatus = {};
        if (::lstat(full.c_str(), &fileStatus) == 0)
            file.stamp = fs::stampOf(fileStatus);
        inventory.files.push_back(file);
    }
    return inventory;
}

search::Inventory inventoryOfSizes(const std::vector<std::pair<std::string, std::uint64_t>> &files)
{
    search::Inventory inventory;
    inventory.tops.push_back({"/", fs::FileDescriptor {}, {}});
    inventory.folders.push_back({"/", 0});
    for (const auto &[name, size] : files) {
        search::InventoryFile file;
        file.nameOffset = static_cast<std::uint32_t>(inventory.names.size());
        file.nameLength = static_cast<std::uint16_t>(name.size());
        file.stamp.size = size;
        inventory.names.append(name);
        inventory.files.push_back(file);
    }
    return inventory;
}

} // namespace kw::test
