// Program start: the windows in their order, then the event loop.
#pragma once

class QLocale;
class QTranslator;

namespace kw::ui
{

// Qt's own German texts for `locale`, when it is German and they are installed.
bool loadQtTranslations(QTranslator &translator, const QLocale &locale);

int runApplication(int argc, char **argv);

} // namespace kw::ui
