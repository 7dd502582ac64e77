// The drive selector: the mounted volumes a user would pick. Choosing one moves the start
// folder view to the folder last shown on that volume, or to its top.
#pragma once

#include "fs/volumes.h"

#include <QComboBox>

#include <vector>

namespace kw::ui
{

class DriveComboBox : public QComboBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DriveComboBox)
public:
    explicit DriveComboBox(QWidget *parent = nullptr);

    void setVolumes(std::vector<fs::Volume> volumes);
    // Shows the volume `folder` lies on and remembers the folder as that volume's own,
    // without reporting a change.
    void followFolder(const QString &folder);
    // The folder to show when volume `index` is chosen.
    QString folderOf(int index) const;

signals:
    // The user chose a drive.
    void driveChosen(const QString &folder);

private:
    std::vector<fs::Volume> m_volumes;
    std::vector<QString> m_lastFolders; // per volume, as a file manager keeps them per drive
};

} // namespace kw::ui
