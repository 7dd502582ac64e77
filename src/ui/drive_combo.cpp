#include "ui/drive_combo.h"

#include "ui/qt_text.h"

#include <QSignalBlocker>

namespace kw::ui
{

DriveComboBox::DriveComboBox(QWidget *parent) : QComboBox(parent)
{
    setVolumes(fs::currentUserVolumes());
    connect(this, &QComboBox::activated, this, [this](int index) { emit driveChosen(folderOf(index)); });
}

void DriveComboBox::setVolumes(std::vector<fs::Volume> volumes)
{
    const QSignalBlocker quiet(this);
    m_volumes = std::move(volumes);
    m_lastFolders.clear();
    clear();
    for (const fs::Volume &volume : m_volumes) {
        addItem(qs(volume.label));
        m_lastFolders.push_back(displayPath(volume.mountPoint));
    }
}

void DriveComboBox::followFolder(const QString &folder)
{
    if (m_volumes.empty())
        return;
    const std::size_t index = fs::volumeIndexOf(pathBytes(folder), m_volumes);
    m_lastFolders[index] = folder;
    const QSignalBlocker quiet(this);
    setCurrentIndex(static_cast<int>(index));
}

QString DriveComboBox::folderOf(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_lastFolders.size())
        return QStringLiteral("/");
    return m_lastFolders[static_cast<std::size_t>(index)];
}

} // namespace kw::ui
