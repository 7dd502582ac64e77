// The trash: marked duplicates are moved there, never deleted for good, so that the desktop's
// own trash shows them and can put them back.
#pragma once

#include "fs/entry.h"

#include <string>
#include <system_error>

namespace kw::fs
{

// What a front end moves files to the trash with; tests put in one that refuses some files.
class Trash
{
public:
    virtual ~Trash() = default;
    // Moves the entry (a file the caller has checked) to the trash; an error leaves it in place.
    [[nodiscard]] virtual std::error_code moveToTrash(const Entry &entry) = 0;
};

// The freedesktop.org trash. A file on the volume of the home trash ($XDG_DATA_HOME/Trash,
// by default ~/.local/share/Trash) goes there; a file on another volume goes to that
// volume's $topdir/.Trash/$uid (when .Trash is a real folder with the sticky bit) or
// $topdir/.Trash-$uid, or stays where it is. The volume is the mount that really holds the
// file, whatever path text led there. Every trash folder must be ours, and no one else may
// write in it. Files are renamed from the handle of their folder, never copied, and never
// over an entry already in the trash: a move across volumes that failed halfway would leave
// two copies or none, and a move over an entry would lose it.
class FreedesktopTrash final : public Trash
{
public:
    // `homeTrash`: the home trash folder; empty for the one the environment names.
    explicit FreedesktopTrash(std::string homeTrash = {});
    std::error_code moveToTrash(const Entry &entry) override;

    const std::string &homeTrash() const { return m_homeTrash; }

    // The home trash the environment names: $XDG_DATA_HOME/Trash, else $HOME/.local/share/Trash.
    static std::string defaultHomeTrash();

private:
    std::string m_homeTrash;
};

// Percent-encodes a path for a .trashinfo file (RFC 2396): letters, digits, "/" and the
// unreserved marks stay, every other byte becomes %XX.
std::string trashInfoPath(const std::string &path);

// The name a file gets in the trash: its own where that and its .trashinfo fit the file
// system's 255 bytes, else shortened (never inside a character), keeping the
// extension; `number` 2, 3, … goes before the extension when the name is taken.
std::string trashName(const std::string &name, int number);

} // namespace kw::fs
