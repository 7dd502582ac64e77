// The help: German pages that ship beside the program, shown in a window of our own at the
// index or at the page of a window's help context.
#pragma once

#include "shell/help_topics.h"

#include <QWidget>

#include <string_view>

class QTextBrowser;

namespace kw::ui
{

class THilfe : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(THilfe)
public:
    explicit THilfe(QWidget *parent = nullptr);
    void showPage(const QString &file);
    QString currentPage() const;

private:
    QTextBrowser *m_browser;
};

// Opens the help at a topic ("hlp_index") or at a context, in the one help window.
void openHelpTopic(std::string_view topic);
void openHelp(shell::HelpContext context);
THilfe *helpWindow(); // nullptr until help was first asked for

} // namespace kw::ui
