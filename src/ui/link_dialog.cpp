#include "ui/link_dialog.h"

#include "search/texts.h"
#include "ui/qt_text.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kw::ui
{
namespace
{

LinkChoiceInterceptor &interceptor()
{
    static LinkChoiceInterceptor instance;
    return instance;
}

QLabel *wrapped(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

LinkDialog::LinkDialog(QWidget *parent, const LinkChoiceFacts &facts) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Durch Verknüpfung ersetzen"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(wrapped(facts.files == 1
            ? QString::fromUtf8("Die markierte Datei wird durch eine Verknüpfung auf die erste nicht markierte "
                                "Datei ihres Blocks ersetzt. Ihr Pfad bleibt.")
            : QString::fromUtf8("Die %1 markierten Dateien werden durch Verknüpfungen auf die erste nicht markierte "
                                "Datei ihres Blocks ersetzt. Alle Pfade bleiben.")
                  .arg(facts.files),
        this));
    sharedBlocks = new QRadioButton(QString::fromUtf8("Blöcke teilen (Reflink)"), this);
    hardLink = new QRadioButton(QString::fromUtf8("Harte Verknüpfung"), this);
    unavailable = wrapped(QString::fromUtf8("Nicht möglich: dieses Dateisystem kann keine Blöcke teilen (das können "
                                            "Btrfs, XFS mit reflink, bcachefs und OCFS2)."),
        this);
    meaning = wrapped({}, this);
    space = wrapped(QString::fromUtf8("Frei werden etwa %1.").arg(qs(search::sizeText(facts.freedBytes))), this);
    layout->addWidget(sharedBlocks);
    layout->addWidget(unavailable);
    layout->addWidget(hardLink);
    layout->addSpacing(8);
    layout->addWidget(meaning);
    layout->addWidget(space);
    sharedBlocks->setEnabled(facts.mayShareBlocks);
    unavailable->setVisible(!facts.mayShareBlocks);
    (facts.mayShareBlocks ? sharedBlocks : hardLink)->setChecked(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(sharedBlocks, &QRadioButton::toggled, this, &LinkDialog::showMeaning);
    showMeaning();
    setMinimumWidth(420);
}

results::LinkKind LinkDialog::choice() const
{
    return sharedBlocks->isChecked() ? results::LinkKind::SharedBlocks : results::LinkKind::HardLink;
}

void LinkDialog::showMeaning()
{
    meaning->setText(choice() == results::LinkKind::SharedBlocks
            ? QString::fromUtf8("Jeder Pfad bleibt eine Datei für sich, mit Besitzer, Rechten und Zeiten; nur ihr "
                                "Inhalt liegt einmal auf dem Datenträger. Der Kernel vergleicht vorher jedes Byte. "
                                "Ändert man später eine Kopie, bleiben die anderen, wie sie sind.")
            : QString::fromUtf8("Die Pfade werden eine einzige Datei: eine Änderung über einen Pfad zeigt sich in "
                                "allen, und Besitzer, Rechte und Zeiten des Duplikats werden die der behaltenen "
                                "Datei. Nur auf demselben Datenträger."));
}

std::optional<results::LinkKind> askLinkKind(QWidget *parent, const LinkChoiceFacts &facts)
{
    LinkDialog dialog(parent, facts);
    if (interceptor())
        return interceptor()(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

void setLinkChoiceInterceptor(LinkChoiceInterceptor newInterceptor)
{
    interceptor() = std::move(newInterceptor);
}

} // namespace kw::ui
