#include "tests/win/iat.h"

#include <cstring>

namespace {

void write_slot(void **slot, void *value)
{
    DWORD old = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
}

}  // namespace

IAT_PATCH::IAT_PATCH(const char *dll, const char *function, void *replacement)
{
    auto *base = reinterpret_cast<unsigned char *>(GetModuleHandleA(nullptr));
    auto *dos = reinterpret_cast<IMAGE_DOS_HEADER *>(base);
    auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto *import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + dir.VirtualAddress);
    for (; import->Name; import++) {
        if (lstrcmpiA(reinterpret_cast<char *>(base + import->Name), dll))
            continue;
        auto *names = reinterpret_cast<IMAGE_THUNK_DATA *>(base + import->OriginalFirstThunk);
        auto *slots = reinterpret_cast<IMAGE_THUNK_DATA *>(base + import->FirstThunk);
        for (; names->u1.AddressOfData; names++, slots++) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto *by_name = reinterpret_cast<IMAGE_IMPORT_BY_NAME *>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char *>(by_name->Name), function))
                continue;
            slot_ = reinterpret_cast<void **>(&slots->u1.Function);
            original_ = *slot_;
            write_slot(slot_, replacement);
            return;
        }
    }
}

IAT_PATCH::~IAT_PATCH()
{
    if (slot_)
        write_slot(slot_, original_);
}
