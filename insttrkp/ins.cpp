#include "insttrkp/ins.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/co.h"
#include "common/fe.h"
#include "common/fi.h"
#include "common/st.h"
#include "common/sysproc.h"
#include "common/sysreg.h"
#include "inst/dsk.h"
#include "inst/ifl.h"
#include "inst/unl.h"
#include "insttrkp/ins_shell.h"
#include "insttrkp/inst_main.h"
#include "pack/cpy.h"
#include "swin/wco.h"
#include "swin/wco_store.h"
#include "win/we.h"
#include "win/we_boxes.h"
#include "zip/zip.h"

static const char SRC[] = "insttrkp";

IFL_state *INS_state = nullptr;
int16_t configuration_taken_over = 0;

namespace {

const char UNINSTALL_PROGRAM[] = "EXE\\UNINSTAL.EXE";
const char DATA_DIRECTORY[] = "Data";
const char README_NAME[] = "README.TXT";

const char NO_LIST[] = "Chybná cesta/soubor nenalezen: %s";
const char NO_CHANGE[] = "Nelze změnit adresář na disku %s";
const char NO_MAKE[] = "Nelze vytvořit adresář %s na disku %s";
const char COPY_STATUS[] = "Kopíruje se %s -> %s ...";
const char COPY_FAILED[] = "Chyba při kopírování souboru %s";
// A record at least this large takes long enough to be worth drawing the
// window before it (otherwise the window draws at its own pace).
const uint32_t LONG_STEP = 1048576;
// The abort checks after a step of a file work off the window's messages
// only when the last check that did so is this many ms old: files of a few
// milliseconds each do not ask the system for messages two or three times
// (the check before each file always does).
const DWORD PUMP_PERIOD = 10;

C_INS_WINDOW *window = nullptr;
std::atomic<int16_t> abort_request{0};
int16_t running = 0;   // 1 while INS_install runs
DWORD pumped_at = 0;   // GetTickCount of the last abort check that worked off messages
C_FILE *inst_list = nullptr;   // "INST.LST" while the files are copied

int16_t change_dir(const char *path) { return SetCurrentDirectoryA(path) ? 1 : 0; }
int16_t make_dir(const char *path) { return CreateDirectoryA(path, nullptr) ? 1 : 0; }

// The drive text "X:" of the target, its letter as written or in upper case.
void drive_text(char *drive, int16_t upper)
{
    drive[0] = INS_state->target_dir[0];
    drive[1] = INS_state->target_dir[1];
    drive[2] = 0;
    if (upper)
        ST_upper(drive);
}

// The first reading of every step: the list's header; a failure is reported.
int16_t read_list()
{
    if (IFL_read_header(INS_state))
        return 1;
    WE_error_format(NO_LIST, IFL_LIST_NAME);
    return 0;
}

// The window drawn before the current record's long step.
void before_long_step()
{
    if (INS_state->size >= LONG_STEP)
        window->draw_now();
}

// Copies source to destination with the status line (of_record: the copy is
// the current record's). A copy whose size on the disk differs from the
// source's did not land (a full disk can let writes seem to succeed): it is
// removed and reported like a failed copy.
int16_t copy_file(const char *source, const char *destination, int16_t of_record, int16_t seen_missing = 0)
{
    WE_status(COPY_STATUS, source, destination);
    if (of_record)
        before_long_step();
    uint32_t size = 0, landed = 0;
    if (CPY_copy_file_sized(source, destination, &size, &landed, seen_missing)) {
        if (landed == size)
            return 1;
        FE_remove(destination);
    }
    WE_error_format(COPY_FAILED, source);
    return 0;
}

// Enters the subdirectory of the current directory, making it when it is
// missing; then goes back up. Failures are reported with the drive text.
int16_t make_subdirectory(const char *name, const char *drive)
{
    if (change_dir(name)) {
        if (change_dir(".."))
            return 1;
        WE_error_format(NO_CHANGE, drive);
        return 0;
    }
    if (make_dir(name))
        return 1;
    WE_error_format(NO_MAKE, name, drive);
    return 0;
}

// ---- the steps ----

// The source's list exists, and every record of it is safe, before anything
// is written; the list is closed again (the later passes read the copy in the
// target directory).
int16_t check_source()
{
    WE_status("Kontrola zdrojové cesty ...");
    INS_PATH list;
    INS_join(list, INS_state->source_dir, IFL_LIST_NAME);
    if (!FE_exists(list)) {
        WE_error_format(NO_LIST, list);
        return 0;
    }
    const int16_t safe = IFL_open_list(INS_state, list) && IFL_check_list(INS_state);
    IFL_close_list(INS_state);
    return safe;
}

// The target in its one spelling, written back into the state, so that what
// the window shows, the records and the uninstall program's comparison agree;
// a drive root, or the source's own folder, is refused before anything is
// written (the copy would read and write the same files).
int16_t check_paths()
{
    char *target = INS_state->target_dir;
    if (!INS_canonical_directory(target, target)) {
        WE_error_format("Chybná cílová cesta %s", target);
        return 0;
    }
    if (target[3] == 0) {
        WE_error_format("Cílová cesta nesmí být kořenovým adresářem disku: %s", target);
        return 0;
    }
    INS_PATH source;
    if (!INS_canonical_directory(INS_state->source_dir, source))
        ST_copy(source, INS_state->source_dir, INS_PATH_MAX);   // a network path stays as given
    char upper_source[INS_PATH_MAX + 1], upper_target[INS_PATH_MAX + 1];
    ST_copy(upper_source, source, INS_PATH_MAX);
    ST_copy(upper_target, target, INS_PATH_MAX);
    ST_upper(upper_source);
    ST_upper(upper_target);
    if (ST_compare_plain(upper_source, upper_target) == 0 || FE_same_file(source, target)) {
        WE_error_format("Zdrojová a cílová cesta jsou stejné: %s", target);
        return 0;
    }
    return 1;
}

// The previous configuration file: the registry's, when it names an existing
// file, else the one in the target's program directory; "" when none.
void previous_configuration(char *path)
{
    char text[1024];
    SYS_registry_read(HKEY_LOCAL_MACHINE, "Software\\KRV\\TOREVAN\\5", "system_wco_path", text, sizeof text);
    if (text[0] && FE_exists(text)) {
        ST_copy(path, text, INS_PATH_MAX);
        return;
    }
    INS_join(path, INS_state->target_dir, "EXE\\", CO_SYSTEM_WCO);
    if (!FE_exists(path))
        path[0] = 0;
}

// Runs the previous installation's uninstall program with "-r" and waits for
// it and for what it leaves running (the removal of its own file and
// folders, which would otherwise race the new installation's folders). It
// runs in the drive's root, and so does this program meanwhile: a directory
// that is some process's current directory cannot be removed.
int16_t run_uninstall_program(const char *program)
{
    char root[4] = {INS_state->target_dir[0], ':', '\\', 0};
    change_dir(root);
    INS_PATH command;
    INS_join(command, "\"", program, "\" -r");
    uint32_t exit_code = 1;
    if (!SYS_run_and_wait(command, root, &exit_code) || exit_code != 0) {
        WE_error("Chyba při spuštění odinstalačního programu TOREVAN");
        return 0;
    }
    WE_status("Dokončení odstranění předchozí instalace ...");
    SetActiveWindow(window->frame());
    SetForegroundWindow(window->frame());
    window->pump_messages();
    Sleep(2000);
    return 1;
}

int16_t remove_previous()
{
    WE_status("Odstranění předchozí instalace ...");
    const char *target = INS_state->target_dir;
    if (target[0] == 0 || target[1] != ':') {
        WE_error_format("Chybná cílová cesta %s", target);
        return 0;
    }
    char drive[3];
    drive_text(drive, 1);
    const int16_t number = static_cast<int16_t>(static_cast<uint8_t>(drive[0]) - 'A');
    if (number < 0 || number > 25 || !FE_drive_ready(number) || !FE_set_drive(number)) {
        const char letter[2] = {drive[0], 0};
        WE_error_format("Nelze najít disk %s:", letter);
        return 0;
    }
    INS_PATH list, program;
    INS_join(list, target, UNL_LIST_NAME);
    INS_join(program, target, UNINSTALL_PROGRAM);
    if (!FE_exists(list) || !FE_exists(program))
        return 1;
    if (!WE_question(INS_TEXT_PREVIOUS))
        return 0;
    INS_PATH configuration;
    previous_configuration(configuration);
    if (configuration[0] && WE_question(INS_TEXT_TAKE_OVER)) {
        WCO_load(WCO_system_store(), configuration);
        configuration_taken_over = 1;
    }
    return run_uninstall_program(program);
}

int16_t check_target()
{
    WE_status("Kontrola cílové cesty ...");
    const char *target = INS_state->target_dir;
    char drive[3];
    drive_text(drive, 1);
    if (drive[1] != ':') {
        WE_error_format("Chybná cílová cesta %s", target);
        return 0;
    }
    const int16_t number = static_cast<int16_t>(static_cast<uint8_t>(drive[0]) - 'A');
    if (number < 0 || number > 25 || !FE_set_drive(number)) {
        const char letter[2] = {drive[0], 0};
        WE_error_format("Nelze najít disk %s:", letter);
        return 0;
    }
    char root[4] = {drive[0], ':', '\\', 0};
    if (!change_dir(root)) {
        WE_error_format(NO_CHANGE, drive);
        return 0;
    }
    // The parts after "X:\", one by one.
    const char *p = target + 2;
    if (*p == '\\')
        p++;
    while (*p) {
        INS_PATH part;
        int16_t n = 0;
        while (*p && *p != '\\') {
            if (n < INS_PATH_MAX)
                part[n++] = *p;
            p++;
        }
        part[n] = 0;
        if (*p)
            p++;
        ST_trim(part);
        if (!part[0] || change_dir(part))
            continue;
        if (!make_dir(part)) {
            WE_error_format(NO_MAKE, part, drive);
            return 0;
        }
        if (!change_dir(part)) {
            WE_error_format(NO_CHANGE, drive);
            return 0;
        }
    }
    return 1;
}

// Copies one file of the source into the target, when it is there (optional)
// or always (required); recorded for the uninstall program.
int16_t copy_list_file(const char *name, int16_t required)
{
    INS_PATH source, destination;
    INS_join(source, INS_state->source_dir, name);
    INS_join(destination, INS_state->target_dir, name);
    if (!FE_exists(source)) {
        if (!required)
            return 1;
        WE_error_format(NO_LIST, source);
        return 0;
    }
    return UNL_add_file(destination) && copy_file(source, destination, 0);
}

int16_t copy_lists()
{
    return !INS_check_abort() && copy_list_file(README_NAME, 0) && !INS_check_abort() &&
           copy_list_file(IFL_LIST_NAME, 1) && !INS_check_abort();
}

// One subdirectory of the installation: recorded (once per record), then
// made or entered the first time its name comes (names as the file system
// compares them, case aside).
int16_t add_subdirectory(const char *name, const char *drive, std::vector<std::string> *made)
{
    INS_PATH path;
    INS_join(path, INS_state->target_dir, name);
    if (!UNL_add_directory(path))
        return 0;
    char upper[IFL_NAME_MAX + 1];
    ST_copy(upper, name, IFL_NAME_MAX);
    ST_upper(upper);
    if (std::find(made->begin(), made->end(), upper) != made->end())
        return 1;
    made->push_back(upper);
    return make_subdirectory(name, drive);
}

int16_t make_directories()
{
    WE_status("Vytváření adresářů ...");
    char drive[3];
    drive_text(drive, 0);
    if (!read_list())
        return 0;
    std::vector<std::string> made;
    while (IFL_next_record(INS_state))
        if (ST_compare(INS_state->target_subdir, ".") != 0 &&
            !add_subdirectory(INS_state->target_subdir, drive, &made))
            return 0;
    return add_subdirectory(DATA_DIRECTORY, drive, &made);
}

// A name as the file system compares names, case aside.
std::string upper_name(const char *name)
{
    INS_PATH upper;
    ST_copy(upper, name, INS_PATH_MAX);
    ST_upper(upper);
    return upper;
}

void add_name(const char *name, void *names)
{
    static_cast<std::set<std::string> *>(names)->insert(upper_name(name));
}

// The names the folders of the installation hold (upper case), each folder
// read from the disk the first time it is asked about: one reading per
// folder, not a look-up per file (a look-up of a missing name reads the
// whole folder anyway). Kept for the copy: the names deleted by the
// overwrite check go, the names copied come.
std::map<std::string, std::set<std::string>> target_names;

// The names of the folder; null when it cannot be read (nothing is known).
std::set<std::string> *names_in(const char *folder)
{
    const std::string key = upper_name(folder);
    auto known = target_names.find(key);
    if (known != target_names.end())
        return &known->second;
    std::set<std::string> names;
    if (!FE_list_names(folder, add_name, &names))
        return nullptr;
    return &target_names.emplace(key, std::move(names)).first->second;
}

// 1 when the current record's installed name and its copy's temporary name
// are both missing from its folder as read; the name is there from now on.
int16_t installed_name_is_new()
{
    INS_PATH folder;
    std::set<std::string> *names = IFL_place(INS_state, folder) ? names_in(folder) : nullptr;
    if (!names)
        return 0;
    const std::string name = upper_name(INS_state->target_name);
    if (names->count(name) || names->count(name + CPY_TEMPORARY_SUFFIX))
        return 0;
    names->insert(name);
    return 1;
}

int16_t check_existing()
{
    if (!read_list())
        return 0;
    int16_t asked = 0;
    target_names.clear();
    while (IFL_next_record(INS_state)) {
        INS_PATH installed, folder;
        if (!IFL_installed_path(INS_state, installed) || !IFL_place(INS_state, folder))
            continue;
        std::set<std::string> *names = names_in(folder);
        const auto found = names ? names->find(upper_name(INS_state->target_name)) : std::set<std::string>::iterator();
        if (names ? found == names->end() : !FE_exists(installed))
            continue;
        if (!asked && !WE_question(INS_TEXT_OVERWRITE))
            return 0;
        asked = 1;
        WE_status("Maže se : %s", installed);
        if (FE_remove(installed) && names)   // a name that stays (a folder, a file in use) is there for a later record too
            names->erase(found);
        if (INS_check_abort())
            return 0;
    }
    WE_status("%s", "");
    return 1;
}

// Every file counts one cluster more than its whole clusters, and 1000000
// bytes are kept free; all in 64 bits, so that a large disk is counted right.
int16_t check_space()
{
    WE_status("Kontrola místa na disku ...");
    char root[4] = {INS_state->target_dir[0], ':', '\\', 0};
    uint64_t free_bytes = 0;
    uint32_t cluster = 0;
    if (!FE_disk_space(root, &free_bytes, &cluster) || cluster == 0) {
        WE_error_format("Nelze zjistit volné místo na disku %c:", root[0]);
        return 0;
    }
    if (!read_list())
        return 0;
    uint64_t need = 0;
    while (IFL_next_record(INS_state))
        need += (INS_state->size / cluster + 1) * static_cast<uint64_t>(cluster);
    need += 1000000;
    if (free_bytes < need) {
        WE_error_format("Málo místa na disku, je třeba %lld B", static_cast<long long>(need));
        return 0;
    }
    return 1;
}

// 1 when an abort was requested and the user confirms it.
int16_t abort_confirmed()
{
    if (!abort_request)
        return 0;
    if (WE_question(INS_TEXT_ABORT))
        return 1;
    abort_request = 0;
    window->abort_declined();
    return 0;
}

// The abort check after a step of the current file.
int16_t check_abort_after_step()
{
    return GetTickCount() - pumped_at >= PUMP_PERIOD ? INS_check_abort() : abort_confirmed();
}

void show_file(const char *installed)
{
    char line[IFL_PATH_MAX + 100];
    ST_copy(line, "Instaluje se  : ", 0);
    ST_append(line, installed, 80);
    window->set_line(INS_LINE_FIRST, line);
    std::snprintf(line, sizeof line, "Popis souboru : %s", INS_state->description);
    window->set_line(INS_LINE_FIRST + 1, line);
    std::snprintf(line, sizeof line, "Číslo diskety : %d", INS_state->disk_index + 1);
    window->set_line(INS_LINE_FIRST + 2, line);
}

// Asks for the record's disk until its label passes; 0 when the user gives up.
int16_t ask_for_disk()
{
    DSK_disk_index = INS_state->disk_index;
    for (;;) {
        char text[40];
        std::snprintf(text, sizeof text, INS_TEXT_DISK, DSK_disk_index + 1);
        WE_notify(text);
        if (DSK_check_label(INS_state))
            return 1;
        if (!WE_question(INS_TEXT_RETRY))
            return 0;
    }
}

// Unpacks the packed file into destination, its installed place (an older
// file there deleted first, unless its folder was seen without it);
// *landed: the size the unpacked file holds on the disk. 1 when unpacked;
// 2 when the packed data is bad (the next file may still be installed); 0
// when a file could not be read or written (an unreadable disk, a full
// target disk: the copy's failure, which stops the installation).
int16_t unpack(C_ZIP *zip, const char *packed, const char *destination, uint32_t *landed)
{
    if (!installed_name_is_new())
        FE_remove(destination);
    if (zip->decompress_file(packed, destination, landed))
        return 1;
    WE_error(ZIP_error_text(zip->last_error()));
    return zip->last_error() == ZIP_FILE_ERROR ? 0 : 2;
}

// A file the target directory held when it was read (left by an earlier,
// stopped attempt) is deleted.
void remove_if_seen(const char *path, const char *name)
{
    const std::set<std::string> *names = names_in(INS_state->target_dir);
    if (!names || names->count(upper_name(name)))
        FE_remove(path);
}

// 1: installed; 2: unpacking failed, go on with the next file; 0: stop.
// The packed file is unpacked straight from the disk into its installed
// place: its copy in the target directory and, for a file of a
// subdirectory, the unpacked file there before its move keep their status
// lines and records in their order (a record of a file never made is taken
// as removed), the records written before the bytes; what an earlier,
// stopped attempt left at those two places is deleted. An unpacked file of
// another size than the record's did not land.
int16_t install_packed(C_ZIP *zip, const char *disk_path, const char *installed)
{
    INS_PATH copy, unpacked;
    INS_join(copy, INS_state->target_dir, INS_state->source_name);
    INS_join(unpacked, INS_state->target_dir, INS_state->target_name);
    const int16_t moved = ST_compare(INS_state->target_subdir, ".") != 0;
    if (!UNL_add_file(copy))
        return 0;
    WE_status(COPY_STATUS, disk_path, copy);
    WE_status("%s", "");
    if (check_abort_after_step())
        return 0;
    WE_status("Rozbaluje se %s ...", copy);
    if (!UNL_add_file(INS_state->target_dir, INS_state->target_name) || (moved && !UNL_add_file(installed)))
        return 0;
    before_long_step();
    uint32_t landed = 0;
    const int16_t unpacked_now = unpack(zip, disk_path, installed, &landed);
    if (unpacked_now != 1)
        return unpacked_now;
    if (landed != INS_state->size) {
        FE_remove(installed);
        WE_error_format(COPY_FAILED, copy);
        return 0;
    }
    WE_status("%s", "");
    if (check_abort_after_step())
        return 0;
    remove_if_seen(copy, INS_state->source_name);
    if (moved) {
        remove_if_seen(unpacked, INS_state->target_name);
        WE_status(COPY_STATUS, unpacked, installed);
        WE_status("%s", "");
    }
    return 1;
}

int16_t install_plain(const char *disk_path, const char *installed)
{
    if (!UNL_add_file(installed) || !copy_file(disk_path, installed, 1, installed_name_is_new()))
        return 0;
    WE_status("%s", "");
    return !check_abort_after_step();
}

int16_t copy_files()
{
    DSK_disk_index = 0;
    if (!DSK_check_label(INS_state) || !read_list())
        return 0;
    C_ZIP zip;   // one for every packed file
    while (IFL_next_record(INS_state)) {
        INS_PATH installed, disk_path;
        IFL_installed_path(INS_state, installed);
        show_file(installed);
        INS_join(disk_path, INS_state->source_dir, INS_state->source_name);
        if (!FE_exists(disk_path)) {
            if (!ask_for_disk())
                return 0;
            // The disk may be in another place than the one before it.
            INS_join(disk_path, INS_state->source_dir, INS_state->source_name);
            if (!FE_exists(disk_path)) {
                if (WE_question_format(INS_TEXT_SKIP_MISSING, disk_path))
                    continue;
                return 0;
            }
        }
        if (INS_check_abort())
            return 0;
        const int16_t done = INS_state->packed ? install_packed(&zip, disk_path, installed) : install_plain(disk_path, installed);
        if (done == 0)
            return 0;
        if (done == 1 && inst_list)
            IFL_write_inst_line(inst_list, INS_state);
    }
    INS_clear_lines();
    return 1;
}

void write_configuration()
{
    WE_status("Zápis/oprava konfiguračního souboru");
    WCO_file *store = WCO_system_store();
    const char *target = INS_state->target_dir;
    ST_copy(CO_system_config.system_path, target + 2, CO_PATH_MAX);
    WCO_set_text(store, "CO_common", "system_path", CO_system_config.system_path);
    INS_join(exe_directory, target, "EXE\\");
    if (!configuration_taken_over) {
        INS_join(CO_system_config.initial_directory, target, DATA_DIRECTORY);
        WCO_set_text(store, "CO_common", "initial_directory", CO_system_config.initial_directory);
    }
    // Saved under the temporary name a recorded file may have, then renamed:
    // the configuration is never seen half-written.
    INS_PATH file, temporary;
    INS_join(file, exe_directory, CO_SYSTEM_WCO);
    INS_join(temporary, file, CPY_TEMPORARY_SUFFIX);
    if (UNL_add_file(target, "EXE", CO_SYSTEM_WCO) && WCO_save_forced(store, temporary))
        FE_rename_over(temporary, file);
    FE_remove(temporary);
    WE_status("%s", "");
}

// Steps 4 to 13: everything that writes.
int16_t install_files()
{
    UNL_open();
    if (!copy_lists() || !make_directories())
        return 0;
    UNL_add_directory(INS_state->target_dir);
    if (!check_existing() || !check_space())
        return 0;
    if (!FI_create_open(&inst_list, IFL_INST_LIST_NAME, FI_TEXT_CREATE)) {
        FI_destroy(&inst_list);
        WE_error_format("Nelze otevřít soubor %s", IFL_INST_LIST_NAME);
    }
    const int16_t copied = copy_files();
    if (inst_list) {
        FI_close(inst_list, 0);
        FI_destroy(&inst_list);
    }
    UNL_add_file(INS_state->target_dir, IFL_INST_LIST_NAME);
    INS_clear_lines();
    if (!copied)
        return 0;
    write_configuration();
    IFL_close_list(INS_state);
    FE_remove(IFL_LIST_NAME);
    return 1;
}

void set_lines(const char *const texts[4])
{
    if (!window)
        return;
    for (int16_t i = 0; i < 4; i++)
        window->set_line(static_cast<int16_t>(INS_LINE_FIRST + i), texts[i]);
}

}  // namespace

void INS_join(char *path, const char *first, const char *second, const char *third)
{
    ST_copy(path, first, INS_PATH_MAX);
    ST_append(path, second, INS_PATH_MAX);
    ST_append(path, third, INS_PATH_MAX);
}

int16_t INS_set_window(C_INS_WINDOW *installer_window)
{
    if (!installer_window) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    window = installer_window;
    return 1;
}

int16_t INS_request_abort()
{
    abort_request = 1;
    return 1;
}

int16_t INS_check_abort()
{
    window->pump_messages();
    pumped_at = GetTickCount();
    return abort_confirmed();
}

int16_t INS_install(IFL_state *state)
{
    if (!state || !window) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    abort_request = 0;
    INS_state = state;
    running = 1;
    // The steps change the current directory (the target, the shell's
    // folders); left there, it would keep a folder of the installation in use
    // and so out of reach of its uninstall program.
    char started_in[MAX_PATH + 1];
    const DWORD n = GetCurrentDirectoryA(sizeof started_in, started_in);
    const int16_t done = check_source() && check_paths() && remove_previous() && check_target() && install_files();
    if (done) {
        INS_update_start_menu();
        INS_update_desktop();
        INS_update_quick_launch();
        INS_register_uninstall();
        WE_status("%s", "");
    }
    target_names.clear();
    if (n > 0 && n < sizeof started_in)
        change_dir(started_in);
    running = 0;
    return done;
}

int16_t INS_running() { return running; }

int16_t INS_canonical_directory(const char *path, char *out)
{
    if (!path || !out) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    INS_PATH canonical;
    if (!FE_canonical_path(path, 0, canonical, sizeof canonical) ||
        (canonical[3] && !ST_append(canonical, "\\", INS_PATH_MAX)))
        return 0;
    ST_copy(out, canonical, INS_PATH_MAX);
    return 1;
}

void INS_show_welcome()
{
    static const char *const texts[4] = {
        "Blahopřejeme Vám k pořízení konverzního programu Gerber -> Postscript.",
        "Před instalací zvolte zdrojový adresář, ODKUD se bude instalovat a cílový adresář",
        "se bude instalovat. Můžete rovněž zvolit umístění ikon do systémové lišty a/nebo na plochu.",
        "Případná předchozí instalace na cílové cestě bude před novou instalací odinstalována",
    };
    set_lines(texts);
}

void INS_show_success()
{
    static const char *const texts[4] = {
        "Instalace proběhla úspěšně. ",
        "Konverzní program spustíte výběrem z nabídky",
        "\"Start | Programy | TOREVAN\" kliknutím na ikonu TRAKPRN.",
        "Hodně štěstí ve Vaší práci přejí                                     Autoři       ",
    };
    set_lines(texts);
}

void INS_clear_lines()
{
    static const char *const texts[4] = {"", "", "", ""};
    set_lines(texts);
}
