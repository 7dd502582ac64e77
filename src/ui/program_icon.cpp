#include "ui/program_icon.h"

// The icon is compiled into this library; a static library's resources must be registered by
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
    return QIcon(QStringLiteral(":/kopienwacht/kopienwacht.png"));
}

} // namespace kw::ui
