// The uninstall program's reading of its list and its decision which records
// it may touch: hostile records, the shell folders kept themselves, lists cut
// by a killed installer, the texts of what was left.
#include <gtest/gtest.h>

#include <string>

#include "inst/unl.h"
#include "inst/unr_list.h"
#include "tests/testutil.h"

namespace {

std::string record(int16_t kind, const std::string &path)
{
    uint8_t bytes[UNL_RECORD_SIZE];
    UNL_encode_record(kind, path.c_str(), bytes);
    return std::string(reinterpret_cast<char *>(bytes), UNL_RECORD_SIZE);
}

UNR_LOAD parse(const std::string &bytes, C_UNR_LIST *list)
{
    return UNR_parse(reinterpret_cast<const uint8_t *>(bytes.data()), static_cast<int64_t>(bytes.size()),
                     "D:\\KRV5\\UNINST.LST", list);
}

}  // namespace

// Plain paths, places compared without regard to case and never by a bare
// prefix, the shell folders kept themselves, exactly one registry key.
TEST(UnrList, WhatARecordMayTouch)
{
    UNR_PLACES places{};
    EXPECT_EQ(UNR_add_place(&places, "D:\\KRV5\\", 1), 1);
    EXPECT_EQ(UNR_add_place(&places, "C:\\Nabídka Start\\Programy", 0), 1);
    EXPECT_EQ(UNR_add_place(&places, "C:\\Data\\Microsoft\\Internet Explorer\\Quick Launch", 0), 1);
    for (const char *root : {"D:\\", "D:", "KRV5", "D:\\KRV5\\..\\X"})
        EXPECT_EQ(UNR_add_place(&places, root, 0), 0) << root;
    const std::string long_name = "D:\\KRV5\\" + std::string(UNL_PATH_MAX - 8, 'x');
    const struct { int16_t kind; std::string path; int16_t allowed; } cases[] = {
        {UNL_KIND_FILE, "D:\\KRV5\\EXE\\TRAKPRN.EXE", 1},
        {UNL_KIND_FILE, "d:\\krv5\\exe\\trakprn.exe", 1},
        {UNL_KIND_DIRECTORY, "D:\\KRV5", 1},
        {UNL_KIND_FILE, "D:\\KRV5", 0},
        {UNL_KIND_FILE, "D:\\KRV5X\\SOUBOR", 0},                // a sibling sharing the prefix
        {UNL_KIND_DIRECTORY, "D:\\KRV5X", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\..\\BOOT.INI", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\.\\README.TXT", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\...\\README.TXT", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\README.TXT.", 0},            // trailing dot and blank
        {UNL_KIND_FILE, "D:\\KRV5\\README.TXT ", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\EXE \\X", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\EXE\\", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\\\README.TXT", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\EXE/../../BOOT.INI", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\README.TXT:proud", 0},       // an alternate data stream
        {UNL_KIND_FILE, "D:\\KRV5\\*.*", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\CON", 0},                    // devices, in any folder and case
        {UNL_KIND_FILE, "D:\\KRV5\\EXE\\nul.txt", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\LPT1", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\COM9.LOG", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\CONOUT$", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\CONSOLE.TXT", 1},
        {UNL_KIND_FILE, "D:\\KRV5\\COM10", 1},
        {UNL_KIND_FILE, "\\\\?\\D:\\KRV5\\README.TXT", 0},
        {UNL_KIND_FILE, "\\\\.\\D:\\KRV5\\README.TXT", 0},
        {UNL_KIND_FILE, "\\\\server\\KRV5\\README.TXT", 0},
        {UNL_KIND_FILE, "KRV5\\README.TXT", 0},
        {UNL_KIND_FILE, "D:KRV5\\README.TXT", 0},
        {UNL_KIND_FILE, "", 0},
        {UNL_KIND_FILE, long_name, 1},                          // 1024 characters
        {UNL_KIND_FILE, long_name + "x", 0},
        {UNL_KIND_FILE, "C:\\Nabídka Start\\Programy\\TOREVAN\\TRAKPRN.LNK", 1},
        {UNL_KIND_DIRECTORY, "c:\\NABÍDKA START\\programy\\TOREVAN", 1},
        {UNL_KIND_DIRECTORY, "C:\\Nabídka Start\\Programy", 0},
        {UNL_KIND_FILE, "C:\\Nabídka Start\\TRAKPRN.LNK", 0},
        {UNL_KIND_FILE, "C:\\Data\\Microsoft\\Internet Explorer\\Quick Launch\\TRAKPRN.LNK", 1},
        {UNL_KIND_FILE, "C:\\Data\\Microsoft\\Internet Explorer\\TRAKPRN.LNK", 0},   // in AppData, outside Quick Launch
        {UNL_KIND_FILE, "C:\\Data\\TRAKPRN.LNK", 0},
        {UNL_KIND_DIRECTORY, "C:\\Data\\Microsoft\\Internet Explorer\\Quick Launch", 0},
        {UNL_KIND_REGISTRY_KEY, "software\\microsoft\\windows\\currentversion\\uninstall\\trakprn", 1},
        {UNL_KIND_REGISTRY_KEY, UNR_UNINSTALL_KEY "\\X", 0},
        {UNL_KIND_REGISTRY_KEY, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0},
        {UNL_KIND_REGISTRY_KEY, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", 0},
        {UNL_KIND_REGISTRY_KEY, "D:\\KRV5\\README.TXT", 0},
        {2, "D:\\KRV5\\README.TXT", 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(UNR_allowed(&places, c.kind, c.path.c_str()), c.allowed) << c.kind << " " << c.path;
        EXPECT_EQ(UNR_place_of(&places, c.kind, c.path.c_str()) >= 0, c.allowed && c.kind != UNL_KIND_REGISTRY_KEY)
            << c.path;
    }
    char dir[UNL_PATH_MAX + 1];
    EXPECT_EQ(UNR_install_dir("D:\\KRV5\\EXE\\UNINSTAL.EXE", dir), 1);
    EXPECT_STREQ(dir, "D:\\KRV5");
    EXPECT_EQ(UNR_install_dir("D:\\EXE\\UNINSTAL.EXE", dir), 0);   // never a whole drive
    EXPECT_STREQ(dir, "");
    EXPECT_EQ(TU_reports().size(), 0u);
}

// Whole records are checked; a rest shorter than a record is the one a killed
// installer cut: left out and told. Anything else malformed refuses the list.
TEST(UnrList, ListsCutByAKillAndDamagedOnes)
{
    const std::string a = record(UNL_KIND_FILE, "D:\\KRV5\\A"), b = record(UNL_KIND_DIRECTORY, "D:\\KRV5\\B");
    std::string kind2 = b;
    kind2[0] = 2;
    const struct { const char *name; std::string bytes; UNR_LOAD result; int32_t count; int16_t cut; } cases[] = {
        {"whole", a + b, UNR_LOADED, 3, 0},
        {"last cut", a + b.substr(0, 700), UNR_LOADED, 2, 1},
        {"last cut to one byte", a + b.substr(0, 1), UNR_LOADED, 2, 1},
        {"only a cut record", a.substr(0, 2), UNR_LOADED, 1, 1},
        {"empty", "", UNR_DAMAGED, 0, 0},
        {"a whole record of kind 2", a + kind2, UNR_DAMAGED, 0, 0},
        {"a damaged record before a cut one", kind2 + a.substr(0, 5), UNR_DAMAGED, 0, 0},
        {"too many records", std::string((UNR_RECORDS_MAX + 1) * static_cast<size_t>(UNL_RECORD_SIZE), ' '),
         UNR_DAMAGED, 0, 0},
    };
    for (const auto &c : cases) {
        C_UNR_LIST list;
        EXPECT_EQ(parse(c.bytes, &list), c.result) << c.name;
        EXPECT_EQ(list.count, c.count) << c.name;
        EXPECT_EQ(list.cut, c.cut) << c.name;
        if (c.count) {
            EXPECT_STREQ(list.records[c.count - 1].path, "D:\\KRV5\\UNINST.LST") << c.name;
            EXPECT_EQ(list.records[0].state, UNR_PENDING) << c.name;
        }
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

// Each record left is told once, failures, records outside and links alike,
// up to the number of lines, then how many more; a line that does not fit is left out.
TEST(UnrList, TextOfWhatWasLeft)
{
    std::string bytes;
    for (const char *path : {"D:\\A", "D:\\B", "D:\\A", "D:\\C", "D:\\D", "D:\\E", "D:\\F"})
        bytes += record(UNL_KIND_DIRECTORY, path);
    C_UNR_LIST list;
    ASSERT_EQ(parse(bytes, &list), UNR_LOADED);
    ASSERT_EQ(list.count, 8);   // and the list itself
    const int16_t states[] = {UNR_FAILED, UNR_OUTSIDE, UNR_FAILED, UNR_KEPT,
                              UNR_LINKED, UNR_FAILED,  UNR_FAILED, UNR_REMOVED};
    for (int i = 0; i < 8; i++)
        list.records[i].state = states[i];
    char text[200];
    EXPECT_EQ(UNR_left_text(&list, 3, text, sizeof text), 5);
    EXPECT_STREQ(text, "Nelze odstranit: D:\\A\nZáznam mimo instalaci ponechán: D:\\B\n"
                       "Záznam vede přes odkaz, ponechán: D:\\D\n... a další (2)");
    EXPECT_EQ(UNR_left_text(&list, 10, text, 40), 5);
    EXPECT_STREQ(text, "Nelze odstranit: D:\\A");
}
