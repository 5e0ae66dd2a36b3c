// The system boundary of the Windows build: registry values, a child
// process, the shell's folders and shell links, against the real system.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/fe.h"
#include "common/sysdisk.h"
#include "common/sysfold.h"
#include "common/syslink.h"
#include "common/sysproc.h"
#include "common/sysreg.h"
#include "tests/testutil.h"
#include "win/guard.h"

TEST(SystemBoundary, RegistryTextValues)
{
    const char key[] = "Software\\TRK_TESTS\\system boundary";
    char text[64] = "x";
    ASSERT_EQ(SYS_registry_write(HKEY_CURRENT_USER, key, "jméno", "Žluťoučký kůň"), 1);
    EXPECT_EQ(SYS_registry_read(HKEY_CURRENT_USER, key, "jméno", text, sizeof text), 1);
    EXPECT_STREQ(text, "Žluťoučký kůň");
    // Too small a buffer, a missing value, a value that is not text: "" and 0.
    EXPECT_EQ(SYS_registry_read(HKEY_CURRENT_USER, key, "jméno", text, 5), 0);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(SYS_registry_read(HKEY_CURRENT_USER, key, "chybí", text, sizeof text), 0);
    const DWORD number = 7;
    {
        C_HKEY open;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_SET_VALUE, open.out()), ERROR_SUCCESS);
        RegSetValueExA(open, "číslo", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number), sizeof number);
    }
    EXPECT_EQ(SYS_registry_read(HKEY_CURRENT_USER, key, "číslo", text, sizeof text), 0);
    EXPECT_EQ(SYS_registry_flush(HKEY_CURRENT_USER), 1);
    EXPECT_EQ(SYS_registry_key_exists(HKEY_CURRENT_USER, key), 1);
    EXPECT_EQ(SYS_registry_delete_key(HKEY_CURRENT_USER, key), 1);
    EXPECT_EQ(SYS_registry_read(HKEY_CURRENT_USER, key, "jméno", text, sizeof text), 0);
    EXPECT_EQ(SYS_registry_key_exists(HKEY_CURRENT_USER, key), 0);
    EXPECT_EQ(SYS_registry_delete_key(HKEY_CURRENT_USER, key), 0);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\TRK_TESTS");
}

TEST(SystemBoundary, ChildProcessExitCodeAndDirectory)
{
    TU_SCRATCH scratch;
    uint32_t code = 99;
    EXPECT_EQ(SYS_run_and_wait("cmd /c exit 3", nullptr, &code), 1);
    EXPECT_EQ(code, 3u);
    EXPECT_EQ(SYS_run_and_wait("cmd /c echo > here.txt", scratch.path().c_str(), &code), 1);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(TU_exists(scratch.file("here.txt")));
    // What it started and left running is waited for too.
    TU_write(scratch.file("late.bat"), "ping -n 2 127.0.0.1 > nul\r\necho > late.txt\r\n");
    EXPECT_EQ(SYS_run_and_wait("cmd /c start /b late.bat", scratch.path().c_str(), &code), 1);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(TU_exists(scratch.file("late.txt")));
    code = 99;
    EXPECT_EQ(SYS_run_and_wait("no_such_program_here.exe", nullptr, &code), 0);
    EXPECT_EQ(code, 99u);
}

TEST(SystemBoundary, ShellFoldersLinksAndFreeSpace)
{
    char desktop[SYS_FOLDER_MAX + 1];
    ASSERT_EQ(SYS_shell_folder(HKEY_CURRENT_USER, "Desktop", desktop), 1);
    EXPECT_EQ(FE_dir_exists(desktop), 1) << desktop;
    EXPECT_EQ(SYS_shell_folder(HKEY_CURRENT_USER, "Žádná taková složka", desktop), 0);
    EXPECT_STREQ(desktop, "");

    TU_SCRATCH scratch;
    const std::string link = scratch.path() + "\\Odinstalace TRAKPRN.LNK";
    char program[SYS_LINK_TEXT_MAX + 1], description[SYS_LINK_TEXT_MAX + 1], directory[SYS_LINK_TEXT_MAX + 1];
    const struct { const char *program, *description, *directory; } links[] = {   // the second updates the first
        {"C:\\windows\\notepad.exe", "Poznámkový blok", "C:\\windows"},
        {"C:\\windows\\regedit.exe", "Registr", "C:\\"}};
    for (const auto &l : links) {
        EXPECT_EQ(SYS_make_link(link.c_str(), l.program, l.description, l.directory), 0);
        ASSERT_EQ(SYS_read_link(link.c_str(), program, description, directory), 1);
        EXPECT_EQ(std::string(program) + "|" + description + "|" + directory,
                  std::string(l.program) + "|" + l.description + "|" + l.directory);
    }
    // A folder that does not exist: everything set, nothing saved.
    const std::string nowhere = scratch.path() + "\\chybí\\x.lnk";
    EXPECT_EQ(SYS_make_link(nowhere.c_str(), "C:\\windows\\notepad.exe", "x", "C:\\"), SYS_LINK_SAVE);
    EXPECT_EQ(SYS_read_link(nowhere.c_str(), program, description, directory), 0);
    EXPECT_STREQ(program, "");

    uint64_t free_bytes = 0;
    uint32_t cluster = 0;
    EXPECT_EQ(SYS_disk_space(scratch.path().c_str(), &free_bytes, &cluster), 1);
    EXPECT_GT(free_bytes, 0u);
    EXPECT_GT(cluster, 0u);
    EXPECT_EQ(SYS_disk_space("\\\\no\\such\\share\\", &free_bytes, &cluster), 0);
}
