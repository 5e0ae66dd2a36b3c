// The toolkit's global application data, made by the program's static
// initialisation before the entry function runs and ended after it: it
// starts the memory manager (statistics mode with a "$m" argument), holds
// the system settings store and the function-table set, and at its end
// frees the store without saving it and ends the memory statistics.
#pragma once
#include <cstdint>

struct WCO_file;
struct PFU_TABLES;

#define GDD_GWM_TEXT_MAX 250

// A window-message record of the application: empty at start.
struct C_GWM {
    char text[GDD_GWM_TEXT_MAX + 1];
    int16_t first;
    int16_t second;
};

class C_GDD {
public:
    // The first instance starts the memory manager and takes the system
    // store; a second one is an internal error and stays inert.
    C_GDD();
    ~C_GDD();
    C_GDD(const C_GDD &) = delete;
    C_GDD &operator=(const C_GDD &) = delete;

    WCO_file *store = nullptr;        // WCO_system_store(); null in an inert instance
    C_GWM gwm{};
    PFU_TABLES *tables = nullptr;     // the program's function tables (PFU_tables)
    int16_t owner = 0;                // 1 in the instance that set the program up
};

// The program's instance.
extern C_GDD GDD_global;
