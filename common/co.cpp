#include "common/co.h"

#include <cstring>

#include "common/config.h"
#include "common/fe.h"
#include "common/fn.h"
#include "common/st.h"
#include "swin/wco.h"
#include "win/we.h"

#if TRK_WINDOWS
#include <windows.h>

#include "common/sysreg.h"
#elif defined(__linux__)
#include <unistd.h>
#endif

static const char SRC[] = "..\\common\\co";

CO_CONFIG CO_system_config;

const CO_KEY CO_keys[CO_KEY_COUNT] = {
    {"CO_common", "initial_directory", CO_TEXT, offsetof(CO_CONFIG, initial_directory), CO_PATH_MAX},
    {"CO_common", "default_design_name", CO_TEXT, offsetof(CO_CONFIG, default_design_name), CO_PATH_MAX},
    {"CO_common", "default_design_extension", CO_TEXT, offsetof(CO_CONFIG, default_design_extension), CO_EXT_MAX},
    {"CO_common", "default_design_V3_extension", CO_TEXT, offsetof(CO_CONFIG, default_design_V3_extension), CO_EXT_MAX},
    {"CO_common", "default_text_extension", CO_TEXT, offsetof(CO_CONFIG, default_text_extension), CO_EXT_MAX},
    {"CO_common", "small_check_design_integrity", CO_YES, offsetof(CO_CONFIG, small_check_design_integrity), 0},
    {"CO_common", "check_design_file_integrity", CO_YES, offsetof(CO_CONFIG, check_design_file_integrity), 0},
    {"CO_common", "check_file_overwrite", CO_YES, offsetof(CO_CONFIG, check_file_overwrite), 0},
    {"CO_common", "default_macro_extension", CO_TEXT, offsetof(CO_CONFIG, default_macro_extension), CO_EXT_MAX},
    {"CO_common", "macro_end_character", CO_KEY_CODE, offsetof(CO_CONFIG, macro_end_character), 0},
    {"CO_common", "system_path", CO_TEXT, offsetof(CO_CONFIG, system_path), CO_PATH_MAX},
    {"CO_common", "system_default_design_name", CO_TEXT, offsetof(CO_CONFIG, system_default_design_name), CO_PATH_MAX},
    {"CO_common", "check_file_owerwrite", CO_YES, offsetof(CO_CONFIG, check_file_owerwrite), 0},
    {"CO_common", "bg_dash_multiple", CO_INT16, offsetof(CO_CONFIG, bg_dash_multiple), 0},
    {"CO_common", "bg_dash_dot_multiple", CO_INT16, offsetof(CO_CONFIG, bg_dash_dot_multiple), 0},
    {"CO_common", "default_pp_output_directory", CO_TEXT, offsetof(CO_CONFIG, default_pp_output_directory), CO_PATH_MAX},
    {"CO_printer_output", "default_prn_output_file", CO_TEXT, offsetof(CO_CONFIG, default_prn_output_file), CO_PATH_MAX},
    {"CO_printer_output", "default_pcf_file_name", CO_TEXT, offsetof(CO_CONFIG, default_pcf_file_name), CO_PATH_MAX},
    {"CO_printer_output", "default_pcf_extension", CO_TEXT, offsetof(CO_CONFIG, default_pcf_extension), CO_EXT_MAX},
    {"CO_printer_output", "default_pcf_black_color", CO_COLOUR, offsetof(CO_CONFIG, default_pcf_black_color), 0},
    {"CO_printer_output", "default_pcf_first_color", CO_COLOUR, offsetof(CO_CONFIG, default_pcf_first_color), 0},
    {"CO_printer_output", "real_printer_minimal_width", CO_REAL, offsetof(CO_CONFIG, real_printer_minimal_width), 0},
    {"CO_printer_output", "printer_disable_dot_line", CO_YES, offsetof(CO_CONFIG, printer_disable_dot_line), 0},
    {"CO_printer_output", "printer_disable_dash_line", CO_YES, offsetof(CO_CONFIG, printer_disable_dash_line), 0},
    {"CO_printer_output", "printer_dash_multiple", CO_INT16, offsetof(CO_CONFIG, printer_dash_multiple), 0},
    {"CO_printer_output", "printer_disable_dash_dot_line", CO_YES, offsetof(CO_CONFIG, printer_disable_dash_dot_line), 0},
    {"CO_printer_output", "printer_dash_dot_multiple", CO_INT16, offsetof(CO_CONFIG, printer_dash_dot_multiple), 0},
    {"CO_simulator", "default_model_library_path", CO_TEXT, offsetof(CO_CONFIG, default_model_library_path), CO_PATH_MAX},
    {"CO_simulator", "default_model_library_extension", CO_TEXT, offsetof(CO_CONFIG, default_model_library_extension), CO_EXT_MAX},
    {"CO_common", "save_timeout", CO_INT16, offsetof(CO_CONFIG, save_timeout), 0},
    {"CO_common", "autopanning", CO_YES, offsetof(CO_CONFIG, autopanning), 0},
    {"CO_common", "cursor_type", CO_CURSOR, offsetof(CO_CONFIG, cursor_type), 0},
    {"CO_common", "trace_cursor_type", CO_CURSOR, offsetof(CO_CONFIG, trace_cursor_type), 0},
    {"CO_common", "move_trace_cursor", CO_YES, offsetof(CO_CONFIG, move_trace_cursor), 0},
    {"CO_common", "percent_msg_window_size", CO_INT16, offsetof(CO_CONFIG, percent_msg_window_size), 0},
    {"CO_common", "percent_tbar_divider_position", CO_INT16, offsetof(CO_CONFIG, percent_tbar_divider_position), 0},
    {"CO_common", "scroll_with_redraw", CO_YES, offsetof(CO_CONFIG, scroll_with_redraw), 0},
    {"CO_common", "scroll_with_pour_polygon", CO_YES, offsetof(CO_CONFIG, scroll_with_pour_polygon), 0},
    {"CO_colors", "draw_priority", CO_DRAW_MODE, offsetof(CO_CONFIG, draw_priority), 0},
    {"CO_colors", "bad_atom_color", CO_COLOUR, offsetof(CO_CONFIG, bad_atom_color), 0},
    {"CO_colors", "bad_atom_priority", CO_DRAW_MODE, offsetof(CO_CONFIG, bad_atom_priority), 0},
    {"CO_colors", "flexi_color", CO_COLOUR, offsetof(CO_CONFIG, flexi_color), 0},
    {"CO_colors", "flexi_priority", CO_DRAW_MODE, offsetof(CO_CONFIG, flexi_priority), 0},
    {"CO_colors", "select_color", CO_COLOUR, offsetof(CO_CONFIG, select_color), 0},
    {"CO_colors", "select_priority", CO_DRAW_MODE, offsetof(CO_CONFIG, select_priority), 0},
    {"CO_colors", "erase_color", CO_COLOUR, offsetof(CO_CONFIG, erase_color), 0},
    {"CO_colors", "erase_priority", CO_DRAW_MODE, offsetof(CO_CONFIG, erase_priority), 0},
    {"CO_colors", "schematic_hilight_color", CO_COLOUR, offsetof(CO_CONFIG, schematic_hilight_color), 0},
    {"CO_colors", "schematic_hilight_priority", CO_DRAW_MODE, offsetof(CO_CONFIG, schematic_hilight_priority), 0},
    {"CO_colors", "layout_hilight_color", CO_COLOUR, offsetof(CO_CONFIG, layout_hilight_color), 0},
    {"CO_colors", "layout_hilight_priority", CO_DRAW_MODE, offsetof(CO_CONFIG, layout_hilight_priority), 0},
    {"CO_colors", "trace_color", CO_COLOUR, offsetof(CO_CONFIG, trace_color), 0},
    {"CO_colors", "trace_priority", CO_DRAW_MODE, offsetof(CO_CONFIG, trace_priority), 0},
    {"CO_colors", "dot_grid_color", CO_COLOUR, offsetof(CO_CONFIG, dot_grid_color), 0},
    {"CO_colors", "dot_grid_priority", CO_DRAW_MODE, offsetof(CO_CONFIG, dot_grid_priority), 0},
    {"CO_colors", "line_grid_color", CO_COLOUR, offsetof(CO_CONFIG, line_grid_color), 0},
    {"CO_colors", "line_grid_priority", CO_DRAW_MODE, offsetof(CO_CONFIG, line_grid_priority), 0},
    {"CO_common", "no_bak_version", CO_INT16, offsetof(CO_CONFIG, no_bak_version), 0},
    {"CO_common", "grid_dots_distance", CO_INT16, offsetof(CO_CONFIG, grid_dots_distance), 0},
    {"CO_common", "sound_on", CO_YES, offsetof(CO_CONFIG, sound_on), 0},
    {"CO_common", "output_code", CO_CODE_PAGE, offsetof(CO_CONFIG, output_code), 0},
    {"CO_common", "cursor_delta", CO_INT16, offsetof(CO_CONFIG, cursor_delta), 0},
    {"CO_common", "draw_close_polygon_segment", CO_YES, offsetof(CO_CONFIG, draw_close_polygon_segment), 0},
    {"CO_common", "show_temporary_character", CO_KEY_CODE, offsetof(CO_CONFIG, show_temporary_character), 0},
    {"CO_common", "show_distance_character", CO_KEY_CODE, offsetof(CO_CONFIG, show_distance_character), 0},
    {"CO_common", "enable_context_menu", CO_YES, offsetof(CO_CONFIG, enable_context_menu), 0},
    {"CO_schematic", "schematic_units", CO_UNIT, offsetof(CO_CONFIG, schematic_units), 0},
    {"CO_schematic", "schematic_resolution_mantisa", CO_INT16, offsetof(CO_CONFIG, schematic_resolution_mantisa), 0},
    {"CO_schematic", "schematic_resolution_exponent", CO_INT16, offsetof(CO_CONFIG, schematic_resolution_exponent), 0},
    {"CO_schematic", "real_default_schematic_boundary", CO_REAL_QUAD, offsetof(CO_CONFIG, real_default_schematic_boundary), 0},
    {"CO_schematic", "real_default_symbolic_boundary", CO_REAL_QUAD, offsetof(CO_CONFIG, real_default_symbolic_boundary), 0},
    {"CO_schematic", "schematic_primary_grid_on", CO_YES, offsetof(CO_CONFIG, schematic_primary_grid_on), 0},
    {"CO_schematic", "real_schematic_primary_grid_factor", CO_REAL_PAIR, offsetof(CO_CONFIG, real_schematic_primary_grid_factor), 0},
    {"CO_schematic", "real_schematic_primary_grid_offset", CO_REAL_PAIR, offsetof(CO_CONFIG, real_schematic_primary_grid_offset), 0},
    {"CO_schematic", "schematic_secondary_grid_on", CO_YES, offsetof(CO_CONFIG, schematic_secondary_grid_on), 0},
    {"CO_schematic", "real_schematic_secondary_grid_factor", CO_REAL_PAIR, offsetof(CO_CONFIG, real_schematic_secondary_grid_factor), 0},
    {"CO_schematic", "real_schematic_secondary_grid_offset", CO_REAL_PAIR, offsetof(CO_CONFIG, real_schematic_secondary_grid_offset), 0},
    {"CO_schematic", "schema_default_library_path", CO_TEXT, offsetof(CO_CONFIG, schema_default_library_path), CO_PATH_MAX},
    {"CO_schematic", "schema_default_library_extension", CO_TEXT, offsetof(CO_CONFIG, schema_default_library_extension), CO_EXT_MAX},
    {"CO_schematic", "schema_default_library_V3_extension", CO_TEXT, offsetof(CO_CONFIG, schema_default_library_V3_extension), CO_EXT_MAX},
    {"CO_schematic", "schema_junction_square", CO_YES, offsetof(CO_CONFIG, schema_junction_square), 0},
    {"CO_schematic", "real_schema_junction_radius", CO_REAL, offsetof(CO_CONFIG, real_schema_junction_radius), 0},
    {"CO_schematic", "real_schema_join_radius", CO_REAL, offsetof(CO_CONFIG, real_schema_join_radius), 0},
    {"CO_schematic", "real_schema_port_name_size", CO_REAL, offsetof(CO_CONFIG, real_schema_port_name_size), 0},
    {"CO_schematic", "real_schema_port_width", CO_REAL, offsetof(CO_CONFIG, real_schema_port_width), 0},
    {"CO_schematic", "real_schema_add_x_port_name", CO_REAL, offsetof(CO_CONFIG, real_schema_add_x_port_name), 0},
    {"CO_schematic", "real_schema_add_y_port_name", CO_REAL, offsetof(CO_CONFIG, real_schema_add_y_port_name), 0},
    {"CO_schematic", "real_schema_add_non_port_name", CO_REAL, offsetof(CO_CONFIG, real_schema_add_non_port_name), 0},
    {"CO_schematic", "real_schema_port_power_radius", CO_REAL, offsetof(CO_CONFIG, real_schema_port_power_radius), 0},
    {"CO_schematic", "real_symbol_default_port_size", CO_REAL, offsetof(CO_CONFIG, real_symbol_default_port_size), 0},
    {"CO_schematic", "real_symbol_default_port_thick", CO_REAL, offsetof(CO_CONFIG, real_symbol_default_port_thick), 0},
    {"CO_schematic", "real_schema_size", CO_REAL, offsetof(CO_CONFIG, real_schema_size), 0},
    {"CO_schematic", "real_schema_thick", CO_REAL, offsetof(CO_CONFIG, real_schema_thick), 0},
    {"CO_schematic", "real_schema_netname_cross", CO_REAL, offsetof(CO_CONFIG, real_schema_netname_cross), 0},
    {"CO_schematic", "real_schema_hot_point_radius", CO_REAL, offsetof(CO_CONFIG, real_schema_hot_point_radius), 0},
    {"CO_schematic", "real_schema_bus_width", CO_REAL, offsetof(CO_CONFIG, real_schema_bus_width), 0},
    {"CO_schematic", "real_schema_busbit_text_size", CO_REAL, offsetof(CO_CONFIG, real_schema_busbit_text_size), 0},
    {"CO_schematic", "real_schema_reference_text_size", CO_REAL, offsetof(CO_CONFIG, real_schema_reference_text_size), 0},
    {"CO_schematic", "real_schema_name_text_size", CO_REAL, offsetof(CO_CONFIG, real_schema_name_text_size), 0},
    {"CO_schematic", "real_schema_socle_text_size", CO_REAL, offsetof(CO_CONFIG, real_schema_socle_text_size), 0},
    {"CO_schematic", "real_schema_value_text_size", CO_REAL, offsetof(CO_CONFIG, real_schema_value_text_size), 0},
    {"CO_schematic", "real_schema_model_text_size", CO_REAL, offsetof(CO_CONFIG, real_schema_model_text_size), 0},
    {"CO_schematic", "real_schema_pin_text_size", CO_REAL, offsetof(CO_CONFIG, real_schema_pin_text_size), 0},
    {"CO_schematic", "real_schema_short_circuit_width", CO_REAL, offsetof(CO_CONFIG, real_schema_short_circuit_width), 0},
    {"CO_schematic", "real_schema_short_circuit_hight", CO_REAL, offsetof(CO_CONFIG, real_schema_short_circuit_hight), 0},
    {"CO_schematic", "real_schema_mark_width", CO_REAL, offsetof(CO_CONFIG, real_schema_mark_width), 0},
    {"CO_schematic", "real_schema_mark_hight", CO_REAL, offsetof(CO_CONFIG, real_schema_mark_hight), 0},
    {"CO_schematic", "real_schema_dot_step_size", CO_REAL, offsetof(CO_CONFIG, real_schema_dot_step_size), 0},
    {"CO_schematic", "real_schema_pour_polygon_clearance", CO_REAL, offsetof(CO_CONFIG, real_schema_pour_polygon_clearance), 0},
    {"CO_schematic", "real_schema_fill_distance", CO_REAL, offsetof(CO_CONFIG, real_schema_fill_distance), 0},
    {"CO_schematic", "real_schema_minimal_area", CO_REAL, offsetof(CO_CONFIG, real_schema_minimal_area), 0},
    {"CO_schematic", "schema_obmp_pixel_size_x", CO_INT32, offsetof(CO_CONFIG, schema_obmp_pixel_size_x), 0},
    {"CO_schematic", "schema_obmp_pixel_size_y", CO_INT32, offsetof(CO_CONFIG, schema_obmp_pixel_size_y), 0},
    {"CO_schematic", "schema_obmp_mm_size_x", CO_DOUBLE, offsetof(CO_CONFIG, schema_obmp_mm_size_x), 0},
    {"CO_schematic", "schema_obmp_mm_size_y", CO_DOUBLE, offsetof(CO_CONFIG, schema_obmp_mm_size_y), 0},
    {"CO_schematic", "schema_obmp_dpi_resolution", CO_INT32, offsetof(CO_CONFIG, schema_obmp_dpi_resolution), 0},
    {"CO_schematic", "schema_obmp_color", CO_YES, offsetof(CO_CONFIG, schema_obmp_color), 0},
    {"CO_schematic", "schema_obmp_background", CO_COLOUR, offsetof(CO_CONFIG, schema_obmp_background), 0},
    {"CO_schematic", "real_schema_obmp_minimal_width", CO_REAL, offsetof(CO_CONFIG, real_schema_obmp_minimal_width), 0},
    {"CO_schematic", "schema_oemf_color_metafile", CO_YES, offsetof(CO_CONFIG, schema_oemf_color_metafile), 0},
    {"CO_schematic", "schema_oemf_transparent", CO_YES, offsetof(CO_CONFIG, schema_oemf_transparent), 0},
    {"CO_schematic", "schema_oemf_background", CO_COLOUR, offsetof(CO_CONFIG, schema_oemf_background), 0},
    {"CO_schematic", "schema_oemf_foreground", CO_COLOUR, offsetof(CO_CONFIG, schema_oemf_foreground), 0},
    {"CO_schematic", "real_schema_oemf_minimal_width", CO_REAL, offsetof(CO_CONFIG, real_schema_oemf_minimal_width), 0},
    {"CO_schematic", "schema_autochange_reference", CO_YES, offsetof(CO_CONFIG, schema_autochange_reference), 0},
    {"CO_layout", "layout_units", CO_UNIT, offsetof(CO_CONFIG, layout_units), 0},
    {"CO_layout", "layout_resolution_mantisa", CO_INT16, offsetof(CO_CONFIG, layout_resolution_mantisa), 0},
    {"CO_layout", "layout_resolution_exponent", CO_INT16, offsetof(CO_CONFIG, layout_resolution_exponent), 0},
    {"CO_layout", "real_default_layout_boundary", CO_REAL_QUAD, offsetof(CO_CONFIG, real_default_layout_boundary), 0},
    {"CO_layout", "real_default_socle_boundary", CO_REAL_QUAD, offsetof(CO_CONFIG, real_default_socle_boundary), 0},
    {"CO_layout", "layout_primary_grid_on", CO_YES, offsetof(CO_CONFIG, layout_primary_grid_on), 0},
    {"CO_layout", "real_layout_primary_grid_factor", CO_REAL_PAIR, offsetof(CO_CONFIG, real_layout_primary_grid_factor), 0},
    {"CO_layout", "real_layout_primary_grid_offset", CO_REAL_PAIR, offsetof(CO_CONFIG, real_layout_primary_grid_offset), 0},
    {"CO_layout", "layout_secondary_grid_on", CO_YES, offsetof(CO_CONFIG, layout_secondary_grid_on), 0},
    {"CO_layout", "real_layout_secondary_grid_factor", CO_REAL_PAIR, offsetof(CO_CONFIG, real_layout_secondary_grid_factor), 0},
    {"CO_layout", "real_layout_secondary_grid_offset", CO_REAL_PAIR, offsetof(CO_CONFIG, real_layout_secondary_grid_offset), 0},
    {"CO_layout", "layout_default_library_path", CO_TEXT, offsetof(CO_CONFIG, layout_default_library_path), CO_PATH_MAX},
    {"CO_layout", "layout_default_library_extension", CO_TEXT, offsetof(CO_CONFIG, layout_default_library_extension), CO_EXT_MAX},
    {"CO_layout", "layout_default_library_V3_extension", CO_TEXT, offsetof(CO_CONFIG, layout_default_library_V3_extension), CO_EXT_MAX},
    {"CO_layout", "real_layout_join_radius", CO_REAL, offsetof(CO_CONFIG, real_layout_join_radius), 0},
    {"CO_layout", "real_layout_size", CO_REAL, offsetof(CO_CONFIG, real_layout_size), 0},
    {"CO_layout", "real_layout_thick", CO_REAL, offsetof(CO_CONFIG, real_layout_thick), 0},
    {"CO_layout", "real_layout_netname_cross", CO_REAL, offsetof(CO_CONFIG, real_layout_netname_cross), 0},
    {"CO_layout", "real_layout_hot_point_radius", CO_REAL, offsetof(CO_CONFIG, real_layout_hot_point_radius), 0},
    {"CO_layout", "real_layout_pin_text_size", CO_REAL, offsetof(CO_CONFIG, real_layout_pin_text_size), 0},
    {"CO_layout", "real_layout_reference_text_size", CO_REAL, offsetof(CO_CONFIG, real_layout_reference_text_size), 0},
    {"CO_layout", "real_layout_name_text_size", CO_REAL, offsetof(CO_CONFIG, real_layout_name_text_size), 0},
    {"CO_layout", "real_layout_socle_text_size", CO_REAL, offsetof(CO_CONFIG, real_layout_socle_text_size), 0},
    {"CO_layout", "real_layout_value_text_size", CO_REAL, offsetof(CO_CONFIG, real_layout_value_text_size), 0},
    {"CO_layout", "real_layout_model_text_size", CO_REAL, offsetof(CO_CONFIG, real_layout_model_text_size), 0},
    {"CO_layout", "real_layout_mark_width", CO_REAL, offsetof(CO_CONFIG, real_layout_mark_width), 0},
    {"CO_layout", "real_layout_mark_hight", CO_REAL, offsetof(CO_CONFIG, real_layout_mark_hight), 0},
    {"CO_layout", "real_layout_short_circuit_width", CO_REAL, offsetof(CO_CONFIG, real_layout_short_circuit_width), 0},
    {"CO_layout", "real_layout_dot_step_size", CO_REAL, offsetof(CO_CONFIG, real_layout_dot_step_size), 0},
    {"CO_layout", "real_layout_maximal_clearance", CO_REAL, offsetof(CO_CONFIG, real_layout_maximal_clearance), 0},
    {"CO_layout", "real_layout_clearance", CO_REAL, offsetof(CO_CONFIG, real_layout_clearance), 0},
    {"CO_layout", "real_layout_pour_polygon_clearance", CO_REAL, offsetof(CO_CONFIG, real_layout_pour_polygon_clearance), 0},
    {"CO_layout", "real_layout_fill_distance", CO_REAL, offsetof(CO_CONFIG, real_layout_fill_distance), 0},
    {"CO_layout", "real_layout_minimal_area", CO_REAL, offsetof(CO_CONFIG, real_layout_minimal_area), 0},
    {"CO_layout", "real_thermopoint_left", CO_REAL, offsetof(CO_CONFIG, real_thermopoint_left), 0},
    {"CO_layout", "real_thermopoint_right", CO_REAL, offsetof(CO_CONFIG, real_thermopoint_right), 0},
    {"CO_layout", "real_thermopoint_up", CO_REAL, offsetof(CO_CONFIG, real_thermopoint_up), 0},
    {"CO_layout", "real_thermopoint_down", CO_REAL, offsetof(CO_CONFIG, real_thermopoint_down), 0},
    {"CO_layout", "real_thermopoint_radius", CO_REAL, offsetof(CO_CONFIG, real_thermopoint_radius), 0},
    {"CO_layout", "real_place_point_radius", CO_REAL, offsetof(CO_CONFIG, real_place_point_radius), 0},
    {"CO_layout", "real_drsm_point_radius", CO_REAL, offsetof(CO_CONFIG, real_drsm_point_radius), 0},
    {"CO_layout", "independent_layout_socle", CO_YES, offsetof(CO_CONFIG, independent_layout_socle), 0},
    {"CO_layout", "layout_obmp_pixel_size_x", CO_INT32, offsetof(CO_CONFIG, layout_obmp_pixel_size_x), 0},
    {"CO_layout", "layout_obmp_pixel_size_y", CO_INT32, offsetof(CO_CONFIG, layout_obmp_pixel_size_y), 0},
    {"CO_layout", "layout_obmp_mm_size_x", CO_DOUBLE, offsetof(CO_CONFIG, layout_obmp_mm_size_x), 0},
    {"CO_layout", "layout_obmp_mm_size_y", CO_DOUBLE, offsetof(CO_CONFIG, layout_obmp_mm_size_y), 0},
    {"CO_layout", "layout_obmp_dpi_resolution", CO_INT32, offsetof(CO_CONFIG, layout_obmp_dpi_resolution), 0},
    {"CO_layout", "layout_obmp_color", CO_YES, offsetof(CO_CONFIG, layout_obmp_color), 0},
    {"CO_layout", "layout_obmp_background", CO_COLOUR, offsetof(CO_CONFIG, layout_obmp_background), 0},
    {"CO_layout", "real_layout_obmp_minimal_width", CO_REAL, offsetof(CO_CONFIG, real_layout_obmp_minimal_width), 0},
    {"CO_layout", "layout_oemf_color_metafile", CO_YES, offsetof(CO_CONFIG, layout_oemf_color_metafile), 0},
    {"CO_layout", "layout_oemf_transparent", CO_YES, offsetof(CO_CONFIG, layout_oemf_transparent), 0},
    {"CO_layout", "layout_oemf_background", CO_COLOUR, offsetof(CO_CONFIG, layout_oemf_background), 0},
    {"CO_layout", "layout_oemf_foreground", CO_COLOUR, offsetof(CO_CONFIG, layout_oemf_foreground), 0},
    {"CO_layout", "real_layout_oemf_minimal_width", CO_REAL, offsetof(CO_CONFIG, real_layout_oemf_minimal_width), 0},
    {"CO_layout", "layout_autochange_reference", CO_YES, offsetof(CO_CONFIG, layout_autochange_reference), 0},
    {"CO_edit", "edit_units", CO_UNIT, offsetof(CO_CONFIG, edit_units), 0},
    {"CO_edit", "edit_resolution_mantisa", CO_INT16, offsetof(CO_CONFIG, edit_resolution_mantisa), 0},
    {"CO_edit", "edit_resolution_exponent", CO_INT16, offsetof(CO_CONFIG, edit_resolution_exponent), 0},
    {"CO_edit", "real_default_edit_boundary", CO_REAL_QUAD, offsetof(CO_CONFIG, real_default_edit_boundary), 0},
    {"CO_edit", "edit_primary_grid_on", CO_YES, offsetof(CO_CONFIG, edit_primary_grid_on), 0},
    {"CO_edit", "real_edit_primary_grid_factor", CO_REAL_PAIR, offsetof(CO_CONFIG, real_edit_primary_grid_factor), 0},
    {"CO_edit", "real_edit_primary_grid_offset", CO_REAL_PAIR, offsetof(CO_CONFIG, real_edit_primary_grid_offset), 0},
    {"CO_edit", "edit_secondary_grid_on", CO_YES, offsetof(CO_CONFIG, edit_secondary_grid_on), 0},
    {"CO_edit", "real_edit_secondary_grid_factor", CO_REAL_PAIR, offsetof(CO_CONFIG, real_edit_secondary_grid_factor), 0},
    {"CO_edit", "real_edit_secondary_grid_offset", CO_REAL_PAIR, offsetof(CO_CONFIG, real_edit_secondary_grid_offset), 0},
    {"CO_edit", "edit_default_library_path", CO_TEXT, offsetof(CO_CONFIG, edit_default_library_path), CO_PATH_MAX},
    {"CO_edit", "edit_default_library_extension", CO_TEXT, offsetof(CO_CONFIG, edit_default_library_extension), CO_EXT_MAX},
    {"CO_edit", "real_edit_thick", CO_INT32, offsetof(CO_CONFIG, real_edit_thick), 0},
    {"CO_edit", "real_edit_hot_point_radius", CO_INT32, offsetof(CO_CONFIG, real_edit_hot_point_radius), 0},
    {"CO_edit", "real_edit_title_text_size", CO_INT32, offsetof(CO_CONFIG, real_edit_title_text_size), 0},
    {"CO_edit", "real_edit_pour_polygon_clearance", CO_REAL, offsetof(CO_CONFIG, real_edit_pour_polygon_clearance), 0},
    {"CO_edit", "real_edit_fill_distance", CO_REAL, offsetof(CO_CONFIG, real_edit_fill_distance), 0},
    {"CO_edit", "real_edit_minimal_area", CO_REAL, offsetof(CO_CONFIG, real_edit_minimal_area), 0},
    {"CO_pp", "real_default_edit_boundary", CO_REAL_QUAD, offsetof(CO_CONFIG, pp_real_default_edit_boundary), 0},
};

namespace {

template <class T>
T *field(CO_CONFIG *record, const CO_KEY *key)
{
    return reinterpret_cast<T *>(reinterpret_cast<char *>(record) + key->offset);
}

template <class T>
const T *field(const CO_CONFIG *record, const CO_KEY *key)
{
    return reinterpret_cast<const T *>(reinterpret_cast<const char *>(record) + key->offset);
}

#if TRK_WINDOWS
// Where the search for SYSTEM.WCO looks first.
const char REGISTRY_KEY[] = "Software\\KRV\\TOREVAN\\5";

// The text value of the suite's registry key under root into path
// (CO_PATH_MAX + 1 bytes); empty when the key or the value cannot be read.
void registry_path(HKEY root, const char *value, char *path)
{
    SYS_registry_read(root, REGISTRY_KEY, value, path, CO_PATH_MAX + 1);
}

// The path of the running program, or empty.
void program_path(char *path)
{
    const DWORD length = GetModuleFileNameA(nullptr, path, CO_PATH_MAX + 1);
    if (length == 0 || length > CO_PATH_MAX)
        path[0] = 0;
}
#else
// No registry off Windows.
void registry_path(int, const char *, char *path)
{
    path[0] = 0;
}

// The path of the running program in the suite's form ("\" separators), or empty.
void program_path(char *path)
{
    path[0] = 0;
#if defined(__linux__)
    const ssize_t length = readlink("/proc/self/exe", path, CO_PATH_MAX);
    path[length > 0 ? length : 0] = 0;
    ST_replace_char(path, '/', '\\');
#endif
}
#endif

#if TRK_WINDOWS
#define CO_USER_ROOT HKEY_CURRENT_USER
#define CO_MACHINE_ROOT HKEY_LOCAL_MACHINE
#else
#define CO_USER_ROOT 0
#define CO_MACHINE_ROOT 0
#endif

// Loads the named file when it exists; 1 when it loaded.
int16_t load_existing(const char *path)
{
    return path[0] && FE_exists(path) && WCO_load(WCO_system_store(), path) ? 1 : 0;
}

}  // namespace

int16_t CO_get_key(WCO_file *store, const CO_KEY *key, CO_CONFIG *record)
{
    if (!store || !key || !record) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const char *s = key->section;
    const char *k = key->key;
    switch (key->kind) {
    case CO_TEXT: return WCO_get_text(store, s, k, field<char>(record, key), key->capacity);
    case CO_INT32: return WCO_get_int32(store, s, k, field<int32_t>(record, key));
    case CO_INT16: return WCO_get_int16(store, s, k, field<int16_t>(record, key));
    case CO_REAL: return WCO_get_real(store, s, k, field<float>(record, key));
    case CO_DOUBLE: return WCO_get_double(store, s, k, field<double>(record, key));
    case CO_REAL_PAIR: return WCO_get_real_pair(store, s, k, field<float>(record, key));
    case CO_REAL_QUAD: return WCO_get_real_quad(store, s, k, field<float>(record, key));
    case CO_YES: return WCO_get_yes(store, s, k, field<int16_t>(record, key));
    case CO_COLOUR: return WCO_get_colour(store, s, k, field<uint8_t>(record, key));
    case CO_DRAW_MODE: return WCO_get_draw_mode(store, s, k, field<uint8_t>(record, key));
    case CO_CODE_PAGE: return WCO_get_code_page(store, s, k, field<int16_t>(record, key));
    case CO_UNIT: return WCO_get_unit(store, s, k, field<int16_t>(record, key));
    case CO_CURSOR: return WCO_get_cursor(store, s, k, field<int16_t>(record, key));
    case CO_KEY_CODE: return WCO_get_key(store, s, k, field<int16_t>(record, key));
    }
    WE_switch_error(SRC, __LINE__);
    return 0;
}

int16_t CO_set_key(WCO_file *store, const CO_KEY *key, const CO_CONFIG *record)
{
    if (!store || !key || !record) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const char *s = key->section;
    const char *k = key->key;
    switch (key->kind) {
    case CO_TEXT: return WCO_set_text(store, s, k, field<char>(record, key));
    case CO_INT32: return WCO_set_int32(store, s, k, *field<int32_t>(record, key));
    case CO_INT16: return WCO_set_int16(store, s, k, *field<int16_t>(record, key));
    case CO_REAL: return WCO_set_real(store, s, k, *field<float>(record, key));
    case CO_DOUBLE: return WCO_set_double(store, s, k, *field<double>(record, key));
    case CO_REAL_PAIR: return WCO_set_real_pair(store, s, k, field<float>(record, key));
    case CO_REAL_QUAD: return WCO_set_real_quad(store, s, k, field<float>(record, key));
    case CO_YES: return WCO_set_yes(store, s, k, *field<int16_t>(record, key));
    case CO_COLOUR: return WCO_set_colour(store, s, k, *field<uint8_t>(record, key));
    case CO_DRAW_MODE: return WCO_set_draw_mode(store, s, k, *field<uint8_t>(record, key));
    case CO_CODE_PAGE: return WCO_set_code_page(store, s, k, *field<int16_t>(record, key));
    case CO_UNIT: return WCO_set_unit(store, s, k, *field<int16_t>(record, key));
    case CO_CURSOR: return WCO_set_cursor(store, s, k, *field<int16_t>(record, key));
    case CO_KEY_CODE: return WCO_set_key(store, s, k, *field<int16_t>(record, key));
    }
    WE_switch_error(SRC, __LINE__);
    return 0;
}

int16_t CO_load_or_default(CO_CONFIG *record)
{
    if (!record) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    WCO_file *store = WCO_system_store();
    if (!store) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    for (const CO_KEY &key : CO_keys)
        if (!CO_get_key(store, &key, record))
            CO_set_key(store, &key, record);
    WCO_select_section(store, nullptr);
    return 1;
}

int16_t CO_release(CO_CONFIG *record)
{
    if (!record) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return 1;
}

int16_t CO_load_system_wco()
{
    char path[CO_PATH_MAX + 1];
    registry_path(CO_USER_ROOT, "user_wco_path", path);
    if (load_existing(path))
        return 1;
    registry_path(CO_MACHINE_ROOT, "system_wco_path", path);
    if (load_existing(path))
        return 1;
    program_path(path);
    char directory[CO_PATH_MAX + 1];
    if (!path[0] || !FN_split(path, directory, nullptr))
        return 0;
    ST_copy(path, CO_SYSTEM_WCO, 0);
    if (!FN_add_dir(path, directory) || !FE_exists(path))
        return 0;
    return WCO_load(WCO_system_store(), path);
}
