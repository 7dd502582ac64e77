#include "ui/desktop_open.h"

#include "fs/descriptor_limits.h"
#include "fs/file_access.h"
#include "ui/qt_text.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace kw::ui
{
namespace
{

std::function<bool(const std::string &)> &opener()
{
    static std::function<bool(const std::string &)> instance;
    return instance;
}

#ifdef Q_OS_WIN
// The recycle bin, which Qt reaches through the shell.
class RecycleBin final : public fs::Trash
{
public:
    std::error_code moveToTrash(const fs::Entry &entry) override
    {
        return QFile::moveToTrash(displayPath(entry.path)) ? std::error_code {}
                                                           : std::make_error_code(std::errc::operation_not_permitted);
    }
    // The shell keeps no handle on what it moved; Windows has no second name for a file's
    // folder that the check after a move would meet.
    std::error_code putBack() override { return std::make_error_code(std::errc::operation_not_supported); }
    std::string lastPlace() const override { return {}; }
};
#endif

} // namespace

void setDesktopOpener(std::function<bool(const std::string &path)> newOpener)
{
    opener() = std::move(newOpener);
}

bool openWithDesktop(const std::string &path)
{
    if (opener())
        return opener()(path);
    const fs::ScopedOrdinaryFileLimit ordinary; // for the program that opens it
    return QDesktopServices::openUrl(QUrl::fromLocalFile(displayPath(path)));
}

std::unique_ptr<fs::Trash> platformTrash()
{
#ifdef Q_OS_WIN
    return std::make_unique<RecycleBin>();
#else
    // Our own, not QFile::moveToTrash: Qt 6.4 was seen to create files/ and info/ in the
    // current folder when ~/.local/share did not exist yet.
    return std::make_unique<fs::FreedesktopTrash>();
#endif
}

} // namespace kw::ui
