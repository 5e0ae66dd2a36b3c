#include "swin/prn_util.h"

#include <windows.h>
#include <winspool.h>

#include "common/mm.h"

static const char SRC[] = "..\\swin\\prn";

namespace {

// The records of the installed printers, asked for twice: first the size,
// then the records into a buffer of that size. The number of records; 0
// when there are none or the spooler cannot answer.
DWORD enumerate_printers()
{
    DWORD flags = PRINTER_ENUM_LOCAL, level = 5;
    if (!(GetVersion() & 0x80000000u)) {   // Windows NT
        flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
        level = 4;
    }
    DWORD needed = 0, returned = 0;
    EnumPrintersA(flags, nullptr, level, nullptr, 0, &needed, &returned);
    if (needed == 0 || needed > INT32_MAX)
        return 0;
    BYTE *records = static_cast<BYTE *>(MM_alloc(1, static_cast<int32_t>(needed), SRC, __LINE__));
    if (!records)
        return 0;
    returned = 0;
    if (!EnumPrintersA(flags, nullptr, level, records, needed, &needed, &returned))
        returned = 0;
    MM_free(records, SRC, __LINE__);
    return returned;
}

}  // namespace

int16_t PRN_printer_installed()
{
    return enumerate_printers() > 0 ? 1 : 0;
}
