#include "cli/CliOptions.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <tuple>

#include "text/Quoted.h"

namespace {

// Which options were given, for the checks of options that exclude each other.
struct CGivenOptions {
    bool count = false;
    bool seed = false;
    bool crlf = false;
    bool unique = false;
    std::string filter;  // the first filter given
    bool explain = false;
    std::string avoid;  // the first avoid option given
};

std::string FirstGenerationOption(const CGivenOptions& given) {
    if (given.count) return "--count";
    if (given.seed) return "--seed";
    if (given.unique) return "--unique";
    if (given.crlf) return "--crlf";
    if (!given.filter.empty()) return given.filter;
    if (given.explain) return "--explain";
    if (!given.avoid.empty()) return given.avoid;
    return {};
}

std::string TooManyArguments(const std::vector<std::string>& arguments) {
    return "Zu viele Argumente: nach Kultur und Namenstyp folgt " + Quoted(arguments[2]) + ".";
}

// CLI11 reports a parse failure in English; the program speaks German.
std::string GermanParseError(const CLI::ParseError& error) {
    const std::string what = error.what();
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
        // The message begins with the option's name and a colon.
        const std::string::size_type colon = what.find(':');
        if (colon != std::string::npos) {
            return "Der Option " + Quoted(what.substr(0, colon)) + " fehlt ihr Wert.";
        }
    }
    return "Ungültiger Aufruf (" + what + ").";
}

// Options written as --name=value that CLI11 would read its own way: a flag
// given a value ("--crlf=0" would quietly switch it off), an empty value
// (which must not take the next argument instead), and --list=CULTURE and
// --stats=CULTURE, whose value is the optional culture. The rest goes to
// CLI11 unchanged, reversed as it wants it.
bool PrepareArguments(int argc, const char* const* argv, std::vector<std::string>& reversed,
                      std::optional<std::string>& listValue, std::string& error) {
    static constexpr std::string_view kFlags[] = {"--crlf",  "--unique", "--list",
                                                  "--check", "--help",   "--version",
                                                  "--stats", "--tsv",    "--explain"};
    std::vector<std::string> args;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const std::size_t equals = arg.find('=');
        optionsEnded = optionsEnded || arg == "--";
        if (optionsEnded || !arg.starts_with("--") || equals == std::string_view::npos) {
            args.emplace_back(arg);
            continue;
        }
        const std::string_view name = arg.substr(0, equals);
        const std::string_view value = arg.substr(equals + 1);
        if (name == "--list" || name == "--stats") {
            args.emplace_back(name);
            listValue = std::string(value);
        } else if (std::find(std::begin(kFlags), std::end(kFlags), name) != std::end(kFlags)) {
            error = "Die Option " + Quoted(name) + " nimmt keinen Wert.";
            return false;
        } else if (value.empty()) {
            error = "Der Option " + Quoted(name) + " fehlt ihr Wert.";
            return false;
        } else {
            args.emplace_back(arg);
        }
    }
    reversed.assign(args.rbegin(), args.rend());
    return true;
}

}  // namespace

bool ParseUnsigned64(std::string_view text, std::uint64_t& value) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return false;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, 10);
    return ec == std::errc() && ptr == end;
}

bool ParseUnsignedInt(std::string_view text, unsigned int& value) {
    std::uint64_t wide = 0;
    if (!ParseUnsigned64(text, wide) || wide > std::numeric_limits<unsigned int>::max()) {
        return false;
    }
    value = static_cast<unsigned int>(wide);
    return true;
}

bool ParseCliOptions(int argc, const char* const* argv, CCliOptions& options, std::string& error) {
    options = CCliOptions{};
    CLI::App app{"", "veltrano-cli"};
    // The help is German and written by hand; CLI11's own would be English.
    app.set_help_flag();
    // Unknown options are left over instead of thrown, so that the message
    // can name them.
    app.allow_extras(true);
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

    std::string countText;
    std::string seedText;
    std::string initText;
    CLI::Option* countOption = app.add_option("-n,--count", countText);
    CLI::Option* seedOption = app.add_option("-s,--seed", seedText);
    CLI::Option* initOption = app.add_option("-i,--init", initText);
    std::string learnText;
    CLI::Option* learnOption = app.add_option("--learn", learnText);
    CLI::Option* crlfOption = app.add_flag("--crlf", options.crlf);
    CLI::Option* uniqueOption = app.add_flag("-u,--unique", options.unique);
    std::string startsText;
    std::string endsText;
    std::string minText;
    std::string maxText;
    CLI::Option* startsOption = app.add_option("--starts-with", startsText);
    CLI::Option* endsOption = app.add_option("--ends-with", endsText);
    CLI::Option* minOption = app.add_option("--min-length", minText);
    CLI::Option* maxOption = app.add_option("--max-length", maxText);
    CLI::Option* explainOption = app.add_flag("--explain", options.explain);
    // Each may come several times, each time with one file.
    CLI::Option* avoidOption = app.add_option("--avoid", options.avoidFiles)
                                   ->allow_extra_args(false)
                                   ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    CLI::Option* avoidContainingOption =
        app.add_option("--avoid-containing", options.avoidContainingFiles)
            ->allow_extra_args(false)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_flag("-l,--list", options.list);
    app.add_flag("-c,--check", options.check);
    app.add_flag("--stats", options.stats);
    app.add_flag("--tsv", options.tsv);
    app.add_flag("-h,--help", options.help);
    app.add_flag("-V,--version", options.version);
    app.add_option("arguments", options.arguments);

    std::vector<std::string> reversed;
    std::optional<std::string> listValue;
    if (!PrepareArguments(argc, argv, reversed, listValue, error)) return false;
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& parseError) {
        // CLI11 reports through exceptions; here the failure becomes a result.
        error = GermanParseError(parseError);
        return false;
    }

    for (const std::string& extra : app.remaining()) {
        // CLI11 leaves the "--" that ends the options among the extras.
        if (extra == "--") continue;
        error = "Unbekannte Option " + Quoted(extra) + ".";
        return false;
    }

    if (options.help || options.version) return true;
    if (listValue) options.arguments.insert(options.arguments.begin(), *listValue);

    CGivenOptions given{countOption->count() > 0,
                        seedOption->count() > 0,
                        crlfOption->count() > 0,
                        uniqueOption->count() > 0,
                        {},
                        explainOption->count() > 0,
                        {}};
    if (startsOption->count() > 0) options.filter.startsWith = startsText;
    if (endsOption->count() > 0) options.filter.endsWith = endsText;
    for (const auto& [option, text, length] :
         {std::tuple(minOption, &minText, &options.filter.minLength),
          std::tuple(maxOption, &maxText, &options.filter.maxLength)}) {
        if (option->count() == 0) continue;
        std::uint64_t value = 0;
        if (!ParseUnsigned64(*text, value)) {
            error = "Die Länge " + Quoted(*text) + " für " + option->get_name() +
                    " ist keine ganze Zahl von 0 bis " +
                    std::to_string(std::numeric_limits<std::uint64_t>::max()) + ".";
            return false;
        }
        *length = value;
    }
    for (const CLI::Option* option : {startsOption, endsOption, minOption, maxOption}) {
        if (given.filter.empty() && option->count() > 0) given.filter = option->get_name();
    }
    for (const CLI::Option* option : {avoidOption, avoidContainingOption}) {
        if (given.avoid.empty() && option->count() > 0) given.avoid = option->get_name();
    }
    if (given.count) {
        if (!ParseUnsigned64(countText, options.count)) {
            error = "Die Anzahl " + Quoted(countText) + " ist keine ganze Zahl von 0 bis " +
                    std::to_string(std::numeric_limits<std::uint64_t>::max()) + ".";
            return false;
        }
    }
    if (given.seed) {
        unsigned int seed = 0;
        if (!ParseUnsignedInt(seedText, seed)) {
            error = "Der Startwert " + Quoted(seedText) + " ist keine ganze Zahl von 0 bis " +
                    std::to_string(std::numeric_limits<unsigned int>::max()) + ".";
            return false;
        }
        options.seed = seed;
    }
    if (initOption->count() > 0) options.initFile = initText;

    const std::string generationOption = FirstGenerationOption(given);
    if (options.stats) {
        const char* other = learnOption->count() > 0 ? "--learn"
                            : options.check          ? "--check"
                            : options.list           ? "--list"
                                                     : nullptr;
        if (other != nullptr) {
            error = std::string("--stats und ") + other + " schließen einander aus.";
            return false;
        }
        if (!generationOption.empty()) {
            error = generationOption + " passt nicht zu --stats.";
            return false;
        }
        if (options.arguments.size() > 2) {
            error = TooManyArguments(options.arguments);
            return false;
        }
        return true;
    }
    if (options.tsv) {
        error = "--tsv gehört zu --stats.";
        return false;
    }
    if (learnOption->count() > 0) {
        options.learnFile = learnText;
        if (options.check || options.list) {
            error = std::string("--learn und ") + (options.check ? "--check" : "--list") +
                    " schließen einander aus.";
            return false;
        }
        if (!generationOption.empty()) {
            error = generationOption + " passt nicht zu --learn.";
            return false;
        }
        if (options.arguments.size() != 2) {
            error = options.arguments.size() < 2
                        ? "--learn BEISPIELE.txt braucht eine Kultur und einen Namenstyp."
                        : "Zu viele Argumente: nach Kultur und Namenstyp folgt " +
                              Quoted(options.arguments[2]) + ".";
            return false;
        }
        return true;
    }
    if (options.check && options.list) {
        error = "--check und --list schließen einander aus.";
        return false;
    }
    if (options.check) {
        if (!generationOption.empty()) {
            error = generationOption + " passt nicht zu --check.";
            return false;
        }
        if (!options.arguments.empty()) {
            error =
                "--check prüft die Daten als Ganzes und nimmt keine Kultur und keinen "
                "Namenstyp.";
            return false;
        }
        return true;
    }
    if (options.list) {
        if (!generationOption.empty()) {
            error = generationOption + " passt nicht zu --list.";
            return false;
        }
        if (options.arguments.size() > 1) {
            error = "--list nimmt höchstens eine Kultur.";
            return false;
        }
        return true;
    }
    if (options.arguments.empty()) {
        error = "Kultur und Namenstyp fehlen.";
        return false;
    }
    if (options.arguments.size() > 2) {
        error = TooManyArguments(options.arguments);
        return false;
    }
    return true;
}

std::string CliHelpText() {
    return "Aufruf: veltrano-cli [OPTIONEN] KULTUR NAMENSTYP\n"
           "       veltrano-cli [--init DATEI] --list [KULTUR]\n"
           "       veltrano-cli [--init DATEI] --check\n"
           "       veltrano-cli [--init DATEI] --learn BEISPIELE.txt KULTUR NAMENSTYP\n"
           "       veltrano-cli [--init DATEI] --stats [--tsv] [KULTUR [NAMENSTYP]]\n"
           "\n"
           "Erfindet Namen aus denselben Daten wie das Desktop-Programm Veltrano:\n"
           "ANZAHL Namen der KULTUR und des NAMENSTYPS, einer je Zeile.\n"
           "\n"
           "Optionen:\n"
           "  -n, --count ANZAHL  so viele Namen (Vorgabe 1)\n"
           "  -s, --seed N        Zufallsgenerator mit N (0 bis 4294967295) statt der\n"
           "                      Uhrzeit starten: gleiche Daten, gleicher Startwert,\n"
           "                      gleiche Namen (0 und 1 geben dieselben Namen)\n"
           "  -u, --unique        keinen Namen zweimal ausgeben\n"
           "      --starts-with TEXT\n"
           "                      nur Namen, die mit TEXT beginnen, z. B. --starts-with K\n"
           "                      für eine Familie, deren Namen alle mit K anfangen\n"
           "      --ends-with TEXT\n"
           "                      nur Namen, die auf TEXT enden, z. B. --ends-with ia\n"
           "      --min-length N  nur Namen mit mindestens N Zeichen, z. B. --min-length 6\n"
           "      --max-length N  nur Namen mit höchstens N Zeichen\n"
           "                      Groß- und Kleinschreibung zählt bei TEXT nicht; Zeichen\n"
           "                      zählen, wie das Desktop-Programm sie zeigt. Namen, die\n"
           "                      nicht passen, werden gezogen und verworfen: derselbe\n"
           "                      Startwert gibt dieselben Namen, nur die passenden.\n"
           "      --avoid DATEI   keine Namen, die einem Eintrag der DATEI gleichen, z. B.\n"
           "                      --avoid kampagne.txt mit den Namen der Kampagne\n"
           "      --avoid-containing DATEI\n"
           "                      keine Namen, die einen Eintrag der DATEI enthalten,\n"
           "                      z. B. --avoid-containing unwoerter.txt\n"
           "                      Ein Eintrag je Zeile, gelesen wie die Datendateien;\n"
           "                      Groß- und Kleinschreibung zählt nicht. Beide dürfen\n"
           "                      mehrmals stehen; gemiedene Namen werden gezogen und\n"
           "                      verworfen wie unpassende.\n"
           "      --crlf          Namen durch CR LF trennen, wie die gespeicherte Liste\n"
           "                      des Desktop-Programms (nichts nach dem letzten)\n"
           "      --explain       hinter jedem Namen, woher er kommt, durch Tabs getrennt:\n"
           "                      SEMANTIKDATEI:ZEILE des Musters und je Liste\n"
           "                      LISTE=SPRACHDATEI:ZEILE des Fragments (LISTE=-, wo die\n"
           "                      Liste fehlt oder leer ist), z. B.\n"
           "                      -n 5 --explain Waldelben \"Vorname weiblich\"\n"
           "  -i, --init DATEI    Daten aus dieser Init-Datei; ihr Ordner ist der\n"
           "                      Datenordner. Die gespeicherten Einstellungen gelten\n"
           "                      dann nicht und werden nicht geschrieben.\n"
           "  -l, --list [KULTUR] die Kulturen auflisten, oder die Namenstypen der KULTUR\n"
           "  -c, --check         Init-, Sprach- und Semantikdatei prüfen; jeder Befund\n"
           "                      als DATEI:ZEILE: Fehler: ... oder DATEI:ZEILE: Warnung: ...\n"
           "      --learn BEISPIELE.txt KULTUR NAMENSTYP\n"
           "                      aus Beispielnamen (einer je Zeile, mindestens 20) Listen\n"
           "                      und den neuen NAMENSTYP der KULTUR lernen und an die\n"
           "                      Daten anhängen; fehlt die Init-Datei, entsteht ein neuer\n"
           "                      Datensatz. Eine Zeile sagt, was wohin kam. Beispiel:\n"
           "                      --init ~/namen/init.txt --learn finnisch.txt Suomi Vorname\n"
           "      --stats [KULTUR [NAMENSTYP]]\n"
           "                      je Namenstyp eine Zeile: Muster, verschiedene Namen,\n"
           "                      Wiederholungen in einer Liste von 99, kürzester und\n"
           "                      längster Name (Zeichen), Wahrscheinlichkeit des\n"
           "                      seltensten; genau, wo sich die Namen abzählen lassen,\n"
           "                      sonst mit ≥, ≤ und ≈. Beispiel: --stats Waldelben\n"
           "      --tsv           mit --stats: tabulatorgetrennt, Kopfzeile und Zahlen\n"
           "                      mit Punkt, für Skripte. Beispiel: --stats --tsv > st.tsv\n"
           "  -h, --help          diese Hilfe\n"
           "  -V, --version       die Version\n"
           "  --                  beendet die Optionen (für Namen, die mit - beginnen)\n"
           "\n"
           "Ohne --init gelten die Einstellungen des Desktop-Programms\n"
           "($XDG_CONFIG_HOME/Brannock/Veltrano.conf). Fehlen sie, legt veltrano-cli\n"
           "sie wie das Desktop-Programm an, mit den mitgelieferten Beispieldaten;\n"
           "vorhandene Einstellungen ersetzt es nie.\n"
           "\n"
           "Rückgabe: 0 Erfolg, 1 abgelehnt (Daten, Dateien, Ausgabe), 2 falscher Aufruf.\n"
           "Mit --check: 0 ohne Befund, 1 nur Warnungen, 2 Fehler (mit ihnen entstehen\n"
           "keine Namen), 3 Prüfung unmöglich (keine Einstellungen, Init-Datei nicht\n"
           "lesbar, Ausgabe gescheitert), 2 falscher Aufruf.\n";
}

std::string CliVersionText() { return std::string("veltrano-cli ") + VELTRANO_VERSION + "\n"; }
