// Marking lines of the result window and opening their files.
#include "ui/result_window.h"

#include "fs/file_access.h"
#include "fs/path_text.h"
#include "ui/desktop_open.h"
#include "ui/input_dialog.h"
#include "ui/message_box.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QItemSelection>
#include <QListWidget>

namespace kw::ui
{

results::Marks TSuchergebnis::marks() const
{
    results::Marks marks(m_lines.size(), false);
    for (const QModelIndex &index : ListBox1->selectionModel()->selectedIndexes()) {
        if (index.row() >= 0 && static_cast<std::size_t>(index.row()) < marks.size())
            marks[static_cast<std::size_t>(index.row())] = true;
    }
    return marks;
}

// One selection change for the whole list: setting lines one by one would report each.
void TSuchergebnis::setMarks(const results::Marks &marks)
{
    QItemSelection selection;
    const QAbstractItemModel *model = ListBox1->model();
    std::size_t row = 0;
    while (row < marks.size() && row < m_lines.size()) {
        if (!marks[row]) {
            ++row;
            continue;
        }
        const std::size_t first = row;
        while (row < marks.size() && marks[row])
            ++row;
        selection.select(model->index(static_cast<int>(first), 0), model->index(static_cast<int>(row - 1), 0));
    }
    m_applyingMarks = true;
    ListBox1->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_applyingMarks = false;
}

void TSuchergebnis::ListBox1Click()
{
    if (m_applyingMarks)
        return;
    results::Marks current = marks();
    const results::Marks before = current;
    std::optional<std::size_t> focused;
    if (ListBox1->currentRow() >= 0)
        focused = static_cast<std::size_t>(ListBox1->currentRow());
    const bool enabled = results::ListBox1Click(m_lines, current, focused);
    if (current != before)
        setMarks(current);
    DateienLschen1->setEnabled(enabled);
    showMarkedSpace();
}

void TSuchergebnis::AllesMarkieren1Click()
{
    results::Marks current = marks();
    results::AllesMarkieren1Click(m_lines, current);
    setMarks(current);
    ListBox1Click();
}

void TSuchergebnis::DuplikateMarkieren1Click()
{
    results::Marks current = marks();
    results::DuplikateMarkieren1Click(m_lines, current);
    setMarks(current);
    ListBox1Click();
}

void TSuchergebnis::Markierungsmaske1Click()
{
    const std::optional<QString> text
        = askText(this, QStringLiteral("Markierungsmaske"), QStringLiteral("Zeichenfolge im Dateinamen:"));
    if (!text)
        return;
    results::Marks current = marks();
    if (!results::Markierungsmaske1Click(m_lines, current, utf8(*text)))
        return; // confirmed empty: nothing changes
    setMarks(current);
    ListBox1Click();
}

void TSuchergebnis::ListBox1DblClick()
{
    const int row = ListBox1->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= m_lines.size())
        return;
    const std::string &line = m_lines[static_cast<std::size_t>(row)];
    if (line.empty() || !fs::fileExists(line)) // a relative line is taken from the current folder
        return;
    const std::string file = line.starts_with('/') ? line : fs::joinPath(fs::currentFolder(), line);
    if (!openWithDesktop(file))
        showMessage(this, MessageKind::Error,
            QString::fromUtf8("Die Datei '%1' konnte nicht geöffnet werden: kein Programm nahm sie an.")
                .arg(displayPath(file)));
}

} // namespace kw::ui
