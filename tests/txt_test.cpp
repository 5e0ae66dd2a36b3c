// The text buffer: growth of the slot table, lines in order, empty lines for
// missing texts, lookups outside the table.
#include "common/txt.h"

#include "tests/testutil.h"

TEST(TxtBuffer, GrowsByAHundredSlotsAndKeepsTheLinesInOrder)
{
    TXT_buffer b;
    ASSERT_EQ(TXT_create(&b, 20), 1);
    EXPECT_EQ(TU_V({b.count, b.capacity, b.size_hint, b.modified, b.slots != nullptr}), TU_V({0, 0, 100, 0, 0}));
    int16_t slot = -1;
    for (int i = 0; i < 101; i++) {
        EXPECT_EQ(b.capacity, i == 0 ? 0 : 100);   // grown only when full
        ASSERT_EQ(TXT_add(&b, ("řádek " + std::to_string(i)).c_str(), &slot), 1);
        ASSERT_EQ(slot, i);
    }
    EXPECT_EQ(TU_V({b.count, b.capacity, b.modified}), TU_V({101, 200, 1}));
    for (int i = 0; i < 101; i++)
        ASSERT_EQ(TXT_get(&b, static_cast<int16_t>(i))->text, "řádek " + std::to_string(i));
    ASSERT_EQ(TXT_add(&b, nullptr, nullptr), 1);   // a missing text is an empty line
    EXPECT_STREQ(TXT_get(&b, 101)->text, "");
    for (int16_t i : {102, 200, -1})   // a free slot, outside the table
        EXPECT_EQ(TXT_get(&b, i), nullptr) << i;
    TXT_destroy(&b);
    EXPECT_EQ(TU_V({b.count, b.capacity, b.slots != nullptr}), TU_V({0, 0, 0}));
    ASSERT_EQ(TXT_add(&b, "znovu", &slot), 1);   // filled again after its end
    EXPECT_EQ(TU_V({slot, b.capacity}), TU_V({0, 100}));
    TXT_destroy(&b);
    TXT_destroy(nullptr);
    TU_expect_failures("..\\common\\txt", {TU_FAILS(TXT_create(nullptr, 100)), TU_FAILS(TXT_add(nullptr, "x", &slot)),
                                           TU_FAILS(TXT_get(nullptr, 0))});
}
