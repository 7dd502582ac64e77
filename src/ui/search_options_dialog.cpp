#include "ui/search_options_dialog.h"

#include "shell/help_topics.h"
#include "ui/help_window.h"
#include "ui/message_box.h"
#include "ui/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kw::ui
{
namespace
{

SearchOptionsInterceptor &interceptor()
{
    static SearchOptionsInterceptor instance;
    return instance;
}

QComboBox *unitBox(QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->addItems({QStringLiteral("B"), QStringLiteral("KiB"), QStringLiteral("MiB"), QStringLiteral("GiB")});
    return box;
}

void showSize(const std::optional<std::uint64_t> &bytes, QLineEdit *digits, QComboBox *unit)
{
    if (!bytes) {
        unit->setCurrentIndex(1);
        return;
    }
    const shell::SizeInUnit shown = shell::sizeInUnit(*bytes);
    digits->setText(qs(shown.digits));
    unit->setCurrentIndex(shown.unit);
}

// The size entered: nothing for an empty box, an error for what is no size.
bool readSize(const QLineEdit *digits, const QComboBox *unit, std::optional<std::uint64_t> &bytes)
{
    const QString text = digits->text().trimmed();
    bytes.reset();
    if (text.isEmpty())
        return true;
    bytes = shell::sizeFromText(utf8(text), unit->currentIndex());
    return bytes.has_value();
}

} // namespace

SearchOptionsDialog::SearchOptionsDialog(QWidget *parent, const shell::SearchOptions &options) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Suchoptionen"));
    auto *layout = new QVBoxLayout(this);

    auto *sizes = new QGroupBox(QString::fromUtf8("Dateigröße (leer: keine Grenze)"), this);
    auto *sizeForm = new QFormLayout(sizes);
    const auto sizeRow = [&](const QString &label, QLineEdit *&digits, QComboBox *&unit) {
        auto *row = new QHBoxLayout;
        digits = new QLineEdit(sizes);
        unit = unitBox(sizes);
        row->addWidget(digits, 1);
        row->addWidget(unit);
        auto *caption = new QLabel(label, sizes);
        caption->setBuddy(digits);
        sizeForm->addRow(caption, row);
    };
    sizeRow(QString::fromUtf8("&Mindestens"), minSize, minUnit);
    sizeRow(QString::fromUtf8("Höch&stens"), maxSize, maxUnit);
    layout->addWidget(sizes);

    emptyFiles = new QCheckBox(QStringLiteral("&Leere Dateien einbeziehen"), this);
    oneLink = new QCheckBox(QStringLiteral("Von harten Links nur einen &Pfad zeigen"), this);
    layout->addWidget(emptyFiles);
    layout->addWidget(oneLink);

    auto *names = new QGroupBox(QStringLiteral("Auslassen (Ordner werden nicht betreten, Dateien übergangen)"), this);
    auto *nameLayout = new QVBoxLayout(names);
    excluded = new QListWidget(names);
    nameLayout->addWidget(excluded);
    auto *entry = new QHBoxLayout;
    newPattern = new QLineEdit(names);
    newPattern->setPlaceholderText(QString::fromUtf8("z. B. node_modules oder *.tmp"));
    add = new QPushButton(QString::fromUtf8("&Hinzufügen"), names);
    remove = new QPushButton(QStringLiteral("&Entfernen"), names);
    entry->addWidget(newPattern, 1);
    entry->addWidget(add);
    entry->addWidget(remove);
    nameLayout->addLayout(entry);
    layout->addWidget(names);

    auto *buttons
        = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    buttons->button(QDialogButtonBox::Help)->setText(QStringLiteral("Hilfe"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &SearchOptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [] { openHelp(shell::HelpContext::SearchOptions); });
    connect(add, &QPushButton::clicked, this, &SearchOptionsDialog::addPattern);
    connect(newPattern, &QLineEdit::returnPressed, this, &SearchOptionsDialog::addPattern);
    connect(remove, &QPushButton::clicked, this, [this] { delete excluded->currentItem(); });

    showSize(options.minSize, minSize, minUnit);
    showSize(options.maxSize, maxSize, maxUnit);
    emptyFiles->setChecked(options.emptyFiles);
    oneLink->setChecked(options.oneLink);
    for (const std::string &pattern : options.excluded)
        excluded->addItem(qs(pattern));
    setMinimumWidth(440);
}

void SearchOptionsDialog::addPattern()
{
    // ";" separates patterns, in the filter and where they are stored: each part is one.
    for (const QString &part : newPattern->text().split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        if (!pattern.isEmpty() && excluded->findItems(pattern, Qt::MatchExactly).isEmpty())
            excluded->addItem(pattern);
    }
    newPattern->clear();
}

SearchOptionsDialog::Entered SearchOptionsDialog::entered() const
{
    Entered result;
    shell::SearchOptions options;
    if (!readSize(minSize, minUnit, options.minSize)) {
        result.problem = QString::fromUtf8("Die Mindestgröße „%1“ ist keine ganze Zahl.").arg(minSize->text());
        return result;
    }
    if (!readSize(maxSize, maxUnit, options.maxSize)) {
        result.problem = QString::fromUtf8("Die Höchstgröße „%1“ ist keine ganze Zahl.").arg(maxSize->text());
        return result;
    }
    if (options.minSize && options.maxSize && *options.minSize > *options.maxSize) {
        result.problem = QString::fromUtf8("Die Mindestgröße ist größer als die Höchstgröße: keine Datei würde "
                                           "gefunden.");
        return result;
    }
    options.emptyFiles = emptyFiles->isChecked();
    options.oneLink = oneLink->isChecked();
    for (int i = 0; i < excluded->count(); ++i)
        options.excluded.push_back(utf8(excluded->item(i)->text()));
    result.options = std::move(options);
    return result;
}

void SearchOptionsDialog::accept()
{
    const Entered now = entered();
    if (!now.options) {
        showMessage(this, MessageKind::Error, now.problem);
        return;
    }
    QDialog::accept();
}

std::optional<shell::SearchOptions> askSearchOptions(QWidget *parent, const shell::SearchOptions &options)
{
    SearchOptionsDialog dialog(parent, options);
    const bool accepted = interceptor() ? interceptor()(dialog) : dialog.exec() == QDialog::Accepted;
    if (!accepted)
        return std::nullopt;
    return dialog.entered().options;
}

void setSearchOptionsInterceptor(SearchOptionsInterceptor newInterceptor)
{
    interceptor() = std::move(newInterceptor);
}

} // namespace kw::ui
