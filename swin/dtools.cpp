#include "swin/dtools.h"

#include "win/we.h"
#include "win/wmsg.h"

static const char SRC[] = "..\\swin\\dtools";

C_DT_TOOLS::C_DT_TOOLS(int16_t kind_, HWND dialog_, int32_t id_) : kind(kind_), dialog(dialog_), id(id_)
{
    HWND c = control();
    RECT r;
    if (c && GetWindowRect(c, &r)) {
        MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT *>(&r), 2);
        x = r.left;
        y = r.top;
        width = r.right - r.left;
        height = r.bottom - r.top;
    }
}

C_DT_TOOLS::~C_DT_TOOLS() = default;

HWND C_DT_TOOLS::control() const
{
    return dialog ? GetDlgItem(dialog, id) : nullptr;
}

LRESULT C_DT_TOOLS::send(UINT message, WPARAM wparam, LPARAM lparam) const
{
    return SendDlgItemMessageA(dialog, id, message, wparam, lparam);
}

int16_t C_DT_TOOLS::set_text(const char *text)
{
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return control() && SetDlgItemTextA(dialog, id, text) ? 1 : 0;
}

int16_t C_DT_TOOLS::get_text(char *text, int16_t maximum) const
{
    if (!text || maximum < 1) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    text[0] = 0;
    if (!control())
        return 0;
    GetDlgItemTextA(dialog, id, text, maximum + 1);
    return 1;
}

int16_t C_DT_RADIOBUTTON::set_checked(int16_t checked_)
{
    return control() && CheckDlgButton(dialog, id, checked_ ? BST_CHECKED : BST_UNCHECKED) ? 1 : 0;
}

int16_t C_DT_RADIOBUTTON::checked() const
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0;
}

int16_t C_DT_LIST::clear()
{
    if (!control())
        return 0;
    send(LB_RESETCONTENT, 0, 0);
    return 1;
}

int32_t C_DT_LIST::add(const char *text)
{
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return -1;
    }
    LRESULT index = send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    return index < 0 ? -1 : static_cast<int32_t>(index);
}

int16_t C_DT_LIST::set_selection(int32_t index)
{
    return send(LB_SETCURSEL, static_cast<WPARAM>(index), 0) == LB_ERR ? 0 : 1;
}

int32_t C_DT_LIST::selection() const
{
    LRESULT index = send(LB_GETCURSEL, 0, 0);
    return index < 0 ? -1 : static_cast<int32_t>(index);
}

int16_t C_DT_KEY::set_key(int16_t key_)
{
    // The control refuses a code outside its vocabulary (a negative one arrives as a huge one).
    return control() && send(WM_KEY_SET, static_cast<WPARAM>(key_), 0) ? 1 : 0;
}

int16_t C_DT_KEY::key() const
{
    return static_cast<int16_t>(send(WM_KEY_GET, 0, 0));
}

LRESULT C_DT_TABLE::table_message(UINT message, WPARAM wparam, LPARAM lparam) const
{
    return send(message, wparam, lparam);   // 0 without the control
}
