#include "ui/program_icon.h"

// The icon's sizes are compiled into this library; a static library's resources must be registered by
// hand, and that cannot happen inside a namespace.
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
    QIcon icon;
    for (const char *size : {"16x16", "32x32", "48x48", "256x256"})
        icon.addFile(QStringLiteral(":/kopienwacht/%1/de.ostwerk.Kopienwacht.png").arg(QLatin1String(size)));
    return icon;
}

} // namespace kw::ui
