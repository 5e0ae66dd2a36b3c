#include "insttrkp/inst_main.h"

#include <cstdio>
#include <string>
#include <vector>

#include "common/co.h"
#include "common/fi.h"
#include "common/st.h"
#include "common/sys.h"
#include "menu/menu.h"
#include "swin/wgd.h"
#include "win/gdd.h"
#include "win/instmtrk.h"
#include "win/pfu.h"
#include "win/we.h"

static const char SRC[] = "..\\insttrkp\\inst_main";

char exe_drive[INST_DRIVE_MAX + 1] = "";
char exe_directory[INST_DIRECTORY_MAX + 1] = "";
int16_t INST_list_functions = 0;

namespace {

// One line: the prefix and a text appended with the listing's bound.
int16_t write_text_line(C_FILE *file, const char *prefix, const char *text)
{
    char line[INST_LIST_TEXT_MAX + 1];
    ST_copy(line, prefix, INST_LIST_TEXT_MAX);
    ST_append(line, text ? text : "", INST_LIST_TEXT_MAX);
    return FI_write_text(file, line);
}

int16_t write_entry(C_FILE *file, const PFU_ENTRY *entry, const char *text)
{
    char line[INST_LIST_TEXT_MAX + 1];
    std::snprintf(line, sizeof line, "ID_CODE  : %d", static_cast<int>(entry->id));
    int16_t ok = FI_write_text(file, line);
    ok &= write_text_line(file, "TEXT     : ", text);
    ok &= write_text_line(file, "HELP     : ", MENU_help(entry->id));
    ok &= write_text_line(file, "CONFIG   : ", entry->config);
    std::snprintf(line, sizeof line, "HELP_CODE: %d", static_cast<int>(entry->help_code));
    ok &= FI_write_text(file, line);
    // The type word as a signed number: bit 15 set gives eight digits "FFFF....".
    std::snprintf(line, sizeof line, "FT_TYPE  : 0x%04X", static_cast<unsigned>(static_cast<int>(entry->type)));
    ok &= FI_write_text(file, line);
    ok &= FI_write_text(file, " ");
    return ok;
}

}  // namespace

int16_t INST_parse_command_line(int argc, const char *const *argv)
{
    if (argc < 1 || !argv || !argv[0]) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const char *program = argv[0];
    ST_copy(exe_drive, program, INST_DRIVE_MAX);
    if (char *colon = ST_find_char(exe_drive, ':'))
        colon[1] = 0;
    if (const char *colon = ST_find_char(program, ':')) {
        ST_copy(exe_directory, colon + 1, INST_DIRECTORY_MAX);
        char *slash = ST_find_last(exe_directory, '\\');
        if (slash)
            slash[1] = 0;
        else
            exe_directory[0] = 0;
    }
    if (exe_drive[0] && exe_drive[1] == ':' && CO_system_config.system_drive[0] &&
        CO_system_config.system_drive[1] == ':')
        CO_system_config.system_drive[0] = exe_drive[0];
    for (int i = 1; i < argc; i++) {
        const char *argument = argv[i];
        // Only the second character counts: "$fxyz" selects the listing too.
        if (argument && argument[0] == '$' && (argument[1] == 'f' || argument[1] == 'F'))
            INST_list_functions = 1;
    }
    return 1;
}

int16_t INST_write_function_list(const PFU_TABLES *tables)
{
    if (!tables) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    C_FILE *file = nullptr;
    if (!FI_create_open(&file, INST_LIST_FILE, FI_TEXT_CREATE))
        return 0;
    for (int16_t t = 0; t < tables->count && t < PFU_TABLES_MAX; t++) {
        const PFU_ENTRY *entry = tables->tables[t];
        for (; entry && !(entry->state & PFU_END); entry++) {
            if (entry->type & PFU_TYPE_UNLISTED)
                continue;
            const char *text = MENU_text(entry->id);
            if (!text[0])
                continue;
            write_entry(file, entry, text);
        }
    }
    FI_write_text(file, "KONEC");
    int16_t closed = FI_close(file, 0);
    FI_destroy(&file);
    return closed;
}

int32_t INST_main(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    std::vector<std::string> arguments = SYS_arguments();
    std::vector<const char *> argv;
    for (const std::string &argument : arguments)
        argv.push_back(argument.c_str());
    INST_parse_command_line(static_cast<int>(argv.size()), argv.data());
    if (INST_list_functions) {
        INST_write_function_list(GDD_global.tables);
        return 0;
    }
    CO_load_or_default(&CO_system_config);
    int32_t code = WGD_run(instance, show, INSTMTRK_make);
    CO_release(&CO_system_config);
    return code;
}
