// Function tables: every command of the suite is a function with a numeric
// id; a program lists the functions it offers in tables of entries with
// their state. The menu bar, the context menus and the key handling are built
// from them (swin/menubar.h); the texts come from the vocabulary of
// menu/menu.h. The developer listing "PFU_LIST.PFU" walks PFU_tables.
//
// Status flags: 1 = success, 0 = failure.
#pragma once
#include <cstdint>

// State flags of an entry (one state bit at a time, see PFU_set_state).
#define PFU_NORMAL 0x0001u
#define PFU_GREY 0x0002u         // disabled
#define PFU_CHECKED 0x0004u
#define PFU_STATE_8 0x0008u      // a state of its own, kept for the suite's programs
#define PFU_KEEP 0x0010u         // kept across state changes and copies
#define PFU_SEPARATOR 0x0020u    // separator kinds
#define PFU_SEPARATOR_2 0x0040u
#define PFU_HIDDEN 0x0080u       // hidden kinds: left out of menus
#define PFU_HIDDEN_2 0x0100u
#define PFU_END 0x0200u          // the end entry of a table

// Further flags of an entry.
#define PFU_LOCKED 0x0002u       // left alone by state changes that respect locks

// Type word bit that keeps an entry out of the developer listing.
#define PFU_TYPE_UNLISTED 0x0080

#define PFU_TABLES_MAX 100       // tables of a set

// One function of a table. A working entry has exactly one of sub_table and
// action set; the end entry has PFU_END in its state and id 0.
struct PFU_ENTRY {
    int32_t id;            // function id
    uint16_t state;        // PFU_NORMAL ... PFU_END
    uint16_t flags;        // PFU_LOCKED
    int16_t type;          // type word (FT_TYPE of the listing)
    int32_t help_code;     // HELP_CODE of the listing
    PFU_ENTRY *sub_table;  // the entry opens a submenu built from this table
    int32_t action;        // the program's action code for the function; 0 = none
    char *config;          // configuration text, owned (MM_alloc), or null
    int16_t key;           // toolkit key code that calls it; 0 = the menu text's access letter
};

// A set of tables with the total number of their entries (end entries not counted).
struct PFU_TABLES {
    PFU_ENTRY *tables[PFU_TABLES_MAX];
    int16_t count;
    int32_t entries;
};

// The installer's two tables: the main table (1000, 1006 with PFU_KEEP, 1032,
// 1007) and the menu table (5000, 5001).
extern PFU_ENTRY PFU_main_table[];
extern PFU_ENTRY PFU_menu_table[];
// The program's set: the main table and the menu table, in that order.
extern PFU_TABLES PFU_tables;

// Appends a table to a set (counting its entries); a null argument or a full
// set is an internal error and 0.
int16_t PFU_add_table(PFU_TABLES *set, PFU_ENTRY *table);

// The first entry with that id in the set's tables, in table order. An
// unknown id shows "Funkce (id=%d) není v žádné tabulce funkcí" and gives
// null; a null set is an internal error and null.
PFU_ENTRY *PFU_find(PFU_TABLES *set, int32_t id);

// Sets the state bits of every entry with that id in every table (locked
// entries skipped when respect_locks is nonzero): each requested bit that is
// not set yet is set after the mask of PFU_state_mask. When anything changed
// and the driver's main window exists, its refresh_menu is called with the id. 1 when the id was found;
// otherwise "Změna statu funkce (id=%d) - není v žádné tabulce funkcí" and 0.
int16_t PFU_set_state(PFU_TABLES *set, int16_t respect_locks, int32_t id, uint16_t bits);

// The mask that setting the state bit applies first (flags = flags AND mask,
// then OR the bit); 0xFFFF for a value that is not one state bit.
uint16_t PFU_state_mask(uint16_t bit);

// Copies id, state (keeping the target's PFU_KEEP), further flags, type,
// help code, sub-table and action and the configuration text (into the
// target's text when it is long enough, else into a new copy); the key code
// is the source's, or, when that is 0, the Alt key of the access letter of
// the menu text. A null argument, or a source with both or neither of
// sub_table and action, is an internal error and 0; no memory for the text
// gives the low-memory report and 0 (the target keeps its old text).
int16_t PFU_copy_entry(PFU_ENTRY *target, const PFU_ENTRY *source);

// The toolkit key code of the access letter ("&") of a menu text: the Alt
// form of the letter or digit; 0 when there is none.
int16_t PFU_access_key(const char *menu_text);

// Frees the configuration texts of every entry of the set (sub-tables
// included), leaving them null. The default is the program's set; the GUI
// driver calls it at shutdown.
void PFU_release(PFU_TABLES *set = &PFU_tables);
