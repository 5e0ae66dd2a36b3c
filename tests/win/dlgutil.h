// Helpers of the dialog tests: a GUI driver record without WGD_run (so that
// dialogs have their stack), the real boxes instead of the recording sink,
// and dialog templates built in memory.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "swin/wgd.h"
#include "win/we.h"

// Installs a zeroed driver with the program's instance while it lives.
class TEST_DRIVER {
public:
    TEST_DRIVER() : previous_(WGD_driver) { WGD_driver = &driver_, driver_.instance = GetModuleHandleA(nullptr); }
    ~TEST_DRIVER() { WGD_driver = previous_; }
    TEST_DRIVER(const TEST_DRIVER &) = delete;
    TEST_DRIVER &operator=(const TEST_DRIVER &) = delete;
    WGD_DRIVER *operator->() { return &driver_; }

private:
    WGD_DRIVER *previous_;
    WGD_DRIVER driver_{};
};

// No report sink while it lives: the boxes are real dialogs.
class REAL_BOXES {
public:
    REAL_BOXES() : previous_(WE_set_sink(nullptr)) {}
    ~REAL_BOXES() { WE_set_sink(previous_); }
    REAL_BOXES(const REAL_BOXES &) = delete;
    REAL_BOXES &operator=(const REAL_BOXES &) = delete;

private:
    WE_SINK previous_;
};

// A standard dialog template in memory: header, no menu, the default class,
// the title, the font 8 "MS Sans Serif", then the items.
class TEMPLATE_BUILDER {
public:
    TEMPLATE_BUILDER(DWORD style, int16_t cx, int16_t cy, const std::wstring &title)
    {
        put_dword(style | DS_SETFONT);
        put_dword(0);
        count_at_ = words_.size();
        words_.push_back(0);
        for (int16_t v : {int16_t(0), int16_t(0), cx, cy})
            words_.push_back(static_cast<WORD>(v));
        words_.insert(words_.end(), {0, 0});   // no menu, the default class
        put_text(title);
        words_.push_back(8);
        put_text(L"MS Sans Serif");
    }
    // A control of a predefined class (0x0080 button, 0x0081 edit, 0x0082
    // static, 0x0083 list box).
    TEMPLATE_BUILDER &item(WORD id, WORD cls, DWORD style, int16_t x, int16_t y, int16_t cx, int16_t cy,
                           const std::wstring &text)
    {
        head(id, style, x, y, cx, cy);
        words_.insert(words_.end(), {0xFFFF, cls});
        return tail(text);
    }
    // A control of a class given by name.
    TEMPLATE_BUILDER &item(WORD id, const std::wstring &cls, DWORD style, int16_t x, int16_t y, int16_t cx,
                           int16_t cy, const std::wstring &text)
    {
        head(id, style, x, y, cx, cy);
        put_text(cls);
        return tail(text);
    }
    const DLGTEMPLATE *get() const { return reinterpret_cast<const DLGTEMPLATE *>(words_.data()); }
    int32_t size() const { return static_cast<int32_t>(words_.size() * 2); }

private:
    void head(WORD id, DWORD style, int16_t x, int16_t y, int16_t cx, int16_t cy)
    {
        while (words_.size() % 2)
            words_.push_back(0);
        put_dword(style | WS_CHILD | WS_VISIBLE);
        put_dword(0);
        for (int16_t v : {x, y, cx, cy})
            words_.push_back(static_cast<WORD>(v));
        words_.push_back(id);
    }
    TEMPLATE_BUILDER &tail(const std::wstring &text)
    {
        put_text(text);
        words_.push_back(0);   // no creation data
        words_[count_at_]++;
        return *this;
    }
    void put_dword(DWORD v) { words_.insert(words_.end(), {LOWORD(v), HIWORD(v)}); }
    void put_text(const std::wstring &text)
    {
        for (wchar_t c : text)
            words_.push_back(static_cast<WORD>(c));
        words_.push_back(0);
    }
    std::vector<WORD> words_;
    size_t count_at_ = 0;
};
