#include "swin/wco_store.h"

#include <algorithm>
#include <numeric>
#include <random>

#include "common/st.h"
#include "swin/wco.h"
#include "tests/wcotest.h"

namespace {

// Each call fails with one internal-error report of the store and leaves the store as it was.
TEST(WcoStore, RefusedCallsReportAndChangeNothing)
{
    WT_STORE store;
    ASSERT_EQ(WCO_set_text(store, "S", "k", "v"), 1);
    WT_clear_changed(store);
    WCO_section *section = &store->sections[0];
    WCO_file *none = nullptr;
    char buffer[8], *copy = nullptr, *taken = buffer;
    int32_t i32 = 0;
    int16_t i16 = 0;
    uint8_t byte = 0;
    float real = 0, reals[4] = {};
    WCO_RGB rgb{};
    TU_expect_failures("..\\swin\\wco_store", {
        TU_FAILS(WCO_create(nullptr)), TU_FAILS(WCO_destroy(nullptr)), TU_FAILS(WCO_destroy(&none)),
        TU_FAILS(WCO_select_section(nullptr, "S")), TU_FAILS(WCO_has_section(nullptr, "S")),
        TU_FAILS(WCO_find_section(store, nullptr)), TU_FAILS(WCO_current_section(nullptr)),
        TU_FAILS(WCO_remove_section(store, nullptr)), TU_FAILS(WCO_key_storable(nullptr)),
        TU_FAILS(WCO_section_set(nullptr, "k", "v")), TU_FAILS(WCO_section_set(section, nullptr, "v")),
        TU_FAILS(WCO_section_set(section, "k", nullptr)), TU_FAILS(WCO_section_value(nullptr, "k")),
        TU_FAILS(WCO_section_remove(section, nullptr)), TU_FAILS(WCO_set_text(nullptr, "S", "k", "v")),
        TU_FAILS(WCO_set_text(store, nullptr, "k", "v")), TU_FAILS(WCO_set_text(store, "S", "k", nullptr)),
        TU_FAILS(WCO_get_text(store, "S", "k", nullptr, 0)), TU_FAILS(WCO_get_text(store, "S", "k", buffer, -1)),
        TU_FAILS(WCO_get_text_alloc(store, "S", "k", &taken)), TU_FAILS(WCO_get_text_ref(store, nullptr, "k")),
        TU_FAILS(WCO_remove_key(store, "S", nullptr)), TU_FAILS(WCO_purge_obsolete(nullptr, nullptr)),
        // Names, keys and values that cannot stand in a file.
        TU_FAILS(WCO_select_section(store, "  \t ")), TU_FAILS(WCO_select_section(store, "a\nb")),
        TU_FAILS(WCO_set_text(store, "S", "   ", "v")), TU_FAILS(WCO_set_text(store, "S", "a=b", "v")),
        TU_FAILS(WCO_set_text(store, "S", "a\nb", "v")), TU_FAILS(WCO_set_text(store, "S", "BEGIN[x", "v]")),
        TU_FAILS(WCO_set_text(store, "S", "END[x", "y]")), TU_FAILS(WCO_set_text(store, "S", "k", "one\ntwo")),
        // Current forms without a current section.
        TU_FAILS(WCO_set_text(store, "k", "v")), TU_FAILS(WCO_get_text(store, "k", buffer, 7)),
        TU_FAILS(WCO_get_text_alloc(store, "k", &copy)), TU_FAILS(WCO_get_text_ref(store, "k")),
        TU_FAILS(WCO_remove_key(store, "k")), TU_FAILS(WCO_set_int32(store, "k", 1)),
        TU_FAILS(WCO_get_int32(store, "k", &i32)), TU_FAILS(WCO_set_int16(store, "k", 1)),
        TU_FAILS(WCO_get_int16(store, "k", &i16)), TU_FAILS(WCO_set_real(store, "k", 1.0f)),
        TU_FAILS(WCO_get_real(store, "k", &real)), TU_FAILS(WCO_set_real_quad(store, "k", reals)),
        TU_FAILS(WCO_get_real_quad(store, "k", reals)), TU_FAILS(WCO_set_rgb(store, "k", &rgb)),
        TU_FAILS(WCO_get_rgb(store, "k", &rgb)), TU_FAILS(WCO_set_yes(store, "k", 1)),
        TU_FAILS(WCO_get_yes(store, "k", &i16)), TU_FAILS(WCO_set_colour(store, "k", 1)),
        TU_FAILS(WCO_get_colour(store, "k", &byte)), TU_FAILS(WCO_set_key(store, "k", 2)),
        TU_FAILS(WCO_get_key(store, "k", &i16)),
    });
    EXPECT_EQ(copy, nullptr);
    EXPECT_EQ(taken, buffer);
    EXPECT_EQ(WT_dump(store), "[S] k=v");
    EXPECT_FALSE(WT_changed(store));
    EXPECT_EQ(store->current, -1);
}

// Sections and keys come and go in Czech order; the changed flags are set only by a real change.
TEST(WcoStore, SectionsKeysAndChangedFlags)
{
    ASSERT_NE(WCO_system_store(), nullptr);
    EXPECT_EQ(WCO_system_store(), WCO_system_store());
    WT_STORE store;
    EXPECT_TRUE(store->count == 0 && store->current == -1 && !WT_changed(store) && !store->file_name[0]);
    // A named set creates the section and selects nothing.
    EXPECT_EQ(WCO_set_text(store, "S", "a", "1"), 1);
    EXPECT_TRUE(store->changed && store->sections[0].changed && store->current == -1);
    ASSERT_EQ(WCO_set_text(store, "S", "b", "2"), 1);
    WT_clear_changed(store);
    // Selecting a section that exists and setting a value it has change nothing.
    EXPECT_EQ(WCO_select_section(store, " S\t"), 1);
    EXPECT_EQ(WCO_set_text(store, " a ", "  1\t"), 1);
    EXPECT_TRUE(store->current == 0 && store->count == 1 && !WT_changed(store));
    EXPECT_EQ(WCO_set_text(store, "a", "other"), 1);
    EXPECT_EQ(store->sections[0].changed, 1);
    store->sections[0].changed = 0;
    EXPECT_EQ(WCO_remove_key(store, "S", "b"), 1);
    EXPECT_EQ(store->sections[0].changed, 1);
    EXPECT_EQ(WCO_remove_key(store, "S", "b") + WCO_remove_key(store, "T", "a"), 0);
    EXPECT_EQ(WCO_has_section(store, "S"), 1);
    EXPECT_EQ(WCO_has_section(store, "s") + WCO_has_section(store, nullptr), 0);
    // The current section stays the same section when others come and go.
    ASSERT_EQ(WCO_set_text(store, "A", "k", "v"), 1);
    ASSERT_EQ(WCO_set_text(store, "k", "in S"), 1);
    EXPECT_EQ(WCO_remove_section(store, "A"), 1);
    ASSERT_EQ(WCO_set_text(store, "x_BEGIN[", "END[y]"), 1);
    EXPECT_EQ(WCO_remove_key(store, " k "), 1);
    EXPECT_EQ(WT_dump(store), "[S] a=other x_BEGIN[=END[y]");
    EXPECT_EQ(WCO_remove_section(store, "S"), 1);
    EXPECT_EQ(store->current, -1);
    EXPECT_EQ(WCO_remove_section(store, "S"), 0);
    EXPECT_EQ(WCO_select_section(store, "B"), 1);
    EXPECT_EQ(WCO_select_section(store, nullptr), 1);
    EXPECT_EQ(store->current, -1);
    for (const char *name : {"d", "č", "C", "c", "Č", "ch"})
        ASSERT_EQ(WCO_set_text(store, name, "k", "v"), 1);
    EXPECT_EQ(WT_dump(store), "[B] [c] k=v [ch] k=v [C] k=v [č] k=v [Č] k=v [d] k=v");
    EXPECT_EQ(TU_reports().size(), 0u);
}

// Names, keys and values are trimmed and cut to their maxima (internal errors), and found again the same way.
TEST(WcoStore, NamesKeysAndValuesAreTrimmedAndCut)
{
    const std::string n40(40, 'n'), k40(40, 'k'), v1000(1000, 'v');
    const struct { std::string section, key, value, dump; int reports; } cases[] = {
        {" S\t", " \tk ", "  v w  ", "[S] k=v w", 0},
        {n40, k40, v1000, "[" + n40 + "] " + k40 + "=" + v1000, 0},
        {n40 + "X", "k", "v", "[" + n40 + "] k=v", 1},
        {"S", k40 + "X", v1000 + "w", "[S] " + k40 + "=" + v1000, 2},
        {n40.substr(2) + "   tail", k40.substr(1) + "  x", "v", "[" + n40.substr(2) + "] " + k40.substr(1) + "=v", 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.dump.substr(0, 60));
        TU_clear_reports();
        WT_STORE store;
        EXPECT_EQ(WCO_set_text(store, c.section.c_str(), c.key.c_str(), c.value.c_str()), 1);
        EXPECT_EQ(WT_dump(store), c.dump);
        EXPECT_EQ(TU_count(WE_KIND_INTERNAL), c.reports);
        // Found again under the names given, which are trimmed and cut the same way.
        EXPECT_NE(WCO_get_text_ref(store, c.section.c_str(), c.key.c_str()), nullptr);
    }
}

// Text gets: a missing section creates nothing; a cut copy, a whole one, an allocated one.
TEST(WcoStore, TextGets)
{
    WT_STORE store;
    char buffer[16] = "untouched", *copy = nullptr;
    int32_t number = 7;
    // A named get of a missing section finds nothing and creates nothing.
    EXPECT_EQ(WCO_get_text(store, "None", "k", buffer, 0) + WCO_get_text_alloc(store, "None", "k", &copy) +
                  WCO_get_int32(store, "None", "k", &number) + WCO_remove_key(store, "None", "k"), 0);
    EXPECT_EQ(WCO_get_text_ref(store, "None", "k"), nullptr);
    EXPECT_TRUE(std::string(buffer) == "untouched" && number == 7 && !copy && store->count == 0 && !store->changed);
    ASSERT_EQ(WCO_set_text(store, "S", "ten", "0123456789"), 1);
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(WCO_get_text(store, "S", "ten", buffer, 4), 1);
    EXPECT_EQ(std::string(buffer, 6), std::string("0123\0#", 6));
    EXPECT_EQ(WCO_get_text(store, "S", "ten", buffer, 0), 1);
    EXPECT_STREQ(buffer, "0123456789");
    EXPECT_EQ(WCO_get_text_alloc(store, "S", "ten", &copy), 1);
    EXPECT_STREQ(copy, "0123456789");
    EXPECT_NE(copy, WCO_get_text_ref(store, "S", "ten"));
    ST_free(&copy);
    EXPECT_EQ(WCO_get_text_alloc(store, "S", "missing", &copy), 0);
    EXPECT_EQ(copy, nullptr);
    EXPECT_EQ(TU_reports().size(), 0u);
}

// Arrays grow at the 20th section and the 100th key, then by a share of their size.
TEST(WcoStore, GrowthKeepsEverythingInOrder)
{
    WT_STORE store;
    for (int n = 1; n <= 20; n++) {
        ASSERT_EQ(WCO_select_section(store, ("S" + std::to_string(100 - n)).c_str()), 1);
        EXPECT_EQ(store->capacity, n < 20 ? 20 : 25);
    }
    const int keys = 5000;
    std::vector<int> order(keys);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    const WCO_section &section = store->sections[store->current];
    int32_t last = section.capacity;
    int growths = 0;
    for (int n = 0; n < keys; n++) {
        const std::string key = "k" + std::to_string(100000 + order[n]);
        ASSERT_EQ(WCO_set_text(store, key.c_str(), std::to_string(order[n]).c_str()), 1);
        EXPECT_TRUE((n + 1 != 99 || section.capacity == 100) && (n + 1 != 100 || section.capacity == 110)) << n;
        growths += section.capacity != last;
        last = section.capacity;
    }
    EXPECT_LT(growths, 80);
    ASSERT_EQ(section.count, keys);
    for (int i = 0; i < keys; i++)
        EXPECT_STREQ(WCO_get_text_ref(store, ("k" + std::to_string(100000 + i)).c_str()), std::to_string(i).c_str());
    EXPECT_EQ(TU_reports().size(), 0u);
}

// The purge removes the listed pairs (by default the obsolete keys) and the sections left empty.
TEST(WcoStore, PurgeRemovesTheTablePairsAndEmptySections)
{
    WT_STORE store;
    for (const WCO_KEY_REF &pair : {WCO_KEY_REF{"A", "gone"}, WCO_KEY_REF{"B", "gone"}, WCO_KEY_REF{"B", "kept"}})
        ASSERT_EQ(WCO_set_text(store, pair.section, pair.key, pair.key), 1);
    ASSERT_EQ(WCO_select_section(store, "C"), 1);
    store->changed = 0;
    const WCO_KEY_REF table[] = {{"A", "gone"}, {"B", "gone"}, {"Z", "gone"}, {nullptr, nullptr}};
    EXPECT_EQ(WCO_purge_obsolete(store, table), 1);
    EXPECT_EQ(WT_dump(store), "[B] kept=kept");
    EXPECT_EQ(store->changed, 1);
    EXPECT_EQ(store->sections[0].changed, 1);
    for (const WCO_KEY_REF *pair = WCO_obsolete_keys; pair->section; pair++)
        ASSERT_EQ(WCO_set_text(store, pair->section, pair->key, "x"), 1);
    ASSERT_EQ(WCO_set_text(store, "CO_common", "sound_on", "Ano"), 1);
    EXPECT_EQ(WCO_purge_obsolete(store, nullptr), 1);
    EXPECT_EQ(WT_dump(store), "[B] kept=kept [CO_common] sound_on=Ano");
    EXPECT_EQ(TU_reports().size(), 0u);
}

}  // namespace
