#include "tests/win/frameutil.h"

#include "swin/wgd.h"
#include "tests/testutil.h"

std::vector<int16_t> TEST_CLIENT::deleted;

namespace {

const std::function<void(TEST_FRAME *)> *current_scenario = nullptr;

C_UMAIN *make_test_frame()
{
    return new ("test", 0) TEST_FRAME();
}

}  // namespace

TEST_CLIENT::TEST_CLIENT(C_UMAIN *owner_frame, int16_t kind) : C_CW(owner_frame)
{
    client_kind = kind;
}

TEST_CLIENT::~TEST_CLIENT()
{
    deleted.push_back(client_kind);
}

int16_t TEST_CLIENT::can_close()
{
    return refuse ? 0 : 1;
}

int16_t TEST_CLIENT::pre_translate(MSG *message)
{
    if (!eat || message->message != eat)
        return 0;
    eaten++;
    return 1;
}

LRESULT TEST_FRAME::command(WPARAM wparam, LPARAM)
{
    if (commands)
        commands->push_back(LOWORD(wparam));
    return 0;
}

LRESULT TEST_FRAME::default_message(HWND target, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (count && counted && message == counted)
        ++*count;
    if (message == WM_FRAME_LATER && later) {
        later();
        return 0;
    }
    return C_UMAIN::default_message(target, message, wparam, lparam);
}

void TEST_FRAME::after_create(WPARAM, LPARAM)
{
    if (current_scenario)
        (*current_scenario)(this);
    for (C_CW *client : clients)
        if (client)
            static_cast<TEST_CLIENT *>(client)->refuse = 0;
    if (window && !window_stays)
        PostMessageA(window, WM_BW_CLOSE_REQUEST, 0, 0);
}

void TEST_FRAME::close_request()
{
    UMAIN_close_all_clients(this);
}

void TEST_FRAME::create_client(int16_t slot, int16_t kind)
{
    if (!kind)
        return;
    TEST_CLIENT *client = new ("test", 0) TEST_CLIENT(this, kind);
    client->create();
    clients[slot] = client;
}

void TEST_FRAME::show_status(const char *text)
{
    statuses.push_back(text);
}

int16_t TEST_FRAME::kind_of(int16_t slot) const
{
    return clients[slot] ? clients[slot]->client_kind : -1;
}

int32_t FRAME_run(const std::function<void(TEST_FRAME *)> &scenario)
{
    current_scenario = &scenario;
    int32_t code = WGD_run(GetModuleHandleA(nullptr), SW_SHOW, make_test_frame);
    current_scenario = nullptr;
    return code;
}

int FRAME_internal_errors(const char *source)
{
    const std::string prefix = std::string("Chyba v souboru ") + source + " řádek ";
    int n = 0;
    for (const TU_REPORT &r : TU_reports())
        n += r.kind == WE_KIND_INTERNAL && r.text.rfind(prefix, 0) == 0;
    return n;
}

bool FRAME_only_low_memory(size_t count)
{
    for (const TU_REPORT &r : TU_reports())
        if (r.kind != WE_KIND_LOW_MEMORY || r.text != " Málo paměti")
            return false;
    return TU_reports().size() == count;
}

bool operator==(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT FRAME_rect_in(HWND parent, HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&r), 2);
    return r;
}
