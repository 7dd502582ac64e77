// Saving and printing the result window's lists.
#include "ui/result_window.h"

#include "fs/replace_file.h"

#include "results/list_files.h"
#include "results/rtf_writer.h"
#include "results/save_naming.h"
#include "ui/file_dialogs.h"
#include "ui/locale_texts.h"
#include "ui/message_box.h"
#include "ui/qt_text.h"

#include <QAbstractTextDocumentLayout>
#include <QDate>
#include <QFileInfo>
#include <QPrinter>
#include <QTextDocument>
#include <QTextEdit>

#include <memory>

namespace kw::ui
{
namespace
{

std::string todaysStamp()
{
    return results::dateStamp(utf8(shortDateText(QDate::currentDate())));
}

} // namespace

// Shows the save dialog as SaveDialog1 is set; the dialog keeps the folder and the filter
// entry the user chose for the next time.
std::optional<QString> TSuchergebnis::chooseSavePath()
{
    const SaveRequest request {qs(SaveDialog1.title), qs(SaveDialog1.fileName), SaveDialog1.filterIndex,
        qs(SaveDialog1.defaultExtension), displayPath(SaveDialog1.folder)};
    const std::optional<SaveAnswer> answer = askSaveFile(this, request);
    if (!answer)
        return std::nullopt;
    SaveDialog1.folder = pathBytes(QFileInfo(answer->path).absolutePath());
    SaveDialog1.filterIndex = answer->filterIndex;
    return answer->path;
}

void TSuchergebnis::saveTo(const QString &path, const std::string &bytes)
{
    if (fs::replaceFile(pathBytes(path), bytes))
        showMessage(this, MessageKind::Error, QStringLiteral("Datei %1 kann nicht erstellt werden").arg(path));
}

void TSuchergebnis::Speichern2Click()
{
    results::prepareSave(SaveDialog1, results::SaveKind::PlainList, listKind, todaysStamp());
    if (const std::optional<QString> path = chooseSavePath())
        saveTo(*path, results::plainListText(m_lines));
}

void TSuchergebnis::Speichern1Click()
{
    results::prepareSave(SaveDialog1, results::SaveKind::RichDocument, listKind, todaysStamp());
    if (const std::optional<QString> path = chooseSavePath())
        saveTo(*path, results::toRtf(m_document, utf8(RichEdit1->font().family())));
}

void TSuchergebnis::Drucken1Click()
{
    printDocument();
}

// The formatted list is rebuilt also when the print dialog is then cancelled; the simple
// view stays in front.
void TSuchergebnis::ListeDrucken2Click()
{
    FListe();
    printDocument();
}

// The whole formatted document as one job over the printable area of each page: no margins
// of our own, no headers or page numbers.
void TSuchergebnis::printDocument()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!askPrinter(this, printer))
        return;
    printer.setDocName(QStringLiteral("Kopienwacht - Liste"));
    printer.setFullPage(false);
    const std::unique_ptr<QTextDocument> copy(RichEdit1->document()->clone());
    copy->documentLayout()->setPaintDevice(&printer);
    copy->setDocumentMargin(0);
    copy->setPageSize(printer.pageLayout().paintRectPixels(printer.resolution()).size());
    copy->print(&printer);
}

} // namespace kw::ui
