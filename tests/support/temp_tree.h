// A folder tree on disk for one test, removed when the test ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kw::test
{

// Every path given is relative to the tree's root; one that would leave the root is refused.
class TempTree
{
public:
    TempTree();
    TempTree(const TempTree &) = delete;
    TempTree &operator=(const TempTree &) = delete;
    ~TempTree();

    const std::string &root() const { return m_root; }
    std::string path(std::string_view relative) const; // root + "/" + relative, no trailing "/"

    std::string file(std::string_view relative, std::string_view content);
    std::string dir(std::string_view relative);
    std::string symlink(std::string_view relative, std::string_view target);
    std::string hardlink(std::string_view relative, std::string_view existing);
    std::string fifo(std::string_view relative);
    // A file of `size` bytes holding nothing on disk but `tail` at its very end.
    std::string sparse(std::string_view relative, std::uint64_t size, std::string_view tail);
    void chmod(std::string_view relative, unsigned mode);
    // Writes a file anywhere, for the rare test that needs one outside its tree.
    static bool writeAt(const std::string &path, std::string_view content);
    void remove(std::string_view relative);

private:
    std::string checked(std::string_view relative) const;
    void makeParents(const std::string &full) const;

    std::string m_root;
};

// The bytes of a file, or an empty string when it cannot be read.
std::string readFile(const std::string &path);

} // namespace kw::test
