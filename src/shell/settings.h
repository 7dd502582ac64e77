// The settings: a handful of text values under one key of the user's settings store, with
// the names and formats the program has always used, so that stored settings stay readable.
#pragma once

#include "search/request.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kw::shell
{

// Where the values live: the registry on Windows, an INI file here. Every value is a string;
// a missing or empty one counts as absent. A store that cannot be read or written reads as
// empty and drops what is written: settings never stop the program.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> read(const std::string &name) const = 0;
    virtual void write(const std::string &name, const std::string &value) = 0;
    virtual void remove(const std::string &name) = 0;
};

// A value of the store, a missing or empty one as none.
std::optional<std::string> storedValue(const SettingsStore &store, const std::string &name);

inline constexpr std::size_t kMaxMarkedFoldersRead = 100;
inline constexpr std::size_t kMaxFiltersStored = 8;

// "Pfad01" … "Pfad09", "Pfad010" … "Pfad099", "Pfad100", "Pfad101": one "0" in front of
// numbers of fewer than three digits, not zero-filled.
std::string markedFolderValueName(std::size_t number);
// "Filter0001" … "Filter0008".
std::string filterValueName(std::size_t number);

// "1;" + path for an active entry, the path alone for an inactive one ("0;" + path where the
// path itself has ";" as its second character).
std::string markedFolderValue(const search::MarkedFolder &entry);
// The entry a value stands for: when the second character is ";", the path starts at the
// third; active exactly when the value begins with "1;".
search::MarkedFolder parseMarkedFolderValue(std::string_view value);

// A decimal integer, maybe negative; anything else counts as absent.
std::optional<int> parseDecimal(std::string_view text);

// What FormCreate reads.
struct StoredSettings {
    std::optional<std::string> startFolder; // Pfad
    std::vector<search::MarkedFolder> markedFolders; // Pfad01 …, at most 100, to the first gap
    std::optional<std::string> view; // Ansicht: "Liste" or "Ordner"
    std::optional<int> xPos;
    std::optional<int> yPos;
    std::vector<std::string> filters; // Filter0001 …, to the first gap; empty: none stored
    bool subfolders = false; // UnterOrdner, in any letter case

    bool firstStart() const { return !xPos; } // no position stored yet
    bool firstStartOfThisVersion() const { return xPos && !view; }
    bool listViewStored() const { return view == "Liste"; }
};
StoredSettings readSettings(const SettingsStore &store);

// What FormClose writes.
struct SettingsToWrite {
    std::string startFolder;
    std::vector<search::MarkedFolder> markedFolders;
    bool listShown = false;
    int xPos = 0;
    int yPos = 0;
    std::vector<std::string> filterHistory; // the combo box's items
    std::string filterText;
    bool subfolders = false;
};
void writeSettings(SettingsStore &store, const SettingsToWrite &settings);

} // namespace kw::shell
