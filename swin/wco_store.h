// Settings store: one WCO configuration file held in memory as a sorted set
// of named sections, each a sorted set of key/value texts. The text form of
// the file and the typed values live in swin/wco.h (which includes this).
//
// Status flags: 1 = success, 0 = failure. A null store, section name, key or
// buffer where one is required raises WE_internal_error and gives 0, as does
// a current-form operation without a current section. Allocation failures
// give the low-memory report and 0; the store stays usable.
//
// Names and keys are compared by the Czech collation (ST_compare); two names
// are the same only when they are equal byte for byte.
#pragma once
#include <cstdint>

#define WCO_NAME_MAX 40          // characters of a section name or a key
#define WCO_VALUE_MAX 1000       // characters of a value
#define WCO_BUFFER_MAX 1051      // characters of the line and work buffers
#define WCO_PATH_MAX 1024        // characters of the remembered file name
#define WCO_SECTIONS_FIRST 20    // section slots of a new store
#define WCO_SECTIONS_STEP 5      // smallest growth of the section array
#define WCO_ENTRIES_FIRST 100    // entry slots of a new section
#define WCO_ENTRIES_STEP 10      // smallest growth of an entry array
#define WCO_COUNT_MAX 32767      // sections of a store, entries of a section

// One key and its value, both owned (MM_alloc).
struct WCO_entry {
    char *key;     // 1 to WCO_NAME_MAX characters
    char *value;   // 0 to WCO_VALUE_MAX characters
};

// One section: its entries in ascending order of key.
struct WCO_section {
    char *name;                       // owned, 1 to WCO_NAME_MAX characters
    WCO_entry *entries;               // owned
    int32_t count;
    int32_t capacity;
    char work[WCO_BUFFER_MAX + 1];    // typed sets format here, typed gets parse a copy here
    int16_t changed;                  // an entry was inserted, replaced or removed
};

// The store: its sections in ascending order of name.
struct WCO_file {
    WCO_section *sections;            // owned
    int32_t count;
    int32_t capacity;
    char line[WCO_BUFFER_MAX + 1];    // the line WCO_load is working on
    char file_name[WCO_PATH_MAX + 1]; // set by WCO_load and by WCO_save with a path
    int32_t current;                  // index of the current section, -1 for none
    int16_t changed;                  // a section was added or removed
};

// A (section, key) pair of a removal table; a table ends with {nullptr, nullptr}.
struct WCO_KEY_REF {
    const char *section;
    const char *key;
};

// Keys the suite no longer uses; WCO_load removes them after every read.
extern const WCO_KEY_REF WCO_obsolete_keys[];

// ---- Store life ----

// A new empty store in *store (WCO_SECTIONS_FIRST empty section slots, no
// file name, no current section). 0 with *store null on failure.
int16_t WCO_create(WCO_file **store);
// Frees every section, entry and text and the store; sets *store to null.
int16_t WCO_destroy(WCO_file **store);

// The process-wide store of the suite's system configuration ("SYSTEM.WCO").
// It is made during static initialisation, so it exists before the entry
// function runs; it is never saved implicitly. Null only after
// WCO_system_store_free.
WCO_file *WCO_system_store();
// Frees the system store without saving it. The program's global data calls
// this before the memory statistics end; otherwise it happens at exit (and a
// store made in statistics mode is then left to the ending process).
void WCO_system_store_free();

// ---- Sections ----

// Finds the section or creates it at its sorted place (setting the store's
// changed flag) and makes it current; null makes no section current (1).
// 0 when the section cannot be made (empty name, full table, no memory).
// A name is trimmed; one longer than WCO_NAME_MAX is cut with an
// internal-error report and goes on.
int16_t WCO_select_section(WCO_file *store, const char *name);
// 1 when the section exists (null name: 0, no report).
int16_t WCO_has_section(WCO_file *store, const char *name);
// The section of that name (exact, untrimmed), or null when there is none
// (no report). Valid until sections are added or removed.
WCO_section *WCO_find_section(WCO_file *store, const char *name);
// The section of that name, created at its sorted place when missing (as
// WCO_select_section, without changing the current section); null on failure.
WCO_section *WCO_make_section(WCO_file *store, const char *name);
// The current section; null with an internal-error report when there is none.
WCO_section *WCO_current_section(WCO_file *store);
// Removes the section with its entries (store's changed flag); 0 when missing.
// The current section stays the same section (none if it was this one).
int16_t WCO_remove_section(WCO_file *store, const char *name);

// ---- Keys as text ----

// 1 when the key (already trimmed) can stand in an entry line: not empty, no
// "=" or line break, not beginning with "BEGIN[" or "END[" (such a line would
// read back as a section marker). Its length is not looked at.
int16_t WCO_key_storable(const char *key);
// Sets the key to the value in the section: both trimmed of blanks and tabs;
// a key longer than WCO_NAME_MAX or a value longer than WCO_VALUE_MAX is cut
// with an internal-error report and the operation goes on. An existing key
// takes the new value; a new key is inserted at its sorted place. The
// section's changed flag is set only when something changed. A key that is
// not storable (above) or a value holding a line break cannot be written as
// an entry line: an internal-error report and 0, nothing changed.
int16_t WCO_section_set(WCO_section *section, const char *key, const char *value);
// The stored value of the key (exact, untrimmed), or null (no report).
// Valid until the entry changes.
const char *WCO_section_value(const WCO_section *section, const char *key);
// Removes the key (section's changed flag); 0 when it is missing.
int16_t WCO_section_remove(WCO_section *section, const char *key);

// Named form: finds or creates the section, then WCO_section_set.
int16_t WCO_set_text(WCO_file *store, const char *section, const char *key, const char *text);
// Current form.
int16_t WCO_set_text(WCO_file *store, const char *key, const char *text);

// Copies the value into buffer, at most maximum characters and a terminator
// (maximum 0: the whole value). 0 when the section or key is missing (the
// buffer is then unchanged).
int16_t WCO_get_text(WCO_file *store, const char *section, const char *key, char *buffer, int16_t maximum);
int16_t WCO_get_text(WCO_file *store, const char *key, char *buffer, int16_t maximum);
// A new copy of the value in *text, which the caller frees with MM_free
// (ST_free). *text must be null on entry (else internal error, 0). A missing
// section or key gives 0 with *text null.
int16_t WCO_get_text_alloc(WCO_file *store, const char *section, const char *key, char **text);
int16_t WCO_get_text_alloc(WCO_file *store, const char *key, char **text);
// The stored value itself, valid until the entry changes; null when missing.
const char *WCO_get_text_ref(WCO_file *store, const char *section, const char *key);
const char *WCO_get_text_ref(WCO_file *store, const char *key);

// Finds the section (without creating it) and removes the key from it;
// 0 when either is missing.
int16_t WCO_remove_key(WCO_file *store, const char *section, const char *key);
// The same in the current section.
int16_t WCO_remove_key(WCO_file *store, const char *key);

// Removes each pair of the table (null: WCO_obsolete_keys), then every
// section left empty, last to first, setting the store's changed flag. 1.
int16_t WCO_purge_obsolete(WCO_file *store, const WCO_KEY_REF *table);
