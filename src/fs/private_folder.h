// Folders of this user's alone, for what must not be shared with another user of the machine
// (the lock and the socket that keep one desktop program a user).
#pragma once

#include <string>

namespace kw::fs
{

// A text that tells this user apart from the others of the machine: the user id here, the
// account's security id on Windows.
std::string currentUserKey();

// Whether `path` is a real folder (not a link to one) of this user's that no one else may
// enter or write in.
bool isPrivateFolder(const std::string &path);

// Makes the folder `path` for this user alone where it is missing; true where it is then
// private. A folder that someone else made first stays as it is, and is not private.
bool makePrivateFolder(const std::string &path);

// Closes a real folder of this user's to everyone else; true where it is then private.
bool restrictToOwner(const std::string &path);

} // namespace kw::fs
