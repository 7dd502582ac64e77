// What this process and machine hold now, read from the system: the current folder and the
// mounted volumes (Linux's /proc texts, parsed by fs/volumes).
#include "fs/path_text.h"
#include "fs/volumes.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kw::fs
{

std::string currentFolder()
{
    std::string buffer(256, '\0');
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
            buffer.resize(std::char_traits<char>::length(buffer.c_str()));
            return buffer;
        }
        if (errno != ERANGE)
            return "/";
        buffer.resize(buffer.size() * 2);
    }
}

std::vector<Volume> currentUserVolumes()
{
    std::ifstream in("/proc/self/mounts");
    std::stringstream text;
    text << in.rdbuf();
    const char *home = std::getenv("HOME");
    return userVolumes(text.str(), home != nullptr ? home : "");
}

Mount currentMountOf(std::string_view path)
{
    std::ifstream in("/proc/self/mountinfo");
    std::stringstream text;
    text << in.rdbuf();
    return mountOf(path, text.str());
}

} // namespace kw::fs
