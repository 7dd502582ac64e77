// The one-line input dialog, with German buttons.
#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace kw::ui
{

// Asks for a line of text in a modal dialog with an empty field and the buttons "OK" and
// "Abbrechen"; nothing when the user cancels.
std::optional<QString> askText(QWidget *parent, const QString &caption, const QString &prompt);

// Tests answer the dialog through this; unset, the dialog is shown.
using TextInterceptor = std::function<std::optional<QString>(const QString &caption, const QString &prompt)>;
void setTextInterceptor(TextInterceptor interceptor);

} // namespace kw::ui
