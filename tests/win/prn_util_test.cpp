// Printing utilities: whether a printer is installed, asked of the spooler.
#include <windows.h>
#include <winspool.h>

#include "swin/prn_util.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace {

// The spooler's answer to the local query: printers records of 100 bytes, into a buffer that holds them.
int printers = 0;
DWORD asked_flags = 0, asked_level = 0;
BOOL WINAPI fake_enum_printers(DWORD flags, LPSTR name, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                               LPDWORD returned)
{
    asked_flags = flags, asked_level = level, *needed = DWORD(printers * 100);
    const bool answered = !name && (!printers || (buffer && size >= *needed));
    *returned = answered ? DWORD(printers) : 0;
    return answered;
}

}  // namespace

TEST(Printers, InstalledWhenTheSpoolerListsOne)
{
    IAT_PATCH spooler("WINSPOOL.DRV", "EnumPrintersA", reinterpret_cast<void *>(fake_enum_printers));
    ASSERT_TRUE(spooler.active());
    for (auto c : {std::pair<int, int16_t>{0, 0}, {1, 1}, {3, 1}})
        EXPECT_EQ((printers = c.first, PRN_printer_installed()), c.second) << c.first;
    // Windows NT: the local printers and the connections at level 4.
    EXPECT_EQ(TU_V({asked_flags, asked_level}), TU_V({PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, 4}));
    printers = 2;
    WT_fail_allocation(200);   // no memory for the records: 0 without a message
    EXPECT_EQ(TU_V({PRN_printer_installed(), WT_failures_left(), TU_reports().empty()}), TU_V({0, 0, 1}));
}
