#include "ui/about_box.h"

#include "search/rounding.h"
#include "shell/window_placement.h"
#include "ui/help_window.h"
#include "ui/program_icon.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

namespace kw::ui
{

TInfo::TInfo(QWidget *parent) : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Info"));
    setWindowTitle(QStringLiteral("Info"));
    setFixedSize(273, 225);
    // Modal to the main window only: the help it opens with F1 (and the help a first start
    // opens before it) must stay usable while the box is open.
    setWindowModality(Qt::WindowModal);

    auto *bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bevel->setGeometry(0, 0, 273, 225);

    Label1 = new QLabel(QStringLiteral("Kopienwacht"), this);
    QFont title = Label1->font();
    title.setBold(true);
    title.setPixelSize(13);
    Label1->setFont(title);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(8, 8, 257, 18);

    Label2 = new QLabel(this);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setGeometry(8, 28, 257, 16);

    Image1 = new QLabel(this);
    Image1->setPixmap(programIcon().pixmap(32, 32));
    Image1->setFixedSize(32, 32);
    // Centred once, by the outer width of the box.
    Image1->move(search::nearest(frameGeometry().width() / 2.0 - 16), 50);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setGeometry(8, 90, 257, 97);
    Memo1->setPlainText(QString::fromUtf8(
        "Kopienwacht findet Dateien mit gleichem Inhalt: erst nach Größe, dann Byte für Byte verglichen.\n\n"
        "Das Programm liest die Dateien, die es vergleicht, und verändert sie nicht. Markierte Duplikate "
        "verschiebt es nur auf Ihren Befehl und nach Rückfrage in den Papierkorb, aus dem Sie sie "
        "wiederherstellen können.\n\n"
        "Fragen und Hinweise: kopienwacht@example.org"));

    BitBtn1 = new QPushButton(QStringLiteral("&Ok"), this);
    BitBtn1->setGeometry(99, 194, 75, 25);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { openHelp(shell::HelpContext::AboutBox); });
}

} // namespace kw::ui
