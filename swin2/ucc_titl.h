// Title: one line of text centred in the control, in its own colours and a
// font of the settings section "UCC_TITL_title_window" (key "font_name",
// default "Arial") made to suit the control's height. Messages
// WM_UCC_TITLE_... of win/wmsg.h.
#pragma once
#include "swin2/ucc.h"

#define UCC_TITLE_CLASS_NAME "TITLE_WINDOW_CLASS_NAME"
#define UCC_TITLE_SECTION "UCC_TITL_title_window"

class C_UCC_TITLE : public C_UCC_TEXT {
public:
    explicit C_UCC_TITLE(HWND window) : C_UCC_TEXT(window, UCC_TITLE_SECTION) {}
    LRESULT message(UINT message, WPARAM wparam, LPARAM lparam) override;

    char text[UCC_NAME_MAX + 1] = "";
};
