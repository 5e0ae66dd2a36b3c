#include "inst/dsk.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "inst/ifl.h"
#include "tests/testutil.h"

TEST(Dsk, LabelNames)
{
    const struct { int16_t disk; const char *name; } cases[] = {{0, "A.KRV"}, {25, "Z.KRV"}, {26, ""}, {-1, ""}};
    for (const auto &c : cases) {
        char name[8] = "x";
        EXPECT_EQ(DSK_label_name(c.disk, name), c.name[0] ? 1 : 0) << c.disk;
        EXPECT_STREQ(name, c.name);
    }
    EXPECT_EQ(DSK_label_name(0, nullptr), 0);
    EXPECT_EQ(DSK_check_label(nullptr), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 4);
}

TEST(Dsk, LabelLinesAgainstTheHeader)
{
    TU_SCRATCH dir;
    IFL_state s{};
    std::strcpy(s.user_name, "Firma Novák s.r.o.");
    s.set_number = 7;
    std::strcpy(s.source_dir, (dir.path() + "\\").c_str());
    const std::string unknown = "Neznámé klíčové slovo v souboru " + dir.path() + "\\A.KRV\n";
    const std::string other_set = "Disketa je z jiné série\n";
    const struct { int16_t disk; std::string label, messages; } cases[] = {   // label "": no file (first)
        {0, "", "Nesprávná disketa\n"},
        {26, "", "Nesprávná disketa\n"},   // a disk without a letter
        {0, "DISK: 1\r\nDISK_SET: 7\r\nUSER: Firma Novák s.r.o.\r\n", ""},
        // LF only, tabs, any order, empty lines, blanks around, characters after a number
        {0, "\r\n  USER:\t Firma Novák s.r.o.  \nDISK_SET:\t7.5\n\n   \n\tDISK: +1a \n", ""},
        {1, "DISK: 2\r\nDISK_SET: 7\r\nUSER: Firma Novák s.r.o." + std::string(80, ' ') + "X\r\n", ""},   // X past 80
        {0, "DISK: 2\r\nDISK_SET: 8\r\nUSER: FIRMA NOVÁK S.R.O.\r\n",
         "Nesprávné pořadové číslo diskety (2)\n" + other_set + other_set},
        {0, "DISK:\r\nDISK_SET: x\r\nUSER:\r\n", "Nesprávné pořadové číslo diskety (0)\n" + other_set + other_set},
        {0, "DISK: 65537\r\n", "Nesprávné pořadové číslo diskety (65537)\n"},
        {0, "DISK:1\r\nDISK_SET: 8\r\n", unknown},   // the reading stops there
        {0, "DISK: 3\r\ndisk: 1\r\nDISK_SET: 8\r\n", "Nesprávné pořadové číslo diskety (3)\n" + unknown},
    };
    for (const auto &c : cases) {
        if (!c.label.empty())
            TU_write(std::string(1, static_cast<char>('A' + c.disk)) + ".KRV", c.label);
        TU_clear_reports();
        DSK_disk_index = c.disk;
        EXPECT_EQ(DSK_check_label(&s), c.messages.empty() ? 1 : 0) << c.label;
        std::string texts;
        for (const TU_REPORT &r : TU_reports())
            texts += r.text + (r.kind == WE_KIND_ERROR ? "\n" : " (not an error box)\n");
        EXPECT_EQ(texts, c.messages) << c.label;
    }
    DSK_disk_index = 0;
}
