#include "tools/drive/shot.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

void put32(std::string &out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((v >> shift) & 0xFF);
}

// One chunk: length, type, data, CRC of type and data (big-endian numbers).
void chunk(std::string &out, const char *type, const std::string &data)
{
    put32(out, static_cast<uint32_t>(data.size()));
    std::string body = type + data;
    out += body;
    put32(out, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef *>(body.data()),
                                           static_cast<uInt>(body.size()))));
}

}  // namespace

int SHOT_screen(const char *path, const RECT *area)
{
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (area)
        IntersectRect(&r, &r, area);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return 0;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;   // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    int ok = 0;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY) ? 1 : 0;
        GdiFlush();
        SelectObject(memory, old);
    }
    std::vector<Bytef> rows;
    if (ok) {
        // Each row: filter type 0, then red, green, blue of each pixel (BGRX in the bitmap).
        const auto *pixel = static_cast<const uint8_t *>(bits);
        rows.reserve(static_cast<size_t>(height) * (width * 3 + 1));
        for (int y = 0; y < height; ++y) {
            rows.push_back(0);
            for (int x = 0; x < width; ++x, pixel += 4)
                rows.insert(rows.end(), {pixel[2], pixel[1], pixel[0]});
        }
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!ok)
        return 0;

    uLongf packed_size = compressBound(static_cast<uLong>(rows.size()));
    std::string packed(packed_size, '\0');
    if (compress2(reinterpret_cast<Bytef *>(&packed[0]), &packed_size, rows.data(), static_cast<uLong>(rows.size()),
                  9) != Z_OK)
        return 0;
    packed.resize(packed_size);
    std::string header, png("\x89PNG\r\n\x1a\n", 8);
    put32(header, static_cast<uint32_t>(width));
    put32(header, static_cast<uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5);   // 8 bits, RGB, deflate, no filter choice, no interlace
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", packed);
    chunk(png, "IEND", "");
    FILE *f = std::fopen(path, "wb");
    if (!f)
        return 0;
    ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
    return std::fclose(f) == 0 && ok ? 1 : 0;
}
