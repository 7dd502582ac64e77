#include "ui/input_dialog.h"

#include <QInputDialog>

#include <algorithm>

namespace kw::ui
{
namespace
{

TextInterceptor &interceptor()
{
    static TextInterceptor instance;
    return instance;
}

} // namespace

void setTextInterceptor(TextInterceptor newInterceptor)
{
    interceptor() = std::move(newInterceptor);
}

std::optional<QString> askText(QWidget *parent, const QString &caption, const QString &prompt)
{
    if (interceptor())
        return interceptor()(caption, prompt);
    QInputDialog dialog(parent);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(QString());
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    // Wide enough that the title bar shows the whole caption, its buttons beside it.
    dialog.setMinimumWidth(std::max(300, dialog.fontMetrics().horizontalAdvance(caption) + 160));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

} // namespace kw::ui
