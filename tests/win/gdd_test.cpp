// The toolkit's global data: made once before the tests run, holding the
// system store and the function tables.
#include <gtest/gtest.h>

#include "swin/wco_store.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"
#include "win/gdd.h"
#include "win/pfu.h"

TEST(Gdd, TheProgramsInstanceHoldsTheStoreAndTablesASecondSetUpIsRefused)
{
    WCO_file *store = WCO_system_store();
    EXPECT_EQ(GDD_global.owner, 1);
    EXPECT_NE(store, nullptr);
    EXPECT_EQ(GDD_global.store, store);
    EXPECT_EQ(GDD_global.tables, &PFU_tables);
    EXPECT_STREQ(GDD_global.gwm.text, "");
    EXPECT_EQ(GDD_global.gwm.first + GDD_global.gwm.second, 0);
    {
        C_GDD second;
        EXPECT_EQ(second.owner, 0);
        EXPECT_EQ(second.store, nullptr);
        EXPECT_EQ(second.tables, nullptr);
        EXPECT_EQ(TU_reports().size(), 1u);
        EXPECT_EQ(WT_internal_errors("..\\win\\gdd"), 1);
    }
    EXPECT_EQ(WCO_system_store(), store);   // not freed by the second one
    EXPECT_EQ(GDD_global.store, store);
}
