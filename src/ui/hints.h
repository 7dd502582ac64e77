// Hint texts: every "@" stands for a line break.
#pragma once

#include <QString>

#include <string_view>

class QWidget;

namespace kw::ui
{

QString hintText(const QString &text);
void setHint(QWidget *widget, std::string_view text);
void setHint(QWidget *widget, const QString &text);
inline void setHint(QWidget *widget, const char *utf8Text)
{
    setHint(widget, std::string_view(utf8Text));
}

} // namespace kw::ui
