#include "ui/input_dialog.h"

#include <QInputDialog>

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
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

} // namespace kw::ui
