#include "app/kowacht/options.h"

#include <getopt.h>

namespace kw::app
{

ParsedOptions parseKowachtOptions(int argc, char **argv)
{
    enum { HelpOption = 1000, VersionOption };
    static const option longOptions[] = {
        {"recursive", no_argument, nullptr, 'r'},
        {"filter", required_argument, nullptr, 'f'},
        {"output", required_argument, nullptr, 'o'},
        {"quiet", no_argument, nullptr, 'q'},
        {"help", no_argument, nullptr, HelpOption},
        {"version", no_argument, nullptr, VersionOption},
        {nullptr, 0, nullptr, 0},
    };
    ParsedOptions parsed;
    KowachtOptions &options = parsed.options;
    optind = 0; // start afresh, also when called more than once
    opterr = 0; // the messages are ours, in German
    for (;;) {
        const int c = ::getopt_long(argc, argv, "+rf:o:q", longOptions, nullptr);
        if (c == -1)
            break;
        switch (c) {
        case 'r':
            options.recursive = true;
            break;
        case 'f':
            options.filter = optarg;
            break;
        case 'o':
            options.output = optarg;
            break;
        case 'q':
            options.quiet = true;
            break;
        case HelpOption:
            options.help = true;
            return parsed;
        case VersionOption:
            options.version = true;
            return parsed;
        case ':':
            parsed.error = "Der Option fehlt ihr Wert.";
            return parsed;
        default:
            parsed.error = optopt == 'f' || optopt == 'o' ? "Der Option fehlt ihr Wert." : "Unbekannte Option.";
            return parsed;
        }
    }
    for (int i = optind; i < argc; ++i)
        options.folders.emplace_back(argv[i]);
    if (options.folders.empty())
        parsed.error = "Es wurde kein Ordner angegeben.";
    return parsed;
}

std::string kowachtHelpText()
{
    return "Aufruf: kowacht [-r|--recursive] [-f|--filter MASKE] [-o|--output DATEI] [-q|--quiet] ORDNER...\n"
           "\n"
           "Sucht in den ORDNERn nach Dateien mit gleichem Inhalt (Byte für Byte verglichen) und gibt\n"
           "sie in Blöcken aus: ein Pfad je Zeile, Blöcke durch eine Leerzeile getrennt. Der erste\n"
           "ORDNER ist der Startordner, die weiteren werden zusätzlich durchsucht.\n"
           "\n"
           "  -r, --recursive     untergeordnete Ordner einbeziehen\n"
           "  -f, --filter MASKE  Dateifilter, Muster durch \";\" getrennt, z. B. \"*.jpg;*.gif\"\n"
           "                      (Vorgabe: \"*.*\", alle Dateien)\n"
           "  -o, --output DATEI  die Liste zusätzlich als Textdatei speichern (Zeilenende CR LF)\n"
           "  -q, --quiet         keine Fortschrittsanzeige\n"
           "      --help          diese Hilfe anzeigen\n"
           "      --version       die Version anzeigen\n"
           "\n"
           "Versteckte Dateien und Ordner (der Name beginnt mit \".\"), symbolische Links und\n"
           "Gerätedateien werden übergangen. Meldungen und das Ergebnis der Suche stehen in der\n"
           "Standardfehlerausgabe, die Liste allein in der Standardausgabe.\n"
           "\n"
           "Rückgabewert: 0 nach einer vollständigen Suche, 1 wenn die Ausgabedatei nicht\n"
           "geschrieben werden konnte, 2 bei einem Aufruffehler.\n";
}

} // namespace kw::app
