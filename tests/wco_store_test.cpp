#include "swin/wco_store.h"

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/mm.h"
#include "common/st.h"
#include "swin/wco.h"
#include "tests/testutil.h"

namespace {

const std::string STORE_ERROR = "Chyba v souboru ..\\swin\\wco_store řádek ";

// Owns one store for a test.
struct STORE {
    WCO_file *s = nullptr;
    STORE() { EXPECT_EQ(WCO_create(&s), 1); }
    ~STORE()
    {
        if (s)
            WCO_destroy(&s);
    }
    STORE(const STORE &) = delete;
    STORE &operator=(const STORE &) = delete;
    operator WCO_file *() const { return s; }
    WCO_file *operator->() const { return s; }
};

// "[section] key=value ..." of the whole store, in stored order.
std::string dump(const WCO_file *store)
{
    std::string text;
    for (int32_t i = 0; i < store->count; i++) {
        text += "[" + std::string(store->sections[i].name) + "]";
        for (int32_t j = 0; j < store->sections[i].count; j++)
            text += " " + std::string(store->sections[i].entries[j].key) + "=" + store->sections[i].entries[j].value;
        if (i + 1 < store->count)
            text += " ";
    }
    return text;
}

int internal_reports()
{
    return TU_count(WE_KIND_INTERNAL);
}

TEST(WcoStore, NewStoreIsEmpty)
{
    STORE store;
    EXPECT_EQ(store->count, 0);
    EXPECT_EQ(store->capacity, 20);
    EXPECT_EQ(store->current, -1);
    EXPECT_EQ(store->changed, 0);
    EXPECT_STREQ(store->file_name, "");
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(WcoStore, DestroyClearsTheVariableAndRejectsNull)
{
    WCO_file *store = nullptr;
    ASSERT_EQ(WCO_create(&store), 1);
    ASSERT_EQ(WCO_set_text(store, "S", "k", "v"), 1);
    EXPECT_EQ(WCO_destroy(&store), 1);
    EXPECT_EQ(store, nullptr);
    EXPECT_EQ(WCO_destroy(&store), 0);
    ASSERT_EQ(internal_reports(), 1);
    EXPECT_EQ(TU_reports()[0].text.rfind(STORE_ERROR, 0), 0u) << TU_reports()[0].text;
}

TEST(WcoStore, SelectFindsOrCreatesAndSetsTheChangedFlagOnlyOnCreation)
{
    STORE store;
    EXPECT_EQ(WCO_select_section(store, "B"), 1);
    EXPECT_EQ(store->changed, 1);
    EXPECT_EQ(store->current, 0);
    store->changed = 0;
    EXPECT_EQ(WCO_select_section(store, " B\t"), 1);
    EXPECT_EQ(store->changed, 0);
    EXPECT_EQ(store->count, 1);
    EXPECT_EQ(WCO_has_section(store, "B"), 1);
    EXPECT_EQ(WCO_has_section(store, "b"), 0);   // case matters
    EXPECT_EQ(WCO_has_section(store, nullptr), 0);
    EXPECT_EQ(WCO_select_section(store, nullptr), 1);
    EXPECT_EQ(store->current, -1);
    EXPECT_EQ(internal_reports(), 0);
}

TEST(WcoStore, SectionNamesThatCannotBeMade)
{
    STORE store;
    for (const char *name : {"", "  \t ", "a\nb"}) {
        SCOPED_TRACE(name);
        TU_clear_reports();
        EXPECT_EQ(WCO_select_section(store, name), 0);
        EXPECT_EQ(internal_reports(), 1);
    }
    EXPECT_EQ(store->count, 0);
    EXPECT_EQ(store->changed, 0);
}

TEST(WcoStore, LongSectionNameIsCutTo40WithOneReport)
{
    STORE store;
    const std::string name = std::string(40, 'n') + "X";
    EXPECT_EQ(WCO_select_section(store, name.c_str()), 1);
    ASSERT_EQ(store->count, 1);
    EXPECT_EQ(std::string(store->sections[0].name), std::string(40, 'n'));
    EXPECT_EQ(internal_reports(), 1);
    // Found again under the long name, which is cut the same way.
    EXPECT_EQ(WCO_has_section(store, name.c_str()), 1);
}

TEST(WcoStore, CutNameLosesTheBlanksBeforeTheCut)
{
    STORE store;
    const std::string name = std::string(38, 'n') + "   tail";
    EXPECT_EQ(WCO_set_text(store, name.c_str(), (std::string(39, 'k') + "  x").c_str(), "v"), 1);
    EXPECT_EQ(dump(store), "[" + std::string(38, 'n') + "] " + std::string(39, 'k') + "=v");
    EXPECT_EQ(internal_reports(), 2);
}

TEST(WcoStore, NamedGetOnMissingSectionCreatesNothing)
{
    STORE store;
    char buffer[20] = "untouched";
    int32_t number = 7;
    char *copy = nullptr;
    EXPECT_EQ(WCO_get_text(store, "None", "k", buffer, 0), 0);
    EXPECT_EQ(WCO_get_text_alloc(store, "None", "k", &copy), 0);
    EXPECT_EQ(WCO_get_text_ref(store, "None", "k"), nullptr);
    EXPECT_EQ(WCO_get_int32(store, "None", "k", &number), 0);
    EXPECT_EQ(WCO_remove_key(store, "None", "k"), 0);
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(number, 7);
    EXPECT_EQ(copy, nullptr);
    EXPECT_EQ(store->count, 0);
    EXPECT_EQ(store->changed, 0);
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(WcoStore, NamedSetCreatesTheSection)
{
    STORE store;
    EXPECT_EQ(WCO_set_text(store, "CO_common", "check_file_overwrite", "Ano"), 1);
    EXPECT_EQ(store->changed, 1);
    EXPECT_EQ(store->sections[0].changed, 1);
    EXPECT_EQ(dump(store), "[CO_common] check_file_overwrite=Ano");
    EXPECT_EQ(store->current, -1);   // a named set selects nothing
}

TEST(WcoStore, SettingTheSameValueChangesNothing)
{
    STORE store;
    ASSERT_EQ(WCO_set_text(store, "S", "k", "value"), 1);
    store->sections[0].changed = 0;
    EXPECT_EQ(WCO_set_text(store, "S", " k ", "  value\t"), 1);
    EXPECT_EQ(store->sections[0].changed, 0);
    EXPECT_EQ(WCO_set_text(store, "S", "k", "other"), 1);
    EXPECT_EQ(store->sections[0].changed, 1);
    EXPECT_EQ(dump(store), "[S] k=other");
}

TEST(WcoStore, KeysAndValuesAreTrimmed)
{
    STORE store;
    ASSERT_EQ(WCO_select_section(store, "S"), 1);
    EXPECT_EQ(WCO_set_text(store, " \tleading", "  v w  "), 1);
    EXPECT_STREQ(WCO_get_text_ref(store, "leading"), "v w");
    EXPECT_STREQ(WCO_get_text_ref(store, "  leading  "), "v w");
    EXPECT_STREQ(WCO_get_text_ref(store, "S", "leading"), "v w");
    EXPECT_EQ(dump(store), "[S] leading=v w");
}

// Keys and values that cannot stand in an entry line are refused whole.
TEST(WcoStore, KeysAndValuesThatCannotBeWrittenAreRefused)
{
    struct CASE {
        const char *key;
        const char *value;
    };
    const CASE cases[] = {
        {"", "v"}, {"   ", "v"}, {"a=b", "v"}, {"a\nb", "v"}, {"BEGIN[x", "v]"}, {"END[x", "y]"}, {"k", "one\ntwo"},
    };
    STORE store;
    ASSERT_EQ(WCO_select_section(store, "S"), 1);
    store->sections[0].changed = 0;
    for (const CASE &c : cases) {
        SCOPED_TRACE(c.key);
        TU_clear_reports();
        EXPECT_EQ(WCO_set_text(store, c.key, c.value), 0);
        EXPECT_EQ(internal_reports(), 1);
    }
    EXPECT_EQ(store->sections[0].count, 0);
    EXPECT_EQ(store->sections[0].changed, 0);
    // A key that only contains the marker word is fine.
    EXPECT_EQ(WCO_set_text(store, "x_BEGIN[", "END[y]"), 1);
}

TEST(WcoStore, LongKeyAndValueAreCutWithReports)
{
    STORE store;
    const std::string key = std::string(41, 'k');
    const std::string value = std::string(1000, 'v') + "w";
    EXPECT_EQ(WCO_set_text(store, "S", key.c_str(), value.c_str()), 1);
    EXPECT_EQ(internal_reports(), 2);
    ASSERT_EQ(store->sections[0].count, 1);
    EXPECT_EQ(std::string(store->sections[0].entries[0].key), std::string(40, 'k'));
    EXPECT_EQ(std::string(store->sections[0].entries[0].value), std::string(1000, 'v'));
    // A value of exactly 1000 characters is stored whole, without a report.
    TU_clear_reports();
    EXPECT_EQ(WCO_set_text(store, "S", "exact", std::string(1000, 'e').c_str()), 1);
    EXPECT_EQ(internal_reports(), 0);
}

TEST(WcoStore, TextGetForms)
{
    STORE store;
    ASSERT_EQ(WCO_set_text(store, "S", "ten", "0123456789"), 1);
    char buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(WCO_get_text(store, "S", "ten", buffer, 4), 1);
    EXPECT_EQ(std::string(buffer, 6), std::string("0123\0#", 6));
    EXPECT_EQ(WCO_get_text(store, "S", "ten", buffer, 0), 1);
    EXPECT_STREQ(buffer, "0123456789");

    char *copy = nullptr;
    EXPECT_EQ(WCO_get_text_alloc(store, "S", "ten", &copy), 1);
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, "0123456789");
    EXPECT_NE(copy, WCO_get_text_ref(store, "S", "ten"));
    // The caller's pointer must be empty.
    EXPECT_EQ(WCO_get_text_alloc(store, "S", "ten", &copy), 0);
    EXPECT_EQ(internal_reports(), 1);
    ST_free(&copy);
    EXPECT_EQ(WCO_get_text_alloc(store, "S", "missing", &copy), 0);
    EXPECT_EQ(copy, nullptr);

    EXPECT_EQ(WCO_get_text(store, "S", "ten", nullptr, 0), 0);
    EXPECT_EQ(internal_reports(), 2);
}

// After WCO_select_section(null) every current form reports and fails.
TEST(WcoStore, CurrentFormsWithoutCurrentSection)
{
    STORE store;
    ASSERT_EQ(WCO_select_section(store, "S"), 1);
    ASSERT_EQ(WCO_set_text(store, "k", "v"), 1);
    ASSERT_EQ(WCO_select_section(store, nullptr), 1);
    char buffer[8];
    char *copy = nullptr;
    int32_t i32 = 0;
    int16_t i16 = 0;
    float real = 0;
    float reals[4] = {};
    uint8_t byte = 0;
    WCO_RGB rgb{};
    const std::vector<std::function<int16_t()>> calls = {
        [&] { return WCO_set_text(store, "k", "v"); },
        [&] { return WCO_get_text(store, "k", buffer, 7); },
        [&] { return WCO_get_text_alloc(store, "k", &copy); },
        [&] { return static_cast<int16_t>(WCO_get_text_ref(store, "k") != nullptr); },
        [&] { return WCO_remove_key(store, "k"); },
        [&] { return WCO_set_int32(store, "k", 1); },
        [&] { return WCO_get_int32(store, "k", &i32); },
        [&] { return WCO_set_int16(store, "k", 1); },
        [&] { return WCO_get_int16(store, "k", &i16); },
        [&] { return WCO_set_real(store, "k", 1.0f); },
        [&] { return WCO_get_real(store, "k", &real); },
        [&] { return WCO_set_real_quad(store, "k", reals); },
        [&] { return WCO_get_real_quad(store, "k", reals); },
        [&] { return WCO_set_rgb(store, "k", &rgb); },
        [&] { return WCO_get_rgb(store, "k", &rgb); },
        [&] { return WCO_set_yes(store, "k", 1); },
        [&] { return WCO_get_yes(store, "k", &i16); },
        [&] { return WCO_set_colour(store, "k", 1); },
        [&] { return WCO_get_colour(store, "k", &byte); },
        [&] { return WCO_set_key(store, "k", 2); },
        [&] { return WCO_get_key(store, "k", &i16); },
    };
    for (size_t i = 0; i < calls.size(); i++) {
        SCOPED_TRACE(i);
        TU_clear_reports();
        EXPECT_EQ(calls[i](), 0);
        EXPECT_EQ(internal_reports(), 1);
    }
    EXPECT_EQ(copy, nullptr);
    EXPECT_EQ(dump(store), "[S] k=v");
}

TEST(WcoStore, HundredthKeyRaisesCapacityTo110AndEveryKeyStaysRetrievable)
{
    STORE store;
    ASSERT_EQ(WCO_select_section(store, "S"), 1);
    std::vector<int> order(300);
    for (int i = 0; i < 300; i++)
        order[i] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    for (int n = 0; n < 300; n++) {
        const std::string key = "key" + std::to_string(order[n]);
        ASSERT_EQ(WCO_set_text(store, key.c_str(), std::to_string(order[n]).c_str()), 1);
        const int32_t count = n + 1;
        if (count == 99) {
            EXPECT_EQ(store->sections[0].capacity, 100);
        }
        if (count == 100) {
            EXPECT_EQ(store->sections[0].capacity, 110);
        }
    }
    const WCO_section &section = store->sections[0];
    EXPECT_EQ(section.count, 300);
    for (int i = 0; i < 300; i++)
        EXPECT_STREQ(WCO_get_text_ref(store, ("key" + std::to_string(i)).c_str()), std::to_string(i).c_str());
    for (int32_t j = 1; j < section.count; j++)
        EXPECT_LT(ST_compare(section.entries[j - 1].key, section.entries[j].key), 0);
    EXPECT_EQ(internal_reports(), 0);
}

TEST(WcoStore, TwentiethSectionRaisesCapacityTo25)
{
    STORE store;
    for (int n = 1; n <= 20; n++) {
        ASSERT_EQ(WCO_select_section(store, ("S" + std::to_string(100 - n)).c_str()), 1);
        EXPECT_EQ(store->capacity, n < 20 ? 20 : 25);
    }
    for (int32_t i = 1; i < store->count; i++)
        EXPECT_LT(ST_compare(store->sections[i - 1].name, store->sections[i].name), 0);
}

// Large arrays grow by a share of their size, so that a big file is not
// copied over and over while it is read.
TEST(WcoStore, LargeArraysGrowByAShare)
{
    STORE store;
    ASSERT_EQ(WCO_select_section(store, "S"), 1);
    int32_t last = store->sections[0].capacity;
    int growths = 0;
    for (int n = 0; n < 5000; n++) {
        char key[16];
        std::snprintf(key, sizeof key, "k%05d", n);
        ASSERT_EQ(WCO_set_text(store, key, "v"), 1);
        if (store->sections[0].capacity != last) {
            EXPECT_GE(store->sections[0].capacity - last, std::max(10, last / 16));
            last = store->sections[0].capacity;
            growths++;
        }
    }
    EXPECT_LT(growths, 80);
}

TEST(WcoStore, SectionsAndKeysFollowTheCzechCollation)
{
    STORE store;
    for (const char *name : {"d", "č", "C", "c", "Č", "ch", "b"})
        ASSERT_EQ(WCO_set_text(store, name, "k", "v"), 1);
    std::string order;
    for (int32_t i = 0; i < store->count; i++)
        order += std::string(store->sections[i].name) + " ";
    EXPECT_EQ(order, "b c ch C č Č d ");
}

TEST(WcoStore, RemoveKeyNamedAndCurrent)
{
    STORE store;
    ASSERT_EQ(WCO_set_text(store, "S", "a", "1"), 1);
    ASSERT_EQ(WCO_set_text(store, "S", "b", "2"), 1);
    ASSERT_EQ(WCO_set_text(store, "S", "c", "3"), 1);
    store->sections[0].changed = 0;
    EXPECT_EQ(WCO_remove_key(store, "S", "b"), 1);
    EXPECT_EQ(store->sections[0].changed, 1);
    EXPECT_EQ(WCO_remove_key(store, "S", "b"), 0);
    EXPECT_EQ(WCO_remove_key(store, "T", "a"), 0);
    ASSERT_EQ(WCO_select_section(store, "S"), 1);
    EXPECT_EQ(WCO_remove_key(store, " a "), 1);
    EXPECT_EQ(dump(store), "[S] c=3");
    EXPECT_EQ(internal_reports(), 0);
}

// The current section stays the same section when others come and go.
TEST(WcoStore, CurrentSectionFollowsInsertionsAndRemovals)
{
    STORE store;
    ASSERT_EQ(WCO_select_section(store, "M"), 1);
    ASSERT_EQ(WCO_set_text(store, "A", "k", "v"), 1);   // sorts before M
    ASSERT_EQ(WCO_set_text(store, "k", "in M"), 1);
    EXPECT_STREQ(WCO_get_text_ref(store, "M", "k"), "in M");
    EXPECT_EQ(WCO_remove_section(store, "A"), 1);
    ASSERT_EQ(WCO_set_text(store, "j", "still M"), 1);
    EXPECT_EQ(dump(store), "[M] j=still M k=in M");
    EXPECT_EQ(WCO_remove_section(store, "M"), 1);
    EXPECT_EQ(store->current, -1);
    EXPECT_EQ(WCO_remove_section(store, "M"), 0);
}

TEST(WcoStore, PurgeRemovesTheTablePairsAndEmptySections)
{
    STORE store;
    ASSERT_EQ(WCO_set_text(store, "A", "gone", "1"), 1);
    ASSERT_EQ(WCO_set_text(store, "B", "gone", "1"), 1);
    ASSERT_EQ(WCO_set_text(store, "B", "kept", "2"), 1);
    ASSERT_EQ(WCO_select_section(store, "C"), 1);
    store->changed = 0;
    const WCO_KEY_REF table[] = {{"A", "gone"}, {"B", "gone"}, {"Z", "gone"}, {nullptr, nullptr}};
    EXPECT_EQ(WCO_purge_obsolete(store, table), 1);
    EXPECT_EQ(dump(store), "[B] kept=2");
    EXPECT_EQ(store->changed, 1);
    EXPECT_EQ(store->sections[0].changed, 1);
    EXPECT_EQ(internal_reports(), 0);
}

TEST(WcoStore, PurgeWithTheBuiltInTable)
{
    STORE store;
    for (const WCO_KEY_REF *pair = WCO_obsolete_keys; pair->section; pair++)
        ASSERT_EQ(WCO_set_text(store, pair->section, pair->key, "x"), 1);
    ASSERT_EQ(WCO_set_text(store, "CO_common", "sound_on", "Ano"), 1);
    EXPECT_EQ(WCO_purge_obsolete(store, nullptr), 1);
    EXPECT_EQ(dump(store), "[CO_common] sound_on=Ano");
}

TEST(WcoStore, SystemStoreExistsFromTheStart)
{
    WCO_file *store = WCO_system_store();
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(store, WCO_system_store());
}

}  // namespace
