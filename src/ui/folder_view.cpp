#include "ui/folder_view.h"

#include "fs/path_text.h"
#include "ui/qt_text.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTimer>

namespace kw::ui
{

FolderView::FolderView(QWidget *parent) : QTreeView(parent), m_model(new QFileSystemModel(this))
{
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_model->setReadOnly(true);
    // The view follows a search through thousands of folders: no folder icons of their own to
    // look up, no links to resolve for display.
    m_model->setOption(QFileSystemModel::DontUseCustomDirectoryIcons);
    m_model->setOption(QFileSystemModel::DontResolveSymlinks);
    m_model->setRootPath(QStringLiteral("/"));
    setModel(m_model);
    setRootIndex(m_model->index(QStringLiteral("/")).parent());
    for (int column = 1; column < m_model->columnCount(); ++column)
        hideColumn(column);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    m_folder = QStringLiteral("/");

    // The model reads and sorts folders in the background, which moves rows after the folder
    // was selected: for a moment after each selection, every such change scrolls it back into
    // view once the rows have settled.
    m_scrollTimer.setSingleShot(true);
    m_scrollTimer.setInterval(50);
    connect(&m_scrollTimer, &QTimer::timeout, this, [this] {
        if (currentIndex().isValid())
            scrollTo(currentIndex());
    });
    const auto rowsMoved = [this] {
        if (m_followSelection.isValid() && m_followSelection.elapsed() < 2000)
            m_scrollTimer.start();
    };
    connect(m_model, &QFileSystemModel::directoryLoaded, this, rowsMoved);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, rowsMoved);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, rowsMoved);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &current) {
        // When the start folder is removed, the tree makes another folder current: no choice
        // of the user's, and searching it would search what nobody chose.
        if (!m_userInput && !QFileInfo(m_folder).isDir())
            return;
        if (!current.isValid())
            return;
        const QString path = displayPath(fs::folderForm(pathBytes(m_model->filePath(current))));
        if (path == m_folder)
            return;
        m_folder = path;
        emit folderChanged(m_folder);
    });
}

void FolderView::mousePressEvent(QMouseEvent *event)
{
    m_userInput = true;
    QTreeView::mousePressEvent(event);
    m_userInput = false;
}

void FolderView::keyPressEvent(QKeyEvent *event)
{
    m_userInput = true;
    QTreeView::keyPressEvent(event);
    m_userInput = false;
}

QString FolderView::folder() const
{
    return m_folder;
}

bool FolderView::setFolder(const QString &path)
{
    const QString folder = displayPath(fs::folderForm(pathBytes(path)));
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isExecutable())
        return false;
    const QModelIndex index = m_model->index(folder);
    if (!index.isValid())
        return false;
    if (folder == m_folder && currentIndex() == index)
        return true;
    m_folder = folder; // set first, so that the selection change does not report it twice
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        expand(parent);
    setCurrentIndex(index);
    scrollTo(index);
    m_followSelection.start();
    emit folderChanged(m_folder);
    return true;
}

} // namespace kw::ui
