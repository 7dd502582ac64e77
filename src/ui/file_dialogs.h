// The save, open and print dialogs of the result window and the main window, each behind a
// seam that tests answer instead of a person.
#pragma once

#include <QString>

#include <functional>
#include <optional>

class QFileDialog;
class QPrinter;
class QWidget;

namespace kw::ui
{

// What the shared save dialog shows.
struct SaveRequest {
    QString title;
    QString fileName; // proposed
    int filterIndex = 1; // 1 "Textdokumente" (*.txt), 2 "RTF-Format" (*.rtf)
    QString defaultSuffix;
    QString folder; // where it opens; empty: the current folder
};

struct SaveAnswer {
    QString path;
    int filterIndex = 1; // the entry chosen
};

// The save dialog; it replaces an existing file without asking.
std::optional<SaveAnswer> askSaveFile(QWidget *parent, const SaveRequest &request);
using SaveInterceptor = std::function<std::optional<SaveAnswer>(const SaveRequest &)>;
void setSaveInterceptor(SaveInterceptor interceptor);

// The open dialog for saved lists: "Listen" (names ending in "(??-??-??).txt"), chosen at
// first, and "Alle" (every file). The dialog is made by `createListOpenDialog`.
std::optional<QString> askListToOpen(QWidget *parent);
QFileDialog *createListOpenDialog(QWidget *parent);
bool isListFileName(const QString &name);
using OpenInterceptor = std::function<std::optional<QString>()>;
void setOpenInterceptor(OpenInterceptor interceptor);

// A folder to choose, `proposed` first shown; nothing when the user cancels.
std::optional<QString> askFolder(QWidget *parent, const QString &title, const QString &proposed);
using FolderInterceptor = std::function<std::optional<QString>(const QString &title, const QString &proposed)>;
void setFolderInterceptor(FolderInterceptor interceptor);

// The system's print dialog: true when the user confirms; `printer` then holds the choice.
bool askPrinter(QWidget *parent, QPrinter &printer);
using PrintInterceptor = std::function<bool(QPrinter &)>;
void setPrintInterceptor(PrintInterceptor interceptor);

} // namespace kw::ui
