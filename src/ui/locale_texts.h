// Dates and times as the system's locale writes them.
#pragma once

#include <QDateTime>
#include <QString>

namespace kw::ui
{

// The system's short date format: 08.12.26 under a German locale.
QString shortDateText(const QDate &date);

// The system's long time format, hours, minutes and seconds, without a time zone: 14:05:09.
QString longTimeText(const QTime &time);

} // namespace kw::ui
