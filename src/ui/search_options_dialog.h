// The dialog "Suchoptionen": sizes, empty files, one path of each file, names left out.
#pragma once

#include "shell/search_options.h"

#include <QDialog>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kw::ui
{

class SearchOptionsDialog : public QDialog
{
    Q_OBJECT
public:
    SearchOptionsDialog(QWidget *parent, const shell::SearchOptions &options);

    // The options as entered, or why they cannot be taken (German, for a message).
    struct Entered {
        std::optional<shell::SearchOptions> options;
        QString problem;
    };
    Entered entered() const;

    QLineEdit *minSize;
    QComboBox *minUnit;
    QLineEdit *maxSize;
    QComboBox *maxUnit;
    QCheckBox *emptyFiles;
    QCheckBox *oneLink;
    QListWidget *excluded;
    QLineEdit *newPattern;
    QPushButton *add;
    QPushButton *remove;
    QPushButton *ok;

    void accept() override; // refuses what cannot be taken, with a message

private:
    void addPattern();
};

// Shows the dialog; the options taken, or nothing when the user cancelled.
std::optional<shell::SearchOptions> askSearchOptions(QWidget *parent, const shell::SearchOptions &options);

// For tests: acts in place of the user on the dialog as it would be shown, and says whether
// it was accepted.
using SearchOptionsInterceptor = std::function<bool(SearchOptionsDialog &dialog)>;
void setSearchOptionsInterceptor(SearchOptionsInterceptor interceptor);

} // namespace kw::ui
