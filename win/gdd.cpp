#include "win/gdd.h"

#include "common/mm.h"
#include "swin/wco_store.h"
#include "win/pfu.h"
#include "win/we.h"

static const char SRC[] = "..\\win\\gdd";

namespace {

bool set_up = false;

}  // namespace

// Made before every other static object of the program (the memory manager
// must start before the first allocation) and therefore ended after them.
C_GDD GDD_global __attribute__((init_priority(101)));

C_GDD::C_GDD()
{
    if (set_up) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    set_up = true;
    owner = 1;
    MM_begin();
    store = WCO_system_store();
    tables = &PFU_tables;
}

C_GDD::~C_GDD()
{
    if (!owner)
        return;
    store = nullptr;
    tables = nullptr;
    WCO_system_store_free();   // never saved implicitly
    MM_end();
}
