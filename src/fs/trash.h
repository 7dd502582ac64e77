// The trash: marked duplicates are moved there, never deleted for good, so that the desktop's
// own trash shows them and can put them back.
#pragma once

#include <string>
#include <system_error>

namespace kw::fs
{

// What a front end moves files to the trash with; tests put in one that refuses some files.
class Trash
{
public:
    virtual ~Trash() = default;
    // Moves the file or link at `path` (absolute) to the trash; an error leaves it in place.
    virtual std::error_code moveToTrash(const std::string &path) = 0;
};

// The freedesktop.org trash. A file on the volume of the home trash ($XDG_DATA_HOME/Trash,
// by default ~/.local/share/Trash) goes there; a file on another volume goes to that
// volume's $topdir/.Trash/$uid (when .Trash is a real folder with the sticky bit) or
// $topdir/.Trash-$uid, or stays where it is. Files are renamed, never copied: a move across
// volumes that fails halfway would leave two copies or none.
class FreedesktopTrash final : public Trash
{
public:
    // `homeTrash`: the home trash folder; empty for the one the environment names.
    explicit FreedesktopTrash(std::string homeTrash = {});
    std::error_code moveToTrash(const std::string &path) override;

    const std::string &homeTrash() const { return m_homeTrash; }

    // The home trash the environment names: $XDG_DATA_HOME/Trash, else $HOME/.local/share/Trash.
    static std::string defaultHomeTrash();

private:
    std::string m_homeTrash;
};

// Percent-encodes a path for a .trashinfo file (RFC 2396): letters, digits, "/" and the
// unreserved marks stay, every other byte becomes %XX.
std::string trashInfoPath(const std::string &path);

} // namespace kw::fs
