#include "ui/help_window.h"

#include "ui/program_icon.h"
#include "ui/qt_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace kw::ui
{
namespace
{

QPointer<THilfe> &instance()
{
    static QPointer<THilfe> window;
    return window;
}

QString helpFolder()
{
    return qs(shell::helpFolder(utf8(QCoreApplication::applicationDirPath())));
}

THilfe &ensureWindow()
{
    if (instance().isNull())
        instance() = new THilfe;
    return *instance();
}

} // namespace

THilfe::THilfe(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Hilfe"));
    setWindowTitle(QStringLiteral("Kopienwacht - Hilfe"));
    setWindowIcon(programIcon());
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(640, 520);
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    m_browser->setSearchPaths({helpFolder()});
    auto *contents = new QPushButton(QStringLiteral("&Inhalt"), this);
    auto *back = new QPushButton(QString::fromUtf8("&Zurück"), this);
    connect(contents, &QPushButton::clicked, this,
        [this] { showPage(qs(shell::helpPageForTopic(shell::kHelpIndexTopic))); });
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    back->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
}

void THilfe::showPage(const QString &file)
{
    m_browser->setSource(QUrl::fromLocalFile(QDir(helpFolder()).filePath(file)));
}

QString THilfe::currentPage() const
{
    return QFileInfo(m_browser->source().toLocalFile()).fileName();
}

THilfe *helpWindow()
{
    return instance().data();
}

void openHelpTopic(std::string_view topic)
{
    THilfe &window = ensureWindow();
    window.showPage(qs(shell::helpPageForTopic(topic)));
    window.show();
    window.raise();
    window.activateWindow();
}

void openHelp(shell::HelpContext context)
{
    THilfe &window = ensureWindow();
    window.showPage(qs(shell::helpPageForContext(context)));
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace kw::ui
