#include "tests/win/memfail.h"

#include <windows.h>

#include <cstdint>

namespace {

typedef void *(__cdecl *CALLOC)(size_t, size_t);
typedef void *(__cdecl *MALLOC)(size_t);

// Plain pointers, no guarded statics: the runtime allocates before main.
CALLOC real_calloc = nullptr;
MALLOC real_malloc = nullptr;
size_t failing_size = 0;
int failures = 0;

FARPROC runtime(const char *name)
{
    return GetProcAddress(GetModuleHandleA("msvcrt.dll"), name);
}

bool refuse(size_t size)
{
    if (failures > 0 && size == failing_size) {
        failures--;
        return true;
    }
    return false;
}

}  // namespace

void TU_fail_allocation(size_t size, int count)
{
    failing_size = size;
    failures = count;
}

int TU_failures_left()
{
    return failures;
}

extern "C" void *calloc(size_t count, size_t size)
{
    if (count != 0 && size <= SIZE_MAX / count && refuse(count * size))
        return nullptr;
    if (!real_calloc)
        real_calloc = reinterpret_cast<CALLOC>(reinterpret_cast<void *>(runtime("calloc")));
    return real_calloc(count, size);
}

extern "C" void *malloc(size_t size)
{
    if (refuse(size))
        return nullptr;
    if (!real_malloc)
        real_malloc = reinterpret_cast<MALLOC>(reinterpret_cast<void *>(runtime("malloc")));
    return real_malloc(size);
}
