#include "tools/wco/wcot.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/co.h"
#include "common/config.h"
#include "common/fe.h"
#include "common/st.h"
#include "common/u8.h"
#include "swin/wco.h"
#include "util/voc.h"
#include "win/we.h"

#if TRK_WINDOWS
#include <windows.h>
#endif

namespace {

const char USAGE[] =
    "Použití:\n"
    "  wco defaults SOUBOR                 zapíše výchozí systémovou konfiguraci\n"
    "  wco get SOUBOR SEKCE KLÍČ           vypíše uloženou hodnotu\n"
    "  wco set SOUBOR SEKCE KLÍČ HODNOTA   nastaví hodnotu\n"
    "  wco check SOUBOR                    vypíše, co čtení souboru vynechá nebo zkrátí\n"
    "  wco format SOUBOR                   přepíše soubor do normálního tvaru";

// Where the error reports of the libraries go while the tool runs. The
// internal-error reports of reading and setting are left out: the tool tells
// about those lines and keys itself, with their numbers and names.
FILE *report_stream = nullptr;
bool own_words = false;

int tool_sink(const WE_REPORT *report)
{
    if (own_words && report->kind == WE_KIND_INTERNAL)
        return 1;
    std::fprintf(report_stream, "wco: %s\n", U8_from_cp1250(report->text).c_str());
    return 1;
}

// A formatted CP1250 line, written as UTF-8.
void say(FILE *stream, const char *format, ...) TRK_PRINTF(2, 3);
void say(FILE *stream, const char *format, ...)
{
    char text[2400];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::fprintf(stream, "%s\n", U8_from_cp1250(text).c_str());
}

// An argument as CP1250: a UTF-8 terminal gives UTF-8, a Windows console the
// ANSI code page.
std::string cp1250_argument(const char *argument)
{
    if (U8_is_utf8(argument, std::strlen(argument)))
        return U8_to_cp1250(argument);
    return argument;
}

// ---- What the reader drops or cuts, and CO_ values that do not read ----

struct FINDING {
    int32_t line;
    std::string text;   // CP1250
};

struct FINDINGS {
    std::vector<FINDING> list;
    std::map<std::pair<std::string, std::string>, int32_t> entries;   // (section, key): its last line
    std::map<std::string, int32_t> sections;                            // section: its first marker line

    void add(int32_t line, const char *format, ...) TRK_PRINTF(3, 4);
};

void FINDINGS::add(int32_t line, const char *format, ...)
{
    char text[2400];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    list.push_back({line, text});
}

const char *shown(const char *text)
{
    return text ? text : "";
}

void observe(void *context, const WCO_LINE_NOTE *note)
{
    FINDINGS &found = *static_cast<FINDINGS *>(context);
    const char *section = shown(note->section);
    const char *key = shown(note->key);
    switch (note->event) {
    case WCO_LINE_SECTION:
        found.sections.emplace(section, note->line);
        break;
    case WCO_LINE_ENTRY: {
        auto where = found.entries.find({section, key});
        if (where != found.entries.end()) {
            found.add(where->second, "klíč %s v sekci %s se opakuje na řádku %d, platí poslední hodnota", key,
                      section, note->line);
            where->second = note->line;
        } else {
            found.entries.emplace(std::make_pair(std::string(section), std::string(key)), note->line);
        }
        break;
    }
    case WCO_LINE_IGNORED:
        if (note->line != 1 || std::strcmp(shown(note->text), WCO_HEADER) != 0)
            found.add(note->line, "řádek „%s“ není značkou sekce ani položkou, vynechává se", shown(note->text));
        break;
    case WCO_LINE_NO_KEY:
        found.add(note->line, "položka bez platného klíče („%s“), vynechává se", key);
        break;
    case WCO_LINE_OUTSIDE:
        found.add(note->line, "položka %s mimo sekci, vynechává se", key);
        break;
    case WCO_LINE_NO_NAME:
        found.add(note->line, "značka sekce bez jména, položky za ní se vynechávají");
        break;
    case WCO_LINE_NAME_CUT:
        found.add(note->line, "jméno sekce %s je delší než %d znaků, zkracuje se", section, WCO_NAME_MAX);
        break;
    case WCO_LINE_KEY_CUT:
        found.add(note->line, "klíč %s je delší než %d znaků, zkracuje se", key, WCO_NAME_MAX);
        break;
    case WCO_LINE_VALUE_CUT:
        found.add(note->line, "hodnota klíče %s je delší než %d znaků, zkracuje se", key, WCO_VALUE_MAX);
        break;
    case WCO_LINE_LINE_CUT:
        found.add(note->line, "řádek je delší než %d znaků nebo obsahuje nulový znak, zbytek se ztrácí",
                  WCO_BUFFER_MAX);
        break;
    case WCO_LINE_NO_MEMORY:
        found.add(note->line, "málo paměti, čtení zde končí");
        break;
    }
}

// Sections that did not survive the read, and obsolete keys.
void find_removed(WCO_file *store, FINDINGS &found)
{
    for (const auto &section : found.sections)
        if (!WCO_has_section(store, section.first.c_str()))
            found.add(section.second, "sekce %s nemá žádnou položku, vynechává se", section.first.c_str());
    for (const WCO_KEY_REF *pair = WCO_obsolete_keys; pair->section; pair++) {
        auto where = found.entries.find({pair->section, pair->key});
        if (where != found.entries.end())
            found.add(where->second, "zastaralý klíč %s v sekci %s se odstraňuje", pair->key, pair->section);
    }
}

const char *kind_name(CO_KIND kind)
{
    switch (kind) {
    case CO_TEXT: return "text";
    case CO_INT32: return "celé číslo";
    case CO_INT16: return "krátké celé číslo";
    case CO_REAL: return "reálné číslo";
    case CO_DOUBLE: return "reálné číslo";
    case CO_REAL_PAIR: return "dvojici reálných čísel";
    case CO_REAL_QUAD: return "čtveřici reálných čísel";
    case CO_YES: return "Ano/Ne";
    case CO_COLOUR: return "barvu";
    case CO_DRAW_MODE: return "režim kreslení";
    case CO_CODE_PAGE: return "kódovou stránku";
    case CO_UNIT: return "jednotku délky";
    case CO_CURSOR: return "kurzor";
    case CO_KEY_CODE: return "klávesu";
    }
    return "?";
}

// The name kinds whose reader takes only known names: the name the value
// reads as when it names nothing the reader knows, else null. (The other
// name kinds read any text by its letters.)
const char *unknown_name(CO_KIND kind, const char *value)
{
    switch (kind) {
    case CO_COLOUR:
        return VOC_parse_colour(value) == 15 && !ST_equal_words(value, VOC_colour_name(15)) ? VOC_colour_name(15)
                                                                                            : nullptr;
    case CO_CURSOR:
        return VOC_parse_cursor(value) == 0 && std::strcmp(value, VOC_cursor_name(0)) != 0 ? VOC_cursor_name(0)
                                                                                           : nullptr;
    case CO_KEY_CODE:
        return VOC_parse_key(value) == 0 && std::strcmp(value, VOC_key_name(0)) != 0 ? VOC_key_name(0) : nullptr;
    default:
        return nullptr;
    }
}

void find_bad_values(WCO_file *store, FINDINGS &found)
{
    CO_CONFIG scratch;
    for (const CO_KEY &key : CO_keys) {
        auto where = found.entries.find({key.section, key.key});
        const char *value = WCO_get_text_ref(store, key.section, key.key);
        if (where == found.entries.end() || !value)
            continue;
        if (!CO_get_key(store, &key, &scratch)) {
            found.add(where->second, "hodnotu „%s“ klíče %s nelze přečíst jako %s", value, key.key,
                      kind_name(key.kind));
            continue;
        }
        const char *taken = unknown_name(key.kind, value);
        if (taken)
            found.add(where->second, "hodnota „%s“ klíče %s není známé jméno pro %s, čte se jako „%s“", value, key.key,
                      kind_name(key.kind), taken);
    }
}

void print_findings(FILE *stream, const char *path, FINDINGS &found)
{
    std::stable_sort(found.list.begin(), found.list.end(),
                     [](const FINDING &a, const FINDING &b) { return a.line < b.line; });
    for (const FINDING &finding : found.list)
        say(stream, "%s:%d: %s", path, finding.line, finding.text.c_str());
}

// ---- Files ----

// Loads the file into the store; the status for a failure, else WCOT_OK.
int load(FILE *err, WCO_file *store, const char *path, FINDINGS *found)
{
    if (!FE_exists(path)) {
        say(err, "wco: soubor %s neexistuje", path);
        return WCOT_FAILED;
    }
    if (FE_dir_exists(path)) {
        say(err, "wco: %s je adresář, ne soubor", path);
        return WCOT_FAILED;
    }
    own_words = true;
    const int16_t loaded = WCO_load_observed(store, path, found ? observe : nullptr, found);
    own_words = false;
    if (!loaded) {
        say(err, "wco: soubor %s nelze přečíst", path);
        return WCOT_FAILED;
    }
    if (found)
        find_removed(store, *found);
    return WCOT_OK;
}

bool replace_file(const char *temporary, const char *path)
{
#if TRK_WINDOWS
    return MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return FE_rename(temporary, path) != 0;
#endif
}

// Writes the whole store into a temporary file beside the target and puts it
// in the target's place, so that the target is never half-written.
int write_replacing(FILE *err, WCO_file *store, const char *path)
{
    const std::string temporary = std::string(path) + ".$$$";
    if (temporary.size() > WCO_PATH_MAX) {
        say(err, "wco: cesta %s je příliš dlouhá", path);
        return WCOT_FAILED;
    }
    if (!WCO_save_forced(store, temporary.c_str())) {
        FE_remove(temporary.c_str());
        say(err, "wco: soubor %s nelze zapsat", path);
        return WCOT_FAILED;
    }
    if (!replace_file(temporary.c_str(), path)) {
        FE_remove(temporary.c_str());
        say(err, "wco: soubor %s nelze nahradit novým obsahem", path);
        return WCOT_FAILED;
    }
    return WCOT_OK;
}

// ---- Commands ----

int command_defaults(FILE *err, const char *path)
{
    WCO_file *store = WCO_system_store();
    if (!store)
        return WCOT_FAILED;
    while (store->count > 0)
        WCO_remove_section(store, store->sections[store->count - 1].name);
    CO_CONFIG record;
    CO_load_or_default(&record);
    return write_replacing(err, store, path);
}

int command_get(FILE *out, FILE *err, WCO_file *store, const char *path, const char *section, const char *key)
{
    const int loaded = load(err, store, path, nullptr);
    if (loaded != WCOT_OK)
        return loaded;
    const std::string name = cp1250_argument(section);
    const std::string wanted = cp1250_argument(key);
    if (!WCO_has_section(store, name.c_str())) {
        say(err, "wco: sekce %s v souboru %s není", name.c_str(), path);
        return WCOT_FOUND_NOTHING;
    }
    const char *value = WCO_get_text_ref(store, name.c_str(), wanted.c_str());
    if (!value) {
        say(err, "wco: klíč %s v sekci %s není", wanted.c_str(), name.c_str());
        return WCOT_FOUND_NOTHING;
    }
    say(out, "%s", value);
    return WCOT_OK;
}

int command_set(FILE *err, WCO_file *store, const char *path, const char *section, const char *key,
                const char *value)
{
    FINDINGS found;
    const int loaded = load(err, store, path, &found);
    if (loaded != WCOT_OK)
        return loaded;
    print_findings(err, path, found);
    const std::string name = cp1250_argument(section);
    const std::string wanted = cp1250_argument(key);
    const std::string text = cp1250_argument(value);
    own_words = true;
    const int16_t set = WCO_set_text(store, name.c_str(), wanted.c_str(), text.c_str());
    own_words = false;
    if (!set) {
        say(err, "wco: klíč %s nelze uložit do sekce %s", wanted.c_str(), name.c_str());
        return WCOT_FAILED;
    }
    if (!WCO_save_needed(store, nullptr))
        return WCOT_OK;
    return write_replacing(err, store, path);
}

int command_check(FILE *out, FILE *err, WCO_file *store, const char *path)
{
    FINDINGS found;
    const int loaded = load(err, store, path, &found);
    if (loaded != WCOT_OK)
        return loaded;
    find_bad_values(store, found);
    print_findings(out, path, found);
    return found.list.empty() ? WCOT_OK : WCOT_FOUND_NOTHING;
}

int command_format(FILE *err, WCO_file *store, const char *path)
{
    FINDINGS found;
    const int loaded = load(err, store, path, &found);
    if (loaded != WCOT_OK)
        return loaded;
    print_findings(err, path, found);
    return write_replacing(err, store, path);
}

int usage(FILE *err)
{
    say(err, "%s", USAGE);
    return WCOT_FAILED;
}

int run_command(int argc, char **argv, FILE *out, FILE *err)
{
    if (argc < 3)
        return usage(err);
    const std::string command = argv[1];
    const char *path = argv[2];
    if (command == "defaults" && argc == 3)
        return command_defaults(err, path);
    const bool known = (command == "get" && argc == 5) || (command == "set" && argc == 6) ||
                       (command == "check" && argc == 3) || (command == "format" && argc == 3);
    if (!known)
        return usage(err);
    WCO_file *store = nullptr;
    if (!WCO_create(&store))
        return WCOT_FAILED;
    int status = WCOT_FAILED;
    if (command == "get")
        status = command_get(out, err, store, path, argv[3], argv[4]);
    else if (command == "set")
        status = command_set(err, store, path, argv[3], argv[4], argv[5]);
    else if (command == "check")
        status = command_check(out, err, store, path);
    else
        status = command_format(err, store, path);
    WCO_destroy(&store);
    return status;
}

}  // namespace

int WCOT_run(int argc, char **argv, FILE *out, FILE *err)
{
    if (!argv || !out || !err)
        return WCOT_FAILED;
    report_stream = err;
    const WE_SINK previous = WE_set_sink(tool_sink);
    const int status = run_command(argc, argv, out, err);
    WE_set_sink(previous);
    std::fflush(out);
    std::fflush(err);
    return status;
}

int WCOT_main(int argc, char **argv)
{
#if TRK_WINDOWS
    // The messages are UTF-8, as on every other terminal.
    SetConsoleOutputCP(CP_UTF8);
#endif
    return WCOT_run(argc, argv, stdout, stderr);
}
