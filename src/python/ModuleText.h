#pragma once

// The module's docstrings: what help(veltrano) and an editor show. Each
// starts with its call, since pybind11's own signature lines would name the
// C++ types.

inline constexpr const char* kModuleDoc =
    "Veltrano für Python: Zufallsnamen aus eigenen Silbenlisten.\n"
    "\n"
    "Die Erweiterung hinter dem Paket veltrano; siehe help(veltrano).";

inline constexpr const char* kOpenDoc =
    "open(init_file=None) -> Data\n"
    "\n"
    "Lädt einen Datensatz.\n"
    "\n"
    "Ohne Argument die Daten, die die Einstellungen des Benutzers nennen\n"
    "($XDG_CONFIG_HOME/Brannock/Veltrano.conf). Gibt es sie noch nicht, legt\n"
    "open() sie an wie veltrano-cli, mit den Beispieldaten, die mit der\n"
    "Bibliothek installiert sind.\n"
    "\n"
    "Mit einer Init-Datei (str, bytes oder os.PathLike) deren Daten, wie\n"
    "veltrano-cli --init DATEI; die Einstellungen bleiben unberührt.\n"
    "\n"
    "Daten, die sich nicht laden lassen, lösen veltrano.Error aus, mit der\n"
    "Meldung von veltrano-cli.";

inline constexpr const char* kCheckDoc =
    "check(init_file=None) -> list[Finding]\n"
    "\n"
    "Prüft die Daten wie veltrano-cli --check: die Init-Datei, die\n"
    "Sprachdatei und die Semantikdatei, jede Zeile für Zeile.\n"
    "\n"
    "Ohne Argument die Daten der Einstellungen des Benutzers, sonst die, die\n"
    "diese Init-Datei nennt. Prüft auch Daten, die open() ablehnt. Eine leere\n"
    "Liste heißt: nichts gefunden. Nur wenn sich gar nichts prüfen lässt\n"
    "(die Init-Datei fehlt), kommt veltrano.Error.";

inline constexpr const char* kFindingDoc =
    "Ein Befund von check(): eine Zeile von veltrano-cli --check.\n"
    "\n"
    "str(befund) ist die ganze Zeile, \"DATEI:ZEILE: Fehler: MELDUNG\".";
inline constexpr const char* kFindingFileDoc = "Die Datei, wie --check sie zeigt (str).";
inline constexpr const char* kFindingLineDoc =
    "Die Zeile, von 1 an gezählt; 0, wenn der Befund die ganze Datei betrifft.";
inline constexpr const char* kFindingSeverityDoc = "\"Fehler\" oder \"Warnung\".";
inline constexpr const char* kFindingMessageDoc = "Die Meldung, deutsch, wie --check sie zeigt.";

inline constexpr const char* kErrorDoc =
    "Eine Ablehnung: Daten, die sich nicht laden lassen, eine unbekannte\n"
    "Kultur oder ein unbekannter Namenstyp, eine Anfrage, zu der kein Name\n"
    "passt, unique über die möglichen Namen hinaus, eine Anzahl, für die der\n"
    "Arbeitsspeicher nicht reicht, oder ein seltener Treffer, der ausbleibt.\n"
    "\n"
    "str(fehler) ist die Meldung, die veltrano-cli ausgibt (ohne\n"
    "\"veltrano-cli: \" davor). names hält die Namen, die vor dem Aufgeben\n"
    "entstanden sind, sonst ist es leer.";

inline constexpr const char* kDataDoc =
    "Ein geladener Datensatz: Kulturen, Namenstypen und Fragmentlisten.\n"
    "\n"
    "Kommt von veltrano.open(). Beliebig viele Threads dürfen ihn zugleich\n"
    "nutzen; jeder Generator hält seine Daten selbst am Leben.";

inline constexpr const char* kDataCulturesDoc =
    "cultures(raw=False) -> list[str]\n"
    "\n"
    "Die Kulturen, in der Reihenfolge von veltrano-cli --list: als Text, wie\n"
    "das Programm sie zeigt, oder mit raw=True als die Bytes der Daten.";

inline constexpr const char* kDataNameTypesDoc =
    "name_types(culture, raw=False) -> list[str]\n"
    "\n"
    "Die Namenstypen einer Kultur (str oder bytes, verglichen wie bei\n"
    "veltrano-cli), in der Reihenfolge von veltrano-cli --list KULTUR. Eine\n"
    "unbekannte Kultur löst veltrano.Error aus.";

inline constexpr const char* kDataGeneratorDoc =
    "generator(seed=None) -> Generator\n"
    "\n"
    "Ein Generator mit eigener Zufallsfolge. Mit einem Seed (0 bis\n"
    "4294967295) macht er genau die Namen von veltrano-cli --seed SEED;\n"
    "ohne einen kommt der Seed vom Zufallsgerät des Systems.";

inline constexpr const char* kGeneratorDoc =
    "Eine Zufallsfolge und die Namen, die sie macht.\n"
    "\n"
    "Kommt von Data.generator(). Jeder Aufruf setzt die Folge fort: zweimal\n"
    "5 Namen sind die 10 Namen eines Aufrufs mit count=10. Nutzen zwei\n"
    "Threads denselben Generator, wartet der zweite, bis der erste fertig\n"
    "ist; für gleichzeitige Arbeit bekommt jeder Thread seinen eigenen.";

inline constexpr const char* kGeneratorNamesDoc =
    "names(culture, name_type, count=1, *, unique=False, starts_with=None,\n"
    "      ends_with=None, min_length=None, max_length=None, avoid=None,\n"
    "      avoid_containing=None, raw=False) -> list[str]\n"
    "\n"
    "Macht count Namen einer Kultur und eines Namenstyps (str oder bytes,\n"
    "verglichen wie bei veltrano-cli), wie das Programm sie zeigt, oder mit\n"
    "raw=True als Bytes.\n"
    "\n"
    "unique: kein Name zweimal.\n"
    "starts_with, ends_with: nur Namen mit diesem Anfang oder Ende.\n"
    "min_length, max_length: nur Namen mit so vielen Zeichen, wie gezeigt.\n"
    "avoid: Namen (str oder bytes), die nicht kommen; avoid_containing: Teile,\n"
    "die kein Name enthält, etwa [\"grog\", \"mist\"].\n"
    "Die Filter vergleichen ohne Rücksicht auf Groß- und Kleinschreibung.\n"
    "Namen, die nicht passen, werden gezogen und verworfen: ein Seed gibt\n"
    "mit und ohne Filter dieselben Namen.\n"
    "\n"
    "Lehnt ab (veltrano.Error mit der Meldung von veltrano-cli), bevor ein\n"
    "Name entsteht: eine unbekannte Kultur oder ein unbekannter Namenstyp,\n"
    "Filter, zu denen kein Name passt, unique über die möglichen Namen\n"
    "hinaus, eine Anzahl, für die der Arbeitsspeicher nicht reicht. Bleibt\n"
    "ein seltener Treffer zu lange aus, gibt der Aufruf auf; das\n"
    "veltrano.Error hält dann in names die Namen bis dahin.\n"
    "\n"
    "Der Aufruf gibt die GIL frei, solange er Namen macht. Strg+C bricht\n"
    "ihn ab; die Zufallsfolge ist dann ein unbestimmtes Stück weiter.";

inline constexpr const char* kDataStatsDoc =
    "stats(culture=None, name_type=None) -> list[Stats]\n"
    "\n"
    "Was veltrano-cli --stats zeigt: eine Zeile je Namenstyp, für alle\n"
    "Kulturen, für eine Kultur oder für einen ihrer Namenstypen (str oder\n"
    "bytes, verglichen wie bei veltrano-cli). veltrano.Error für eine\n"
    "unbekannte Kultur oder einen unbekannten Namenstyp.";

inline constexpr const char* kStatsDoc =
    "Was ein Namenstyp machen kann, wie veltrano-cli --stats es zeigt.\n"
    "\n"
    "Genau, wo sich die Verbindungen abzählen lassen (so weit, wie unique\n"
    "zählt); sonst bewiesene Schranken, und die Wiederholungen geschätzt.";
inline constexpr const char* kStatsCultureDoc = "Die Kultur, wie das Programm sie zeigt (str).";
inline constexpr const char* kStatsNameTypeDoc = "Der Namenstyp, wie das Programm ihn zeigt (str).";
inline constexpr const char* kStatsPatternsDoc = "Die Muster, die gewählt werden können (int).";
inline constexpr const char* kStatsNamesDoc =
    "Die verschiedenen Namen, der leere mitgezählt: genau als int, wo\n"
    "names_exact; sonst (mindestens, höchstens) als Tupel, höchstens None,\n"
    "wo keine Schranke unter 2**64 bekannt ist.";
inline constexpr const char* kStatsNamesExactDoc = "Ob names genau gezählt ist (bool).";
inline constexpr const char* kStatsRepeatsDoc =
    "Wie viele Namen einer Liste von 99 einen früheren wiederholen, im Mittel\n"
    "(float): genau, wo repeats_exact; sonst geschätzt aus den ersten 100000\n"
    "Namen mit seed 1.";
inline constexpr const char* kStatsRepeatsExactDoc = "Ob repeats_in_99 genau ist (bool).";
inline constexpr const char* kStatsShortestDoc =
    "Die Zeichen des kürzesten Namens, wie gezeigt (int); wo nicht genau\n"
    "zählbar, eine untere Schranke.";
inline constexpr const char* kStatsLongestDoc =
    "Die Zeichen des längsten Namens, wie gezeigt (int); wo nicht genau\n"
    "zählbar, eine obere Schranke.";
inline constexpr const char* kStatsRarestDoc =
    "Die Wahrscheinlichkeit des seltensten Namens je Versuch (float): genau,\n"
    "wo rarest_exact; sonst eine untere Schranke.";
inline constexpr const char* kStatsRarestExactDoc = "Ob rarest genau ist (bool).";
