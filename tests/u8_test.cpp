#include "common/u8.h"

#include <string>

#include <gtest/gtest.h>

TEST(U8, Cp1250RoundTripsEveryDefinedByte)
{
    for (int b = 1; b < 256; b++) {
        if (b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98)
            continue;   // not defined in CP1250
        char in[2] = {static_cast<char>(b), 0};
        int lossless = 0;
        std::string back = U8_to_cp1250(U8_from_cp1250(in).c_str(), &lossless);
        EXPECT_EQ(back, std::string(in)) << b;
        EXPECT_EQ(lossless, 1) << b;
    }
}

TEST(U8, KnownLettersAndFailures)
{
    const std::string cp = "žluťoučký kůň";   // CP1250 bytes, as every literal
    EXPECT_EQ(U8_from_cp1250("\x9E"), "\xC5\xBE");            // ž
    EXPECT_EQ(U8_from_cp1250("\x80"), "\xE2\x82\xAC");        // euro sign
    EXPECT_EQ(U8_from_cp1250("\x81"), "\xEF\xBF\xBD");        // undefined byte
    EXPECT_EQ(U8_from_cp1250(cp.c_str()), "\xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD k\xC5\xAF\xC5\x88");
    EXPECT_EQ(U8_to_cp1250(U8_from_cp1250(cp.c_str()).c_str()), cp);

    int lossless = 1;
    EXPECT_EQ(U8_to_cp1250("a\xE4\xB8\xAD" "b", &lossless), "a?b");   // CJK letter
    EXPECT_EQ(lossless, 0);
    EXPECT_EQ(U8_to_cp1250("\xC3(", &lossless), "?(");                // broken sequence
    EXPECT_EQ(U8_to_cp1250("\xC0\xAF", &lossless), "??");             // overlong "/"
    EXPECT_EQ(U8_to_cp1250(nullptr), "");
    EXPECT_EQ(U8_from_cp1250(nullptr), "");
}

TEST(U8, TellsUtf8FromCp1250)
{
    const std::string cp = "Příliš";   // CP1250 bytes
    std::string u = U8_from_cp1250(cp.c_str());
    EXPECT_EQ(U8_is_utf8(u.data(), u.size()), 1);
    EXPECT_EQ(U8_is_utf8(cp.data(), cp.size()), 0);
    EXPECT_EQ(U8_is_utf8("plain", 5), 0);   // nothing to tell
}
