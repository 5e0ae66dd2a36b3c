// The installer's frame: 600 x 440 pixels centred on the work area; after
// its creation it asks for its client of kind 100, the installer window.
#pragma once
#include <cstdint>

#include "swin2/umain.h"

#define INSTMTRK_WIDTH 600
#define INSTMTRK_HEIGHT 440
#define INSTMTRK_CLIENT_KIND 100     // the installer window

class C_INSTMTRK : public C_UMAIN {
public:
    // Placement: centred on the work area (SPI_GETWORKAREA, integer halving).
    C_INSTMTRK();

    void after_create(WPARAM wparam, LPARAM lparam) override;   // pushes client kind 100
    // UMAIN_close_all_clients, unless the top client refuses first.
    void close_request() override;
    // Kind 100: the installer window into the slot; other kinds: none.
    void create_client(int16_t slot, int16_t kind) override;
    // The session may not end while an installation runs (0); otherwise the base's.
    LRESULT query_end_session(LPARAM lparam) override;
    // show_status stays the base's: the installer window has no message text
    // field, so status texts appear in the status bar only.
};

// The frame factory for WGD_run (null, after the low-memory report, on failure).
C_UMAIN *INSTMTRK_make();
