#include "swin2/wt_edit.h"

#include "common/st.h"
#include "win/we.h"

static const char SRC[] = "..\\swin2\\wt_edit";

C_WT_EDIT::C_WT_EDIT(C_BW *owner_, int32_t id_, int32_t x_, int32_t y_, int32_t width_, int32_t height_)
    : C_WT_UNI(owner_, WT_EDIT, id_, x_, y_, width_, height_, "EDIT", 0x54810000u, WS_EX_CLIENTEDGE)
{
}

int16_t C_WT_EDIT::set_text(const char *new_text)
{
    if (!new_text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    char cut[WT_EDIT_MAX + 1];
    ST_copy(cut, new_text, WT_EDIT_MAX);
    if (!multi_line()) {
        ST_remove_char(cut, '\r');
        ST_replace_char(cut, '\n', ' ');
    }
    return C_WT_UNI::set_text(cut);
}

int16_t C_WT_EDIT::get_text(char *buffer, int16_t bound)
{
    if (!buffer || bound < 0) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!multi_line())
        return C_WT_UNI::get_text(buffer, bound);
    if (!window) {   // the kept text, without its carriage returns
        char kept[WT_TEXT_MAX + 1];
        ST_copy(kept, text, WT_TEXT_MAX);
        ST_remove_char(kept, '\r');
        WT_copy(buffer, kept, bound);
        return 1;
    }
    // The whole text, so that the dropped carriage returns leave room for
    // what follows them.
    int32_t length = GetWindowTextLengthA(window);
    char *whole = static_cast<char *>(MM_alloc(length + 1, 1, SRC, __LINE__));
    if (!whole) {
        WE_low_memory();
        buffer[0] = 0;
        return 0;
    }
    GetWindowTextA(window, whole, length + 1);
    ST_remove_char(whole, '\r');
    WT_copy(buffer, whole, bound);
    MM_free(whole, SRC, __LINE__);
    return 1;
}

int16_t C_WT_EDIT::font_changed(HFONT new_font)
{
    if (!window || !new_font)
        return 1;
    TEXTMETRICA metrics{};
    {
        C_WINDOW_DC dc(window);
        if (!dc.ok())
            return 0;
        C_SELECT chosen(dc, new_font);
        GetTextMetricsA(dc, &metrics);
    }
    int32_t line = metrics.tmHeight + metrics.tmExternalLeading + WT_EDIT_MARGIN;
    if (height / line <= 1) {
        height = line;
        MoveWindow(window, x, y, width, height, FALSE);
    }
    return 1;
}
