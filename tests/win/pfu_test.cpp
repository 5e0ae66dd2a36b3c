// Function tables: the installer's tables, the state masks, finding and
// changing functions, copying entries and releasing their texts; and the
// vocabulary of menu texts and help lines.
#include <gtest/gtest.h>

#include <cstring>

#include "common/st.h"
#include "menu/menu.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"
#include "win/pfu.h"

namespace {

const char PFU[] = "..\\win\\pfu";

PFU_ENTRY entry(int32_t id, uint16_t state, uint16_t flags = 0, int32_t action = 1, PFU_ENTRY *sub = nullptr)
{
    return PFU_ENTRY{id, state, flags, 0, 0, sub, sub ? 0 : action, nullptr, 0};
}

const PFU_ENTRY END{0, PFU_END, 0, 0, 0, nullptr, 0, nullptr, 0};

// A frame that only counts its menu refreshes.
class COUNTING_FRAME : public C_UMAIN {
public:
    void refresh_menu(int32_t id) override { refreshed.push_back(id); }
    std::vector<int32_t> refreshed;
};

}  // namespace

TEST(Pfu, TheInstallersTablesAndStateMasks)
{
    ASSERT_EQ(PFU_tables.count, 2);
    EXPECT_EQ(PFU_tables.entries, 6);
    EXPECT_EQ(PFU_tables.tables[0], PFU_main_table);
    EXPECT_EQ(PFU_tables.tables[1], PFU_menu_table);
    const int32_t main_ids[] = {1000, 1006, 1032, 1007};
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(PFU_main_table[i].id, main_ids[i]);
        EXPECT_EQ(PFU_main_table[i].state, main_ids[i] == 1006 ? PFU_NORMAL | PFU_KEEP : PFU_NORMAL);
        EXPECT_EQ(PFU_main_table[i].sub_table == nullptr, PFU_main_table[i].action != 0);   // exactly one
    }
    EXPECT_TRUE(PFU_main_table[4].state & PFU_END);
    EXPECT_EQ(std::vector<int32_t>({PFU_menu_table[0].id, PFU_menu_table[1].id}), std::vector<int32_t>({5000, 5001}));
    EXPECT_TRUE(PFU_menu_table[2].state & PFU_END);
    const struct { uint16_t bit, mask; } masks[] = {
        {0x0001, 0xFC11}, {0x0002, 0xFC16}, {0x0004, 0xFC1E}, {0x0008, 0xFC18}, {0x0020, 0xFC30},
        {0x0040, 0xFC50}, {0x0080, 0xFC90}, {0x0100, 0xFD10}, {0x0200, 0xFE10}, {0x0010, 0xFFFF}};
    for (const auto &m : masks)
        EXPECT_EQ(PFU_state_mask(m.bit), m.mask) << m.bit;
}

TEST(Pfu, SettingAStateClearsTheOthersByTheMaskAndRefreshesTheMenu)
{
    PFU_ENTRY table[] = {entry(10, PFU_NORMAL | PFU_KEEP), entry(11, PFU_CHECKED), entry(10, PFU_NORMAL, PFU_LOCKED),
                         END};
    PFU_ENTRY other[] = {entry(10, PFU_CHECKED), END};
    PFU_TABLES set{};
    ASSERT_EQ(PFU_add_table(&set, table), 1);
    ASSERT_EQ(PFU_add_table(&set, other), 1);
    EXPECT_EQ(set.entries, 4);
    // Grey on a normal entry clears normal and keeps 0x0010; locked entries
    // are left alone when locks are respected; every table takes part; grey keeps checked.
    const struct { int16_t respect_locks; int32_t id; uint16_t state; std::vector<uint16_t> states; } steps[] = {
        {1, 10, PFU_GREY, {PFU_GREY | PFU_KEEP, PFU_CHECKED, PFU_NORMAL, PFU_GREY | PFU_CHECKED}},
        {0, 10, PFU_NORMAL, {PFU_NORMAL | PFU_KEEP, PFU_CHECKED, PFU_NORMAL, PFU_NORMAL}},
        {0, 11, PFU_HIDDEN_2, {PFU_NORMAL | PFU_KEEP, PFU_HIDDEN_2, PFU_NORMAL, PFU_NORMAL}},
        {0, 11, PFU_SEPARATOR, {PFU_NORMAL | PFU_KEEP, PFU_SEPARATOR, PFU_NORMAL, PFU_NORMAL}},
    };
    for (const auto &s : steps) {
        EXPECT_EQ(PFU_set_state(&set, s.respect_locks, s.id, s.state), 1);
        EXPECT_EQ(std::vector<uint16_t>({table[0].state, table[1].state, table[2].state, other[0].state}), s.states)
            << s.state;
    }
    EXPECT_TRUE(TU_reports().empty());
    EXPECT_EQ(PFU_set_state(&set, 0, 99, PFU_GREY), 0);
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].kind, WE_KIND_ERROR);
    EXPECT_EQ(TU_reports()[0].text, "Změna statu funkce (id=99) - není v žádné tabulce funkcí");

    TEST_DRIVER driver;   // a change of state refreshes the main window's menu
    COUNTING_FRAME frame;
    driver->main_window = &frame;
    PFU_set_state(&set, 0, 11, PFU_SEPARATOR);   // nothing changes
    PFU_set_state(&set, 0, 11, PFU_CHECKED);
    PFU_set_state(&set, 0, 11, PFU_CHECKED);
    EXPECT_EQ(frame.refreshed, std::vector<int32_t>{11});
    driver->main_window = nullptr;
}

TEST(Pfu, FindAndTheTableLimit)
{
    PFU_ENTRY first[] = {entry(1, PFU_NORMAL), END};
    PFU_ENTRY second[] = {entry(2, PFU_NORMAL), entry(1, PFU_GREY), END};
    PFU_TABLES set{};
    PFU_add_table(&set, first);
    PFU_add_table(&set, second);
    EXPECT_EQ(PFU_find(&set, 1), &first[0]);
    EXPECT_EQ(PFU_find(&set, 2), &second[0]);
    EXPECT_EQ(PFU_find(&PFU_tables, 1032), &PFU_main_table[2]);
    EXPECT_TRUE(TU_reports().empty());
    EXPECT_EQ(PFU_find(&set, 1049), nullptr);
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].title + "|" + TU_reports()[0].text,
              " Chyba |Funkce (id=1049) není v žádné tabulce funkcí");
    for (int i = 2; i < PFU_TABLES_MAX; i++)   // a set holds a hundred tables
        ASSERT_EQ(PFU_add_table(&set, first), 1);
    TU_expect_failures(PFU, {TU_FAILS(PFU_find(nullptr, 1)), TU_FAILS(PFU_add_table(&set, first)),
                             TU_FAILS(PFU_add_table(&set, nullptr)), TU_FAILS(PFU_add_table(nullptr, first))});
    EXPECT_EQ(set.count, PFU_TABLES_MAX);
}

TEST(Pfu, CopyEntryAndAccessKeys)
{
    // The access key is the Alt form of the character after "&" ("&&" is a
    // plain ampersand): Alt+2 121, Alt+K 175, Alt+N 184, Alt+S 199, Alt+T 202.
    const struct { const char *text; int32_t key; } keys[] = {
        {"&Konec", 175}, {"Kon&trola", 202}, {"A && B &2", 121}, {"Konec menu (Esc)", 0}, {"&", 0}, {nullptr, 0}};
    for (const auto &c : keys)
        EXPECT_EQ(PFU_access_key(c.text), c.key) << (c.text ? c.text : "null");

    PFU_ENTRY sub[] = {entry(5000, PFU_NORMAL), END};
    PFU_ENTRY source{1007, PFU_CHECKED, PFU_LOCKED, 0x0081, 44, nullptr, 9, nullptr, 0};
    ST_dup("nápověda.hlp", &source.config);
    PFU_ENTRY target = entry(1, PFU_NORMAL | PFU_KEEP);
    ASSERT_EQ(PFU_copy_entry(&target, &source), 1);
    // The target's 0x0010 stays; the key from the menu text "&Nápověda".
    EXPECT_EQ(std::vector<int64_t>({target.id, target.state, target.flags, target.type, target.help_code,
                                    target.action, target.key}),
              std::vector<int64_t>({1007, PFU_CHECKED | PFU_KEEP, PFU_LOCKED, 0x0081, 44, 9, 184}));
    EXPECT_EQ(target.sub_table, nullptr);
    ASSERT_NE(target.config, nullptr);
    EXPECT_NE(target.config, source.config);
    EXPECT_STREQ(target.config, "nápověda.hlp");

    // A shorter text goes into the target's own; a source key is taken as it is;
    // a source without 0x0010 leaves the target's.
    char *own = target.config;
    source.state = PFU_NORMAL;
    source.key = 66;
    ST_free(&source.config);
    ST_dup("a.hlp", &source.config);
    ASSERT_EQ(PFU_copy_entry(&target, &source), 1);
    EXPECT_EQ(target.config, own);
    EXPECT_STREQ(target.config, "a.hlp");
    EXPECT_EQ(std::vector<int32_t>({target.key, target.state}), std::vector<int32_t>({66, PFU_NORMAL | PFU_KEEP}));

    // A sub-table entry copies too; no text leaves the target without one.
    PFU_ENTRY opener = entry(1000, PFU_NORMAL, 0, 0, sub);
    ASSERT_EQ(PFU_copy_entry(&target, &opener), 1);
    EXPECT_EQ(target.sub_table, sub);
    EXPECT_EQ(target.config, nullptr);
    EXPECT_EQ(std::vector<int32_t>({target.action, target.key}), std::vector<int32_t>({0, 199}));   // "&Soubor"
    EXPECT_TRUE(TU_reports().empty());

    // Both or neither reference, null arguments: internal errors, the target unchanged.
    PFU_ENTRY both{3, PFU_NORMAL, 0, 0, 0, sub, 4, nullptr, 0}, neither = entry(3, PFU_NORMAL, 0, 0);
    TU_expect_failures(PFU, {TU_FAILS(PFU_copy_entry(&target, &both)), TU_FAILS(PFU_copy_entry(&target, &neither)),
                             TU_FAILS(PFU_copy_entry(nullptr, &source)), TU_FAILS(PFU_copy_entry(&target, nullptr))});
    EXPECT_EQ(target.id, 1000);

    // No memory for a longer text: the low-memory report, the old text kept.
    ST_dup("x", &target.config);
    WT_fail_allocation(std::strlen(source.config) + 1);
    EXPECT_EQ(PFU_copy_entry(&target, &source), 0);
    EXPECT_EQ(WT_failures_left(), 0);
    EXPECT_STREQ(target.config, "x");
    EXPECT_TRUE(WT_only_low_memory(1));
    ST_free(&target.config);
    ST_free(&source.config);
}

TEST(Pfu, ReleaseFreesTheTextsOfTheSet)
{
    PFU_ENTRY sub[] = {entry(2, PFU_NORMAL), END};
    PFU_ENTRY table[] = {entry(1, PFU_NORMAL), entry(3, PFU_NORMAL, 0, 0, sub), END};
    ST_dup("první", &table[0].config);
    ST_dup("vnořená", &sub[0].config);
    PFU_TABLES set{};
    PFU_add_table(&set, table);
    PFU_release(&set);
    EXPECT_EQ(table[0].config, nullptr);
    EXPECT_EQ(sub[0].config, nullptr);
    PFU_release(&set);   // twice is harmless
    EXPECT_TRUE(TU_reports().empty());
    TU_expect_failures(PFU, {TU_FAILS(PFU_release(nullptr))});
}

TEST(MenuText, TheFixedRowsAndUnknownIds)
{
    const struct { int32_t id; const char *text, *help; } rows[] = {
        {1000, "&Soubor", "Práce se soubory návrhů"},
        {1006, "&Volby", "Nastavení proměnných pro celý systém"},
        {1007, "&Nápověda", "Otevře nápovědu"},
        {1025, "Kon&trola", nullptr},
        {1032, "&Okno", "Práce s okny"},
        {1049, "&Konec", "Ukončí program"},
        {4300, "&Pohled", nullptr},
        {5000, "&Konec", "Ukončení aktivní funkce"},
        {5001, "Konec menu (Esc)", "Ukončení menu"},
        {0, "", ""},
    };
    for (const auto &r : rows) {
        EXPECT_STREQ(MENU_text(r.id), r.text) << r.id;
        if (r.help) {
            EXPECT_STREQ(MENU_help(r.id), r.help) << r.id;
        } else {
            EXPECT_STRNE(MENU_help(r.id), "") << r.id;
        }
    }
    EXPECT_TRUE(TU_reports().empty());
    EXPECT_STREQ(MENU_text(999), "");   // unknown ids are switch errors
    EXPECT_STREQ(MENU_help(999), "TTH_???");
    EXPECT_STREQ(MENU_help(-5), "TTH_???");
    ASSERT_EQ(TU_count(WE_KIND_SWITCH), 3);
    EXPECT_EQ(TU_reports()[0].title, " Chyba switch, informujte dodavatele ");
    EXPECT_TRUE(WT_starts(TU_reports()[0].text, "Chyba v souboru ..\\menu\\menu řádek "));
}
