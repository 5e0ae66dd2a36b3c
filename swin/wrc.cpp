#include "swin/wrc.h"

#include <cstring>
#include <string>

#include "common/mm.h"
#include "common/st.h"
#include "win/we.h"

static const char SRC[] = "..\\swin\\wrc";

namespace {

const WORD ORDINAL_MARK = 0xFFFF;
const DWORD DLGTEMPLATE_SIZE = 18;       // style, extended style, count, x, y, cx, cy
const DWORD DLGITEMTEMPLATE_SIZE = 18;   // style, extended style, x, y, cx, cy, id

WORD word_at(const BYTE *p)
{
    WORD w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

const BYTE *align_dword(const BYTE *base, const BYTE *p)
{
    size_t offset = static_cast<size_t>(p - base);
    return base + ((offset + 3) & ~static_cast<size_t>(3));
}

// Past a field that is either 0xFFFF and an ordinal, or a zero-terminated
// 16-bit string (0 alone: empty).
const BYTE *skip_name(const BYTE *p)
{
    if (word_at(p) == ORDINAL_MARK)
        return p + 4;
    while (word_at(p) != 0)
        p += 2;
    return p + 2;
}

bool is_extended(const DLGTEMPLATE *t)
{
    return word_at(reinterpret_cast<const BYTE *>(t) + 2) == ORDINAL_MARK;
}

// The first item of a standard template.
const BYTE *first_item(const DLGTEMPLATE *t)
{
    const BYTE *base = reinterpret_cast<const BYTE *>(t);
    const BYTE *p = base + DLGTEMPLATE_SIZE;
    p = skip_name(p);   // menu
    p = skip_name(p);   // class
    p = skip_name(p);   // title
    if (t->style & DS_SETFONT) {
        p += 2;         // point size
        p = skip_name(p);
    }
    return align_dword(base, p);
}

// Past an item: header, class, title, creation data (a count of bytes after it).
const BYTE *item_end(const BYTE *item)
{
    const BYTE *p = item + DLGITEMTEMPLATE_SIZE;
    p = skip_name(p);   // class
    p = skip_name(p);   // title
    WORD data = word_at(p);
    return p + 2 + data;
}

const BYTE *item_title(const BYTE *item)
{
    return skip_name(item + DLGITEMTEMPLATE_SIZE);
}

}  // namespace

namespace {

// The dialog resource of the program's own module, or null.
const DLGTEMPLATE *load_template(LPCSTR name)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, name, reinterpret_cast<LPCSTR>(RT_DIALOG));
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    return static_cast<const DLGTEMPLATE *>(loaded ? LockResource(loaded) : nullptr);
}

}  // namespace

const DLGTEMPLATE *WRC_find_template(int32_t number)
{
    const DLGTEMPLATE *data = number > 0 && number <= 0xFFFF ? load_template(MAKEINTRESOURCEA(number)) : nullptr;
    if (!data)
        WE_error_format("WRC - chybí id : %d", static_cast<int>(number));
    return data;
}

const DLGTEMPLATE *WRC_find_named_template(const char *name)
{
    if (!name) {
        WE_internal_error(SRC, __LINE__);
        return nullptr;
    }
    const DLGTEMPLATE *data = load_template(name);
    if (!data)
        WE_error_format("WRC - chybí id : %s", name);
    return data;
}

int32_t WRC_template_size(const DLGTEMPLATE *dialog_template)
{
    if (!dialog_template || is_extended(dialog_template)) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const BYTE *base = reinterpret_cast<const BYTE *>(dialog_template);
    const BYTE *end = base + DLGTEMPLATE_SIZE;
    end = skip_name(skip_name(skip_name(end)));
    if (dialog_template->style & DS_SETFONT)
        end = skip_name(end + 2);
    const BYTE *p = first_item(dialog_template);
    for (WORD i = 0; i < dialog_template->cdit; i++) {
        end = item_end(p);
        p = align_dword(base, end);
    }
    return static_cast<int32_t>(end - base);
}

DLGTEMPLATE *WRC_copy(const DLGTEMPLATE *dialog_template)
{
    int32_t size = WRC_template_size(dialog_template);
    if (size < 1)
        return nullptr;
    if (size > WRC_TEMPLATE_MAX) {
        WE_internal_error(SRC, __LINE__);
        return nullptr;
    }
    void *copy = MM_alloc_raw(size, SRC, __LINE__);
    if (!copy) {
        WE_low_memory();
        return nullptr;
    }
    std::memcpy(copy, dialog_template, static_cast<size_t>(size));
    return static_cast<DLGTEMPLATE *>(copy);
}

DLGTEMPLATE *WRC_copy_template(int32_t number)
{
    const DLGTEMPLATE *found = WRC_find_template(number);
    return found ? WRC_copy(found) : nullptr;
}

const DLGITEMTEMPLATE *WRC_find_item(const DLGTEMPLATE *dialog_template, int32_t id)
{
    if (!dialog_template || is_extended(dialog_template)) {
        WE_internal_error(SRC, __LINE__);
        return nullptr;
    }
    const BYTE *base = reinterpret_cast<const BYTE *>(dialog_template);
    const BYTE *p = first_item(dialog_template);
    for (WORD i = 0; i < dialog_template->cdit; i++) {
        const DLGITEMTEMPLATE *item = reinterpret_cast<const DLGITEMTEMPLATE *>(p);
        if (item->id == static_cast<WORD>(id))
            return item;
        p = align_dword(base, item_end(p));
    }
    return nullptr;
}

int16_t WRC_item_title(const DLGITEMTEMPLATE *item, char *text, int16_t maximum)
{
    if (!item || !text || maximum < 1) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    text[0] = 0;
    const BYTE *title = item_title(reinterpret_cast<const BYTE *>(item));
    if (word_at(title) == ORDINAL_MARK)
        return 1;
    LPCWCH wide = reinterpret_cast<LPCWCH>(title);
    int n = WideCharToMultiByte(1250, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n < 1)
        return 1;
    std::string converted(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(1250, 0, wide, -1, &converted[0], n, nullptr, nullptr);
    ST_copy(text, converted.c_str(), maximum);
    return 1;
}
