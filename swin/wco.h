// WCO configuration files: reading a file into a settings store, writing a
// store back, and the typed values (numbers, flags, names) with their written
// forms. The store itself is in swin/wco_store.h.
//
// A file, as written (CR LF line ends; the reader takes CR LF or LF):
//   Konfiguracni soubor TOREVAN
//   <empty>
//   BEGIN[section]                 one block per section holding entries,
//      key<blanks to column 42>=  value      in ascending order of names/keys
//   END[section]
//   <empty>
//
// Status flags: 1 = success, 0 = failure; argument faults raise
// WE_internal_error and give 0 (see swin/wco_store.h).
#pragma once
#include <cstdint>

#include "swin/wco_store.h"

#define WCO_HEADER "Konfiguracni soubor TOREVAN"
#define WCO_KEY_FIELD 42   // columns of the written key field ("   " + key + blanks)
#define WCO_RGB_NAME_MAX 40

// ---- Reading and writing ----

// What the reader did with one line of a file, told to an observer.
enum WCO_LINE_EVENT : int16_t {
    WCO_LINE_SECTION = 1,   // a section marker: the section is current
    WCO_LINE_ENTRY,         // the key was set in the section (the value may be cut, see below)
    WCO_LINE_IGNORED,       // neither a section marker nor an entry: passed over
    WCO_LINE_NO_KEY,        // an entry without a key, or a key that cannot be stored: dropped
    WCO_LINE_OUTSIDE,       // an entry outside any section: dropped (internal-error report)
    WCO_LINE_NO_NAME,       // a section marker without a name: no section is current (internal-error report)
    WCO_LINE_NAME_CUT,      // a section name longer than WCO_NAME_MAX: cut (internal-error report)
    WCO_LINE_KEY_CUT,       // a key longer than WCO_NAME_MAX: cut (internal-error report)
    WCO_LINE_VALUE_CUT,     // a value longer than WCO_VALUE_MAX: cut (internal-error report)
    WCO_LINE_LINE_CUT,      // a line longer than WCO_BUFFER_MAX (or holding a zero byte): the rest is lost (internal-error report)
    WCO_LINE_NO_MEMORY,     // the store could not take the line: reading stops
};

// One event: line number (from 1) and, where there are some, the section
// and key concerned and, for an ignored line, its trimmed text (null
// otherwise). The texts are valid during the call.
struct WCO_LINE_NOTE {
    int32_t line;
    WCO_LINE_EVENT event;
    const char *section;
    const char *key;
    const char *text;
};
typedef void (*WCO_OBSERVER)(void *context, const WCO_LINE_NOTE *note);

// Reads the file into the store, merging with what it holds: a section that
// is already there gets the file's keys, a key that is already there takes
// the file's value. Remembers the path as the store's file name, then clears
// every changed flag, removes empty sections and the obsolete keys (both set
// changed flags again, so that the next save rewrites the file).
// 0 when the path is too long, the file does not exist or cannot be opened
// (the file layer shows why), or the store ran out of memory while reading
// (it keeps what was read); the store is otherwise unchanged by a failure.
int16_t WCO_load(WCO_file *store, const char *path);
// As WCO_load, telling the observer (when not null) about every entry line
// and every line the reader drops or cuts.
int16_t WCO_load_observed(WCO_file *store, const char *path, WCO_OBSERVER observer, void *context);

// 1 when WCO_save with this path (or null) would write: a new path, a
// missing file, or a changed flag of the store or of a section.
int16_t WCO_save_needed(WCO_file *store, const char *path);
// Writes the store when WCO_save_needed says so (a given path becomes the
// store's file name first); 1 also when nothing had to be written. On a
// failed open or write 0, the file layer having shown the failure; the
// changed flags then stay set.
int16_t WCO_save(WCO_file *store, const char *path);
// Sets the store's changed flag, then WCO_save.
int16_t WCO_save_forced(WCO_file *store, const char *path);

// ---- Typed values ----
// Each kind has a set and a get in two forms: the named form takes the
// section name before the key (a set creates the section, a get only finds
// it); the current form acts on the current section. A set writes the value
// in its one text form; a get gives 0 when the section or key is missing or
// the value does not read as its kind, and leaves the output untouched then
// (pair and quad gets store each number as it is read). The name kinds
// (yes/no to key) never fail on a present key: a name they do not know
// gives their default number. A set of a number outside its name table is
// an internal error.

// A colour with its name; the written form is "%d, %d, %d, %s".
struct WCO_RGB {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    char name[WCO_RGB_NAME_MAX + 1];
};

// Integer, "%d"; read as one integer token.
int16_t WCO_set_int32(WCO_file *store, const char *section, const char *key, int32_t value);
int16_t WCO_set_int32(WCO_file *store, const char *key, int32_t value);
int16_t WCO_get_int32(WCO_file *store, const char *section, const char *key, int32_t *value);
int16_t WCO_get_int32(WCO_file *store, const char *key, int32_t *value);
// Short integer, "%d"; read as one integer token, the low 16 bits kept.
int16_t WCO_set_int16(WCO_file *store, const char *section, const char *key, int16_t value);
int16_t WCO_set_int16(WCO_file *store, const char *key, int16_t value);
int16_t WCO_get_int16(WCO_file *store, const char *section, const char *key, int16_t *value);
int16_t WCO_get_int16(WCO_file *store, const char *key, int16_t *value);
// Real, "%f"; read as one real token.
int16_t WCO_set_real(WCO_file *store, const char *section, const char *key, float value);
int16_t WCO_set_real(WCO_file *store, const char *key, float value);
int16_t WCO_get_real(WCO_file *store, const char *section, const char *key, float *value);
int16_t WCO_get_real(WCO_file *store, const char *key, float *value);
// Double real, "%f"; read as one real token in 32-bit precision, widened.
int16_t WCO_set_double(WCO_file *store, const char *section, const char *key, double value);
int16_t WCO_set_double(WCO_file *store, const char *key, double value);
int16_t WCO_get_double(WCO_file *store, const char *section, const char *key, double *value);
int16_t WCO_get_double(WCO_file *store, const char *key, double *value);
// Two integers, "%d, %d"; integer token, separator, integer token.
int16_t WCO_set_int_pair(WCO_file *store, const char *section, const char *key, const int32_t values[2]);
int16_t WCO_set_int_pair(WCO_file *store, const char *key, const int32_t values[2]);
int16_t WCO_get_int_pair(WCO_file *store, const char *section, const char *key, int32_t values[2]);
int16_t WCO_get_int_pair(WCO_file *store, const char *key, int32_t values[2]);
// Four integers, "%d, %d, %d, %d"; a separator after each of the first three.
int16_t WCO_set_int_quad(WCO_file *store, const char *section, const char *key, const int32_t values[4]);
int16_t WCO_set_int_quad(WCO_file *store, const char *key, const int32_t values[4]);
int16_t WCO_get_int_quad(WCO_file *store, const char *section, const char *key, int32_t values[4]);
int16_t WCO_get_int_quad(WCO_file *store, const char *key, int32_t values[4]);
// Two reals, "%f %f"; real token, optional separator, real token.
int16_t WCO_set_real_pair(WCO_file *store, const char *section, const char *key, const float values[2]);
int16_t WCO_set_real_pair(WCO_file *store, const char *key, const float values[2]);
int16_t WCO_get_real_pair(WCO_file *store, const char *section, const char *key, float values[2]);
int16_t WCO_get_real_pair(WCO_file *store, const char *key, float values[2]);
// Four reals, "%f, %f, %f, %f"; a separator required after each of the first three.
int16_t WCO_set_real_quad(WCO_file *store, const char *section, const char *key, const float values[4]);
int16_t WCO_set_real_quad(WCO_file *store, const char *key, const float values[4]);
int16_t WCO_get_real_quad(WCO_file *store, const char *section, const char *key, float values[4]);
int16_t WCO_get_real_quad(WCO_file *store, const char *key, float values[4]);
// RGB colour: three integer tokens 0 to 255, each followed by a separator;
// the rest of the value, trimmed and cut to WCO_RGB_NAME_MAX, is the name.
int16_t WCO_set_rgb(WCO_file *store, const char *section, const char *key, const WCO_RGB *rgb);
int16_t WCO_set_rgb(WCO_file *store, const char *key, const WCO_RGB *rgb);
int16_t WCO_get_rgb(WCO_file *store, const char *section, const char *key, WCO_RGB *rgb);
int16_t WCO_get_rgb(WCO_file *store, const char *key, WCO_RGB *rgb);
// Yes/no: "Ano" for a non-zero flag, "Ne" for 0; read by VOC_parse_yes (0 or 1).
int16_t WCO_set_yes(WCO_file *store, const char *section, const char *key, int16_t flag);
int16_t WCO_set_yes(WCO_file *store, const char *key, int16_t flag);
int16_t WCO_get_yes(WCO_file *store, const char *section, const char *key, int16_t *flag);
int16_t WCO_get_yes(WCO_file *store, const char *key, int16_t *flag);
// Colour index 0 to 15: the Czech colour name; read by VOC_parse_colour (unknown: 15).
int16_t WCO_set_colour(WCO_file *store, const char *section, const char *key, uint8_t colour);
int16_t WCO_set_colour(WCO_file *store, const char *key, uint8_t colour);
int16_t WCO_get_colour(WCO_file *store, const char *section, const char *key, uint8_t *colour);
int16_t WCO_get_colour(WCO_file *store, const char *key, uint8_t *colour);
// Drawing mode 0 to 3: "REPLACE", "AND", "OR", "XOR"; read by VOC_parse_raster_op.
int16_t WCO_set_draw_mode(WCO_file *store, const char *section, const char *key, uint8_t mode);
int16_t WCO_set_draw_mode(WCO_file *store, const char *key, uint8_t mode);
int16_t WCO_get_draw_mode(WCO_file *store, const char *section, const char *key, uint8_t *mode);
int16_t WCO_get_draw_mode(WCO_file *store, const char *key, uint8_t *mode);
// Code page 1 to 4 by name, any other number "Nastavení při použití"; read by
// VOC_parse_code_page (unknown: 0).
int16_t WCO_set_code_page(WCO_file *store, const char *section, const char *key, int16_t code_page);
int16_t WCO_set_code_page(WCO_file *store, const char *key, int16_t code_page);
int16_t WCO_get_code_page(WCO_file *store, const char *section, const char *key, int16_t *code_page);
int16_t WCO_get_code_page(WCO_file *store, const char *key, int16_t *code_page);
// Length unit 0 to 4: "mm", "mils", "m", "km", "inch"; read by VOC_parse_unit (0 or 1).
int16_t WCO_set_unit(WCO_file *store, const char *section, const char *key, int16_t unit);
int16_t WCO_set_unit(WCO_file *store, const char *key, int16_t unit);
int16_t WCO_get_unit(WCO_file *store, const char *section, const char *key, int16_t *unit);
int16_t WCO_get_unit(WCO_file *store, const char *key, int16_t *unit);
// Text window position 0 to 5 by exact name (unknown: 2).
int16_t WCO_set_text_window(WCO_file *store, const char *section, const char *key, int16_t position);
int16_t WCO_set_text_window(WCO_file *store, const char *key, int16_t position);
int16_t WCO_get_text_window(WCO_file *store, const char *section, const char *key, int16_t *position);
int16_t WCO_get_text_window(WCO_file *store, const char *key, int16_t *position);
// Panning 0 to 3 by exact name (unknown: 1).
int16_t WCO_set_panning(WCO_file *store, const char *section, const char *key, int16_t panning);
int16_t WCO_set_panning(WCO_file *store, const char *key, int16_t panning);
int16_t WCO_get_panning(WCO_file *store, const char *section, const char *key, int16_t *panning);
int16_t WCO_get_panning(WCO_file *store, const char *key, int16_t *panning);
// Cursor 0 to 2 by exact name (unknown: 0).
int16_t WCO_set_cursor(WCO_file *store, const char *section, const char *key, int16_t cursor);
int16_t WCO_set_cursor(WCO_file *store, const char *key, int16_t cursor);
int16_t WCO_get_cursor(WCO_file *store, const char *section, const char *key, int16_t *cursor);
int16_t WCO_get_cursor(WCO_file *store, const char *key, int16_t *cursor);
// Toolbar position 0 to 5 by exact name (unknown: 0).
int16_t WCO_set_toolbar(WCO_file *store, const char *section, const char *key, int16_t position);
int16_t WCO_set_toolbar(WCO_file *store, const char *key, int16_t position);
int16_t WCO_get_toolbar(WCO_file *store, const char *section, const char *key, int16_t *position);
int16_t WCO_get_toolbar(WCO_file *store, const char *key, int16_t *position);
// Key 0 to 367 by its key name (VOC_key_name); read by VOC_parse_key (unknown: 0).
int16_t WCO_set_key(WCO_file *store, const char *section, const char *key, int16_t key_code);
int16_t WCO_set_key(WCO_file *store, const char *key, int16_t key_code);
int16_t WCO_get_key(WCO_file *store, const char *section, const char *key, int16_t *key_code);
int16_t WCO_get_key(WCO_file *store, const char *key, int16_t *key_code);
