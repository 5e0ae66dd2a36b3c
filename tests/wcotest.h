// Helpers shared by the tests of the settings store, its file form and its users.
#pragma once
#include "swin/wco.h"
#include "tests/testutil.h"

// Owns one store for a test.
struct WT_STORE {
    WCO_file *s = nullptr;
    WT_STORE() { EXPECT_EQ(WCO_create(&s), 1); }
    ~WT_STORE()
    {
        if (s)
            WCO_destroy(&s);
    }
    WT_STORE(const WT_STORE &) = delete;
    WT_STORE &operator=(const WT_STORE &) = delete;
    operator WCO_file *() const { return s; }
    WCO_file *operator->() const { return s; }
};

// "[section] key=value ..." of the whole store, in stored order.
inline std::string WT_dump(const WCO_file *store)
{
    std::string text;
    for (int32_t i = 0; i < store->count; i++) {
        text += (i ? " [" : "[") + std::string(store->sections[i].name) + "]";
        for (int32_t j = 0; j < store->sections[i].count; j++)
            text += " " + std::string(store->sections[i].entries[j].key) + "=" + store->sections[i].entries[j].value;
    }
    return text;
}

// True when the store or one of its sections is marked changed; and all the marks cleared.
inline bool WT_changed(const WCO_file *store)
{
    bool changed = store->changed != 0;
    for (int32_t i = 0; i < store->count; i++)
        changed = changed || store->sections[i].changed != 0;
    return changed;
}

inline void WT_clear_changed(WCO_file *store)
{
    store->changed = 0;
    for (int32_t i = 0; i < store->count; i++)
        store->sections[i].changed = 0;
}

// The text with CR LF line ends.
inline std::string WT_crlf(const std::string &text)
{
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

// The system store as the program starts: no section, no file, nothing current.
inline WCO_file *WT_empty_system_store()
{
    WCO_file *store = WCO_system_store();
    while (store->count > 0)
        WCO_remove_section(store, store->sections[store->count - 1].name);
    store->changed = 0;
    store->current = -1;
    store->file_name[0] = 0;
    return store;
}
