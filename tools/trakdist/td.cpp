#include "tools/trakdist/td.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/config.h"
#include "common/fe.h"
#include "common/fi.h"
#include "common/mm.h"
#include "common/st.h"
#include "common/sys.h"
#include "common/u8.h"
#include "inst/dsk.h"
#include "inst/ifl.h"
#include "pack/cpy.h"
#include "win/we.h"
#include "zip/zip.h"

static const char SRC[] = "..\\tools\\trakdist\\td";

namespace {

// --- output ------------------------------------------------------------------

FILE *out_stream = nullptr;
FILE *err_stream = nullptr;

FILE *out() { return out_stream ? out_stream : stdout; }
FILE *err() { return err_stream ? err_stream : stderr; }

// Texts of the program are CP1250; the terminal gets UTF-8.
void vprint(FILE *f, const char *format, va_list args)
{
    char text[2048];
    std::vsnprintf(text, sizeof text, format, args);
    std::string utf8 = U8_from_cp1250(text);
    std::fwrite(utf8.data(), 1, utf8.size(), f);
    std::fputc('\n', f);
    std::fflush(f);
}

void say(const char *format, ...) TRK_PRINTF(1, 2);
void say(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vprint(out(), format, args);
    va_end(args);
}

int problems = 0;   // counted by complain and by the library reports

void complain(const char *format, ...) TRK_PRINTF(1, 2);
void complain(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vprint(err(), format, args);
    va_end(args);
    problems++;
}

// The reports of the libraries (file layer, label check, list check) while a
// command runs: printed like the tool's own problems.
int print_report(const WE_REPORT *report)
{
    complain("%s", report->text);
    return 1;   // IDOK: nothing here asks a question
}

// Restores the previous report sink when a command ends.
class REPORTS_TO_STREAM {
public:
    REPORTS_TO_STREAM() : previous_(WE_set_sink(print_report)) {}
    ~REPORTS_TO_STREAM() { WE_set_sink(previous_); }
    REPORTS_TO_STREAM(const REPORTS_TO_STREAM &) = delete;
    REPORTS_TO_STREAM &operator=(const REPORTS_TO_STREAM &) = delete;

private:
    WE_SINK previous_;
};

void usage()
{
    complain("Použití:\n"
             "  trakdist build MANIFEST VÝSTUP [--packed] [--flat] [--disk-size BAJTŮ] [--set N]\n"
             "                 [--user JMÉNO] [--readme SOUBOR] [--installer SOUBOR]...\n"
             "  trakdist list SLOŽKA\n"
             "  trakdist verify SLOŽKA...\n"
             "  trakdist pack VSTUP VÝSTUP\n"
             "  trakdist unpack VSTUP VÝSTUP");
}

// --- names and paths -----------------------------------------------------------

const char SEP[] = "\\";   // suite paths; the native build maps it to "/"

// A name in a folder given by the user; a folder written with "/" goes on
// with "/" (the suite's "\\" would be mapped anyway, but reads oddly).
std::string join(const std::string &directory, const std::string &name)
{
    if (directory.empty())
        return name;   // the current directory
    char last = directory.back();
    if (last == '\\' || last == '/')
        return directory + name;
    bool slash = directory.find('/') != std::string::npos && directory.find('\\') == std::string::npos;
    return directory + (slash ? "/" : SEP) + name;
}

std::string upper(std::string text)
{
    if (!text.empty())
        ST_upper(&text[0]);
    return text;
}

// The last part of a host path.
std::string file_part(const std::string &path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string directory_part(const std::string &path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool absolute(const std::string &path)
{
    return (!path.empty() && (path[0] == '/' || path[0] == '\\')) || (path.size() > 1 && path[1] == ':');
}

// A text given in the encoding of its source (the manifest or the command
// line), as CP1250; 0 when a character has no CP1250 form.
bool to_cp1250(const std::string &text, bool utf8, std::string *result)
{
    if (!utf8) {
        *result = text;
        return true;
    }
    int lossless = 1;
    *result = U8_to_cp1250(text.c_str(), &lossless);
    return lossless == 1;
}

// A path from the manifest in the host's encoding (UTF-8 file names natively,
// the ANSI code page 1250 on Windows).
std::string host_path(const std::string &path, bool utf8)
{
#if TRK_WINDOWS
    return utf8 ? U8_to_cp1250(path.c_str()) : path;
#else
    return utf8 ? path : U8_from_cp1250(path.c_str());
#endif
}

// A name that Windows stores as written: no control characters, none of
// < > " | ? *, and no trailing dot or blank (Windows would drop them).
bool windows_name(const std::string &name)
{
    if (name.empty())
        return false;
    for (unsigned char c : name)
        if (c < 0x20 || std::strchr("<>\"|?*", c))
            return false;
    return name == "." || (name.back() != '.' && name.back() != ' ');
}

// The name of a packed file on the disk: the last character of the extension
// becomes "_" ("TRAKPRN.EXE" -> "TRAKPRN.EX_"); a name without extension gets "._".
std::string packed_name(const std::string &target)
{
    // Names ending with "." are refused before (Windows drops the dot).
    if (target.find('.') == std::string::npos)
        return target + "._";
    return target.substr(0, target.size() - 1) + "_";
}

bool label_like(const std::string &name)
{
    std::string u = upper(name);
    return u.size() == 5 && u[0] >= 'A' && u[0] <= 'Z' && u.compare(1, 4, ".KRV") == 0;
}

// --- build -------------------------------------------------------------------

struct ENTRY {
    int line;                 // in the manifest
    std::string source;       // host path of the file to distribute
    std::string target;       // CP1250
    std::string subdir;       // CP1250, "." for the installation directory
    std::string description;  // CP1250
    std::string disk_name;    // CP1250: the name on the disk
    uint32_t size;            // installed size
    uint32_t disk_bytes;      // what it takes on the disk
    int16_t disk;
};

struct BUILD {
    std::string manifest;
    std::string output;
    bool packed = false;
    bool flat = false;
    uint64_t disk_size = 0;   // 0: no limit
    int16_t set = 1;
    std::string user;         // CP1250
    std::string readme;       // host path or empty
    std::vector<std::string> installers;   // host paths, each onto the first disk
    std::vector<ENTRY> entries;
    int16_t disks = 1;
};

bool number_argument(const char *text, uint64_t low, uint64_t high, uint64_t *value)
{
    if (!text || !*text)
        return false;
    uint64_t v = 0;
    for (const char *p = text; *p; p++) {
        if (*p < '0' || *p > '9' || v > high)
            return false;
        v = v * 10 + static_cast<uint64_t>(*p - '0');
    }
    if (v < low || v > high)
        return false;
    *value = v;
    return true;
}

bool parse_build(int argc, char **argv, BUILD *b)
{
    std::vector<std::string> positional;
    for (int i = 2; i < argc; i++) {
        std::string a = argv[i];
        const char *value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool takes_value = a == "--disk-size" || a == "--set" || a == "--user" || a == "--readme" || a == "--installer";
        if (takes_value && !value) {
            complain("Přepínač %s potřebuje hodnotu", a.c_str());
            return false;
        }
        uint64_t n = 0;
        if (a == "--packed") {
            b->packed = true;
        } else if (a == "--flat") {
            b->flat = true;
        } else if (a == "--disk-size") {
            if (!number_argument(value, 1, 0xFFFFFFFFu, &n)) {
                complain("Chybná hodnota přepínače %s: %s", a.c_str(), value);
                return false;
            }
            b->disk_size = n;
            i++;
        } else if (a == "--set") {
            if (!number_argument(value, 0, 32767, &n)) {
                complain("Chybná hodnota přepínače %s: %s", a.c_str(), value);
                return false;
            }
            b->set = static_cast<int16_t>(n);
            i++;
        } else if (a == "--user") {
            // UTF-8 from a UTF-8 terminal, else the ANSI code page 1250.
            std::string user;
            bool utf8 = U8_is_utf8(value, std::strlen(value)) == 1;
            if (!to_cp1250(value, utf8, &user)) {
                complain("Jméno uživatele obsahuje znak, který kódová stránka 1250 nemá");
                return false;
            }
            if (user.size() > IFL_TEXT_MAX) {
                complain("Jméno uživatele je delší než %d znaků", IFL_TEXT_MAX);
                return false;
            }
            b->user = user;
            i++;
        } else if (a == "--readme") {
            b->readme = value;
            i++;
        } else if (a == "--installer") {
            b->installers.push_back(value);
            i++;
        } else if (a.size() > 1 && a[0] == '-') {
            complain("Neznámý přepínač %s", a.c_str());
            return false;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) {
        usage();
        return false;
    }
    b->manifest = positional[0];
    b->output = positional[1];
    return true;
}

bool read_file(const std::string &path, std::string *bytes)
{
    FILE *f = SYS_fopen(path.c_str(), "rb");
    if (!f)
        return false;
    char piece[65536];
    size_t n;
    bytes->clear();
    while ((n = std::fread(piece, 1, sizeof piece, f)) > 0)
        bytes->append(piece, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

// Splits a manifest line at its tabs.
std::vector<std::string> fields_of(const std::string &line)
{
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == '\t')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// Reads and checks every line of the manifest; nothing is written.
bool read_manifest(BUILD *b)
{
    std::string text;
    if (!read_file(b->manifest, &text)) {
        complain("Manifest %s nelze přečíst", b->manifest.c_str());
        return false;
    }
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    bool utf8 = U8_is_utf8(text.data(), text.size()) == 1;
    std::string folder = directory_part(b->manifest);
    int before = problems;
    // The lines so far of each installed path (subdirectory, name; upper case).
    std::map<std::pair<std::string, std::string>, std::vector<int>> installed_paths;
    // The names the installers take on the first disk (upper case).
    std::set<std::string> installer_names;
    for (const std::string &installer : b->installers)
        if (!installer_names.insert(upper(file_part(installer))).second)
            complain("Instalační program %s je uveden dvakrát", file_part(installer).c_str());
    size_t start = 0;
    for (int number = 1; start < text.size(); number++) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find_first_not_of(' ') == std::string::npos || line[0] == '#')
            continue;
        const char *m = b->manifest.c_str();
        std::vector<std::string> f = fields_of(line);
        if (f.size() != 4) {
            complain("%s, řádek %d: čekají se čtyři pole oddělená tabulátorem (soubor, cílový název, "
                     "podadresář, popis)", m, number);
            continue;
        }
        ENTRY e{};
        e.line = number;
        e.source = host_path(f[0], utf8);
        if (!absolute(e.source))
            e.source = join(folder, e.source);
        if (!to_cp1250(f[1], utf8, &e.target) || !to_cp1250(f[2], utf8, &e.subdir) ||
            !to_cp1250(f[3], utf8, &e.description)) {
            complain("%s, řádek %d: text obsahuje znak, který kódová stránka 1250 nemá", m, number);
            continue;
        }
        if (e.target.size() > IFL_NAME_MAX) {
            complain("%s, řádek %d: cílový název \"%s\" je delší než %d znaků", m, number, e.target.c_str(),
                     IFL_NAME_MAX);
            continue;
        }
        if (!IFL_safe_name(e.target.c_str(), 0) || !windows_name(e.target)) {
            complain("%s, řádek %d: nepřípustný cílový název \"%s\"", m, number, e.target.c_str());
            continue;
        }
        if (e.subdir.size() > IFL_NAME_MAX) {
            complain("%s, řádek %d: podadresář \"%s\" je delší než %d znaků", m, number, e.subdir.c_str(),
                     IFL_NAME_MAX);
            continue;
        }
        if (!IFL_safe_name(e.subdir.c_str(), 1) || !windows_name(e.subdir)) {
            complain("%s, řádek %d: nepřípustný podadresář \"%s\" (jedno jméno složky, nebo \".\")", m, number,
                     e.subdir.c_str());
            continue;
        }
        if (e.description.size() > IFL_TEXT_MAX) {
            complain("%s, řádek %d: popis je delší než %d znaků", m, number, IFL_TEXT_MAX);
            continue;
        }
        // The engine writes these into the installation directory itself.
        std::string u = upper(e.target);
        if (e.subdir == "." && (u == "UNINST.LST" || u == "INST.LST" || u == IFL_LIST_NAME)) {
            complain("%s, řádek %d: název \"%s\" v instalačním adresáři je vyhrazen instalátoru", m, number,
                     e.target.c_str());
            continue;
        }
        e.disk_name = b->packed ? packed_name(e.target) : e.target;
        if (e.disk_name.size() > IFL_NAME_MAX) {
            complain("%s, řádek %d: název na disketě \"%s\" je delší než %d znaků", m, number, e.disk_name.c_str(),
                     IFL_NAME_MAX);
            continue;
        }
        if (b->packed && upper(e.disk_name) == u) {
            complain("%s, řádek %d: název na disketě \"%s\" se musí lišit od cílového názvu (přípona končí \"_\")",
                     m, number, e.disk_name.c_str());
            continue;
        }
        std::string d = upper(e.disk_name);
        if (d == IFL_LIST_NAME || d == "README.TXT" || label_like(d) || installer_names.count(d)) {
            complain("%s, řádek %d: název na disketě \"%s\" je vyhrazen distribuci", m, number,
                     e.disk_name.c_str());
            continue;
        }
        std::vector<int> &earlier = installed_paths[{upper(e.subdir), u}];
        for (int other : earlier)
            complain("%s, řádek %d: stejné cílové umístění %s\\%s jako řádek %d", m, number, e.subdir.c_str(),
                     e.target.c_str(), other);
        earlier.push_back(number);
        b->entries.push_back(e);
    }
    if (b->entries.size() > 65535)
        complain("Manifest %s obsahuje víc než 65535 souborů", b->manifest.c_str());
    return problems == before;
}

// The size of a file; false when it is not there (or not a readable file).
bool size_of(const std::string &path, uint32_t *size)
{
    return FE_file_size(path.c_str(), size) == 1;
}

std::string label_text(int16_t disk, const BUILD &b)
{
    char text[256];
    std::snprintf(text, sizeof text, "%s %d\n%s %d\n%s %s\n", DSK_KEY_DISK, disk + 1, DSK_KEY_SET, b.set,
                  DSK_KEY_USER, b.user.c_str());
    return text;
}

// Bytes of the label file on a disk (lines end with CR LF).
uint64_t label_bytes(int16_t disk, const BUILD &b)
{
    std::string t = label_text(disk, b);
    uint64_t lines = 0;
    for (char c : t)
        lines += c == '\n';
    return t.size() + lines;
}

// Sizes of every file (packed: compressed once to learn the size on the
// disk), then the disks, in manifest order, without passing the disk size.
bool plan(BUILD *b)
{
    int before = problems;
    uint64_t first_disk = static_cast<uint64_t>(IFL_HEADER_SIZE) + static_cast<uint64_t>(IFL_RECORD_SIZE) * b->entries.size();
    uint32_t extra = 0;
    if (!b->readme.empty()) {
        if (!size_of(b->readme, &extra))
            complain("Soubor %s neexistuje", b->readme.c_str());
        first_disk += extra;
    }
    for (const std::string &installer : b->installers) {
        if (!size_of(installer, &extra))
            complain("Soubor %s neexistuje", installer.c_str());
        first_disk += extra;
    }
    C_ZIP zip;
    zip.set_level(9);
    for (ENTRY &e : b->entries) {
        if (!size_of(e.source, &e.size)) {
            complain("%s, řádek %d: soubor %s neexistuje", b->manifest.c_str(), e.line, e.source.c_str());
            continue;
        }
        e.disk_bytes = e.size;
        if (b->packed) {
            uint8_t *packed = nullptr;
            int32_t length = 0;
            if (!zip.compress_file_to_buffer(e.source.c_str(), &packed, &length)) {
                complain("%s: %s", e.source.c_str(), ZIP_error_text(zip.last_error()));
                continue;
            }
            MM_free(packed, SRC, __LINE__);
            e.disk_bytes = static_cast<uint32_t>(length);
        }
    }
    if (problems != before)
        return false;
    int16_t disk = 0;
    uint64_t used = first_disk + label_bytes(0, *b);
    if (b->disk_size && used > b->disk_size) {
        complain("Seznam, štítek a další soubory první diskety (%llu B) jsou větší než disketa (%llu B)",
                 static_cast<unsigned long long>(used), static_cast<unsigned long long>(b->disk_size));
        return false;
    }
    for (ENTRY &e : b->entries) {
        if (b->disk_size && used + e.disk_bytes > b->disk_size) {
            uint64_t empty = label_bytes(static_cast<int16_t>(disk + 1), *b);
            if (empty + e.disk_bytes > b->disk_size) {
                complain("%s, řádek %d: soubor %s (%u B) je větší než disketa (%llu B)", b->manifest.c_str(), e.line,
                         e.source.c_str(), e.disk_bytes, static_cast<unsigned long long>(b->disk_size));
                return false;
            }
            disk++;
            used = empty;
            if (disk >= IFL_DISKS_MAX) {
                complain("Distribuce by potřebovala víc než %d disket", IFL_DISKS_MAX);
                return false;
            }
        }
        e.disk = disk;
        used += e.disk_bytes;
    }
    b->disks = static_cast<int16_t>(disk + 1);
    // Two files of one folder may not share a name: each disk is a folder, a
    // flat distribution is one folder for all. The lines so far of each name
    // in its folder (disk, or 0 when flat; upper case).
    std::map<std::pair<int16_t, std::string>, std::vector<int>> disk_names;
    for (const ENTRY &a : b->entries) {
        std::vector<int> &earlier = disk_names[{b->flat ? int16_t{0} : a.disk, upper(a.disk_name)}];
        for (int other : earlier)
            complain("%s, řádek %d: název na disketě \"%s\" má už řádek %d", b->manifest.c_str(), a.line,
                     a.disk_name.c_str(), other);
        earlier.push_back(a.line);
    }
    return problems == before;
}

std::string disk_folder(const BUILD &b, int16_t disk)
{
    if (b.flat)
        return b.output;
    return join(b.output, "DISK" + std::to_string(disk + 1));
}

bool write_list(const BUILD &b)
{
    IFL_state s{};
    ST_copy(s.user_name, b.user.c_str(), IFL_TEXT_MAX);
    s.record_count = static_cast<uint16_t>(b.entries.size());
    s.set_number = b.set;
    s.packed = b.packed ? 1 : 0;
    std::string path = join(disk_folder(b, 0), IFL_LIST_NAME);
    C_FILE *file = nullptr;
    if (!FI_create(&file, path.c_str()))
        return false;
    bool ok = FI_open(file, FI_BIN_CREATE) == 1;
    uint8_t header[IFL_HEADER_SIZE];
    IFL_encode_header(&s, header);
    ok = ok && FI_write(file, header, IFL_HEADER_SIZE);
    for (const ENTRY &e : b.entries) {
        if (!ok)
            break;
        ST_copy(s.target_name, e.target.c_str(), IFL_NAME_MAX);
        ST_copy(s.source_name, e.disk_name.c_str(), IFL_NAME_MAX);
        ST_copy(s.target_subdir, e.subdir.c_str(), IFL_NAME_MAX);
        ST_copy(s.description, e.description.c_str(), IFL_TEXT_MAX);
        s.size = e.size;
        s.disk_index = e.disk;
        uint8_t record[IFL_RECORD_SIZE];
        IFL_encode_record(&s, record);
        ok = FI_write(file, record, IFL_RECORD_SIZE) == 1;
    }
    if (file->mode != FI_CLOSED)
        ok = FI_close(file, ok ? 0 : 1) == 1 && ok;
    FI_destroy(&file);
    return ok;
}

bool write_label(const BUILD &b, int16_t disk)
{
    char name[8];
    DSK_label_name(disk, name);
    std::string path = join(disk_folder(b, disk), name);
    std::string text = label_text(disk, b);
    C_FILE *file = nullptr;
    if (!FI_create(&file, path.c_str()))
        return false;
    bool ok = FI_open(file, FI_TEXT_CREATE) == 1;
    size_t start = 0;
    while (ok && start < text.size()) {
        size_t end = text.find('\n', start);
        ok = FI_write_text(file, text.substr(start, end - start).c_str()) == 1;
        start = end + 1;
    }
    if (file->mode != FI_CLOSED)
        ok = FI_close(file, ok ? 0 : 1) == 1 && ok;
    FI_destroy(&file);
    return ok;
}

bool write_distribution(const BUILD &b)
{
    for (int16_t disk = 0; disk < b.disks; disk++) {
        std::string folder = disk_folder(b, disk);
        if (!FE_make_path(folder.c_str())) {
            complain("Složku %s nelze vytvořit", folder.c_str());
            return false;
        }
        if (!write_label(b, disk))
            return false;
    }
    std::string first = disk_folder(b, 0);
    if (!write_list(b))
        return false;
    if (!b.readme.empty() && !CPY_copy_file(b.readme.c_str(), join(first, "README.TXT").c_str()))
        return false;
    for (const std::string &installer : b.installers)
        if (!CPY_copy_file(installer.c_str(), join(first, file_part(installer)).c_str()))
            return false;
    C_ZIP zip;
    zip.set_level(9);
    for (const ENTRY &e : b.entries) {
        std::string path = join(disk_folder(b, e.disk), e.disk_name);
        if (b.packed) {
            if (!zip.compress_file(e.source.c_str(), path.c_str())) {
                complain("%s: %s", e.source.c_str(), ZIP_error_text(zip.last_error()));
                return false;
            }
        } else if (!CPY_copy_file(e.source.c_str(), path.c_str())) {
            return false;
        }
    }
    return true;
}

int build(int argc, char **argv)
{
    BUILD b;
    if (!parse_build(argc, argv, &b))
        return 2;
    if (!read_manifest(&b) || !plan(&b)) {
        complain("Distribuce nebyla vytvořena");
        return 1;
    }
    std::string first = disk_folder(b, 0);
    if (FE_exists(join(first, IFL_LIST_NAME).c_str()) || FE_exists(join(b.output, "DISK1").c_str())) {
        complain("Ve složce %s už distribuce je; zvolte jinou nebo ji nejdřív smažte", b.output.c_str());
        return 1;
    }
    if (!write_distribution(b)) {
        complain("Distribuce nebyla vytvořena celá");
        return 1;
    }
    say("Distribuce %s: souborů %u, disket %d%s%s", b.output.c_str(), static_cast<unsigned>(b.entries.size()),
        b.disks, b.packed ? ", komprimovaná" : "", b.flat ? ", v jedné složce" : "");
    return 0;
}

// --- list and verify -----------------------------------------------------------

// Opens the list of a folder into a new state; null after a message.
IFL_state *open_list(const std::string &folder)
{
    IFL_state *s = nullptr;
    if (!IFL_create(&s))
        return nullptr;
    std::string path = join(folder, IFL_LIST_NAME);
    if (!IFL_open_list(s, path.c_str()) || !IFL_read_header(s)) {
        complain("Seznam %s nelze přečíst", path.c_str());
        IFL_destroy(&s);
    }
    return s;
}

int list(int argc, char **argv)
{
    if (argc != 3) {
        usage();
        return 2;
    }
    IFL_state *s = open_list(argv[2]);
    if (!s)
        return 1;
    say("Uživatel: %s", s->user_name);
    say("Série: %d   Komprimovaná: %s   Záznamů: %u", s->set_number, s->packed ? "ano" : "ne",
        static_cast<unsigned>(s->record_count));
    say("%5s  %-16s  %-16s  %-16s  %10s  %6s  %s", "číslo", "cílový název", "na disketě", "podadresář", "velikost",
        "disketa", "popis");
    while (IFL_next_record(s))
        say("%5u  %-16s  %-16s  %-16s  %10lu  %6d  %s", static_cast<unsigned>(s->records_read), s->target_name,
            s->source_name, s->target_subdir, static_cast<unsigned long>(s->size), s->disk_index + 1, s->description);
    int result = s->records_read == s->record_count ? 0 : 1;
    IFL_destroy(&s);
    return result;
}

struct RECORD {
    unsigned number;
    std::string target;
    std::string source;
    uint32_t size;
    int16_t disk;
};

int verify(int argc, char **argv)
{
    if (argc < 3) {
        usage();
        return 2;
    }
    std::vector<std::string> folders(argv + 2, argv + argc);
    IFL_state *s = open_list(folders[0]);
    if (!s)
        return 1;
    std::vector<RECORD> records;
    int16_t last_disk = 0;
    while (IFL_next_record(s)) {
        if (!IFL_check_record(s))
            continue;
        records.push_back({s->records_read, s->target_name, s->source_name, s->size, s->disk_index});
        if (s->disk_index > last_disk)
            last_disk = s->disk_index;
    }
    if (s->records_read != s->record_count)
        complain("Seznam má jen %u z %u záznamů", static_cast<unsigned>(s->records_read),
                 static_cast<unsigned>(s->record_count));
    // One folder is a flat distribution when it holds every disk: a set of one
    // disk, or one with the label of the second disk beside the first.
    bool flat = folders.size() == 1 && (last_disk == 0 || FE_exists(join(folders[0], "B.KRV").c_str()));
    int16_t disks = flat ? static_cast<int16_t>(last_disk + 1) : static_cast<int16_t>(folders.size());
    if (!flat && last_disk >= disks)
        complain("Počet disket podle seznamu: %d, zadaných složek: %d", last_disk + 1, disks);
    for (int16_t disk = 0; disk < disks && disk < IFL_DISKS_MAX; disk++) {
        std::string folder = flat ? folders[0] : folders[disk];
        if (folder.size() + 1 > IFL_PATH_MAX) {
            complain("Cesta %s je příliš dlouhá", folder.c_str());
            continue;
        }
        ST_copy(s->source_dir, join(folder, "").c_str(), IFL_PATH_MAX);
        DSK_disk_index = disk;
        if (!DSK_check_label(s))
            complain("Disketa %d (%s): štítek nesouhlasí se seznamem", disk + 1, folder.c_str());
    }
    C_ZIP zip;
    for (const RECORD &r : records) {
        if (!flat && r.disk >= static_cast<int16_t>(folders.size()))
            continue;   // reported above
        std::string path = join(flat ? folders[0] : folders[r.disk], r.source);
        uint32_t size = 0;
        if (!size_of(path, &size)) {
            complain("Záznam %u: soubor %s chybí na disketě %d", r.number, r.source.c_str(), r.disk + 1);
            continue;
        }
        if (!s->packed) {
            if (size != r.size)
                complain("Záznam %u: soubor %s má %lu B, seznam uvádí %lu B", r.number, r.source.c_str(),
                         static_cast<unsigned long>(size), static_cast<unsigned long>(r.size));
            continue;
        }
        if (upper(r.source) == upper(r.target))
            complain("Záznam %u: komprimovaný soubor %s má stejný název jako cílový soubor", r.number,
                     r.source.c_str());
        if (!zip.measure_file(path.c_str(), &size))
            complain("Záznam %u: soubor %s: %s", r.number, r.source.c_str(), ZIP_error_text(zip.last_error()));
        else if (size != r.size)
            complain("Záznam %u: soubor %s se rozbalí na %lu B, seznam uvádí %lu B", r.number, r.source.c_str(),
                     static_cast<unsigned long>(size), static_cast<unsigned long>(r.size));
    }
    IFL_destroy(&s);
    if (problems) {
        complain("Nalezené problémy: %d", problems);
        return 1;
    }
    say("Distribuce je v pořádku: souborů %u, disket %d", static_cast<unsigned>(records.size()), disks);
    return 0;
}

// --- single files ------------------------------------------------------------------

int pack(int argc, char **argv, bool packing)
{
    if (argc != 4) {
        usage();
        return 2;
    }
    C_ZIP zip;
    zip.set_level(9);
    int16_t ok = packing ? zip.compress_file(argv[2], argv[3]) : zip.decompress_file(argv[2], argv[3]);
    if (!ok) {
        complain("%s: %s", argv[2], ZIP_error_text(zip.last_error()));
        return 1;
    }
    return 0;
}

}  // namespace

void TD_set_streams(FILE *out, FILE *err)
{
    out_stream = out;
    err_stream = err;
}

int TD_main(int argc, char **argv)
{
    REPORTS_TO_STREAM reports;
    problems = 0;
    std::string command = argc > 1 && argv[1] ? argv[1] : "";
    if (command == "build")
        return build(argc, argv);
    if (command == "list")
        return list(argc, argv);
    if (command == "verify")
        return verify(argc, argv);
    if (command == "pack" || command == "unpack")
        return pack(argc, argv, command == "pack");
    if (!command.empty() && command != "--help" && command != "-h")
        complain("Neznámý příkaz %s", command.c_str());
    usage();
    return 2;
}
