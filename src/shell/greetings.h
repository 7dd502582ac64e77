// The questions of a first start and of the first start after an update.
#pragma once

#include <string_view>

namespace kw::shell
{

// Lines are separated by single carriage returns, as in every message text.
inline constexpr std::string_view kWelcomeQuestion
    = "Herzlichen Glückwunsch,\r\rSie haben sich zur Nutzung von Kopienwacht entschlossen.\r"
      "Dieses Programm spürt zuverlässig Dateiduplikate auf Ihren\rDatenträgern auf.\r\r"
      "Wollen Sie nun die Hilfedatei lesen?";

inline constexpr std::string_view kUpdateQuestion
    = "Sehr geehrter Anwender,\r\rSie haben Sich entschlossen die neue Version zu nutzen.\r"
      "Diese Version enthällt einige entscheidende Verbesserungen\rgegenüber den Vorgängerversionen.\r\r"
      "Wollen Sie nun die Hilfedatei lesen?";

} // namespace kw::shell
