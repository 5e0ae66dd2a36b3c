#include "util/scan.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/testutil.h"

namespace {

// A writable copy of an input text, with room for nothing more: the readers
// only ever shorten their text.
struct TEXT {
    explicit TEXT(const char *s) : buffer(s) {}
    char *get() { return &buffer[0]; }
    std::string rest() const { return buffer.c_str(); }
    std::string buffer;
};

}  // namespace

TEST(Scan, Int32ReadsSignsDigitsAndStopsAtTheFirstOtherCharacter)
{
    struct {
        const char *text;
        int ok;
        int32_t value;
        const char *rest;
    } const cases[] = {
        {"  -12,5", 1, -12, ",5"},
        {"42", 1, 42, ""},
        {"+7 8", 1, 7, " 8"},
        {"\t9;", 1, 9, ";"},
        {"0007x", 1, 7, "x"},
        {"-+5x", 1, 5, "x"},   // the last sign counts
        {"+-5x", 1, -5, "x"},
        {"12-3", 1, 12, "-3"},   // a sign after a digit starts the next number
        {"1e5", 1, 1, "e5"},
        {"2147483647", 1, INT32_MAX, ""},
        {"-2147483648 ", 1, INT32_MIN, " "},
        {"2147483648", 0, 0, nullptr},
        {"-2147483649", 0, 0, nullptr},
        {"4294967297", 0, 0, nullptr},   // would wrap to 1 in 32 bits
        {"99999999999999999999999", 0, 0, nullptr},
        {"- 5", 0, 0, nullptr},
        {"-", 0, 0, nullptr},
        {"", 0, 0, nullptr},
        {"   ", 0, 0, nullptr},
        {"abc", 0, 0, nullptr},
        {"x12", 0, 0, nullptr},
        {".5", 0, 0, nullptr},
    };
    for (const auto &c : cases) {
        TEXT t(c.text);
        int32_t value = 777;
        EXPECT_EQ(SCAN_int32(t.get(), &value), c.ok) << c.text;
        EXPECT_EQ(value, c.ok ? c.value : 777) << c.text;
        EXPECT_EQ(t.rest(), c.ok ? c.rest : c.text) << c.text;
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(Scan, NarrowIntegersKeepLowBitsOrCheckTheRange)
{
    struct {
        const char *text;
        int ok;
        int16_t value;
    } const shorts[] = {
        {"70000", 1, 4464}, {"-1", 1, -1}, {"32768", 1, -32768}, {"65535", 1, -1}, {"-32768", 1, -32768}, {"x", 0, 0},
    };
    for (const auto &c : shorts) {
        TEXT t(c.text);
        int16_t value = 555;
        EXPECT_EQ(SCAN_int16(t.get(), &value), c.ok) << c.text;
        EXPECT_EQ(value, c.ok ? c.value : 555) << c.text;
    }
    struct {
        const char *text;
        int ok;
        int8_t value;
        const char *rest;
    } const bytes[] = {
        {"127", 1, 127, ""}, {"-128", 1, -128, ""}, {"-5 rest", 1, -5, " rest"},
        {"128", 0, 0, nullptr}, {"-129", 0, 0, nullptr}, {"", 0, 0, nullptr},
    };
    for (const auto &c : bytes) {
        TEXT t(c.text);
        int8_t value = 55;
        EXPECT_EQ(SCAN_int8(t.get(), &value), c.ok) << c.text;
        EXPECT_EQ(value, c.ok ? c.value : 55) << c.text;
        EXPECT_EQ(t.rest(), c.ok ? c.rest : c.text) << c.text;
    }
}

TEST(Scan, IntegerListsReadAllOrNothing)
{
    struct {
        const char *text;
        int ok;
        int32_t a, b;
        const char *rest;
    } const pairs[] = {
        {"3, 4", 1, 3, 4, ""},
        {"3 4", 1, 3, 4, ""},
        {"3,4", 1, 3, 4, ""},
        {" 3 ,4 rest", 1, 3, 4, " rest"},
        {"3,-4", 1, 3, -4, ""},
        {"3-4", 1, 3, -4, ""},
        {"3, 4, 5", 1, 3, 4, ", 5"},
        {"3", 0, 0, 0, nullptr},
        {"3,", 0, 0, 0, nullptr},
        {"3,x", 0, 0, 0, nullptr},
        {"3,,4", 0, 0, 0, nullptr},
        {", 3, 4", 0, 0, 0, nullptr},
        {"3, 99999999999", 0, 0, 0, nullptr},
    };
    for (const auto &c : pairs) {
        TEXT t(c.text);
        int32_t a = 7, b = 8;
        EXPECT_EQ(SCAN_int_pair(t.get(), &a, &b), c.ok) << c.text;
        EXPECT_EQ(a, c.ok ? c.a : 7) << c.text;
        EXPECT_EQ(b, c.ok ? c.b : 8) << c.text;
        EXPECT_EQ(t.rest(), c.ok ? c.rest : c.text) << c.text;
    }
    struct {
        const char *text;
        int ok;
        int32_t v[4];
        const char *rest;
    } const quads[] = {
        {"0, 0, 170, 120", 1, {0, 0, 170, 120}, ""},
        {"1 2 3 4", 1, {1, 2, 3, 4}, ""},
        {"-1,-2,-3,-4,5", 1, {-1, -2, -3, -4}, ",5"},
        {"1, 2, 3", 0, {0, 0, 0, 0}, nullptr},
        {"1, 2, x, 4", 0, {0, 0, 0, 0}, nullptr},
    };
    for (const auto &c : quads) {
        TEXT t(c.text);
        int32_t v[4] = {9, 9, 9, 9};
        EXPECT_EQ(SCAN_int_quad(t.get(), &v[0], &v[1], &v[2], &v[3]), c.ok) << c.text;
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(v[i], c.ok ? c.v[i] : 9) << c.text << " " << i;
        EXPECT_EQ(t.rest(), c.ok ? c.rest : c.text) << c.text;
    }
}

TEST(Scan, HexValuesFailWhenTheyDoNotFit)
{
    enum { H32, H16, H8 };
    struct {
        int width;
        const char *text;
        int ok;
        uint32_t value;
        const char *rest;
    } const cases[] = {
        {H16, "0x1F2", 1, 0x1F2, ""},
        {H16, "10000", 0, 0, nullptr},
        {H16, "FFFF", 1, 0xFFFF, ""},
        {H16, "0x0000FFFF", 1, 0xFFFF, ""},
        {H32, "  0Xab zz", 1, 0xAB, " zz"},
        {H32, "FFFFFFFF", 1, 0xFFFFFFFFu, ""},
        {H32, "deadBEEF;", 1, 0xDEADBEEFu, ";"},
        {H32, "100000000", 0, 0, nullptr},
        {H32, "0", 1, 0, ""},
        {H32, "12g", 1, 0x12, "g"},
        {H32, "0x", 0, 0, nullptr},
        {H32, "0xg", 0, 0, nullptr},
        {H32, "g", 0, 0, nullptr},
        {H32, "-1", 0, 0, nullptr},
        {H32, "", 0, 0, nullptr},
        {H32, "   ", 0, 0, nullptr},
        {H8, "ff", 1, 0xFF, ""},
        {H8, "0x7f,", 1, 0x7F, ","},
        {H8, "100", 0, 0, nullptr},
    };
    for (const auto &c : cases) {
        TEXT t(c.text);
        uint32_t value = 0x5A;
        int ok = 0;
        if (c.width == H32) {
            ok = SCAN_hex32(t.get(), &value);
        } else if (c.width == H16) {
            uint16_t v16 = 0x5A;
            ok = SCAN_hex16(t.get(), &v16);
            value = v16;
        } else {
            uint8_t v8 = 0x5A;
            ok = SCAN_hex8(t.get(), &v8);
            value = v8;
        }
        EXPECT_EQ(ok, c.ok) << c.text;
        EXPECT_EQ(value, c.ok ? c.value : 0x5Au) << c.text;
        EXPECT_EQ(t.rest(), c.ok ? c.rest : c.text) << c.text;
    }
}

TEST(Scan, RealsReadDigitsWithOnePointAndTrimTheRest)
{
    struct {
        const char *text;
        int ok;
        float value;
        const char *rest;
    } const cases[] = {
        {"-2.50 mm", 1, -2.5f, "mm"},
        {"  3.25  ", 1, 3.25f, ""},
        {"0.200000", 1, 0.2f, ""},
        {"+.5", 1, 0.5f, ""},
        {"5.", 1, 5.0f, ""},
        {"-0.000001", 1, -0.000001f, ""},
        {"12abc", 1, 12.0f, "abc"},
        {"1e5", 1, 1.0f, "e5"},   // no exponents
        {"1.5E-3", 1, 1.5f, "E-3"},
        {"1 2", 1, 1.0f, "2"},
        {"1,2 ", 1, 1.0f, ",2"},
        {"170.000000, 120.000000", 1, 170.0f, ", 120.000000"},
        // Beyond the 32-bit whole number of the older reader: still read.
        {"3000.000000", 1, 3000.0f, ""},
        {"2147.483648", 1, 2147.483648f, ""},
        {"123456789.123456", 1, 123456789.123456f, ""},
        {"1.2.3", 0, 0, nullptr},
        {"1..", 0, 0, nullptr},
        {"", 0, 0, nullptr},
        {"   ", 0, 0, nullptr},
        {".", 0, 0, nullptr},
        {"-", 0, 0, nullptr},
        {"- 1", 0, 0, nullptr},
        {"+-1", 0, 0, nullptr},
        {"mm", 0, 0, nullptr},
        {"99999999999999999999", 0, 0, nullptr},
        {"9999999999.9999999999", 0, 0, nullptr},
    };
    for (const auto &c : cases) {
        TEXT t(c.text);
        float value = 77.0f;
        EXPECT_EQ(SCAN_real(t.get(), &value), c.ok) << c.text;
        EXPECT_EQ(value, c.ok ? c.value : 77.0f) << c.text;
        EXPECT_EQ(t.rest(), c.ok ? c.rest : c.text) << c.text;
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(Scan, DoublesKeepTheirPrecision)
{
    struct {
        const char *text;
        double value;
    } const cases[] = {
        {"123.456789012", 123.456789012},
        {"-0.1", -0.1},
        {"9223372036854775807", 9223372036854775807.0},
        {"0.0000000000000000000001", 1e-22},
    };
    for (const auto &c : cases) {
        TEXT t(c.text);
        double value = 0;
        EXPECT_EQ(SCAN_double(t.get(), &value), 1) << c.text;
        EXPECT_DOUBLE_EQ(value, c.value) << c.text;
        EXPECT_EQ(t.rest(), "") << c.text;
    }
    TEXT t("9223372036854775808");
    double value = 5;
    EXPECT_EQ(SCAN_double(t.get(), &value), 0);
    EXPECT_EQ(value, 5);
}

TEST(Scan, RealPairsTakeACommaOrABlankBetween)
{
    struct {
        const char *text;
        int ok;
        float a, b;
        const char *rest;
    } const cases[] = {
        {"1.000000 2.000000", 1, 1.0f, 2.0f, ""},
        {"1.000000, 2.000000", 1, 1.0f, 2.0f, ""},
        {"1.0,2.0", 1, 1.0f, 2.0f, ""},
        {" -1.5 ,+2.25 x ", 1, -1.5f, 2.25f, "x"},
        {"1.0", 0, 0, 0, nullptr},
        {"1.0,,2.0", 0, 0, 0, nullptr},
        {"1.0 2.0.0", 0, 0, 0, nullptr},
    };
    for (const auto &c : cases) {
        TEXT t(c.text);
        float a = 7, b = 8;
        EXPECT_EQ(SCAN_real_pair(t.get(), &a, &b), c.ok) << c.text;
        EXPECT_EQ(a, c.ok ? c.a : 7.0f) << c.text;
        EXPECT_EQ(b, c.ok ? c.b : 8.0f) << c.text;
        EXPECT_EQ(t.rest(), c.ok ? c.rest : c.text) << c.text;

        TEXT d(c.text);
        double da = 7, db = 8;
        EXPECT_EQ(SCAN_double_pair(d.get(), &da, &db), c.ok) << c.text;
        EXPECT_EQ(da, c.ok ? c.a : 7.0) << c.text;
        EXPECT_EQ(db, c.ok ? c.b : 8.0) << c.text;
        EXPECT_EQ(d.rest(), c.ok ? c.rest : c.text) << c.text;
    }
}

TEST(Scan, RealUnitsRoundHalfAwayFromZero)
{
    struct {
        const char *text;
        double factor;
        int ok;
        int32_t value;
        const char *rest;
    } const cases[] = {
        {"1.5", 1.0, 1, 2, ""},
        {"-1.5", 1.0, 1, -2, ""},
        {"2.5", 1.0, 1, 3, ""},
        {"-2.5", 1.0, 1, -3, ""},
        {"0.49", 1.0, 1, 0, ""},
        {"-0.49", 1.0, 1, 0, ""},
        {"10 mm", 0.5, 1, 20, "mm"},
        {"25.4", 0.0254, 1, 1000, ""},
        {"3", -1.0, 1, -3, ""},
        {"2147483647", 1.0, 1, INT32_MAX, ""},
        {"-2147483648", 1.0, 1, INT32_MIN, ""},
        {"2147483647.5", 1.0, 0, 0, nullptr},
        {"3000000000", 1.0, 0, 0, nullptr},
        {"1", 1e-12, 0, 0, nullptr},
        {"x", 1.0, 0, 0, nullptr},
    };
    for (const auto &c : cases) {
        TEXT t(c.text);
        int32_t value = 99;
        EXPECT_EQ(SCAN_real_units(t.get(), c.factor, &value), c.ok) << c.text << " / " << c.factor;
        EXPECT_EQ(value, c.ok ? c.value : 99) << c.text;
        EXPECT_EQ(t.rest(), c.ok ? c.rest : c.text) << c.text;
    }
    EXPECT_EQ(TU_reports().size(), 0u);

    TEXT pair("1.5, -1.5 rest");
    int32_t a = 0, b = 0;
    EXPECT_EQ(SCAN_real_units_pair(pair.get(), 1.0, &a, &b), 1);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, -2);
    EXPECT_EQ(pair.rest(), "rest");
    TEXT half("1.5");
    EXPECT_EQ(SCAN_real_units_pair(half.get(), 1.0, &a, &b), 0);
    EXPECT_EQ(half.rest(), "1.5");

    // A factor of 0 is the caller's mistake.
    TEXT zero("1.5");
    EXPECT_EQ(SCAN_real_units(zero.get(), 0.0, &a), 0);
    EXPECT_EQ(SCAN_real_units_pair(zero.get(), 0.0, &a, &b), 0);
    EXPECT_EQ(zero.rest(), "1.5");
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 2);
}

TEST(Scan, KeywordSeparatorAndSkip)
{
    struct {
        const char *text;
        const char *keyword;
        int ok;
        const char *rest;
    } const keywords[] = {
        {"  BEGIN[x] ", "BEGIN[", 1, "x]"},
        {"KEY", "KEY", 1, ""},
        {"\tKEY  value\t", "KEY", 1, "  value"},
        {"  BEGINx ", "BEGIN[", 0, nullptr},
        {"begin[x]", "BEGIN[", 0, nullptr},
        {"ab", "abc", 0, nullptr},
        {"  ab  ", "abc", 0, nullptr},
        {"", "A", 0, nullptr},
        {"   ", "A", 0, nullptr},
        {"abc", "", 0, nullptr},
    };
    for (const auto &c : keywords) {
        TEXT t(c.text);
        EXPECT_EQ(SCAN_keyword(t.get(), c.keyword), c.ok) << c.text;
        EXPECT_EQ(t.rest(), c.ok ? c.rest : c.text) << c.text;
    }
    struct {
        const char *text;
        char c;
        int ok;
        const char *rest;
    } const separators[] = {
        {" , 4", ',', 1, " 4"},
        {",4", ',', 1, "4"},
        {"  4", ',', 1, "4"},
        {"   ", ',', 1, ""},
        {" ;", ',', 1, ";"},
        {",,", ',', 1, ","},
        {"4", ',', 0, nullptr},
        {"x,", ',', 0, nullptr},
        {"", ',', 0, nullptr},
        {"=a", '=', 1, "a"},
    };
    for (const auto &c : separators) {
        TEXT t(c.text);
        EXPECT_EQ(SCAN_expect(t.get(), c.c), c.ok) << c.text;
        EXPECT_EQ(t.rest(), c.ok ? c.rest : c.text) << c.text;
    }
    struct {
        const char *text;
        char c;
        int ok;
        const char *rest;
    } const skips[] = {
        {"key=value", '=', 1, "value"},
        {"a=b=c", '=', 1, "b=c"},
        {"abc=", '=', 1, ""},
        {"abc", '=', 0, nullptr},
        {"", '=', 0, nullptr},
        {"abc", '\0', 0, nullptr},
    };
    for (const auto &c : skips) {
        TEXT t(c.text);
        EXPECT_EQ(SCAN_skip_past(t.get(), c.c), c.ok) << c.text;
        EXPECT_EQ(t.rest(), c.ok ? c.rest : c.text) << c.text;
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(Scan, NullArgumentsAreInternalErrors)
{
    char text[] = "12, 34, 56, 78";
    int32_t i32;
    int16_t i16;
    int8_t i8;
    uint32_t u32;
    uint16_t u16;
    uint8_t u8;
    float f;
    double d;
    struct {
        const char *what;
        int16_t result;
    } const calls[] = {
        {"keyword text", SCAN_keyword(nullptr, "x")},
        {"keyword", SCAN_keyword(text, nullptr)},
        {"expect", SCAN_expect(nullptr, ',')},
        {"skip", SCAN_skip_past(nullptr, ',')},
        {"int32", SCAN_int32(nullptr, &i32)},
        {"int32 value", SCAN_int32(text, nullptr)},
        {"int16", SCAN_int16(nullptr, &i16)},
        {"int16 value", SCAN_int16(text, nullptr)},
        {"int8", SCAN_int8(nullptr, &i8)},
        {"int8 value", SCAN_int8(text, nullptr)},
        {"pair", SCAN_int_pair(nullptr, &i32, &i32)},
        {"pair b", SCAN_int_pair(text, &i32, nullptr)},
        {"quad", SCAN_int_quad(nullptr, &i32, &i32, &i32, &i32)},
        {"quad d", SCAN_int_quad(text, &i32, &i32, &i32, nullptr)},
        {"hex32", SCAN_hex32(nullptr, &u32)},
        {"hex32 value", SCAN_hex32(text, nullptr)},
        {"hex16", SCAN_hex16(nullptr, &u16)},
        {"hex16 value", SCAN_hex16(text, nullptr)},
        {"hex8", SCAN_hex8(nullptr, &u8)},
        {"hex8 value", SCAN_hex8(text, nullptr)},
        {"real", SCAN_real(nullptr, &f)},
        {"real value", SCAN_real(text, nullptr)},
        {"double", SCAN_double(nullptr, &d)},
        {"double value", SCAN_double(text, nullptr)},
        {"real pair", SCAN_real_pair(nullptr, &f, &f)},
        {"real pair a", SCAN_real_pair(text, nullptr, &f)},
        {"double pair", SCAN_double_pair(nullptr, &d, &d)},
        {"double pair b", SCAN_double_pair(text, &d, nullptr)},
        {"units", SCAN_real_units(nullptr, 1.0, &i32)},
        {"units value", SCAN_real_units(text, 1.0, nullptr)},
        {"units pair", SCAN_real_units_pair(nullptr, 1.0, &i32, &i32)},
        {"units pair b", SCAN_real_units_pair(text, 1.0, &i32, nullptr)},
    };
    for (const auto &c : calls)
        EXPECT_EQ(c.result, 0) << c.what;
    EXPECT_STREQ(text, "12, 34, 56, 78");
    ASSERT_EQ(TU_count(WE_KIND_INTERNAL), static_cast<int>(std::size(calls)));
    for (const TU_REPORT &r : TU_reports())
        EXPECT_EQ(r.text.rfind("Chyba v souboru ..\\util\\scan řádek ", 0), 0u);
}
