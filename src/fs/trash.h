// The trash: marked duplicates are moved there, never deleted for good, so that the desktop's
// own trash shows them and can put them back.
#pragma once

#include "fs/entry.h"

#include <memory>
#include <string>
#include <system_error>

namespace kw::fs
{

// What a front end moves files to the trash with; tests put in one that refuses some files.
class Trash
{
public:
    virtual ~Trash() = default;
    // Moves the entry (a file the caller has checked) to the trash; an error leaves it in place,
    // except Failure::StrandedInTrash: then lastPlace() says where it lies.
    [[nodiscard]] virtual std::error_code moveToTrash(const Entry &entry) = 0;
    // Moves the file the last successful moveToTrash moved back where it was, replacing
    // nothing there; an error leaves it in the trash with its record, at lastPlace().
    [[nodiscard]] virtual std::error_code putBack() = 0;
    // Where the file last moved lies now, for a message; empty when not known.
    virtual std::string lastPlace() const = 0;
};

// The freedesktop.org trash. A file on the volume of the home trash ($XDG_DATA_HOME/Trash,
// by default ~/.local/share/Trash) goes there; a file on another volume goes to that
// volume's $topdir/.Trash/$uid (when .Trash is a real folder with the sticky bit) or
// $topdir/.Trash-$uid, or stays where it is. The volume is the mount that really holds the
// file, whatever path text led there (below it, the highest folder of the file's own device:
// a btrfs subvolume is a volume of its own). Every trash folder must be ours, and no one else
// may write in it, except on a volume that keeps no permissions (FAT, exFAT and NTFS as
// desktops mount them show every entry as 0777 and ours): there $topdir/.Trash-$uid must be
// ours and a real folder. Files are renamed from the handle of their folder, never copied, and never
// over an entry already in the trash: a move across volumes that failed halfway would leave
// two copies or none, and a move over an entry would lose it.
class FreedesktopTrash final : public Trash
{
public:
    // `homeTrash`: the home trash folder; empty for the one the environment names.
    explicit FreedesktopTrash(std::string homeTrash = {});
    ~FreedesktopTrash() override;
    [[nodiscard]] std::error_code moveToTrash(const Entry &entry) override;
    [[nodiscard]] std::error_code putBack() override;
    std::string lastPlace() const override;

    const std::string &homeTrash() const { return m_homeTrash; }

    // The home trash the environment names: $XDG_DATA_HOME/Trash, else $HOME/.local/share/Trash.
    static std::string defaultHomeTrash();

    struct Move; // a file moved, and where from

private:
    std::string m_homeTrash;
    std::unique_ptr<Move> m_last; // the last move, to put it back
};

// For tests: while one is in place, putting a file back from the trash fails with EIO.
class ScopedPutBackFault
{
public:
    ScopedPutBackFault();
    ScopedPutBackFault(const ScopedPutBackFault &) = delete;
    ScopedPutBackFault &operator=(const ScopedPutBackFault &) = delete;
    ~ScopedPutBackFault();
};

// Percent-encodes a path for a .trashinfo file (RFC 2396): letters, digits, "/" and the
// unreserved marks stay, every other byte becomes %XX.
std::string trashInfoPath(const std::string &path);

// The name a file gets in the trash: its own where that and its .trashinfo fit the file
// system's 255 bytes, else shortened (never inside a character), keeping the
// extension; `number` 2, 3, … goes before the extension when the name is taken.
std::string trashName(const std::string &name, int number);

} // namespace kw::fs
