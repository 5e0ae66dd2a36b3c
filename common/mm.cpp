#include "common/mm.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/fi.h"
#include "common/sys.h"
#include "common/sysclock.h"
#include "win/we.h"

static const char SRC[] = "..\\common\\mm";

namespace {

const int GUARD_WORDS = 100;
const int GUARD_BYTES = GUARD_WORDS * 4;
const int WATCH_SLOTS = 100;
const int RECORD_SIZE = 38;
const int TEXT_RECORD_SIZE = 210;
const int TEXT_SIZE = 200;
const int NAME_SIZE = 14;

enum KIND : uint16_t { K_LOG = 1, K_BEGIN, K_END, K_ALLOC_RAW, K_ALLOC, K_FREE, K_NEW, K_DELETE_CHECK };

// The current record, kept between operations: the count field of kind 5
// stays in it for the records that follow.
struct RECORD {
    uint16_t kind = 0;
    uint32_t address = 0;
    uint32_t size = 0;
    uint32_t count = 0;
    uint32_t sequence = 0;
    char name[NAME_SIZE] = {};
    uint32_t line = 0;
    uint16_t error = 0;
};

struct STATE {
    int16_t ordinary = 1;
    int16_t started = 0;
    FILE *file = nullptr;
    uint32_t sequence = 0;
    uint32_t trigger = 0xFFFFFFFFu;
    void *watch[WATCH_SLOTS] = {};
    RECORD record;
    std::string arguments;
    // Blocks handed out with guards and their real user sizes; a block taken
    // in the ordinary mode is given back plainly even while statistics run.
    std::unordered_map<void *, uint32_t> guarded;
};

STATE &mm()
{
    static STATE *state = new STATE;   // lives to the very end of the process
    return *state;
}

void put16(unsigned char *p, uint16_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

void put32(unsigned char *p, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

uint32_t get32(const unsigned char *p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The file holds 32 bits of an address: the low half on a 64-bit build.
uint32_t address_field(const void *p)
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p));
}

void write_record(const RECORD &r)
{
    if (!mm().file)
        return;
    unsigned char b[RECORD_SIZE] = {};
    put16(b, r.kind);
    put32(b + 2, r.address);
    put32(b + 6, r.size);
    put32(b + 10, r.count);
    put32(b + 14, r.sequence);
    std::memcpy(b + 18, r.name, NAME_SIZE);
    put32(b + 32, r.line);
    put16(b + 36, r.error);
    std::fwrite(b, 1, sizeof b, mm().file);
}

void write_text_record(const char *text)
{
    if (!mm().file)
        return;
    unsigned char b[TEXT_RECORD_SIZE] = {};
    const SYS_TIME now = SYS_clock(false);
    put32(b, static_cast<uint32_t>(now.year));
    b[4] = static_cast<unsigned char>(now.day);
    b[5] = static_cast<unsigned char>(now.month);
    b[6] = static_cast<unsigned char>(now.minute);
    b[7] = static_cast<unsigned char>(now.hour);
    b[8] = static_cast<unsigned char>(now.millisecond / 10);
    b[9] = static_cast<unsigned char>(now.second);
    std::strncpy(reinterpret_cast<char *>(b + 10), text, TEXT_SIZE - 1);
    std::fwrite(b, 1, sizeof b, mm().file);
    std::fflush(mm().file);
}

// The text after the last backslash (or slash), cut to 13 characters.
void base_name(const char *file, char *out)
{
    const char *base = file ? file : "";
    for (const char *p = base; *p; p++)
        if (*p == '\\' || *p == '/')
            base = p + 1;
    std::memset(out, 0, NAME_SIZE);
    std::strncpy(out, base, NAME_SIZE - 1);
}

void fill_record(KIND kind, uint32_t address, uint32_t size, const char *file, int line)
{
    RECORD &r = mm().record;
    r.kind = kind;
    r.address = address;
    r.size = size;
    r.sequence = mm().sequence;
    base_name(file, r.name);
    r.line = static_cast<uint32_t>(line);
    r.error = 0;
}

bool statistics() { return mm().ordinary == 0; }

bool known(void *user) { return mm().guarded.count(user) != 0; }

const unsigned char *head_of(const void *user)
{
    return static_cast<const unsigned char *>(user) - GUARD_BYTES;
}

// 99 comparisons of neighbouring words: the guard holds one repeated value.
bool guard_intact(const unsigned char *guard)
{
    for (int i = 0; i < GUARD_WORDS - 1; i++)
        if (get32(guard + 4 * i) != get32(guard + 4 * (i + 1)))
            return false;
    return true;
}

bool head_intact(const void *user) { return guard_intact(head_of(user)); }

// The tail lies behind the size the head words hold; a head that claims
// another size than the block has is damage, not a place to read.
bool tail_intact(void *user)
{
    uint32_t size = get32(head_of(user));
    if (size != mm().guarded[user])
        return false;
    return guard_intact(static_cast<const unsigned char *>(user) + size);
}

// A block without guards (taken in the ordinary mode) has nothing to damage.
bool block_intact(void *user) { return !known(user) || (head_intact(user) && tail_intact(user)); }

void log_text(const char *file, int line, const char *text)
{
    RECORD r;
    r.kind = K_LOG;
    r.sequence = mm().sequence++;
    base_name(file, r.name);
    r.line = static_cast<uint32_t>(line);
    write_record(r);
    write_text_record(text);
}

// Messages of the watch list go out with the current operation's tag.
bool check_watch_list(const char *file, int line)
{
    bool all = true;
    for (void *p : mm().watch) {
        if (p && !block_intact(p)) {
            char text[TEXT_SIZE];
            std::snprintf(text, sizeof text, "      Chyba! Pamet kontrolovaneho ukazatele %p byla prepsana!", p);
            log_text(file, line, text);
            all = false;
        }
    }
    return all;
}

void *guarded_request(int32_t size, bool clear)
{
    size_t total = static_cast<size_t>(size) + 2 * GUARD_BYTES;
    unsigned char *block = static_cast<unsigned char *>(clear ? std::calloc(1, total) : std::malloc(total));
    if (!block)
        return nullptr;
    for (int i = 0; i < GUARD_WORDS; i++) {
        put32(block + 4 * i, static_cast<uint32_t>(size));
        put32(block + GUARD_BYTES + size + 4 * i, static_cast<uint32_t>(size));
    }
    void *user = block + GUARD_BYTES;
    mm().guarded[user] = static_cast<uint32_t>(size);
    return user;
}

void guarded_release(void *user)
{
    mm().guarded.erase(user);
    std::free(static_cast<unsigned char *>(user) - GUARD_BYTES);
}

// Steps 1 to 8 of a tagged allocation in statistics mode.
void *tagged_allocation(KIND kind, int32_t count, int32_t size, bool clear, const char *file, int line)
{
    fill_record(kind, 0, static_cast<uint32_t>(size), file, line);
    if (kind == K_ALLOC)
        mm().record.count = static_cast<uint32_t>(count);
    if (count < 1 || size < 1 || (kind == K_ALLOC && size > INT32_MAX / count)) {
        mm().record.error = 1;
        write_record(mm().record);
        mm().sequence++;
        if (kind != K_NEW)
            WE_internal_error(SRC, __LINE__);
        return nullptr;
    }
    void *user = guarded_request(count * size, clear);
    mm().record.address = address_field(user);
    mm().record.error = user == nullptr;
    write_record(mm().record);
    if (user && mm().record.sequence == mm().trigger)
        MM_watch(user);
    check_watch_list(file, line);
    mm().sequence++;
    return user;
}

}  // namespace

void *MM_alloc(int32_t count, int32_t size, const char *file, int line)
{
    if (statistics())
        return tagged_allocation(K_ALLOC, count, size, true, file, line);
    if (count < 1 || size < 1) {
        WE_internal_error(SRC, __LINE__);
        return nullptr;
    }
    return std::calloc(static_cast<size_t>(count), static_cast<size_t>(size));
}

void *MM_alloc_raw(int32_t size, const char *file, int line)
{
    if (statistics())
        return tagged_allocation(K_ALLOC_RAW, 1, size, false, file, line);
    if (size < 1) {
        WE_internal_error(SRC, __LINE__);
        return nullptr;
    }
    return std::malloc(static_cast<size_t>(size));
}

void MM_free(void *address, const char *file, int line)
{
    if (!statistics() || (address && !known(address))) {
        // A block keeps the form it was taken in: one taken while statistics
        // ran is guarded also when it is given back after their end.
        if (address && known(address))
            guarded_release(address);
        else
            std::free(address);
        return;
    }
    MM_unwatch(address);
    fill_record(K_FREE, address_field(address), 0xFFFFFFFFu, file, line);
    mm().sequence++;
    if (!address) {
        mm().record.error = 1;
        write_record(mm().record);
        return;
    }
    bool intact = block_intact(address);
    mm().record.error = !intact;
    write_record(mm().record);
    if (!intact)
        log_text(file, line, "      Chyba! Uvolnovana pamet byla na zacatku nebo konci bloku prepsana");
    check_watch_list(file, line);
    guarded_release(address);
}

void *MM_new(size_t size, const char *file, int line)
{
    if (size > INT32_MAX)
        size = 0;   // no object of the program is that large: a failed request
    if (statistics())
        return tagged_allocation(K_NEW, 1, static_cast<int32_t>(size), true, file, line);
    if (size < 1) {
        WE_internal_error(SRC, __LINE__);
        return nullptr;
    }
    return std::calloc(1, size);
}

void *MM_new(size_t size)
{
    if (!statistics())
        return MM_new(size, "UNKNOWN", 0);
    fill_record(K_NEW, 0, static_cast<uint32_t>(size), "UNKNOWN", 0);
    void *user = size >= 1 && size <= INT32_MAX ? guarded_request(static_cast<int32_t>(size), true) : nullptr;
    mm().record.address = address_field(user);
    mm().record.error = user == nullptr;
    write_record(mm().record);
    mm().sequence++;
    return user;
}

void MM_delete_check(void *address, const char *file, int line)
{
    if (!statistics() || (address && !known(address)))
        return;
    fill_record(K_DELETE_CHECK, address_field(address), 0xFFFFFFFFu, file, line);
    mm().sequence++;
    if (!address) {
        mm().record.error = 1;
        write_record(mm().record);
        return;
    }
    RECORD record = mm().record;   // the messages below go out before it
    bool head = head_intact(address);
    bool tail = head && tail_intact(address);
    if (!head)
        log_text(file, line, "      Chyba! Uvolnovana pamet byla na zacatku bloku prepsana");
    else if (!tail)
        log_text(file, line, "      Chyba! Uvolnovana pamet byla na konci bloku prepsana");
    record.error = !(head && tail);
    mm().record = record;
    write_record(mm().record);
    MM_unwatch(address);
    check_watch_list(file, line);
}

void MM_delete(void *address)
{
    if (address && known(address))
        guarded_release(address);
    else
        std::free(address);
}

int16_t MM_check(void *address)
{
    if (!statistics())
        return 1;
    if (!address) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return block_intact(address) ? 1 : 0;
}

int16_t MM_watch(void *address)
{
    if (!statistics())
        return 1;
    for (void *&slot : mm().watch) {
        if (!slot) {
            slot = address;
            return 1;
        }
    }
    WE_internal_error(SRC, __LINE__);
    return 0;
}

int16_t MM_unwatch(void *address)
{
    for (void *&slot : mm().watch)
        if (slot == address)
            slot = nullptr;
    return 1;
}

int16_t MM_check_watched(const char *file, int line)
{
    if (!statistics())
        return 1;
    log_text(file, line, "Test kontrolovanych ukazatelu");
    return check_watch_list(file, line) ? 1 : 0;
}

void MM_log(const char *file, int line, const char *format, ...)
{
    if (!statistics() || !format)
        return;
    char text[TEXT_SIZE];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    log_text(file, line, text);
}

namespace {

void write_mark(KIND kind)
{
    RECORD r;
    r.kind = kind;
    write_record(r);
    write_text_record(mm().arguments.c_str());
}

}  // namespace

void MM_begin()
{
    if (mm().started)
        return;
    std::vector<std::string> args = SYS_arguments();
    std::vector<const char *> argv;
    for (const std::string &a : args)
        argv.push_back(a.c_str());
    MM_begin_with(static_cast<int>(argv.size()), argv.data());
}

void MM_begin_with(int argc, const char *const *argv)
{
    bool asked = false;
    for (int i = 1; i < argc; i++)
        asked |= argv[i] && argv[i][0] == '$' && (argv[i][1] == 'm' || argv[i][1] == 'M');
    if (!asked || statistics())
        return;
    mm().started = 1;
    mm().ordinary = 0;
    mm().sequence = 1;
    mm().file = std::fopen("MMBIN.MM", "wb");
    if (!mm().file) {
        std::printf("Nelze otevrit soubor %s!", "MMBIN.MM");
        mm().ordinary = 1;
        return;
    }
    mm().arguments.clear();
    for (int i = 0; i < argc; i++)
        mm().arguments += std::string(argv[i] ? argv[i] : "") + " ";
    write_mark(K_BEGIN);
    FI_stat_begin();
}

void MM_end()
{
    if (!statistics())
        return;
    FI_stat_end();
    write_mark(K_END);
    std::fclose(mm().file);
    mm().file = nullptr;
    std::printf("\nStatistika alokace pameti aktivni - spust program HEAPVW32.EXE !!!\n");
    mm().ordinary = 1;
}

int16_t MM_statistics()
{
    return statistics() ? 1 : 0;
}
