#include "ui/file_dialogs.h"

#include "fs/mask.h"
#include "ui/qt_text.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QPrintDialog>
#include <QPrinter>
#include <QSortFilterProxyModel>

namespace kw::ui
{
namespace
{

SaveInterceptor &saveInterceptor()
{
    static SaveInterceptor instance;
    return instance;
}

OpenInterceptor &openInterceptor()
{
    static OpenInterceptor instance;
    return instance;
}

PrintInterceptor &printInterceptor()
{
    static PrintInterceptor instance;
    return instance;
}

const QStringList &saveFilters()
{
    static const QStringList filters = {QStringLiteral("Textdokumente (*.txt)"), QStringLiteral("RTF-Format (*.rtf)")};
    return filters;
}

const QStringList &openFilters()
{
    static const QStringList filters = {QStringLiteral("Listen (*.txt)"), QStringLiteral("Alle (*)")};
    return filters;
}

// The name filter of a file dialog cannot hold "(" and ")"; the "Listen" entry narrows the
// *.txt names down to saved lists here.
class ListNameProxy : public QSortFilterProxyModel
{
public:
    explicit ListNameProxy(QObject *parent) : QSortFilterProxyModel(parent) { }
    void setListsOnly(bool listsOnly)
    {
        m_listsOnly = listsOnly;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        if (!m_listsOnly)
            return true;
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        const QModelIndex index = sourceModel()->index(row, 0, parent);
        if (files == nullptr || files->isDir(index))
            return true;
        return isListFileName(files->fileName(index));
    }

private:
    bool m_listsOnly = true;
};

} // namespace

void setSaveInterceptor(SaveInterceptor interceptor)
{
    saveInterceptor() = std::move(interceptor);
}

void setOpenInterceptor(OpenInterceptor interceptor)
{
    openInterceptor() = std::move(interceptor);
}

void setPrintInterceptor(PrintInterceptor interceptor)
{
    printInterceptor() = std::move(interceptor);
}

bool isListFileName(const QString &name)
{
    // "*(??-??-??).txt", cut so that no "??" pair reads as a trigraph.
    static const fs::FileMask lists("*(?"
                                    "?-?"
                                    "?-?"
                                    "?).txt");

    return lists.matches(pathBytes(name));
}

std::optional<SaveAnswer> askSaveFile(QWidget *parent, const SaveRequest &request)
{
    if (saveInterceptor())
        return saveInterceptor()(request);
    QFileDialog dialog(parent, request.title, request.folder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(saveFilters());
    dialog.selectNameFilter(saveFilters().value(request.filterIndex - 1, saveFilters().front()));
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return SaveAnswer {
        dialog.selectedFiles().front(), static_cast<int>(saveFilters().indexOf(dialog.selectedNameFilter())) + 1};
}

QFileDialog *createListOpenDialog(QWidget *parent)
{
    auto *dialog = new QFileDialog(parent);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    auto *proxy = new ListNameProxy(dialog);
    dialog->setProxyModel(proxy);
    dialog->setNameFilters(openFilters());
    dialog->selectNameFilter(openFilters().front());
    // With the details hidden the dialog reports the bare name ("Listen"), else the whole entry.
    QObject::connect(dialog, &QFileDialog::filterSelected, dialog,
        [proxy](const QString &filter) { proxy->setListsOnly(filter.startsWith(QStringLiteral("Listen"))); });

    return dialog;
}

std::optional<QString> askListToOpen(QWidget *parent)
{
    if (openInterceptor())
        return openInterceptor()();
    std::unique_ptr<QFileDialog> dialog(createListOpenDialog(parent));
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().front();
}

bool askPrinter(QWidget *parent, QPrinter &printer)
{
    if (printInterceptor())
        return printInterceptor()(printer);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

namespace
{

FolderInterceptor &folderInterceptor()
{
    static FolderInterceptor instance;
    return instance;
}

} // namespace

void setFolderInterceptor(FolderInterceptor interceptor)
{
    folderInterceptor() = std::move(interceptor);
}

std::optional<QString> askFolder(QWidget *parent, const QString &title, const QString &proposed)
{
    if (folderInterceptor())
        return folderInterceptor()(title, proposed);
    const QString chosen = QFileDialog::getExistingDirectory(
        parent, title, proposed, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

} // namespace kw::ui
