// What the result window offers beyond its specified menu: marking by folder and by age,
// turning the marks around, the space the marks would free, a file's folder opened, lines
// taken off the list.
#include "ui/result_window.h"

#include "fs/file_access.h"
#include "fs/path_facts.h"
#include "fs/path_text.h"
#include "search/texts.h"
#include "ui/desktop_open.h"
#include "ui/file_dialogs.h"
#include "ui/message_box.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>

namespace kw::ui
{
namespace
{

// What is known of a listed file: from the search where it made the list, else from the
// file system now.
std::optional<results::FileFacts> factsOf(const std::string &path, const search::SearchRecords *records)
{
    if (records != nullptr) {
        // A search lists every entry once: its paths need no entry to tell them apart.
        if (const search::FoundFile *found = records->find(path))
            return results::FileFacts {
                found->stamp.size, found->stamp.identity.device, found->stamp.identity.inode, {}};
    }
    const std::optional<fs::RegularFileFacts> now = fs::regularFileFacts(path, results::folderOfLine(path));
    if (!now)
        return std::nullopt;
    std::string entry;
    if (now->folder)
        entry = std::to_string(now->folder->device) + ":" + std::to_string(now->folder->inode) + "/"
            + path.substr(path.rfind('/') + 1);
    return results::FileFacts {now->stamp.size, now->stamp.identity.device, now->stamp.identity.inode, entry};
}

std::optional<std::int64_t> modifiedOf(const std::string &path)
{
    const std::optional<fs::RegularFileFacts> now = fs::regularFileFacts(path, results::folderOfLine(path));
    return now ? std::optional<std::int64_t>(now->stamp.modified) : std::nullopt;
}

} // namespace

void TSuchergebnis::createMoreMenus()
{
    // Before the separator that sets "Liste &Schließen" apart, which stays last; each entry
    // with a key no other entry of its menu uses.
    QAction *closing = Schlieen1;
    QAction *separator = new QAction(PopupMenu1);
    separator->setSeparator(true);
    WeitereMarkierungen1 = new QMenu(QStringLiteral("&Weitere Markierungen"), PopupMenu1);
    AlleAusserInOrdnerBehalten1
        = WeitereMarkierungen1->addAction(QString::fromUtf8("Kopien in &Ordner … behalten, die anderen markieren"));
    AlleInDiesemOrdner1 = WeitereMarkierungen1->addAction(QStringLiteral("Alle in &diesem Ordner markieren"));
    WeitereMarkierungen1->addSeparator();
    NeuesteBehalten1 = WeitereMarkierungen1->addAction(QStringLiteral("&Neueste behalten"));
    AeltesteBehalten1 = WeitereMarkierungen1->addAction(QString::fromUtf8("Ä&lteste behalten"));
    WeitereMarkierungen1->addSeparator();
    MarkierungUmkehren1 = WeitereMarkierungen1->addAction(QStringLiteral("Markierung &umkehren"));
    KeineMarkieren1 = WeitereMarkierungen1->addAction(QStringLiteral("&Keine markieren"));
    OrdnerOeffnen1 = new QAction(QString::fromUtf8("Ordner ö&ffnen"), PopupMenu1);
    AusListeEntfernen1 = new QAction(QStringLiteral("Aus Liste &entfernen"), PopupMenu1);
    // The separator before "Liste Schließen" is the one above it; the additions go in front of it.
    const QList<QAction *> entries = PopupMenu1->actions();
    QAction *before = entries.value(entries.indexOf(closing) - 1, closing);
    PopupMenu1->insertAction(before, separator);
    PopupMenu1->insertMenu(before, WeitereMarkierungen1);
    PopupMenu1->insertAction(before, OrdnerOeffnen1);
    PopupMenu1->insertAction(before, AusListeEntfernen1);

    connect(AlleAusserInOrdnerBehalten1, &QAction::triggered, this, &TSuchergebnis::AlleAusserInOrdnerBehalten1Click);
    connect(AlleInDiesemOrdner1, &QAction::triggered, this, &TSuchergebnis::AlleInDiesemOrdner1Click);
    connect(NeuesteBehalten1, &QAction::triggered, this, [this] { NachAlterBehalten(true); });
    connect(AeltesteBehalten1, &QAction::triggered, this, [this] { NachAlterBehalten(false); });
    connect(MarkierungUmkehren1, &QAction::triggered, this, &TSuchergebnis::MarkierungUmkehren1Click);
    connect(KeineMarkieren1, &QAction::triggered, this, &TSuchergebnis::KeineMarkieren1Click);
    connect(OrdnerOeffnen1, &QAction::triggered, this, &TSuchergebnis::OrdnerOeffnen1Click);
    connect(AusListeEntfernen1, &QAction::triggered, this, &TSuchergebnis::AusListeEntfernen1Click);
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] {
        const bool onFile = menuLine().has_value();
        AlleInDiesemOrdner1->setEnabled(onFile);
        OrdnerOeffnen1->setEnabled(onFile);
        AusListeEntfernen1->setEnabled(results::anyMarked(marks()));
    });
}

std::optional<std::size_t> TSuchergebnis::menuLine() const
{
    const int row = m_menuRow >= 0 ? m_menuRow : ListBox1->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= m_lines.size() || m_lines[static_cast<std::size_t>(row)].empty())
        return std::nullopt;
    return static_cast<std::size_t>(row);
}

void TSuchergebnis::applyMarks(const results::Marks &marks)
{
    setMarks(marks);
    ListBox1Click();
}

void TSuchergebnis::AlleAusserInOrdnerBehalten1Click()
{
    const std::optional<std::size_t> line = menuLine();
    const QString proposed = line ? displayPath(results::folderOfLine(m_lines[*line])) : QString();
    const std::optional<QString> folder
        = askFolder(this, QString::fromUtf8("Kopien in diesem Ordner behalten, die anderen markieren"), proposed);
    if (!folder)
        return;
    results::Marks current = marks();
    results::keepOnlyIn(m_lines, current, fs::folderForm(pathBytes(*folder)));
    applyMarks(current);
}

void TSuchergebnis::AlleInDiesemOrdner1Click()
{
    const std::optional<std::size_t> line = menuLine();
    if (!line)
        return;
    results::Marks current = marks();
    results::markAllIn(m_lines, current, results::folderOfLine(m_lines[*line]));
    applyMarks(current);
}

void TSuchergebnis::NachAlterBehalten(bool newest)
{
    results::Marks current = marks();
    results::keepByAge(m_lines, current, newest, modifiedOf);
    applyMarks(current);
}

void TSuchergebnis::MarkierungUmkehren1Click()
{
    results::Marks current = marks();
    results::invertMarks(m_lines, current);
    applyMarks(current);
}

void TSuchergebnis::KeineMarkieren1Click()
{
    applyMarks(results::Marks(m_lines.size(), false));
}

void TSuchergebnis::OrdnerOeffnen1Click()
{
    const std::optional<std::size_t> line = menuLine();
    if (!line)
        return;
    const std::string &path = m_lines[*line];
    const std::string folder
        = results::folderOfLine(path.starts_with('/') ? path : fs::joinPath(fs::currentFolder(), path));
    if (!openWithDesktop(folder))
        showMessage(this, MessageKind::Error,
            QString::fromUtf8("Der Ordner '%1' konnte nicht geöffnet werden: keine Dateiverwaltung nahm ihn an.")
                .arg(displayPath(folder)));
}

// Only the lines go; the files stay where they are.
void TSuchergebnis::AusListeEntfernen1Click()
{
    results::Marks current = marks();
    if (results::removeMarked(m_lines, current) > 0) {
        // The counts of the search no longer hold for the list, as after a deletion run.
        listKind = search::ListKind::FileList;
        setWindowTitle(qs(search::kResultCaption));
        fillList(current);
    }
    DateienLschen1->setEnabled(results::anyMarked(current));
}

void TSuchergebnis::showMarkedSpace()
{
    const results::Marks current = marks();
    if (!results::anyMarked(current)) {
        StatusLine->setText(m_lines.empty() ? QString() : QStringLiteral("Keine Datei markiert"));
        return;
    }
    const search::SearchRecords *records = m_records.get();
    const std::string here = fs::currentFolder();
    // A duplicate replaced by a link frees nothing more; its own facts on disk would say so
    // for a hard link only.
    const results::MarkedSpace space = results::markedSpace(m_lines, current, [&](const std::string &path) {
        std::optional<results::FileFacts> facts = factsOf(path, records);
        if (facts && m_replaced.count(path.starts_with('/') ? path : fs::joinPath(here, path)) != 0)
            facts->size = 0;
        return facts;
    });
    StatusLine->setText(qs(results::markedSpaceText(space)));
}

} // namespace kw::ui
