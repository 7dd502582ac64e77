// kowacht: the duplicate search of Kopienwacht for scripts and servers.
#include "app/kowacht/run.h"
#include "fs/descriptor_limits.h"
#include "fs/file_access.h"

int main(int argc, char **argv)
{
    kw::fs::raiseOpenFileLimit(); // it starts no other program
    return kw::app::runKowacht(argc, argv);
}
