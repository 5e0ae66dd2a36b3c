#include "inst/dsk.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "inst/ifl.h"
#include "tests/testutil.h"

namespace {

// The state of a set: number 7, user "Firma Novák s.r.o.", source = the scratch folder.
void set_state(IFL_state *s, const TU_SCRATCH &dir)
{
    std::memset(s, 0, sizeof *s);
    std::strcpy(s->user_name, "Firma Novák s.r.o.");
    s->set_number = 7;
    std::string source = dir.path() + "\\";
    std::strcpy(s->source_dir, source.c_str());
}

}  // namespace

TEST(Dsk, LabelNames)
{
    char name[8];
    ASSERT_EQ(DSK_label_name(0, name), 1);
    EXPECT_STREQ(name, "A.KRV");
    ASSERT_EQ(DSK_label_name(1, name), 1);
    EXPECT_STREQ(name, "B.KRV");
    ASSERT_EQ(DSK_label_name(25, name), 1);
    EXPECT_STREQ(name, "Z.KRV");
    EXPECT_EQ(DSK_label_name(26, name), 0);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(DSK_label_name(-1, name), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 2);
}

TEST(Dsk, LabelLinesAgainstTheHeader)
{
    struct {
        const char *name;
        int16_t disk;
        bool present;        // false: no label file
        std::string label;
        int16_t result;
        std::vector<std::string> messages;
    } const cases[] = {
        {"matching", 0, true, "DISK: 1\r\nDISK_SET: 7\r\nUSER: Firma Novák s.r.o.\r\n", 1, {}},
        {"LF only, tabs, any order, blanks around", 0, true,
         "  USER:\t Firma Novák s.r.o.  \nDISK_SET:\t7\n\tDISK: +1 \n", 1, {}},
        {"second disk", 1, true, "DISK: 2\r\nDISK_SET: 7\r\nUSER: Firma Novák s.r.o.\r\n", 1, {}},
        {"keywords repeated", 0, true, "DISK: 1\r\nDISK: 1\r\nDISK_SET: 7\r\n", 1, {}},
        {"empty file", 0, true, "", 1, {}},
        {"empty lines", 0, true, "\r\nDISK: 1\r\n\r\n   \r\n", 1, {}},
        {"number followed by other characters", 0, true, "DISK: 1a\r\nDISK_SET: 7.5\r\n", 1, {}},
        {"no label", 0, false, "", 0, {"Nesprávná disketa"}},
        {"label of another disk", 1, false, "", 0, {"Nesprávná disketa"}},
        {"first disk says 2", 0, true, "DISK: 2\r\nDISK_SET: 7\r\nUSER: Firma Novák s.r.o.\r\n", 0,
         {"Nesprávné pořadové číslo diskety (2)"}},
        {"wrong set", 0, true, "DISK: 1\r\nDISK_SET: 8\r\nUSER: Firma Novák s.r.o.\r\n", 0, {"Disketa je z jiné série"}},
        {"wrong set and user", 0, true, "DISK: 1\r\nDISK_SET: 8\r\nUSER: Firma Nováková\r\n", 0,
         {"Disketa je z jiné série", "Disketa je z jiné série"}},
        {"user differs in case", 0, true, "USER: FIRMA NOVÁK S.R.O.\r\n", 0, {"Disketa je z jiné série"}},
        {"no blank after the keyword", 0, true, "DISK:1\r\nDISK_SET: 8\r\n", 0,
         {"Neznámé klíčové slovo v souboru %DIR%\\A.KRV"}},
        {"unknown keyword stops the reading", 0, true, "DISK: 3\r\nDISKETA: 1\r\nDISK_SET: 8\r\n", 0,
         {"Nesprávné pořadové číslo diskety (3)", "Neznámé klíčové slovo v souboru %DIR%\\A.KRV"}},
        {"keyword in small letters", 0, true, "disk: 1\r\n", 0, {"Neznámé klíčové slovo v souboru %DIR%\\A.KRV"}},
        {"not a number", 0, true, "DISK: jedna\r\nDISK_SET: x\r\n", 0,
         {"Nesprávné pořadové číslo diskety (0)", "Disketa je z jiné série"}},
        {"keyword without a value", 0, true, "DISK:\r\nUSER:\r\n", 0,
         {"Nesprávné pořadové číslo diskety (0)", "Disketa je z jiné série"}},
        {"number beyond 16 bits", 0, true, "DISK: 65537\r\n", 0, {"Nesprávné pořadové číslo diskety (65537)"}},
        {"negative number", 0, true, "DISK: -1\r\n", 0, {"Nesprávné pořadové číslo diskety (-1)"}},
        {"line of more than 80 characters", 0, true, "USER: Firma Novák s.r.o." + std::string(80, ' ') + "X\r\n",
         1, {}},
    };
    for (const auto &c : cases) {
        TU_SCRATCH dir;
        IFL_state s;
        set_state(&s, dir);
        if (c.present) {
            char name[8];
            DSK_label_name(c.disk, name);
            TU_write(name, c.label);
        }
        TU_clear_reports();
        DSK_disk_index = c.disk;
        EXPECT_EQ(DSK_check_label(&s), c.result) << c.name;
        ASSERT_EQ(TU_reports().size(), c.messages.size()) << c.name;
        for (size_t i = 0; i < c.messages.size(); i++) {
            std::string expected = c.messages[i];
            size_t at = expected.find("%DIR%");
            if (at != std::string::npos)
                expected.replace(at, 5, dir.path());
            EXPECT_EQ(TU_reports()[i].text, expected) << c.name;
            EXPECT_EQ(TU_reports()[i].kind, WE_KIND_ERROR) << c.name;
        }
    }
    DSK_disk_index = 0;
}

TEST(Dsk, ADiskWithoutLetterHasNoLabel)
{
    TU_SCRATCH dir;
    IFL_state s;
    set_state(&s, dir);
    DSK_disk_index = 26;
    EXPECT_EQ(DSK_check_label(&s), 0);
    DSK_disk_index = 0;
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].text, "Nesprávná disketa");
    EXPECT_EQ(DSK_check_label(nullptr), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
}
