#include "ui/locale_texts.h"

#include <QLocale>
#include <QRegularExpression>

namespace kw::ui
{

QString shortDateText(const QDate &date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

QString longTimeText(const QTime &time)
{
    // Qt's long time format names the time zone ("t"); the time alone is wanted here.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*\\(?t+\\)?")));
    return QLocale::system().toString(time, format.trimmed());
}

} // namespace kw::ui
