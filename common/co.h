// The suite's common configuration: one record that holds every setting of
// the system configuration file "SYSTEM.WCO", each under its own key in one
// of the sections CO_common, CO_printer_output, CO_simulator, CO_colors,
// CO_schematic, CO_layout, CO_edit and CO_pp of the system settings store.
//
// Call order: CO_load_or_default at start-up (it takes every key from the
// system store into the record and enters the record's defaults for the
// keys the store lacks), then read the record and change settings through
// the named sets of swin/wco.h; CO_release at the end.
#pragma once
#include <cstddef>
#include <cstdint>

struct WCO_file;

#define CO_PATH_MAX 1024   // characters of a path setting
#define CO_EXT_MAX 4       // characters of an extension setting
#define CO_DRIVE_MAX 3     // characters of the system drive
#define CO_SYSTEM_WCO "SYSTEM.WCO"

// Kinds of the settings (written forms in swin/wco.h).
enum CO_KIND : int16_t {
    CO_TEXT = 1,     // char[capacity + 1]
    CO_INT32,        // int32_t
    CO_INT16,        // int16_t
    CO_REAL,         // float
    CO_DOUBLE,       // double
    CO_REAL_PAIR,    // float[2]
    CO_REAL_QUAD,    // float[4]
    CO_YES,          // int16_t 0 or 1
    CO_COLOUR,       // uint8_t 0 .. 15
    CO_DRAW_MODE,    // uint8_t 0 .. 3
    CO_CODE_PAGE,    // int16_t
    CO_UNIT,         // int16_t
    CO_CURSOR,       // int16_t
    CO_KEY_CODE,     // int16_t key code
};

// The record. Its initial contents are the built-in defaults; the fields
// follow the keys' order in the file's tables. The same key name in another
// section is another setting (CO_pp's real_default_edit_boundary is the
// field pp_real_default_edit_boundary).
struct CO_CONFIG {
    // CO_common
    char initial_directory[CO_PATH_MAX + 1] = ".";
    char default_design_name[CO_PATH_MAX + 1] = "DESIGN";
    char default_design_extension[CO_EXT_MAX + 1] = "D32";
    char default_design_V3_extension[CO_EXT_MAX + 1] = "DES";
    char default_text_extension[CO_EXT_MAX + 1] = "TXT";
    int16_t small_check_design_integrity = 1;   // Ano
    int16_t check_design_file_integrity = 1;   // Ano
    int16_t check_file_overwrite = 1;   // Ano
    char default_macro_extension[CO_EXT_MAX + 1] = "WMC";
    int16_t macro_end_character = 311;   // Break
    char system_path[CO_PATH_MAX + 1] = "\\KRV5\\";
    char system_default_design_name[CO_PATH_MAX + 1] = "DEFAULT";
    int16_t check_file_owerwrite = 0;   // Ne
    int16_t bg_dash_multiple = 3;
    int16_t bg_dash_dot_multiple = 8;
    char default_pp_output_directory[CO_PATH_MAX + 1] = "";
    // CO_printer_output
    char default_prn_output_file[CO_PATH_MAX + 1] = "*.T";
    char default_pcf_file_name[CO_PATH_MAX + 1] = "LASER300.PCF";
    char default_pcf_extension[CO_EXT_MAX + 1] = "PCF";
    uint8_t default_pcf_black_color = 7;   // světle šedá
    uint8_t default_pcf_first_color = 14;   // žlutá
    float real_printer_minimal_width = 0.2f;
    int16_t printer_disable_dot_line = 0;   // Ne
    int16_t printer_disable_dash_line = 0;   // Ne
    int16_t printer_dash_multiple = 3;
    int16_t printer_disable_dash_dot_line = 0;   // Ne
    int16_t printer_dash_dot_multiple = 8;
    // CO_simulator
    char default_model_library_path[CO_PATH_MAX + 1] = "c:\\";
    char default_model_library_extension[CO_EXT_MAX + 1] = "MOD";
    // CO_common
    int16_t save_timeout = 0;
    int16_t autopanning = 0;   // Ne
    int16_t cursor_type = 0;   // NORMAL_CURSOR
    int16_t trace_cursor_type = 1;   // LINE_CURSOR
    int16_t move_trace_cursor = 1;   // Ano
    int16_t percent_msg_window_size = 10;
    int16_t percent_tbar_divider_position = 500;
    int16_t scroll_with_redraw = 1;   // Ano
    int16_t scroll_with_pour_polygon = 0;   // Ne
    // CO_colors
    uint8_t draw_priority = 2;   // OR
    uint8_t bad_atom_color = 7;   // světle šedá
    uint8_t bad_atom_priority = 2;   // OR
    uint8_t flexi_color = 10;   // světle zelená
    uint8_t flexi_priority = 3;   // XOR
    uint8_t select_color = 15;   // bílá
    uint8_t select_priority = 0;   // REPLACE
    uint8_t erase_color = 0;   // černá
    uint8_t erase_priority = 0;   // REPLACE
    uint8_t schematic_hilight_color = 13;   // světle fialová
    uint8_t schematic_hilight_priority = 0;   // REPLACE
    uint8_t layout_hilight_color = 14;   // žlutá
    uint8_t layout_hilight_priority = 0;   // REPLACE
    uint8_t trace_color = 14;   // žlutá
    uint8_t trace_priority = 0;   // REPLACE
    uint8_t dot_grid_color = 15;   // bílá
    uint8_t dot_grid_priority = 3;   // XOR
    uint8_t line_grid_color = 15;   // bílá
    uint8_t line_grid_priority = 3;   // XOR
    // CO_common
    int16_t no_bak_version = 5;
    int16_t grid_dots_distance = 5;
    int16_t sound_on = 1;   // Ano
    int16_t output_code = 0;   // Nastavení při použití
    int16_t cursor_delta = 5;
    int16_t draw_close_polygon_segment = 1;   // Ano
    int16_t show_temporary_character = 238;   // q
    int16_t show_distance_character = 244;   // w
    int16_t enable_context_menu = 1;   // Ano
    // CO_schematic
    int16_t schematic_units = 0;   // mm
    int16_t schematic_resolution_mantisa = 1;
    int16_t schematic_resolution_exponent = -1;
    float real_default_schematic_boundary[4] = {0.0f, 0.0f, 170.0f, 120.0f};
    float real_default_symbolic_boundary[4] = {0.0f, 0.0f, 170.0f, 120.0f};
    int16_t schematic_primary_grid_on = 1;   // Ano
    float real_schematic_primary_grid_factor[2] = {3.0f, 3.0f};
    float real_schematic_primary_grid_offset[2] = {0.0f, 0.0f};
    int16_t schematic_secondary_grid_on = 1;   // Ano
    float real_schematic_secondary_grid_factor[2] = {30.0f, 30.0f};
    float real_schematic_secondary_grid_offset[2] = {0.0f, 0.0f};
    char schema_default_library_path[CO_PATH_MAX + 1] = "c:\\krv\\lib";
    char schema_default_library_extension[CO_EXT_MAX + 1] = "S32";
    char schema_default_library_V3_extension[CO_EXT_MAX + 1] = "SDL";
    int16_t schema_junction_square = 0;   // Ne
    float real_schema_junction_radius = 1.0f;
    float real_schema_join_radius = 1.5f;
    float real_schema_port_name_size = 1.8f;
    float real_schema_port_width = 0.3f;
    float real_schema_add_x_port_name = 0.3f;
    float real_schema_add_y_port_name = 0.33f;
    float real_schema_add_non_port_name = 0.66f;
    float real_schema_port_power_radius = 1.0f;
    float real_symbol_default_port_size = 2.0f;
    float real_symbol_default_port_thick = 0.0f;
    float real_schema_size = 2.0f;
    float real_schema_thick = 0.0f;
    float real_schema_netname_cross = 1.0f;
    float real_schema_hot_point_radius = 1.0f;
    float real_schema_bus_width = 1.0f;
    float real_schema_busbit_text_size = 1.8f;
    float real_schema_reference_text_size = 2.0f;
    float real_schema_name_text_size = 1.8f;
    float real_schema_socle_text_size = 1.8f;
    float real_schema_value_text_size = 1.8f;
    float real_schema_model_text_size = 1.8f;
    float real_schema_pin_text_size = 1.8f;
    float real_schema_short_circuit_width = 3.0f;
    float real_schema_short_circuit_hight = 6.0f;
    float real_schema_mark_width = 3.0f;
    float real_schema_mark_hight = 6.0f;
    float real_schema_dot_step_size = 0.5f;
    float real_schema_pour_polygon_clearance = 0.4f;
    float real_schema_fill_distance = 1.0f;
    float real_schema_minimal_area = 1.0f;
    int32_t schema_obmp_pixel_size_x = 800;
    int32_t schema_obmp_pixel_size_y = 600;
    double schema_obmp_mm_size_x = 210.0;
    double schema_obmp_mm_size_y = 297.0;
    int32_t schema_obmp_dpi_resolution = 300;
    int16_t schema_obmp_color = 0;   // Ne
    uint8_t schema_obmp_background = 15;   // bílá
    float real_schema_obmp_minimal_width = 0.0f;
    int16_t schema_oemf_color_metafile = 1;   // Ano
    int16_t schema_oemf_transparent = 0;   // Ne
    uint8_t schema_oemf_background = 15;   // bílá
    uint8_t schema_oemf_foreground = 0;   // černá
    float real_schema_oemf_minimal_width = 0.0f;
    int16_t schema_autochange_reference = 1;   // Ano
    // CO_layout
    int16_t layout_units = 0;   // mm
    int16_t layout_resolution_mantisa = 1;
    int16_t layout_resolution_exponent = -2;
    float real_default_layout_boundary[4] = {0.0f, 0.0f, 170.0f, 120.0f};
    float real_default_socle_boundary[4] = {0.0f, 0.0f, 80.0f, 60.0f};
    int16_t layout_primary_grid_on = 1;   // Ano
    float real_layout_primary_grid_factor[2] = {1.25f, 1.25f};
    float real_layout_primary_grid_offset[2] = {0.0f, 0.0f};
    int16_t layout_secondary_grid_on = 1;   // Ano
    float real_layout_secondary_grid_factor[2] = {10.0f, 10.0f};
    float real_layout_secondary_grid_offset[2] = {0.0f, 0.0f};
    char layout_default_library_path[CO_PATH_MAX + 1] = "c:\\krv\\lib";
    char layout_default_library_extension[CO_EXT_MAX + 1] = "L32";
    char layout_default_library_V3_extension[CO_EXT_MAX + 1] = "LDL";
    float real_layout_join_radius = 1.5f;
    float real_layout_size = 2.0f;
    float real_layout_thick = 0.0f;
    float real_layout_netname_cross = 2.0f;
    float real_layout_hot_point_radius = 0.5f;
    float real_layout_pin_text_size = 1.2f;
    float real_layout_reference_text_size = 2.0f;
    float real_layout_name_text_size = 1.8f;
    float real_layout_socle_text_size = 1.8f;
    float real_layout_value_text_size = 1.8f;
    float real_layout_model_text_size = 1.8f;
    float real_layout_mark_width = 3.0f;
    float real_layout_mark_hight = 6.0f;
    float real_layout_short_circuit_width = 2.5f;
    float real_layout_dot_step_size = 0.5f;
    float real_layout_maximal_clearance = 2.0f;
    float real_layout_clearance = 0.3f;
    float real_layout_pour_polygon_clearance = 0.4f;
    float real_layout_fill_distance = 1.0f;
    float real_layout_minimal_area = 1.0f;
    float real_thermopoint_left = 1.5f;
    float real_thermopoint_right = 1.5f;
    float real_thermopoint_up = 1.5f;
    float real_thermopoint_down = 1.5f;
    float real_thermopoint_radius = 1.5f;
    float real_place_point_radius = 1.2f;
    float real_drsm_point_radius = 0.5f;
    int16_t independent_layout_socle = 0;   // Ne
    int32_t layout_obmp_pixel_size_x = 800;
    int32_t layout_obmp_pixel_size_y = 600;
    double layout_obmp_mm_size_x = 210.0;
    double layout_obmp_mm_size_y = 297.0;
    int32_t layout_obmp_dpi_resolution = 300;
    int16_t layout_obmp_color = 0;   // Ne
    uint8_t layout_obmp_background = 15;   // bílá
    float real_layout_obmp_minimal_width = 0.0f;
    int16_t layout_oemf_color_metafile = 1;   // Ano
    int16_t layout_oemf_transparent = 0;   // Ne
    uint8_t layout_oemf_background = 15;   // bílá
    uint8_t layout_oemf_foreground = 0;   // černá
    float real_layout_oemf_minimal_width = 0.0f;
    int16_t layout_autochange_reference = 1;   // Ano
    // CO_edit
    int16_t edit_units = 0;   // mm
    int16_t edit_resolution_mantisa = 1;
    int16_t edit_resolution_exponent = -2;
    float real_default_edit_boundary[4] = {0.0f, 0.0f, 170.0f, 120.0f};
    int16_t edit_primary_grid_on = 1;   // Ano
    float real_edit_primary_grid_factor[2] = {1.25f, 1.25f};
    float real_edit_primary_grid_offset[2] = {0.0f, 0.0f};
    int16_t edit_secondary_grid_on = 1;   // Ano
    float real_edit_secondary_grid_factor[2] = {10.0f, 10.0f};
    float real_edit_secondary_grid_offset[2] = {0.0f, 0.0f};
    char edit_default_library_path[CO_PATH_MAX + 1] = "c:\\KRV\\LIB\\";
    char edit_default_library_extension[CO_EXT_MAX + 1] = "LDL";
    int32_t real_edit_thick = 0;
    int32_t real_edit_hot_point_radius = 2;
    int32_t real_edit_title_text_size = 2;
    float real_edit_pour_polygon_clearance = 0.4f;
    float real_edit_fill_distance = 1.0f;
    float real_edit_minimal_area = 1.0f;
    // CO_pp
    float pp_real_default_edit_boundary[4] = {0.0f, 0.0f, 600.0f, 400.0f};
    // Not stored in the file: with system_path it names the system directory.
    char system_drive[CO_DRIVE_MAX + 1] = "c:";
};

// One setting: where it lives in the store and in the record.
struct CO_KEY {
    const char *section;
    const char *key;
    CO_KIND kind;
    size_t offset;       // of the field in CO_CONFIG
    int16_t capacity;    // characters of a CO_TEXT field, else 0
};

#define CO_KEY_COUNT 200
// Every setting of the record, in the record's (and the load's) order.
extern const CO_KEY CO_keys[CO_KEY_COUNT];

// The program's one record.
extern CO_CONFIG CO_system_config;

// Takes every key of CO_keys from the system store (WCO_system_store) into
// the record; a key the store lacks or cannot read as its kind is set in the
// store from the record's field, which keeps its value. Text fields take at
// most their capacity (the store keeps a longer text whole). Leaves no
// section current. Always 1 (a store out of memory has reported it).
int16_t CO_load_or_default(CO_CONFIG *record);
// Ends the use of the record; it owns nothing. 1.
int16_t CO_release(CO_CONFIG *record);
// Locates SYSTEM.WCO and loads it into the system store: the registry value
// "user_wco_path" (HKEY_CURRENT_USER) and then "system_wco_path"
// (HKEY_LOCAL_MACHINE) of "Software\KRV\TOREVAN\5", when they name an
// existing file that loads; else the file beside the program. The status of
// that load; 0 when no file was found (the store is then unchanged). Off
// Windows there is no registry: only the file beside the program counts.
int16_t CO_load_system_wco();

// One setting of the store's named section into its field of the record:
// the typed get of its kind (text: at most the capacity). 0 when the key is
// missing or does not read as its kind (the field is then unchanged, except
// pairs and quads, which keep the numbers read before the failure).
int16_t CO_get_key(WCO_file *store, const CO_KEY *key, CO_CONFIG *record);
// The field of the record into the store's named section, in the key's form.
int16_t CO_set_key(WCO_file *store, const CO_KEY *key, const CO_CONFIG *record);
