#include "swin/menubar.h"

#include "menu/menu.h"
#include "swin/sbar.h"
#include "win/guard.h"
#include "win/we.h"

static const char SRC[] = "..\\swin\\menubar";

namespace {

const int32_t ITEM_MARGIN = 4;     // pixels above and below an item's text
const int32_t EXTRA_WIDTH = 25;    // pixels an item is wider than its text
const int32_t BITMAP_SIZE = 16;

// A submenu made by MENUBAR_fill carries the entry that opens it as its menu
// data and its nesting level as its context help id, so that it can be
// filled when it opens.
struct POPUP_DATA {
    const PFU_ENTRY *entry;
    int16_t level;
};

int16_t set_popup_data(HMENU popup, const PFU_ENTRY *entry, int16_t level)
{
    MENUINFO mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIM_MENUDATA | MIM_HELPID;
    mi.dwMenuData = reinterpret_cast<ULONG_PTR>(entry);
    mi.dwContextHelpID = static_cast<DWORD>(level);
    return SetMenuInfo(popup, &mi) ? 1 : 0;
}

POPUP_DATA popup_data(HMENU popup)
{
    MENUINFO mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIM_MENUDATA | MIM_HELPID;
    if (!popup || !GetMenuInfo(popup, &mi))
        return {nullptr, 0};
    return {reinterpret_cast<const PFU_ENTRY *>(mi.dwMenuData), static_cast<int16_t>(mi.dwContextHelpID)};
}

UINT item_state(const PFU_ENTRY *e)
{
    UINT state = MFS_ENABLED;
    if (e->state & PFU_GREY)
        state |= MFS_GRAYED;
    if (e->state & PFU_CHECKED)
        state |= MFS_CHECKED;
    return state;
}

int16_t add_item(HMENU menu, const PFU_ENTRY *e, int16_t level)
{
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    mii.fType = MFT_OWNERDRAW;
    mii.fState = item_state(e);
    mii.wID = static_cast<UINT>(e->id);
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(e);
    if (e->sub_table) {
        HMENU popup = CreatePopupMenu();
        if (!popup || !set_popup_data(popup, e, static_cast<int16_t>(level + 1))) {
            if (popup)
                DestroyMenu(popup);
            WE_internal_error(SRC, __LINE__);
            return 0;
        }
        mii.fMask |= MIIM_SUBMENU;
        mii.hSubMenu = popup;
    }
    if (!InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &mii)) {
        if (mii.hSubMenu)
            DestroyMenu(mii.hSubMenu);
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return 1;
}

HFONT menu_font()
{
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        return CreateFontIndirectA(&ncm.lfMenuFont);
    return nullptr;
}

// The 16 x 16 bitmap resource numbered by the function id, drawn at the
// left of the item; 0 when the program has none.
int16_t draw_bitmap(HDC dc, int32_t id, int32_t x, int32_t y)
{
    if (id <= 0 || id > 0xFFFF)
        return 0;
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    if (!bitmap)
        return 0;
    C_GDI<HBITMAP> owned(bitmap);
    C_MEMORY_DC memory(dc);
    C_SELECT chosen(memory, bitmap);
    // The bitmap's corner colour is its background: left out, the item shows through.
    TransparentBlt(dc, x, y, BITMAP_SIZE, BITMAP_SIZE, memory, 0, 0, BITMAP_SIZE, BITMAP_SIZE,
                   GetPixel(memory, 0, 0));
    return 1;
}

}  // namespace

int16_t MENUBAR_fill(HMENU menu, const PFU_ENTRY *table, int16_t level, int16_t *added)
{
    if (added)
        *added = 0;
    if (!menu || !table || level < 0 || level >= MENU_LEVELS_MAX - 1) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    int16_t count = 0;
    bool separator_last = false;
    for (const PFU_ENTRY *e = table; !(e->state & PFU_END); e++) {
        if (e->state & (PFU_HIDDEN | PFU_HIDDEN_2))
            continue;
        if (e->state & (PFU_SEPARATOR | PFU_SEPARATOR_2)) {
            if (count > 0 && !separator_last) {
                if (!AppendMenuA(menu, MF_SEPARATOR, 0, nullptr)) {
                    WE_internal_error(SRC, __LINE__);
                    return 0;
                }
                count++;
                separator_last = true;
            }
            continue;
        }
        if (!add_item(menu, e, level))
            return 0;
        count++;
        separator_last = false;
    }
    if (separator_last) {
        DeleteMenu(menu, static_cast<UINT>(GetMenuItemCount(menu) - 1), MF_BYPOSITION);
        count--;
    }
    if (added)
        *added = count;
    return 1;
}

HMENU MENU_build_bar(HWND frame, const PFU_ENTRY *table)
{
    HMENU bar = CreateMenu();
    if (!bar) {
        WE_internal_error(SRC, __LINE__);
        return nullptr;
    }
    if (!MENUBAR_fill(bar, table, 0)) {
        DestroyMenu(bar);
        return nullptr;
    }
    if (frame) {
        if (!SetMenu(frame, bar)) {
            WE_internal_error(SRC, __LINE__);
            DestroyMenu(bar);
            return nullptr;
        }
        DrawMenuBar(frame);
    }
    return bar;
}

int16_t MENU_init_popup(HMENU popup)
{
    POPUP_DATA data = popup_data(popup);
    if (!data.entry || !data.entry->sub_table)
        return 0;
    while (GetMenuItemCount(popup) > 0)
        DeleteMenu(popup, 0, MF_BYPOSITION);
    MENUBAR_fill(popup, data.entry->sub_table, data.level);
    return 1;
}

const PFU_ENTRY *MENU_item_entry(HMENU menu, UINT item, BOOL by_position)
{
    if (!menu)
        return nullptr;
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_DATA;
    if (!GetMenuItemInfoA(menu, item, by_position, &mii) || !(mii.fType & MFT_OWNERDRAW))
        return nullptr;
    return reinterpret_cast<const PFU_ENTRY *>(mii.dwItemData);
}

void MENU_select(SBAR_status_bar *bar, WPARAM wparam, LPARAM lparam)
{
    if (!bar)
        return;
    UINT flags = HIWORD(wparam);
    HMENU menu = reinterpret_cast<HMENU>(lparam);
    const PFU_ENTRY *e = nullptr;
    if (!(flags == 0xFFFF && !menu) && !(flags & MF_SEPARATOR))
        e = MENU_item_entry(menu, LOWORD(wparam), (flags & MF_POPUP) ? TRUE : FALSE);
    SBAR_set_text(bar, 0, e && e->id ? MENU_help(e->id) : "");
}

int16_t MENU_measure_item(HWND window, MEASUREITEMSTRUCT *item)
{
    if (!item || item->CtlType != ODT_MENU || !item->itemData)
        return 0;
    const PFU_ENTRY *e = reinterpret_cast<const PFU_ENTRY *>(item->itemData);
    C_WINDOW_DC dc(window);
    if (!dc.ok())
        return 0;
    C_GDI<HFONT> font(menu_font());
    C_SELECT chosen(dc, font);
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, MENU_text(e->id), -1, &r, DT_SINGLELINE | DT_CALCRECT);
    int32_t height = r.bottom - r.top + 2 * ITEM_MARGIN;
    item->itemWidth = static_cast<UINT>(r.right - r.left + EXTRA_WIDTH);
    item->itemHeight = static_cast<UINT>(height < MENU_ITEM_MIN_HEIGHT ? MENU_ITEM_MIN_HEIGHT : height);
    return 1;
}

int16_t MENU_draw_item(const DRAWITEMSTRUCT *item)
{
    if (!item || item->CtlType != ODT_MENU || !item->itemData)
        return 0;
    const PFU_ENTRY *e = reinterpret_cast<const PFU_ENTRY *>(item->itemData);
    HDC dc = item->hDC;
    RECT r = item->rcItem;
    bool selected = (item->itemState & ODS_SELECTED) != 0;
    bool grey = (item->itemState & ODS_GRAYED) != 0;
    bool checked = (item->itemState & ODS_CHECKED) != 0;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    int32_t top = r.top + (r.bottom - r.top - BITMAP_SIZE) / 2;
    RECT mark{r.left + 2, top, r.left + 2 + BITMAP_SIZE, top + BITMAP_SIZE};
    if (!draw_bitmap(dc, e->id, mark.left, mark.top) && checked)
        DrawFrameControl(dc, &mark, DFC_MENU, DFCS_MENUCHECK);
    if (checked) {
        RECT frame = mark;
        InflateRect(&frame, 1, 1);
        DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
    }
    C_GDI<HFONT> font(menu_font());
    C_SELECT chosen(dc, font);
    SetBkMode(dc, TRANSPARENT);
    RECT text = r;
    text.left += MENU_TEXT_LEFT;
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    if (grey) {
        RECT shadow = text;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextA(dc, MENU_text(e->id), -1, &shadow, format);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    } else {
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    }
    DrawTextA(dc, MENU_text(e->id), -1, &text, format);
    return 1;
}

void MENU_refresh(HWND frame, HMENU menu, int32_t id)
{
    if (!menu)
        return;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; i++) {
        const PFU_ENTRY *e = MENU_item_entry(menu, static_cast<UINT>(i), TRUE);
        if (e && e->id == id) {
            MENUITEMINFOA mii{};
            mii.cbSize = sizeof mii;
            mii.fMask = MIIM_STATE;
            mii.fState = item_state(e);
            SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &mii);
        }
        if (HMENU sub = GetSubMenu(menu, i))
            MENU_refresh(nullptr, sub, id);
    }
    if (frame && GetMenu(frame) == menu)
        DrawMenuBar(frame);
}

int32_t MENU_popup(HWND owner, const PFU_ENTRY *table, int32_t x, int32_t y)
{
    if (!owner)
        owner = static_cast<HWND>(WE_owner());
    if (!owner || !table) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    HMENU menu = CreatePopupMenu();
    if (!menu) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    int16_t added = 0;
    int32_t chosen = 0;
    if (MENUBAR_fill(menu, table, 0, &added) && added > 0)
        chosen = static_cast<int32_t>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                                                     x, y, 0, owner, nullptr));
    DestroyMenu(menu);
    return chosen;
}
