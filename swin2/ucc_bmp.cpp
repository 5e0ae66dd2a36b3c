#include "swin2/ucc_bmp.h"

#include <cstring>

#include "common/fe.h"
#include "common/fi.h"
#include "common/st.h"
#include "swin/wgd.h"
#include "win/we.h"
#include "win/wmsg.h"

static const char SRC[] = "..\\swin2\\ucc_bmp";

namespace {

const int32_t FILE_HEADER = 14;    // "BM", file size, two reserved words, offset of the bits
const int32_t INFO_HEADER = 40;    // the smallest information header read
const int32_t MASKS = 12;          // three colour masks of BI_BITFIELDS, at offset 40 of the information

uint32_t le16(const uint8_t *p)
{
    return static_cast<uint32_t>(p[0] | p[1] << 8);
}

uint32_t le32(const uint8_t *p)
{
    return le16(p) | le16(p + 2) << 16;
}

// The information header as GDI takes it, with room for the largest colour table.
struct DIB_INFO {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

// Decodes the information header, colour table and bits (data, size bytes:
// the file after its 14-byte header; the bits at bits_at of it) and makes
// the bitmap. Null for anything that does not agree.
HBITMAP make_bitmap(HDC dc, const uint8_t *data, uint32_t size, uint32_t bits_at)
{
    if (size < static_cast<uint32_t>(INFO_HEADER))
        return nullptr;
    const uint32_t info_size = le32(data);
    const int32_t width = static_cast<int32_t>(le32(data + 4));
    const int32_t height = static_cast<int32_t>(le32(data + 8));
    const uint32_t planes = le16(data + 12), depth = le16(data + 14);
    const uint32_t compression = le32(data + 16), used = le32(data + 32);
    const uint32_t rows = static_cast<uint32_t>(height < 0 ? -static_cast<int64_t>(height) : height);
    if (info_size < static_cast<uint32_t>(INFO_HEADER) || info_size > size || width < 1 || width > UCC_BMP_SIDE_MAX ||
        rows < 1 || rows > UCC_BMP_SIDE_MAX || planes != 1)
        return nullptr;
    const bool masked = compression == BI_BITFIELDS && (depth == 16 || depth == 32);
    if (!masked && (compression != BI_RGB || (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 &&
                                              depth != 32)))
        return nullptr;

    DIB_INFO info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(depth);
    info.header.biCompression = compression;
    uint32_t table_end = info_size;
    if (masked) {
        // The masks follow a 40-byte header and stand at the same place inside the longer ones.
        table_end = info_size > static_cast<uint32_t>(INFO_HEADER + MASKS) ? info_size : INFO_HEADER + MASKS;
        if (table_end > size)
            return nullptr;
        for (int i = 0; i < 3; i++) {
            const uint32_t mask = le32(data + INFO_HEADER + 4 * i);
            std::memcpy(&info.colours[i], &mask, sizeof mask);
        }
    } else if (depth <= 8) {
        const uint32_t entries = used ? used : 1u << depth;
        if (entries > 1u << depth || table_end + 4 * entries > size)
            return nullptr;
        for (uint32_t i = 0; i < entries; i++) {
            const uint8_t *q = data + table_end + 4 * i;
            info.colours[i] = RGBQUAD{q[0], q[1], q[2], 0};
        }
        info.header.biClrUsed = entries;
        table_end += 4 * entries;
    }
    const uint64_t row_bytes = (static_cast<uint64_t>(width) * depth + 31) / 32 * 4;
    if (bits_at < table_end || bits_at + row_bytes * rows > size)
        return nullptr;
    return CreateDIBitmap(dc, &info.header, CBM_INIT, data + bits_at, reinterpret_cast<const BITMAPINFO *>(&info),
                          DIB_RGB_COLORS);
}

}  // namespace

HBITMAP UCC_BMP_read_file(const char *path, HDC dc)
{
    if (!path || !FE_exists(path) || FE_dir_exists(path)) {
        WE_status("Chybí soubor : %s", path ? path : "");
        return nullptr;
    }
    C_FILE *file = nullptr;
    if (!FI_create_open(&file, path, FI_BIN_READ))
        return nullptr;
    HBITMAP bitmap = nullptr;
    uint8_t head[FILE_HEADER];
    const int32_t length = FI_size(file);
    if (length >= FILE_HEADER && FI_seek(file, 0) && FI_read(file, head, FILE_HEADER) && head[0] == 'B' &&
        head[1] == 'M') {
        // The size the header gives must be there; the bits' offset counts from the file's start.
        const uint32_t declared = le32(head + 2), bits_at = le32(head + 10);
        if (declared > static_cast<uint32_t>(FILE_HEADER) && declared <= static_cast<uint32_t>(length) &&
            bits_at >= static_cast<uint32_t>(FILE_HEADER)) {
            const int32_t rest = static_cast<int32_t>(declared) - FILE_HEADER;
            uint8_t *data = static_cast<uint8_t *>(MM_alloc_raw(rest, SRC, __LINE__));
            if (!data)
                WE_low_memory();
            else if (FI_read(file, data, rest))
                bitmap = make_bitmap(dc, data, static_cast<uint32_t>(rest), bits_at - FILE_HEADER);
            MM_free(data, SRC, __LINE__);
        }
    }
    FI_destroy(&file);
    return bitmap;
}

LRESULT C_UCC_BMP::create(const CREATESTRUCTA *)
{
    show_default();
    return 0;
}

void C_UCC_BMP::show_default()
{
    path[0] = 0;
    HINSTANCE instance = WGD_driver ? WGD_driver->instance : GetModuleHandleA(nullptr);
    bitmap.reset(LoadBitmapA(instance, MAKEINTRESOURCEA(UCC_BMP_DEFAULT)));
    InvalidateRect(window, nullptr, TRUE);
}

LRESULT C_UCC_BMP::load(const char *file)
{
    if (!file)
        return 0;
    HBITMAP loaded = nullptr;
    if (std::strlen(file) > UCC_NAME_MAX) {
        WE_status("Chybí soubor : %s", file);   // a path the control cannot keep is refused like a missing file
    } else {
        C_WINDOW_DC dc(window);
        loaded = UCC_BMP_read_file(file, dc);
    }
    if (!loaded) {
        show_default();
        return 0;
    }
    bitmap.reset(loaded);
    ST_copy(path, file, UCC_NAME_MAX);
    InvalidateRect(window, nullptr, TRUE);
    return 1;
}

void C_UCC_BMP::paint()
{
    C_PAINT dc(window);
    C_UCC_PALETTE palette(dc);
    BITMAP size{};
    if (!bitmap || !GetObjectA(bitmap, sizeof size, &size) || size.bmWidth < 1 || size.bmHeight < 1)
        return;
    RECT r;
    GetClientRect(window, &r);
    int32_t x = 0, y = 0, w = r.right, h = r.bottom;
    if (keep_aspect) {   // the longer side fills the control, the other is reduced and centred
        if (static_cast<int64_t>(size.bmWidth) * r.bottom > static_cast<int64_t>(size.bmHeight) * r.right) {
            h = static_cast<int32_t>(static_cast<int64_t>(r.right) * size.bmHeight / size.bmWidth);
            y = (r.bottom - h) / 2;
        } else {
            w = static_cast<int32_t>(static_cast<int64_t>(r.bottom) * size.bmWidth / size.bmHeight);
            x = (r.right - w) / 2;
        }
    }
    C_MEMORY_DC memory(dc);
    C_SELECT chosen(memory, bitmap);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    // MERGECOPY with the device context's white brush: the bitmap as it is.
    StretchBlt(dc, x, y, w, h, memory, 0, 0, size.bmWidth, size.bmHeight, MERGECOPY);
}

LRESULT C_UCC_BMP::message(UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_UCC_BMP_LOAD:
        return load(reinterpret_cast<const char *>(lparam));
    case WM_UCC_BMP_CLEAR:
        show_default();
        return 1;
    case WM_UCC_BMP_KEEP_ASPECT:
        keep_aspect = wparam ? 1 : 0;
        InvalidateRect(window, nullptr, TRUE);
        return 1;
    case WM_PAINT:
        paint();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default:
        return C_CTL::message(message, wparam, lparam);
    }
}
