// kowacht: the duplicate search of Kopienwacht for scripts and servers.
#include "app/kowacht/run.h"

int main(int argc, char **argv)
{
    return kw::app::runKowacht(argc, argv);
}
