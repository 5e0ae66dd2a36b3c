// The toolkit's global data: made once before the tests run, holding the
// system store and the function tables.
#include <gtest/gtest.h>

#include "swin/wco_store.h"
#include "tests/testutil.h"
#include "win/gdd.h"
#include "win/pfu.h"

TEST(Gdd, TheProgramsInstanceHoldsTheStoreAndTheTables)
{
    EXPECT_EQ(GDD_global.owner, 1);
    EXPECT_EQ(GDD_global.store, WCO_system_store());
    EXPECT_NE(GDD_global.store, nullptr);
    EXPECT_EQ(GDD_global.tables, &PFU_tables);
    EXPECT_STREQ(GDD_global.gwm.text, "");
    EXPECT_EQ(GDD_global.gwm.first, 0);
    EXPECT_EQ(GDD_global.gwm.second, 0);
}

TEST(Gdd, ASecondSetUpIsAnInternalErrorAndChangesNothing)
{
    WCO_file *store = WCO_system_store();
    {
        C_GDD second;
        EXPECT_EQ(second.owner, 0);
        EXPECT_EQ(second.store, nullptr);
        EXPECT_EQ(second.tables, nullptr);
        ASSERT_EQ(TU_count(WE_KIND_INTERNAL), 1);
        EXPECT_EQ(TU_reports()[0].text.rfind("Chyba v souboru ..\\win\\gdd řádek ", 0), 0u);
    }
    EXPECT_EQ(WCO_system_store(), store);   // not freed by the second one
    EXPECT_EQ(GDD_global.store, store);
}
