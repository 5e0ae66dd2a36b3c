#include "util/scan.h"

#include "tests/testutil.h"

namespace {

// A reader on a working text: its status, its outputs (which start at 7) as doubles in out; the expected values
// are rounded to the outputs' type in place.
using READER = std::function<int16_t(char *text, double *out, double *expected)>;

// A reader of n outputs of type T through read(text, outputs).
template <class T, int N = 1, class F>
READER reader(F read)
{
    return [read](char *text, double *out, double *expected) {
        T v[4] = {7, 7, 7, 7};
        const int16_t ok = read(text, v);
        for (int i = 0; i < N; i++)
            out[i] = static_cast<double>(v[i]), expected[i] = static_cast<double>(static_cast<T>(expected[i]));
        return ok;
    };
}

template <class T>
READER one(int16_t (*read)(char *, T *)) { return reader<T>(read); }
template <class T>
READER two(int16_t (*read)(char *, T *, T *))
{
    return reader<T, 2>([read](char *t, T *v) { return read(t, v, v + 1); });
}
READER units(double f) { return reader<int32_t>([f](char *t, int32_t *v) { return SCAN_real_units(t, f, v); }); }
READER no_value(std::function<int16_t(char *)> f) { return [f](char *text, double *, double *) { return f(text); }; }
READER keyword(const char *word) { return no_value([word](char *t) { return SCAN_keyword(t, word); }); }
READER expect(char c) { return no_value([c](char *t) { return SCAN_expect(t, c); }); }
READER skip(char c) { return no_value([c](char *t) { return SCAN_skip_past(t, c); }); }

const READER i32 = one(SCAN_int32), i16 = one(SCAN_int16), i8 = one(SCAN_int8), pair = two(SCAN_int_pair),
             h32 = one(SCAN_hex32), h16 = one(SCAN_hex16), h8 = one(SCAN_hex8), real = one(SCAN_real),
             dbl = one(SCAN_double), rpair = two(SCAN_real_pair), dpair = two(SCAN_double_pair), u1 = units(1.0),
             quad = reader<int32_t, 4>([](char *t, int32_t *v) { return SCAN_int_quad(t, v, v + 1, v + 2, v + 3); }),
             units_pair = reader<int32_t, 2>([](char *t, int32_t *v) { return SCAN_real_units_pair(t, 1, v, v + 1); });

// A failing reader (no status, values or rest given) leaves its outputs at 7 and the text as it was.
struct CASE { READER read; const char *text; int ok = 0; std::vector<double> values = {}; const char *rest = nullptr; };

// Every reader on texts around its rules and bounds: the status, the values, the rest of the text.
TEST(Scan, Readers)
{
    const CASE cases[] = {
        // Decimal integers: the last sign counts, a sign after a digit starts the next number.
        {i32, "  -12,5", 1, {-12}, ",5"}, {i32, "42", 1, {42}, ""}, {i32, "+7 8", 1, {7}, " 8"},
        {i32, "\t9;", 1, {9}, ";"}, {i32, "0007x", 1, {7}, "x"}, {i32, "-+5x", 1, {5}, "x"},
        {i32, "+-5x", 1, {-5}, "x"}, {i32, "12-3", 1, {12}, "-3"}, {i32, "1e5", 1, {1}, "e5"},
        {i32, "2147483647", 1, {INT32_MAX}, ""}, {i32, "-2147483648 ", 1, {INT32_MIN}, " "}, {i32, "2147483648"},
        {i32, "-2147483649"}, {i32, "4294967297"}, {i32, "99999999999999999999999"}, {i32, "- 5"}, {i32, "-"},
        {i32, ""}, {i32, "   "}, {i32, "abc"}, {i32, ".5"},
        {i16, "70000", 1, {4464}, ""}, {i16, "32768", 1, {-32768}, ""}, {i16, "65535", 1, {-1}, ""},
        {i16, "-32768", 1, {-32768}, ""}, {i16, "x"}, {i8, "127", 1, {127}, ""}, {i8, "-128", 1, {-128}, ""},
        {i8, "-5 rest", 1, {-5}, " rest"}, {i8, "128"}, {i8, "-129"}, {i8, ""},
        // Integer lists: all or nothing.
        {pair, "3, 4", 1, {3, 4}, ""}, {pair, "3 4", 1, {3, 4}, ""}, {pair, "3,4", 1, {3, 4}, ""},
        {pair, " 3 ,4 rest", 1, {3, 4}, " rest"}, {pair, "3,-4", 1, {3, -4}, ""}, {pair, "3-4", 1, {3, -4}, ""},
        {pair, "3, 4, 5", 1, {3, 4}, ", 5"}, {pair, "3"}, {pair, "3,"}, {pair, "3,x"}, {pair, "3,,4"},
        {pair, ", 3, 4"}, {pair, "3, 99999999999"}, {quad, "0, 0, 170, 120", 1, {0, 0, 170, 120}, ""},
        {quad, "1 2 3 4", 1, {1, 2, 3, 4}, ""}, {quad, "-1,-2,-3,-4,5", 1, {-1, -2, -3, -4}, ",5"},
        {quad, "1, 2, 3"}, {quad, "1, 2, x, 4"},
        // Hexadecimal values fail when they do not fit.
        {h16, "0x1F2", 1, {0x1F2}, ""}, {h16, "FFFF", 1, {0xFFFF}, ""}, {h16, "0x0000FFFF", 1, {0xFFFF}, ""},
        {h16, "10000"}, {h32, "  0Xab zz", 1, {0xAB}, " zz"}, {h32, "FFFFFFFF", 1, {0xFFFFFFFFu}, ""},
        {h32, "deadBEEF;", 1, {0xDEADBEEFu}, ";"}, {h32, "0", 1, {0}, ""}, {h32, "12g", 1, {0x12}, "g"},
        {h32, "100000000"}, {h32, "0x"}, {h32, "0xg"}, {h32, "g"}, {h32, "-1"}, {h32, ""}, {h32, "   "},
        {h8, "ff", 1, {0xFF}, ""}, {h8, "0x7f,", 1, {0x7F}, ","}, {h8, "100"},
        // Reals: digits with one point, no exponent; the rest is trimmed.
        {real, "-2.50 mm", 1, {-2.5}, "mm"}, {real, "  3.25  ", 1, {3.25}, ""}, {real, "0.200000", 1, {0.2}, ""},
        {real, "+.5", 1, {0.5}, ""}, {real, "5.", 1, {5}, ""}, {real, "-0.000001", 1, {-0.000001}, ""},
        {real, "12abc", 1, {12}, "abc"}, {real, "1e5", 1, {1}, "e5"}, {real, "1.5E-3", 1, {1.5}, "E-3"},
        {real, "1 2", 1, {1}, "2"}, {real, "1,2 ", 1, {1}, ",2"},
        {real, "170.000000, 120.000000", 1, {170}, ", 120.000000"}, {real, "3000.000000", 1, {3000}, ""},
        {real, "2147.483648", 1, {2147.483648}, ""}, {real, "123456789.123456", 1, {123456789.123456}, ""},
        {real, "1.2.3"}, {real, "1.."}, {real, ""}, {real, "   "}, {real, "."}, {real, "-"}, {real, "- 1"},
        {real, "+-1"}, {real, "mm"}, {real, "99999999999999999999"}, {real, "9999999999.9999999999"},
        {dbl, "123.456789012", 1, {123.456789012}, ""}, {dbl, "-0.1", 1, {-0.1}, ""},
        {dbl, "9223372036854775807", 1, {9223372036854775807.0}, ""}, {dbl, "9223372036854775808"},
        {dbl, "0.0000000000000000000001", 1, {1e-22}, ""},
        {rpair, "1.000000 2.000000", 1, {1, 2}, ""}, {rpair, "1.000000, 2.000000", 1, {1, 2}, ""},
        {rpair, "1.0,2.0", 1, {1, 2}, ""}, {rpair, " -1.5 ,+2.25 x ", 1, {-1.5, 2.25}, "x"}, {rpair, "1.0"},
        {rpair, "1.0,,2.0"}, {rpair, "1.0 2.0.0"}, {dpair, "0.1, 0.2", 1, {0.1, 0.2}, ""},
        {dpair, " -1.5 ,+2.25 x ", 1, {-1.5, 2.25}, "x"}, {dpair, "1.0,,2.0"},
        // Reals in units: divided by the factor and rounded half away from zero.
        {u1, "1.5", 1, {2}, ""}, {u1, "-1.5", 1, {-2}, ""}, {u1, "2.5", 1, {3}, ""}, {u1, "-2.5", 1, {-3}, ""},
        {u1, "0.49", 1, {0}, ""}, {u1, "-0.49", 1, {0}, ""}, {units(0.5), "10 mm", 1, {20}, "mm"},
        {units(0.0254), "25.4", 1, {1000}, ""}, {units(-1.0), "3", 1, {-3}, ""},
        {u1, "2147483647", 1, {INT32_MAX}, ""}, {u1, "-2147483648", 1, {INT32_MIN}, ""}, {u1, "2147483647.5"},
        {u1, "3000000000"}, {units(1e-12), "1"}, {u1, "x"}, {units_pair, "1.5, -1.5 rest", 1, {2, -2}, "rest"},
        {units_pair, "1.5"},
        // Keywords, separators, skips.
        {keyword("BEGIN["), "  BEGIN[x] ", 1, {}, "x]"}, {keyword("KEY"), "KEY", 1, {}, ""},
        {keyword("KEY"), "\tKEY  value\t", 1, {}, "  value"}, {keyword("BEGIN["), "  BEGINx "},
        {keyword("BEGIN["), "begin[x]"}, {keyword("abc"), "ab"}, {keyword("abc"), "  ab  "}, {keyword("A"), ""},
        {keyword("A"), "   "}, {keyword(""), "abc"}, {expect(','), " , 4", 1, {}, " 4"},
        {expect(','), ",4", 1, {}, "4"}, {expect(','), "  4", 1, {}, "4"}, {expect(','), "   ", 1, {}, ""},
        {expect(','), " ;", 1, {}, ";"}, {expect(','), ",,", 1, {}, ","}, {expect(','), "4"}, {expect(','), "x,"},
        {expect(','), ""},
        {expect('='), "=a", 1, {}, "a"}, {skip('='), "key=value", 1, {}, "value"}, {skip('='), "a=b=c", 1, {}, "b=c"},
        {skip('='), "abc=", 1, {}, ""}, {skip('='), "abc"}, {skip('='), ""}, {skip('\0'), "abc"},
    };
    for (const CASE &c : cases) {
        std::string text = c.text;
        double out[4] = {7, 7, 7, 7}, expected[4] = {7, 7, 7, 7};
        std::copy(c.values.begin(), c.values.end(), expected);
        EXPECT_EQ(c.read(&text[0], out, expected), c.ok) << c.text;
        for (int i = 0; i < 4; i++)
            EXPECT_DOUBLE_EQ(out[i], c.ok && i < static_cast<int>(c.values.size()) ? expected[i] : 7.0) << c.text;
        EXPECT_EQ(text.c_str(), std::string(c.ok ? c.rest : c.text)) << c.text;
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

// A null argument or a zero factor: an internal error, the text unchanged.
TEST(Scan, NullArgumentsAndAZeroFactorAreInternalErrors)
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
    TU_expect_failures("..\\util\\scan", {
        TU_FAILS(SCAN_keyword(nullptr, "x")), TU_FAILS(SCAN_keyword(text, nullptr)),
        TU_FAILS(SCAN_expect(nullptr, ',')), TU_FAILS(SCAN_skip_past(nullptr, ',')),
        TU_FAILS(SCAN_int32(nullptr, &i32)), TU_FAILS(SCAN_int32(text, nullptr)), TU_FAILS(SCAN_int16(nullptr, &i16)),
        TU_FAILS(SCAN_int16(text, nullptr)), TU_FAILS(SCAN_int8(nullptr, &i8)), TU_FAILS(SCAN_int8(text, nullptr)),
        TU_FAILS(SCAN_int_pair(nullptr, &i32, &i32)), TU_FAILS(SCAN_int_pair(text, &i32, nullptr)),
        TU_FAILS(SCAN_int_quad(nullptr, &i32, &i32, &i32, &i32)),
        TU_FAILS(SCAN_int_quad(text, &i32, &i32, &i32, nullptr)), TU_FAILS(SCAN_hex32(nullptr, &u32)),
        TU_FAILS(SCAN_hex32(text, nullptr)), TU_FAILS(SCAN_hex16(nullptr, &u16)), TU_FAILS(SCAN_hex16(text, nullptr)),
        TU_FAILS(SCAN_hex8(nullptr, &u8)), TU_FAILS(SCAN_hex8(text, nullptr)), TU_FAILS(SCAN_real(nullptr, &f)),
        TU_FAILS(SCAN_real(text, nullptr)), TU_FAILS(SCAN_double(nullptr, &d)), TU_FAILS(SCAN_double(text, nullptr)),
        TU_FAILS(SCAN_real_pair(nullptr, &f, &f)), TU_FAILS(SCAN_real_pair(text, nullptr, &f)),
        TU_FAILS(SCAN_double_pair(nullptr, &d, &d)), TU_FAILS(SCAN_double_pair(text, &d, nullptr)),
        TU_FAILS(SCAN_real_units(nullptr, 1.0, &i32)), TU_FAILS(SCAN_real_units(text, 1.0, nullptr)),
        TU_FAILS(SCAN_real_units_pair(nullptr, 1.0, &i32, &i32)),
        TU_FAILS(SCAN_real_units_pair(text, 1.0, &i32, nullptr)), TU_FAILS(SCAN_real_units(text, 0.0, &i32)),
        TU_FAILS(SCAN_real_units_pair(text, 0.0, &i32, &i32)),
    });
    EXPECT_STREQ(text, "12, 34, 56, 78");
}

}  // namespace
