#include "ui/message_box.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include <map>

namespace kw::ui
{
namespace
{

MessageInterceptor &interceptor()
{
    static MessageInterceptor instance;
    return instance;
}

QString buttonText(MessageButton button)
{
    switch (button) {
    case MessageButton::Ok:
        return QStringLiteral("OK");
    case MessageButton::Cancel:
        return QStringLiteral("Abbrechen");
    case MessageButton::Yes:
        return QStringLiteral("&Ja");
    case MessageButton::No:
        return QStringLiteral("&Nein");
    }
    return {};
}

QMessageBox::ButtonRole roleOf(MessageButton button)
{
    switch (button) {
    case MessageButton::Ok:
    case MessageButton::Yes:
        return QMessageBox::AcceptRole;
    case MessageButton::No:
        return QMessageBox::NoRole;
    case MessageButton::Cancel:
        return QMessageBox::RejectRole;
    }
    return QMessageBox::AcceptRole;
}

QMessageBox::Icon iconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString messageTitle(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return QStringLiteral("Warnung");
    case MessageKind::Error:
        return QStringLiteral("Fehler");
    case MessageKind::Information:
        return QStringLiteral("Information");
    case MessageKind::Confirmation:
        return QString::fromUtf8("Bestätigung");
    }
    return {};
}

void setMessageInterceptor(MessageInterceptor newInterceptor)
{
    interceptor() = std::move(newInterceptor);
}

MessageButton showMessage(QWidget *parent, MessageKind kind, const QString &text,
    const std::vector<MessageButton> &buttons, MessageButton defaultButton, const QString &note)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (interceptor())
        return interceptor()({kind, shown, buttons, defaultButton, note});

    QMessageBox box(iconOf(kind), messageTitle(kind), shown, QMessageBox::NoButton, parent);
    if (!note.isEmpty())
        box.setInformativeText(note);
    std::map<QAbstractButton *, MessageButton> chosen;
    for (const MessageButton button : buttons) {
        QPushButton *added = box.addButton(buttonText(button), roleOf(button));
        chosen[added] = button;
        if (button == defaultButton)
            box.setDefaultButton(added);
        if (button == MessageButton::Cancel || button == MessageButton::No || buttons.size() == 1)
            box.setEscapeButton(added);
    }
    box.exec();
    const auto it = chosen.find(box.clickedButton());
    return it != chosen.end() ? it->second : buttons.back();
}

} // namespace kw::ui
