// Fuzz target of the WCO reader: whatever the bytes, loading them must give
// a well-formed store, and what the store writes must read back as the same
// store and be written again byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/st.h"
#include "common/sys.h"
#include "swin/wco.h"

int FUZZ_wco_load(const uint8_t *data, size_t size);

namespace {

const char INPUT[] = "wco_load_in.wco";
const char FIRST[] = "wco_load_first.wco";
const char SECOND[] = "wco_load_second.wco";

// A broken property ends the run: the line tells which one.
void require_at(bool condition, int line)
{
    if (condition)
        return;
    std::fprintf(stderr, "wco_load_target.cpp:%d: property broken\n", line);
    std::abort();
}
#define require(condition) require_at(condition, __LINE__)

bool write_file(const char *name, const uint8_t *data, size_t size)
{
    FILE *f = SYS_fopen(name, "wb");
    if (!f)
        return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && written;
}

std::string read_file(const char *name)
{
    std::string bytes;
    FILE *f = SYS_fopen(name, "rb");
    if (!f)
        return bytes;
    char chunk[4096];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.append(chunk, n);
    std::fclose(f);
    return bytes;
}

// A name or key as the store keeps it: 1 to 40 characters, no blank or tab
// at either end.
bool well_formed(const char *text)
{
    const size_t length = std::strlen(text);
    if (length < 1 || length > WCO_NAME_MAX)
        return false;
    const char first = text[0];
    const char last = text[length - 1];
    return first != ' ' && first != '\t' && last != ' ' && last != '\t';
}

void check_store(const WCO_file *store)
{
    require(store->count >= 0 && store->count < store->capacity);
    for (int32_t i = 0; i < store->count; i++) {
        const WCO_section &section = store->sections[i];
        require(well_formed(section.name));
        require(i == 0 || ST_compare(store->sections[i - 1].name, section.name) < 0);
        require(section.count > 0 && section.count < section.capacity);
        for (int32_t j = 0; j < section.count; j++) {
            const WCO_entry &entry = section.entries[j];
            require(well_formed(entry.key) && !std::strchr(entry.key, '='));
            require(std::strlen(entry.value) <= WCO_VALUE_MAX && !std::strchr(entry.value, '\n'));
            require(j == 0 || ST_compare(section.entries[j - 1].key, entry.key) < 0);
        }
    }
}

void require_same(const WCO_file *a, const WCO_file *b)
{
    require(a->count == b->count);
    for (int32_t i = 0; i < a->count; i++) {
        const WCO_section &x = a->sections[i];
        const WCO_section &y = b->sections[i];
        require(std::strcmp(x.name, y.name) == 0 && x.count == y.count);
        for (int32_t j = 0; j < x.count; j++)
            require(std::strcmp(x.entries[j].key, y.entries[j].key) == 0 &&
                    std::strcmp(x.entries[j].value, y.entries[j].value) == 0);
    }
}

}  // namespace

int FUZZ_wco_load(const uint8_t *data, size_t size)
{
    if (!write_file(INPUT, data, size))
        return 0;
    WCO_file *first = nullptr;
    WCO_file *second = nullptr;
    require(WCO_create(&first) && WCO_create(&second));
    require(WCO_load(first, INPUT) == 1);
    check_store(first);
    require(WCO_save(first, FIRST) == 1);
    require(WCO_load(second, FIRST) == 1);
    check_store(second);
    require_same(first, second);
    require(WCO_save_needed(second, nullptr) == 0);
    require(WCO_save_forced(second, SECOND) == 1);
    require(read_file(FIRST) == read_file(SECOND));
    WCO_destroy(&first);
    WCO_destroy(&second);
    return 0;
}
