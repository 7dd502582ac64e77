// The program's four kinds of message box, with German titles and buttons whatever language
// Qt's own translations are in.
#pragma once

#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace kw::ui
{

enum class MessageKind {
    Warning, // "Warnung"
    Error, // "Fehler"
    Information, // "Information"
    Confirmation, // "Bestätigung"
};

enum class MessageButton {
    Ok, // "OK"
    Cancel, // "Abbrechen"
    Yes, // "&Ja"
    No, // "&Nein"
};

// Shows a modal box and returns the button chosen (the last button when the box is closed).
// Lines of `text` are separated by carriage returns or line feeds.
// `note`, where given, stands below the text as a label of its own.
MessageButton showMessage(QWidget *parent, MessageKind kind, const QString &text,
    const std::vector<MessageButton> &buttons = {MessageButton::Ok}, MessageButton defaultButton = MessageButton::Ok,
    const QString &note = {});

QString messageTitle(MessageKind kind);

// What a box asks: for tests, which answer boxes instead of a person.
struct MessageRequest {
    MessageKind kind;
    QString text; // lines separated by line feeds
    std::vector<MessageButton> buttons;
    MessageButton defaultButton;
    QString note; // below the text, apart from it
};

// Sees every box and returns the button to choose. Unset, boxes are shown.
using MessageInterceptor = std::function<MessageButton(const MessageRequest &)>;
void setMessageInterceptor(MessageInterceptor interceptor);

} // namespace kw::ui
