#include "ui/hints.h"

#include "ui/qt_text.h"

#include <QWidget>

namespace kw::ui
{

QString hintText(const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1Char('@'), QLatin1Char('\n'));
    return shown;
}

void setHint(QWidget *widget, std::string_view text)
{
    setHint(widget, qs(text));
}

void setHint(QWidget *widget, const QString &text)
{
    widget->setToolTip(hintText(text));
}

} // namespace kw::ui
