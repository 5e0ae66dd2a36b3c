// Bitmap view: shows a bitmap file (uncompressed, or 16/32 bits with colour
// masks) stretched over the control, or the program's bitmap resource 434
// when there is none or the file cannot be read. Messages WM_UCC_BMP_... of
// win/wmsg.h.
#pragma once
#include "swin2/ucc.h"

#define UCC_BMP_CLASS_NAME "BMP_WINDOW_CLASS_NAME"
#define UCC_BMP_DEFAULT 434          // bitmap resource shown without a file
#define UCC_BMP_SIDE_MAX 16384       // pixels of a bitmap file's width or height

class C_UCC_BMP : public C_CTL {
public:
    explicit C_UCC_BMP(HWND window) : C_CTL(window) {}
    LRESULT create(const CREATESTRUCTA *creation) override;   // shows resource 434
    LRESULT message(UINT message, WPARAM wparam, LPARAM lparam) override;

    char path[UCC_NAME_MAX + 1] = "";   // the file shown, "" for resource 434
    C_GDI<HBITMAP> bitmap;
    int16_t keep_aspect = 0;

private:
    // Loads the file, else shows resource 434 (a path over 80 characters is
    // refused like a missing file); 1 when the file was shown.
    LRESULT load(const char *file);
    void show_default();
    void paint();
};

// The bitmap of a bitmap file, made for the device context; null when the
// file is missing or cannot be read, is not a bitmap file, or its headers
// do not agree with its size (nothing is read beyond what the file holds).
// A missing file shows the status text "Chybí soubor : <path>".
HBITMAP UCC_BMP_read_file(const char *path, HDC dc);
