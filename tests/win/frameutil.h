// Helpers of the frame tests: a frame and a client that record what happens
// to them, and a run of the real GUI (WGD_run with its message loop) in which
// a test's scenario runs from the frame's after_create.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "swin2/cw.h"
#include "swin2/umain.h"

#define WM_FRAME_LATER (WM_USER + 11)

// A client that may refuse to close; its kind is recorded when it is deleted.
class TEST_CLIENT : public C_CW {
public:
    TEST_CLIENT(C_UMAIN *owner, int16_t kind);
    ~TEST_CLIENT() override;
    int16_t can_close() override;
    int16_t pre_translate(MSG *message) override;   // uses up the messages numbered eat

    int16_t refuse = 0;
    UINT eat = 0;
    int eaten = 0;
    static std::vector<int16_t> deleted;   // kinds, in order of deletion
};

class TEST_FRAME : public C_UMAIN {
public:
    void after_create(WPARAM wparam, LPARAM lparam) override;   // runs the scenario, then closes
    void close_request() override;                              // UMAIN_close_all_clients
    void create_client(int16_t slot, int16_t kind) override;    // a TEST_CLIENT (kind 0: none)
    void show_status(const char *text) override;
    LRESULT command(WPARAM wparam, LPARAM lparam) override;   // records the command id
    LRESULT default_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

    std::vector<std::string> statuses;   // show_status texts
    int16_t window_stays = 0;            // 1: after_create does not close the frame
    std::vector<int> *commands = nullptr;   // WM_COMMAND ids, when given
    UINT counted = 0;                       // messages of this number dispatched to the frame
    int *count = nullptr;                   // are counted here, when given
    std::function<void()> later;            // runs when WM_FRAME_LATER reaches the frame
    int16_t kind_of(int16_t slot) const;   // -1 for an empty slot
};

// WGD_run with a TEST_FRAME whose after_create runs the scenario; afterwards
// every client is made to agree and the frame is closed as the user would
// close it. The exit code of WGD_run.
int32_t FRAME_run(const std::function<void(TEST_FRAME *)> &scenario);

// Internal-error reports whose text names the source tag (e.g. "..\\swin\\wgd").
int FRAME_internal_errors(const char *source);
// Whether the reports are exactly count low-memory reports " Málo paměti".
bool FRAME_only_low_memory(size_t count);
// Rectangles compare field by field; a child's window rectangle in its parent's client coordinates.
bool operator==(const RECT &a, const RECT &b);
RECT FRAME_rect_in(HWND parent, HWND child);
