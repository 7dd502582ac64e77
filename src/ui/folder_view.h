// The start folder view: the folder tree of the file system, folders only, no hidden ones.
// Its folder (the selected one) is the start folder.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QTreeView>

class QFileSystemModel;

namespace kw::ui
{

class FolderView : public QTreeView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderView)
public:
    explicit FolderView(QWidget *parent = nullptr);

    // The folder in folder form ("/home/u", "/").
    QString folder() const;
    // Selects `path` (with or without a trailing "/"); false, and nothing changes, when it is
    // no folder that can be entered.
    bool setFolder(const QString &path);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

signals:
    // The start folder changed, by the user or by setFolder.
    void folderChanged(const QString &folder);

private:
    QFileSystemModel *m_model;
    QString m_folder;
    QTimer m_scrollTimer;
    QElapsedTimer m_followSelection; // since the last selection by setFolder
    bool m_userInput = false; // a click or key of the user's is being handled
};

} // namespace kw::ui
