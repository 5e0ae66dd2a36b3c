// Printing utilities: whether a printer is installed, asked of the spooler.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include "swin/prn.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace {

// The spooler's answers: printers records of 100 bytes; the query recorded.
int printers = 0;
DWORD asked_flags = 0, asked_level = 0;
BOOL WINAPI fake_enum_printers(DWORD flags, LPSTR name, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                               LPDWORD returned)
{
    asked_flags = flags, asked_level = level;
    *returned = 0;
    *needed = static_cast<DWORD>(printers * 100);
    if (name || (printers && (!buffer || size < *needed))) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    *returned = static_cast<DWORD>(printers);
    return TRUE;
}

}  // namespace

TEST(Printers, InstalledWhenTheSpoolerListsOne)
{
    IAT_PATCH spooler("WINSPOOL.DRV", "EnumPrintersA", reinterpret_cast<void *>(fake_enum_printers));
    ASSERT_TRUE(spooler.active());
    for (auto c : {std::pair<int, int16_t>{0, 0}, {1, 1}, {3, 1}}) {
        printers = c.first;
        EXPECT_EQ(PRN_printer_installed(), c.second) << c.first;
    }
    // Windows NT: the local printers and the connections at level 4.
    EXPECT_EQ(std::vector<DWORD>({asked_flags, asked_level}),
              std::vector<DWORD>({PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, 4}));
    printers = 2;
    WT_fail_allocation(200);   // no memory for the records: 0 without a message
    EXPECT_EQ(PRN_printer_installed(), 0);
    EXPECT_EQ(WT_failures_left(), 0);
    EXPECT_TRUE(TU_reports().empty());
    printers = 0;
}
