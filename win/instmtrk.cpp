#include "win/instmtrk.h"

#include "menu/itrk.h"
#include "win/we.h"

static const char SRC[] = "..\\win\\instmtrk";

C_INSTMTRK::C_INSTMTRK()
{
    RECT work{0, 0, 0, 0};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    width = INSTMTRK_WIDTH;
    height = INSTMTRK_HEIGHT;
    x = (work.right - work.left) / 2 - INSTMTRK_WIDTH / 2;
    y = (work.bottom - work.top) / 2 - INSTMTRK_HEIGHT / 2;
}

void C_INSTMTRK::after_create(WPARAM wparam, LPARAM lparam)
{
    UMAIN_push_client(this, INSTMTRK_CLIENT_KIND);
    C_UMAIN::after_create(wparam, lparam);
}

// The installer window refuses while an installation runs (the close is
// its abort request); asked here first, so that the refusal does not reach
// the function tables, which hold no exit function.
void C_INSTMTRK::close_request()
{
    if (C_CW *client = top_client(); client && !client->can_close())
        return;
    UMAIN_close_all_clients(this);
}

LRESULT C_INSTMTRK::query_end_session(LPARAM lparam)
{
    return INS_running() ? 0 : C_UMAIN::query_end_session(lparam);
}

void C_INSTMTRK::create_client(int16_t slot, int16_t client_kind)
{
    if (slot < 0 || slot >= UMAIN_CLIENTS) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    clients[slot] = nullptr;
    if (client_kind != INSTMTRK_CLIENT_KIND)
        return;
    C_SW_ITRK *client = new (SRC, __LINE__) C_SW_ITRK(this);
    if (!client) {
        WE_low_memory();
        return;
    }
    client->client_kind = client_kind;
    if (!client->window) {
        MM_destroy(client, SRC, __LINE__);
        return;
    }
    clients[slot] = client;
}

C_UMAIN *INSTMTRK_make()
{
    C_INSTMTRK *frame = new (SRC, __LINE__) C_INSTMTRK();
    if (!frame)
        WE_low_memory();
    return frame;
}
