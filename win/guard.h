// Owners of Win32 resources: each guard acquires (or adopts) its resource in
// the constructor and releases it in the destructor, so that no path of a
// function can leave a device context, a selected object, a key or a handle
// behind. Guards are not copyable; a guard whose acquisition failed holds
// null and releases nothing (test it with ok()).
//
//     C_WINDOW_DC dc(window);
//     C_SELECT chosen(dc, font);
#pragma once
#include <windows.h>
#include <objbase.h>

class C_GUARD {
public:
    C_GUARD() = default;
    C_GUARD(const C_GUARD &) = delete;
    C_GUARD &operator=(const C_GUARD &) = delete;
};

// GetDC / ReleaseDC of a window (null: the screen).
class C_WINDOW_DC : C_GUARD {
public:
    explicit C_WINDOW_DC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~C_WINDOW_DC() { if (dc_) ReleaseDC(window_, dc_); }
    bool ok() const { return dc_ != nullptr; }
    operator HDC() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint / EndPaint of a window's WM_PAINT.
class C_PAINT : C_GUARD {
public:
    explicit C_PAINT(HWND window) : window_(window), dc_(BeginPaint(window, &ps)) {}
    ~C_PAINT() { EndPaint(window_, &ps); }
    operator HDC() const { return dc_; }
    PAINTSTRUCT ps{};

private:
    HWND window_;
    HDC dc_;
};

// CreateCompatibleDC / DeleteDC.
class C_MEMORY_DC : C_GUARD {
public:
    explicit C_MEMORY_DC(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~C_MEMORY_DC() { if (dc_) DeleteDC(dc_); }
    bool ok() const { return dc_ != nullptr; }
    operator HDC() const { return dc_; }

private:
    HDC dc_;
};

// SelectObject, and the previous object selected back at the end; a null
// object selects nothing.
class C_SELECT : C_GUARD {
public:
    C_SELECT(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~C_SELECT() { if (old_) SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// SelectPalette (background or foreground), selected back at the end.
class C_SELECT_PALETTE : C_GUARD {
public:
    C_SELECT_PALETTE(HDC dc, HPALETTE palette, BOOL background)
        : dc_(dc), old_(dc && palette ? SelectPalette(dc, palette, background) : nullptr), background_(background) {}
    ~C_SELECT_PALETTE() { if (old_) SelectPalette(dc_, old_, background_); }

private:
    HDC dc_;
    HPALETTE old_;
    BOOL background_;
};

// A GDI object (pen, brush, font, bitmap, palette), deleted at the end or
// when replaced.
template <class T>
class C_GDI : C_GUARD {
public:
    C_GDI() : object_(nullptr) {}
    explicit C_GDI(T object) : object_(object) {}
    ~C_GDI() { reset(); }
    void reset(T object = nullptr)
    {
        if (object_)
            DeleteObject(object_);
        object_ = object;
    }
    T get() const { return object_; }
    operator T() const { return object_; }

private:
    T object_;
};

// An open registry key, closed at the end.
class C_HKEY : C_GUARD {
public:
    C_HKEY() = default;
    ~C_HKEY() { if (key_) RegCloseKey(key_); }
    HKEY *out() { return &key_; }   // for RegOpenKeyExA / RegCreateKeyExA
    operator HKEY() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// CoInitialize of the calling thread for the guard's life; ok() also when
// COM was already initialised there.
class C_COM_INIT : C_GUARD {
public:
    C_COM_INIT() : result_(CoInitialize(nullptr)) {}
    ~C_COM_INIT() { if (SUCCEEDED(result_)) CoUninitialize(); }
    bool ok() const { return SUCCEEDED(result_); }

private:
    HRESULT result_;
};

// A COM interface pointer, released at the end.
template <class T>
class C_COM_PTR : C_GUARD {
public:
    C_COM_PTR() = default;
    ~C_COM_PTR() { if (pointer_) pointer_->Release(); }
    T **out() { return &pointer_; }   // for CoCreateInstance / QueryInterface
    void **out_void() { return reinterpret_cast<void **>(&pointer_); }
    T *operator->() const { return pointer_; }
    bool ok() const { return pointer_ != nullptr; }

private:
    T *pointer_ = nullptr;
};

// A kernel handle (a process, a thread), closed at the end.
class C_HANDLE : C_GUARD {
public:
    explicit C_HANDLE(HANDLE handle = nullptr) : handle_(handle) {}
    ~C_HANDLE() { if (handle_) CloseHandle(handle_); }
    HANDLE *out() { return &handle_; }
    operator HANDLE() const { return handle_; }

private:
    HANDLE handle_;
};

// SaveDC / RestoreDC: mapping mode, clipping and selections of the device
// context back as they were at the end.
class C_SAVE_DC : C_GUARD {
public:
    explicit C_SAVE_DC(HDC dc) : dc_(dc), saved_(dc ? SaveDC(dc) : 0) {}
    ~C_SAVE_DC() { if (saved_) RestoreDC(dc_, saved_); }

private:
    HDC dc_;
    int saved_;
};

// A printer's information context (CreateICA with its device settings, or
// the printer's own when null): its measures and fonts, no drawing.
class C_PRINTER_IC : C_GUARD {
public:
    explicit C_PRINTER_IC(const char *printer, const DEVMODEA *mode = nullptr)
        : dc_(printer ? CreateICA("WINSPOOL", printer, nullptr, mode) : nullptr) {}
    ~C_PRINTER_IC() { if (dc_) DeleteDC(dc_); }
    bool ok() const { return dc_ != nullptr; }
    operator HDC() const { return dc_; }

private:
    HDC dc_;
};

// A printer's device context (with its device settings, or the printer's
// own when null) and its document: the DC is deleted at the end; a document
// begun with start() and not finished with end() is aborted.
class C_PRINTER_DC : C_GUARD {
public:
    explicit C_PRINTER_DC(const char *printer, const DEVMODEA *mode = nullptr)
        : dc_(printer ? CreateDCA("WINSPOOL", printer, nullptr, mode) : nullptr) {}
    ~C_PRINTER_DC()
    {
        if (printing_)
            AbortDoc(dc_);
        if (dc_)
            DeleteDC(dc_);
    }
    bool ok() const { return dc_ != nullptr; }
    operator HDC() const { return dc_; }
    bool start(const char *document)
    {
        DOCINFOA info{};
        info.cbSize = sizeof info;
        info.lpszDocName = document;
        printing_ = dc_ && StartDocA(dc_, &info) > 0;
        return printing_;
    }
    bool end()
    {
        bool done = printing_ && EndDoc(dc_) > 0;
        printing_ = false;
        return done;
    }

private:
    HDC dc_;
    bool printing_ = false;
};
