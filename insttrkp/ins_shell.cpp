#include "insttrkp/ins_shell.h"

#include <cstring>

#include "common/fe.h"
#include "common/st.h"
#include "common/sysdir.h"
#include "common/sysfold.h"
#include "common/syslink.h"
#include "common/sysreg.h"
#include "inst/ifl.h"
#include "inst/unl.h"
#include "insttrkp/ins.h"
#include "insttrkp/inst_main.h"
#include "swin/wgd.h"
#include "win/we.h"

namespace {

const char PROGRAM_EXE[] = "TRAKPRN.EXE";
const char UNINSTALL_EXE[] = "UNINSTAL.EXE";
const char PROGRAM_DESCRIPTION[] = "TRAKPRN - Konverze dat Gerber->Postscript";
const char UNINSTALL_DESCRIPTION[] = "Odinstalace TRAKPRN";
const char NO_DIRECTORY[] = "Nelze přejít do adresáře %s";

// Appends "\" unless the path already ends with one.
void end_with_backslash(char *path)
{
    const int16_t length = ST_length(path);
    if (length == 0 || path[length - 1] != '\\')
        ST_append(path, "\\", INS_PATH_MAX);
}

// The program's shortcut in the current directory (the folder), reported when
// the program is missing, and recorded for the uninstall program.
void make_program_shortcut(const char *folder)
{
    INS_PATH program, data;
    INS_join(program, exe_directory, PROGRAM_EXE);
    if (!FE_exists(program))
        WE_error("Nelze najít spustitelný program systému TOREVAN");
    INS_join(data, INS_state->target_dir, "Data");
    UNL_add_file(folder, INS_PROGRAM_LINK);
    INS_make_shortcut(INS_PROGRAM_LINK, program, PROGRAM_DESCRIPTION, data);
}

}  // namespace

int16_t INS_update_start_menu()
{
    WE_status("Aktualizace nabídky Start ...");
    INS_PATH group;
    if (WGD_is_windows_nt()) {
        if (!SYS_shell_folder(HKEY_LOCAL_MACHINE, "Common Programs", group)) {
            WE_error("Windows NT - Nelze zjistit adresář nabídky Start|Programy");
            return 0;
        }
    } else if (WGD_is_windows_98()) {
        if (!SYS_shell_folder(HKEY_CURRENT_USER, "Programs", group)) {
            WE_error("windows 98 - Nelze zjistit adresář nabídky Start|Programy");
            return 0;
        }
    } else if (WGD_is_windows_95()) {
        if (!SYS_shell_folder(HKEY_CURRENT_USER, "Programs", group)) {
            WE_error("Windows 95 - Nelze zjistit adresář nabídky Start|Programy");
            return 0;
        }
    } else {
        WE_error("Neznámá verze operačního systému¨\nNelze zjistit adresář nabídky Start|Programy");
        return 0;
    }
    end_with_backslash(group);
    ST_append(group, INS_GROUP_NAME, INS_PATH_MAX);
    UNL_add_directory(group);   // recorded before it is made, as everything the engine makes
    FE_make_path(group);        // an existing group is fine; entering it is the check
    if (!SYS_change_dir(group)) {
        WE_error_format(NO_DIRECTORY, group);
        return 0;
    }
    make_program_shortcut(group);

    INS_PATH uninstall, target;
    INS_join(uninstall, exe_directory, UNINSTALL_EXE);
    if (!FE_exists(uninstall))
        WE_error("Nelze najít odinstalační program systému TOREVAN");
    ST_copy(target, INS_state->target_dir, INS_PATH_MAX);
    const int16_t length = ST_length(target);
    if (length > 0 && target[length - 1] == '\\')
        target[length - 1] = 0;
    UNL_add_file(group, INS_UNINSTALL_LINK);
    INS_make_shortcut(INS_UNINSTALL_LINK, uninstall, UNINSTALL_DESCRIPTION, target);
    return 1;
}

int16_t INS_update_desktop()
{
    if (INS_state->desktop_shortcut == 0)
        return 0;
    WE_status("Aktualizace pracovní plochy ...");
    INS_PATH desktop;
    if (!SYS_shell_folder(HKEY_CURRENT_USER, "Desktop", desktop)) {
        WE_error("Nelze zjistit adresář složky Pracovní plocha");
        return 0;
    }
    if (!SYS_change_dir(desktop)) {
        WE_error_format(NO_DIRECTORY, desktop);
        return 0;
    }
    make_program_shortcut(desktop);
    return 1;
}

int16_t INS_update_quick_launch()
{
    if (INS_state->quick_launch_shortcut == 0)
        return 0;
    WE_status("Aktualizace systémové lišty ...");
    INS_PATH folder;
    if (!INS_quick_launch_folder(folder))
        return 0;
    if (!SYS_change_dir(folder)) {
        WE_error_format("Nelze přejít do adresáře %s\nDo systémové lišty nelze doplnit ikonu,\nVáš systém Windows tuto "
                        "funkci nepodporuje.",
                        folder);
        return 0;
    }
    make_program_shortcut(folder);
    return 1;
}

int16_t INS_quick_launch_folder(char *folder)
{
    if (!SYS_shell_folder(HKEY_CURRENT_USER, "AppData", folder)) {
        WE_error("Nelze zjistit adresář složky Data aplikací");
        return 0;
    }
    end_with_backslash(folder);
    ST_append(folder, "Microsoft\\Internet Explorer\\Quick Launch", INS_PATH_MAX);
    return 1;
}

int16_t INS_make_shortcut(const char *name, const char *program, const char *description, const char *directory)
{
    const int16_t faults = SYS_make_link(name, program, description, directory);
    if (faults & SYS_LINK_NO_OBJECT) {
        WE_error("Nelze vytvořit zástupce");
        return 1;
    }
    if (faults & SYS_LINK_PATH)
        WE_error_format("Chyba při nastavování cesty zástupce %s", description);
    if (faults & SYS_LINK_DESCRIPTION)
        WE_error_format("Chyba při nastavování popisu zástupce %s", description);
    if (faults & SYS_LINK_DIRECTORY)
        WE_error_format("Chyba při nastavování pracovního adresáře %s", description);
    if (faults & SYS_LINK_SAVE)
        WE_error_format("Chyba při ukládání zástupce %s", description);
    return 1;   // no file interface: nothing set, nothing to report
}

int16_t INS_register_uninstall()
{
    WE_status("Aktualizace registru (odinstalace) ...");
    UNL_add_registry_key(INS_UNINSTALL_KEY);
    if (!INS_set_registry_string(HKEY_LOCAL_MACHINE, INS_UNINSTALL_KEY, "DisplayName", "TRAKPRN"))
        WE_error("Chyba při ukládání do registru");
    // A path with a blank is quoted: unquoted, "C:\Program.exe" would run for
    // "C:\Program Files\...".
    INS_PATH uninstall;
    INS_join(uninstall, exe_directory, UNINSTALL_EXE);
    if (std::strchr(uninstall, ' ')) {
        INS_PATH quoted;
        ST_copy(quoted, "\"", INS_PATH_MAX);
        ST_append(quoted, uninstall, INS_PATH_MAX);
        ST_append(quoted, "\"", INS_PATH_MAX);
        ST_copy(uninstall, quoted, INS_PATH_MAX);
    }
    if (!INS_set_registry_string(HKEY_LOCAL_MACHINE, INS_UNINSTALL_KEY, "UninstallString", uninstall))
        WE_error("Chyba při ukládání registru");
    if (!SYS_registry_flush(HKEY_LOCAL_MACHINE))
        WE_error("Chyba při ukládání registru\n(RegFlushKey)");
    return 1;
}

int16_t INS_set_registry_string(HKEY root, const char *subkey, const char *name, const char *text)
{
    return SYS_registry_write(root, subkey, name, text);
}
