#include "app/kowacht/options.h"

#include "search/texts.h"

#include <getopt.h>

#include <cctype>
#include <charconv>
#include <string_view>

namespace kw::app
{
namespace
{

enum LongOnly {
    HelpOption = 1000,
    VersionOption,
    FormatOption,
    MinSizeOption,
    MaxSizeOption,
    NoEmptyOption,
    ExcludeOption,
    OneLinkOption,
    StatsOption,
    TrashOption,
    ReflinkOption,
    HardlinkOption,
    DryRunOption,
    KeepInOption,
    ThreadsOption,
    ReadAheadOption,
};

const option kLongOptions[] = {
    {"recursive", no_argument, nullptr, 'r'},
    {"filter", required_argument, nullptr, 'f'},
    {"output", required_argument, nullptr, 'o'},
    {"quiet", no_argument, nullptr, 'q'},
    {"format", required_argument, nullptr, FormatOption},
    {"min-size", required_argument, nullptr, MinSizeOption},
    {"max-size", required_argument, nullptr, MaxSizeOption},
    {"no-empty", no_argument, nullptr, NoEmptyOption},
    {"exclude", required_argument, nullptr, ExcludeOption},
    {"one-link", no_argument, nullptr, OneLinkOption},
    {"stats", no_argument, nullptr, StatsOption},
    {"trash", no_argument, nullptr, TrashOption},
    {"reflink", no_argument, nullptr, ReflinkOption},
    {"hardlink", no_argument, nullptr, HardlinkOption},
    {"dry-run", no_argument, nullptr, DryRunOption},
    {"keep-in", required_argument, nullptr, KeepInOption},
    {"threads", required_argument, nullptr, ThreadsOption},
    {"read-ahead", required_argument, nullptr, ReadAheadOption},
    {"help", no_argument, nullptr, HelpOption},
    {"version", no_argument, nullptr, VersionOption},
    {nullptr, 0, nullptr, 0},
};

std::string quoted(const std::string &text)
{
    return "„" + text + "“";
}

// How the user wrote the option getopt stopped at: "--rekursiv" or "-x".
std::string offending(char **argv, int index, int shortOption)
{
    std::string text = index > 0 ? argv[index - 1] : "";
    if (shortOption > 0 && shortOption < 256 && !text.starts_with("--"))
        return std::string("-") + static_cast<char>(shortOption);
    const std::size_t equals = text.find('=');
    return equals == std::string::npos ? text : text.substr(0, equals);
}

std::optional<OutputFormat> formatNamed(const std::string &name)
{
    if (name == "text")
        return OutputFormat::Text;
    if (name == "null")
        return OutputFormat::Null;
    if (name == "json")
        return OutputFormat::Json;
    if (name == "csv")
        return OutputFormat::Csv;
    return std::nullopt;
}

std::optional<search::ReadAhead> readAheadNamed(const std::string &name)
{
    if (name == "auto")
        return search::ReadAhead::WhenWaiting;
    if (name == "always")
        return search::ReadAhead::Always;
    if (name == "never")
        return search::ReadAhead::Never;
    return std::nullopt;
}

// The long option `text` ("--he", "--filter=x") names, as getopt_long would take it: the
// whole name or a beginning of one name only.
const option *longOptionNamed(std::string_view text)
{
    text.remove_prefix(2);
    text = text.substr(0, text.find('='));
    const option *found = nullptr;
    for (const option *o = kLongOptions; o->name != nullptr; ++o) {
        const std::string_view name(o->name);
        if (name == text)
            return o;
        if (!text.empty() && name.starts_with(text)) {
            if (found != nullptr)
                return nullptr; // not unique
            found = o;
        }
    }
    return found;
}

// --help and --version stand for themselves wherever they are, up to a "--", also when
// abbreviated; not where they are the value of an option ("-f --help").
void findHelpOrVersion(int argc, char **argv, KowachtOptions &options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "--")
            return;
        if (arg.starts_with("--")) {
            const option *named = longOptionNamed(arg);
            if (named != nullptr && named->val == HelpOption) {
                options.help = true;
                return;
            }
            if (named != nullptr && named->val == VersionOption) {
                options.version = true;
                return;
            }
            if (named != nullptr && named->has_arg == required_argument && arg.find('=') == std::string_view::npos)
                ++i; // its value follows
        } else if (arg.size() > 1 && arg[0] == '-') {
            // A cluster of short options; -f and -o take the rest, or the next argument.
            const std::size_t valued = arg.find_first_of("fo", 1);
            if (valued != std::string_view::npos && valued + 1 == arg.size())
                ++i;
        }
    }
}

// Takes the value of one option; a usage error text, or empty.
std::string apply(int c, const std::string &value, KowachtOptions &options)
{
    switch (c) {
    case 'r':
        options.recursive = true;
        return {};
    case 'f':
        options.filter = value;
        return {};
    case 'o':
        options.output = value;
        return {};
    case 'q':
        options.quiet = true;
        return {};
    case '0':
        options.format = OutputFormat::Null;
        return {};
    case FormatOption: {
        const auto format = formatNamed(value);
        if (!format)
            return "unbekanntes Ausgabeformat " + quoted(value) + " (text, null, json oder csv)";
        options.format = *format;
        return {};
    }
    case MinSizeOption:
    case MaxSizeOption: {
        const auto size = parseSize(value);
        if (!size)
            return "keine Größe: " + quoted(value) + " (etwa 100, 4K, 2M, 1G)";
        (c == MinSizeOption ? options.minSize : options.maxSize) = *size;
        return {};
    }
    case NoEmptyOption:
        options.minSize = std::max<std::uint64_t>(options.minSize, 1);
        return {};
    case ExcludeOption:
        options.excluded.push_back(value);
        return {};
    case OneLinkOption:
        options.oneLink = true;
        return {};
    case StatsOption:
        options.stats = true;
        return {};
    case TrashOption:
        options.trash = true;
        return {};
    case ReflinkOption:
        options.reflink = true;
        return {};
    case HardlinkOption:
        options.hardlink = true;
        return {};
    case DryRunOption:
        options.dryRun = true;
        return {};
    case KeepInOption:
        options.keepIn.push_back(value);
        return {};
    case ThreadsOption: {
        unsigned threads = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), threads);
        if (error != std::errc {} || end != value.data() + value.size() || threads == 0 || threads > 1024)
            return "keine Anzahl von Threads: " + quoted(value) + " (1 bis 1024)";
        options.threads = threads;
        return {};
    }
    case ReadAheadOption: {
        const auto readAhead = readAheadNamed(value);
        if (!readAhead)
            return "unbekannter Wert für --read-ahead: " + quoted(value) + " (auto, always oder never)";
        options.readAhead = *readAhead;
        return {};
    }
    default:
        return "unbekannte Option";
    }
}

} // namespace

std::optional<std::uint64_t> parseSize(const std::string &text)
{
    std::uint64_t value = 0;
    const char *begin = text.data();
    const char *end = begin + text.size();
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (text.empty() || error != std::errc {})
        return std::nullopt;
    if (stop == end)
        return value;
    if (stop + 1 != end)
        return std::nullopt;
    int shift = 0;
    switch (std::toupper(static_cast<unsigned char>(*stop))) {
    case 'K':
        shift = 10;
        break;
    case 'M':
        shift = 20;
        break;
    case 'G':
        shift = 30;
        break;
    case 'T':
        shift = 40;
        break;
    default:
        return std::nullopt;
    }
    if (value > (std::numeric_limits<std::uint64_t>::max() >> shift))
        return std::nullopt;
    return value << shift;
}

ParsedOptions parseKowachtOptions(int argc, char **argv)
{
    ParsedOptions parsed;
    KowachtOptions &options = parsed.options;
    findHelpOrVersion(argc, argv, options);
    if (options.help || options.version)
        return parsed;
    optind = 0; // start afresh, also when called more than once
    opterr = 0; // the messages are ours, in German
    for (;;) {
        const int c = ::getopt_long(argc, argv, ":rf:o:q0", kLongOptions, nullptr);
        if (c == -1)
            break;
        if (c == '?') {
            const std::string written = offending(argv, optind, optopt);
            // getopt names the option in optopt when it knows it but it takes no value.
            const bool takesNone = optopt != 0 && written.starts_with("--");
            parsed.error = takesNone ? "die Option " + quoted(written) + " erlaubt keinen Wert"
                                     : "unbekannte Option " + quoted(written);
            return parsed;
        }
        if (c == ':') {
            parsed.error = "der Option " + quoted(offending(argv, optind, optopt)) + " fehlt der Wert";
            return parsed;
        }
        const std::string error = apply(c, optarg != nullptr ? optarg : "", options);
        if (!error.empty()) {
            parsed.error = error;
            return parsed;
        }
    }
    for (int i = optind; i < argc; ++i) {
        if (argv[i][0] == '\0') {
            parsed.error = "ein leerer Ordnername ist kein Ordner";
            return parsed;
        }
        options.folders.emplace_back(argv[i]);
    }
    if (options.folders.empty())
        parsed.error = "es wurde kein Ordner angegeben";
    else if (options.minSize > options.maxSize)
        parsed.error = "--min-size ist größer als --max-size";
    else if (int {options.trash} + int {options.reflink} + int {options.hardlink} > 1)
        parsed.error = "--trash, --reflink und --hardlink schließen einander aus";
    else if ((options.dryRun || !options.keepIn.empty()) && !actsOnDuplicates(options))
        parsed.error = "--dry-run und --keep-in gehören zu --trash, --reflink oder --hardlink";
    return parsed;
}

std::string kowachtUsageLine()
{
    return "Aufruf: kowacht [OPTION]... ORDNER...\n";
}

std::string kowachtHelpText()
{
    return kowachtUsageLine()
        + "\n"
          "Sucht in den ORDNERn nach Dateien mit gleichem Inhalt (Byte für Byte verglichen) und gibt\n"
          "sie in Blöcken aus: ein Pfad je Zeile, Blöcke durch eine Leerzeile getrennt. Der erste\n"
          "ORDNER ist der Startordner, die weiteren werden zusätzlich durchsucht. Optionen dürfen\n"
          "zwischen den Ordnern stehen; nach \"--\" ist alles ein Ordner.\n"
          "\n"
          "  -r, --recursive        untergeordnete Ordner einbeziehen\n"
          "  -f, --filter MASKE     Dateifilter, Muster durch \";\" getrennt, z. B. \"*.jpg;*.gif\"\n"
          "                         (Vorgabe: \"*.*\", alle Dateien)\n"
          "  -o, --output DATEI     die Liste zusätzlich als Textdatei speichern (Zeilenende CR LF)\n"
          "  -q, --quiet            keine Fortschrittsanzeige\n"
          "      --format=FORMAT    text (Vorgabe), null, json oder csv\n"
          "  -0                     wie --format=null: jeder Pfad mit NUL beendet, jeder Block mit\n"
          "                         einem weiteren NUL (für xargs -0)\n"
          "      --min-size GRÖSSE  nur Dateien ab dieser Größe (K, M, G: Potenzen von 1024)\n"
          "      --max-size GRÖSSE  nur Dateien bis zu dieser Größe\n"
          "      --no-empty         leere Dateien auslassen\n"
          "      --exclude MUSTER   Ordner und Dateien dieses Namens auslassen, z. B. node_modules\n"
          "                         oder \"*.tmp\" (wiederholbar; Ordner werden nicht betreten)\n"
          "      --one-link         von harten Links nur einen Pfad je Datei ausgeben\n"
          "      --stats            am Ende zusammenfassen, wie viel Platz die Duplikate belegen\n"
          "      --threads N        so viele Threads (Vorgabe: einer je Prozessorkern)\n"
          "      --read-ahead=WANN  die ersten Blöcke in der Reihenfolge der Platte vorauslesen:\n"
          "                         auto (Vorgabe: sobald auf die Platte gewartet wird), always\n"
          "                         oder never\n"
          "      --trash            in jedem Block eine Datei behalten, die übrigen in den\n"
          "                         Papierkorb verschieben (wiederherstellbar)\n"
          "      --reflink          in jedem Block eine Datei behalten und die übrigen ihre Blöcke\n"
          "                         mit ihr teilen lassen: jeder Pfad bleibt eine Datei für sich,\n"
          "                         der Platz wird frei (Btrfs, XFS mit reflink; der Kernel\n"
          "                         vergleicht vorher jedes Byte)\n"
          "      --hardlink         in jedem Block eine Datei behalten und die übrigen durch harte\n"
          "                         Links auf sie ersetzen: die Pfade werden eine Datei (eine\n"
          "                         Änderung zeigt sich in allen), Besitzer, Rechte und Zeiten\n"
          "                         sind die der behaltenen\n"
          "      --keep-in ORDNER   mit --trash, --reflink oder --hardlink: die Dateien unter\n"
          "                         ORDNER behalten (wiederholbar)\n"
          "      --dry-run          mit --trash, --reflink oder --hardlink: nur zeigen, was\n"
          "                         geschähe\n"
          "      --help             diese Hilfe anzeigen\n"
          "      --version          die Version anzeigen\n"
          "\n"
          "Versteckte Dateien und Ordner (der Name beginnt mit \".\"), symbolische Links und\n"
          "Gerätedateien werden übergangen. Meldungen und das Ergebnis der Suche stehen in der\n"
          "Standardfehlerausgabe, die Liste allein in der Standardausgabe.\n"
          "\n"
          "Rückgabewert:\n"
          "  0  die Suche ist vollständig, alles konnte gelesen werden\n"
          "  1  die Ergebnisse konnten nicht geschrieben werden\n"
          "  2  Aufruffehler\n"
          "  3  die Suche ist vollständig, aber manche Dateien oder Ordner konnten nicht gelesen\n"
          "     werden (der Liste fehlen womöglich Dateien)\n"
          "  4  mit --trash, --reflink oder --hardlink: nicht alles Vorgesehene wurde verschoben\n"
          "     oder ersetzt\n"
          "  5  die Suche brach ab (etwa aus Mangel an Arbeitsspeicher); die Liste ist\n"
          "     unvollständig\n";
}

std::string kowachtVersionText()
{
    return "kowacht (Kopienwacht) " + std::string(search::kVersionText.substr(search::kVersionText.find(' ') + 1))
        + "\n"
          "Copyright (C) 2026 Ostwerk\n"
          "Lizenz GPLv3+: GNU GPL Version 3 oder neuer <https://gnu.org/licenses/gpl.html>.\n"
          "Dies ist freie Software: Sie dürfen sie verändern und weitergeben.\n"
          "Es gibt KEINE GARANTIE, soweit das Gesetz es zulässt.\n";
}

} // namespace kw::app
