#include "common/co.h"

#include <cstdio>

#include "common/config.h"
#include "swin/wco.h"
#include "tests/wcotest.h"

#if TRK_WINDOWS
#include <windows.h>
#elif defined(__linux__)
#include <unistd.h>
#endif

namespace {

// The complete default system configuration as the store holds it: "[section] key=value key=value ...".
const char DEFAULTS[] =
    "[CO_colors] bad_atom_color=světle šedá bad_atom_priority=OR dot_grid_color=bílá dot_grid_priority=XOR "
    "draw_priority=OR erase_color=černá erase_priority=REPLACE flexi_color=světle zelená flexi_priority=XOR "
    "layout_hilight_color=žlutá layout_hilight_priority=REPLACE line_grid_color=bílá line_grid_priority=XOR "
    "schematic_hilight_color=světle fialová schematic_hilight_priority=REPLACE select_color=bílá "
    "select_priority=REPLACE trace_color=žlutá trace_priority=REPLACE [CO_common] autopanning=Ne "
    "bg_dash_dot_multiple=8 bg_dash_multiple=3 check_design_file_integrity=Ano check_file_overwrite=Ano "
    "check_file_owerwrite=Ne cursor_delta=5 cursor_type=NORMAL_CURSOR default_design_extension=D32 "
    "default_design_name=DESIGN default_design_V3_extension=DES default_macro_extension=WMC "
    "default_pp_output_directory= default_text_extension=TXT draw_close_polygon_segment=Ano enable_context_menu=Ano "
    "grid_dots_distance=5 initial_directory=. macro_end_character=Break move_trace_cursor=Ano no_bak_version=5 "
    "output_code=Nastavení při použití percent_msg_window_size=10 percent_tbar_divider_position=500 save_timeout=0 "
    "scroll_with_pour_polygon=Ne scroll_with_redraw=Ano show_distance_character=w show_temporary_character=q "
    "small_check_design_integrity=Ano sound_on=Ano system_default_design_name=DEFAULT system_path=\\KRV5\\ "
    "trace_cursor_type=LINE_CURSOR [CO_edit] edit_default_library_extension=LDL "
    "edit_default_library_path=c:\\KRV\\LIB\\ edit_primary_grid_on=Ano edit_resolution_exponent=-2 "
    "edit_resolution_mantisa=1 edit_secondary_grid_on=Ano edit_units=mm real_default_edit_boundary=0.000000, 0.000000, "
    "170.000000, 120.000000 real_edit_fill_distance=1.000000 real_edit_hot_point_radius=2 "
    "real_edit_minimal_area=1.000000 real_edit_pour_polygon_clearance=0.400000 real_edit_primary_grid_factor=1.250000 "
    "1.250000 real_edit_primary_grid_offset=0.000000 0.000000 real_edit_secondary_grid_factor=10.000000 10.000000 "
    "real_edit_secondary_grid_offset=0.000000 0.000000 real_edit_thick=0 real_edit_title_text_size=2 [CO_layout] "
    "independent_layout_socle=Ne layout_autochange_reference=Ano layout_default_library_extension=L32 "
    "layout_default_library_path=c:\\krv\\lib layout_default_library_V3_extension=LDL layout_obmp_background=bílá "
    "layout_obmp_color=Ne layout_obmp_dpi_resolution=300 layout_obmp_mm_size_x=210.000000 "
    "layout_obmp_mm_size_y=297.000000 layout_obmp_pixel_size_x=800 layout_obmp_pixel_size_y=600 "
    "layout_oemf_background=bílá layout_oemf_color_metafile=Ano layout_oemf_foreground=černá "
    "layout_oemf_transparent=Ne layout_primary_grid_on=Ano layout_resolution_exponent=-2 layout_resolution_mantisa=1 "
    "layout_secondary_grid_on=Ano layout_units=mm real_default_layout_boundary=0.000000, 0.000000, 170.000000, "
    "120.000000 real_default_socle_boundary=0.000000, 0.000000, 80.000000, 60.000000 real_drsm_point_radius=0.500000 "
    "real_layout_clearance=0.300000 real_layout_dot_step_size=0.500000 real_layout_fill_distance=1.000000 "
    "real_layout_hot_point_radius=0.500000 real_layout_join_radius=1.500000 real_layout_mark_hight=6.000000 "
    "real_layout_mark_width=3.000000 real_layout_maximal_clearance=2.000000 real_layout_minimal_area=1.000000 "
    "real_layout_model_text_size=1.800000 real_layout_name_text_size=1.800000 real_layout_netname_cross=2.000000 "
    "real_layout_obmp_minimal_width=0.000000 real_layout_oemf_minimal_width=0.000000 "
    "real_layout_pin_text_size=1.200000 real_layout_pour_polygon_clearance=0.400000 "
    "real_layout_primary_grid_factor=1.250000 1.250000 real_layout_primary_grid_offset=0.000000 0.000000 "
    "real_layout_reference_text_size=2.000000 real_layout_secondary_grid_factor=10.000000 10.000000 "
    "real_layout_secondary_grid_offset=0.000000 0.000000 real_layout_short_circuit_width=2.500000 "
    "real_layout_size=2.000000 real_layout_socle_text_size=1.800000 real_layout_thick=0.000000 "
    "real_layout_value_text_size=1.800000 real_place_point_radius=1.200000 real_thermopoint_down=1.500000 "
    "real_thermopoint_left=1.500000 real_thermopoint_radius=1.500000 real_thermopoint_right=1.500000 "
    "real_thermopoint_up=1.500000 [CO_pp] real_default_edit_boundary=0.000000, 0.000000, 600.000000, 400.000000 "
    "[CO_printer_output] default_pcf_black_color=světle šedá default_pcf_extension=PCF "
    "default_pcf_file_name=LASER300.PCF default_pcf_first_color=žlutá default_prn_output_file=*.T "
    "printer_dash_dot_multiple=8 printer_dash_multiple=3 printer_disable_dash_dot_line=Ne printer_disable_dash_line=Ne "
    "printer_disable_dot_line=Ne real_printer_minimal_width=0.200000 [CO_schematic] "
    "real_default_schematic_boundary=0.000000, 0.000000, 170.000000, 120.000000 "
    "real_default_symbolic_boundary=0.000000, 0.000000, 170.000000, 120.000000 "
    "real_schematic_primary_grid_factor=3.000000 3.000000 real_schematic_primary_grid_offset=0.000000 0.000000 "
    "real_schematic_secondary_grid_factor=30.000000 30.000000 real_schematic_secondary_grid_offset=0.000000 0.000000 "
    "real_schema_add_non_port_name=0.660000 real_schema_add_x_port_name=0.300000 real_schema_add_y_port_name=0.330000 "
    "real_schema_busbit_text_size=1.800000 real_schema_bus_width=1.000000 real_schema_dot_step_size=0.500000 "
    "real_schema_fill_distance=1.000000 real_schema_hot_point_radius=1.000000 real_schema_join_radius=1.500000 "
    "real_schema_junction_radius=1.000000 real_schema_mark_hight=6.000000 real_schema_mark_width=3.000000 "
    "real_schema_minimal_area=1.000000 real_schema_model_text_size=1.800000 real_schema_name_text_size=1.800000 "
    "real_schema_netname_cross=1.000000 real_schema_obmp_minimal_width=0.000000 "
    "real_schema_oemf_minimal_width=0.000000 real_schema_pin_text_size=1.800000 real_schema_port_name_size=1.800000 "
    "real_schema_port_power_radius=1.000000 real_schema_port_width=0.300000 "
    "real_schema_pour_polygon_clearance=0.400000 real_schema_reference_text_size=2.000000 "
    "real_schema_short_circuit_hight=6.000000 real_schema_short_circuit_width=3.000000 real_schema_size=2.000000 "
    "real_schema_socle_text_size=1.800000 real_schema_thick=0.000000 real_schema_value_text_size=1.800000 "
    "real_symbol_default_port_size=2.000000 real_symbol_default_port_thick=0.000000 schematic_primary_grid_on=Ano "
    "schematic_resolution_exponent=-1 schematic_resolution_mantisa=1 schematic_secondary_grid_on=Ano "
    "schematic_units=mm schema_autochange_reference=Ano schema_default_library_extension=S32 "
    "schema_default_library_path=c:\\krv\\lib schema_default_library_V3_extension=SDL schema_junction_square=Ne "
    "schema_obmp_background=bílá schema_obmp_color=Ne schema_obmp_dpi_resolution=300 schema_obmp_mm_size_x=210.000000 "
    "schema_obmp_mm_size_y=297.000000 schema_obmp_pixel_size_x=800 schema_obmp_pixel_size_y=600 "
    "schema_oemf_background=bílá schema_oemf_color_metafile=Ano schema_oemf_foreground=černá "
    "schema_oemf_transparent=Ne [CO_simulator] default_model_library_extension=MOD default_model_library_path=c:\\";

// An empty store takes every default; a second walk over the full store finds every key and changes nothing.
TEST(CoLoadOrDefault, AnEmptyStoreTakesEveryDefault)
{
    WCO_file *store = WT_empty_system_store();
    CO_CONFIG record;
    EXPECT_EQ(CO_load_or_default(&record), 1);
    EXPECT_EQ(store->current, -1);
    EXPECT_EQ(WT_dump(store), DEFAULTS);
    EXPECT_TRUE(WT_changed(store));
    WT_clear_changed(store);
    EXPECT_EQ(CO_load_or_default(&record), 1);
    EXPECT_EQ(WT_dump(store), DEFAULTS);
    EXPECT_FALSE(WT_changed(store));
    EXPECT_EQ(TU_reports().size(), 0u);
    // The record's fields follow the keys' order and do not overlap.
    for (int i = 1; i < CO_KEY_COUNT; i++)
        EXPECT_GT(CO_keys[i].offset, CO_keys[i - 1].offset) << CO_keys[i].key;
}

// Stored values win, a value that does not read is replaced by the default, the record gets what the store holds.
TEST(CoLoadOrDefault, StoredValuesWinAndBadOnesAreReplaced)
{
    WCO_file *store = WT_empty_system_store();
    // The store's text before and after the load.
    const struct { const char *section, *key, *stored, *after; } cases[] = {
        {"CO_common", "check_file_overwrite", "Ne", "Ne"}, {"CO_common", "bg_dash_multiple", "x", "3"},
        {"CO_colors", "trace_color", "fuchsie", "fuchsie"}, {"CO_schematic", "schema_obmp_mm_size_x", "100.5", "100.5"},
        {"CO_common", "default_design_extension", "ABCDEF", "ABCDEF"},
        {"CO_pp", "real_default_edit_boundary", "1, 2, 3, 4", "1, 2, 3, 4"},
        {"CO_edit", "real_default_edit_boundary", nullptr, "0.000000, 0.000000, 170.000000, 120.000000"},
        // A quad that fails half-way keeps the numbers read and is written back from the record.
        {"CO_layout", "real_default_socle_boundary", "1, 2, x, 4", "1.000000, 2.000000, 80.000000, 60.000000"},
    };
    for (const auto &c : cases)
        ASSERT_TRUE(!c.stored || WCO_set_text(store, c.section, c.key, c.stored)) << c.key;
    CO_CONFIG record;
    EXPECT_EQ(CO_load_or_default(&record), 1);
    for (const auto &c : cases)
        EXPECT_STREQ(WCO_get_text_ref(store, c.section, c.key), c.after) << c.key;
    EXPECT_EQ(record.check_file_overwrite, 0);
    EXPECT_EQ(record.bg_dash_multiple, 3);
    EXPECT_EQ(record.trace_color, 15);
    EXPECT_STREQ(record.default_design_extension, "ABCD");
    EXPECT_EQ(record.pp_real_default_edit_boundary[3], 4.0f);
    EXPECT_EQ(record.real_default_edit_boundary[3], 120.0f);
    EXPECT_EQ(record.schema_obmp_mm_size_x, 100.5);
    EXPECT_TRUE(record.real_default_socle_boundary[0] == 1.0f && record.real_default_socle_boundary[1] == 2.0f &&
                record.real_default_socle_boundary[2] == 80.0f);
    int32_t keys = 0;
    for (int32_t i = 0; i < store->count; i++)
        keys += store->sections[i].count;
    EXPECT_EQ(keys, CO_KEY_COUNT);
    EXPECT_EQ(TU_reports().size(), 0u);
}

// Null arguments are internal errors.
TEST(Co, NullArgumentsAreInternalErrors)
{
    WCO_file *store = WCO_system_store();
    CO_CONFIG record;
    EXPECT_EQ(CO_release(&record), 1);
    TU_expect_failures("..\\common\\co", {
        TU_FAILS(CO_release(nullptr)), TU_FAILS(CO_load_or_default(nullptr)),
        TU_FAILS(CO_get_key(nullptr, &CO_keys[0], &record)), TU_FAILS(CO_get_key(store, nullptr, &record)),
        TU_FAILS(CO_get_key(store, &CO_keys[0], nullptr)), TU_FAILS(CO_set_key(nullptr, &CO_keys[0], &record)),
        TU_FAILS(CO_set_key(store, nullptr, &record)), TU_FAILS(CO_set_key(store, &CO_keys[0], nullptr)),
    });
}

// The directory of the test program, in the host's form with a separator at the end.
std::string program_directory()
{
    char path[1025] = "";
#if TRK_WINDOWS
    GetModuleFileNameA(nullptr, path, sizeof path);
#else
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    path[length > 0 ? length : 0] = 0;
#endif
    const std::string program = path;
    return program.substr(0, program.find_last_of(TU_SEP) + 1);
}

// SYSTEM.WCO beside the program is found and merged into the system store; none there: 0, the store as it was.
TEST(CoLoadSystemWco, FindsTheFileBesideTheProgram)
{
    const std::string beside = program_directory() + CO_SYSTEM_WCO;
    ASSERT_FALSE(TU_exists(beside)) << beside;
    WCO_file *store = WT_empty_system_store();
    ASSERT_EQ(WCO_set_text(store, "Kept", "k", "v"), 1);
    EXPECT_EQ(CO_load_system_wco(), 0);
    EXPECT_EQ(store->count, 1);
    EXPECT_STREQ(store->file_name, "");
    struct REMOVER {
        const std::string &path;
        ~REMOVER() { std::remove(path.c_str()); }
    } remover{beside};
    TU_write(beside, "BEGIN[CO_common]\n sound_on = Ne\n");
    EXPECT_EQ(CO_load_system_wco(), 1);
    EXPECT_STREQ(WCO_get_text_ref(store, "CO_common", "sound_on"), "Ne");
    EXPECT_STREQ(WCO_get_text_ref(store, "Kept", "k"), "v");
    EXPECT_EQ(TU_reports().size(), 0u);
}

#if TRK_WINDOWS
// The registry values come first (the user's, then the machine's); a value naming no file falls through.
TEST(CoLoadSystemWco, RegistryValuesComeFirst)
{
    TU_SCRATCH scratch;
    const std::string user = scratch.file("user.wco");
    TU_write(user, "BEGIN[CO_common]\n sound_on = Ne\n");
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\KRV\\TOREVAN\\5", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    WCO_file *store = WT_empty_system_store();
    for (const std::string &path : {std::string("C:\\no\\such\\SYSTEM.WCO"), user}) {
        RegSetValueExA(key, "user_wco_path", 0, REG_SZ, reinterpret_cast<const BYTE *>(path.c_str()),
                       static_cast<DWORD>(path.size() + 1));
        EXPECT_EQ(CO_load_system_wco(), path == user ? 1 : 0) << path;
    }
    RegDeleteValueA(key, "user_wco_path");
    RegCloseKey(key);
    EXPECT_STREQ(store->file_name, user.c_str());
    EXPECT_STREQ(WCO_get_text_ref(store, "CO_common", "sound_on"), "Ne");
}
#endif

}  // namespace
