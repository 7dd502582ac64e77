// Kopienwacht: the desktop program.
#include "ui/application.h"

int main(int argc, char **argv)
{
    return kw::ui::runApplication(argc, argv);
}
