#include "ui/program_icon.h"

#include <QDir>

// The icon's sizes are compiled into this library; a static library's resources must be
// registered by hand, and that cannot happen inside a namespace.
static void registerResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace kw::ui
{

QIcon programIcon()
{
    static const bool registered = (registerResources(), true);
    (void)registered;
    // One folder a size ("16x16", …), as the build rendered them.
    const QDir sizes(QStringLiteral(":/kopienwacht"));
    QIcon icon;
    for (const QString &size : sizes.entryList(QDir::Dirs))
        icon.addFile(sizes.filePath(size + QStringLiteral("/" KW_APP_ID ".png")));
    return icon;
}

} // namespace kw::ui
