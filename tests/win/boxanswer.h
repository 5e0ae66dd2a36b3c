// Answers the next system box of this process from a second thread, the way
// a person would: finds the dialog by its title, reads its text, presses a button.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

class BOX_ANSWERER {
public:
    // Waits (up to 20 s) for a visible dialog titled title and presses button.
    BOX_ANSWERER(const char *title, int button);
    ~BOX_ANSWERER();   // joins the thread
    BOX_ANSWERER(const BOX_ANSWERER &) = delete;
    BOX_ANSWERER &operator=(const BOX_ANSWERER &) = delete;

    bool found() const { return found_; }
    const std::string &text() const { return text_; }   // CP1250
    HWND owner() const { return owner_; }
    // Whether the given window was enabled while the box was up.
    void watch_window(HWND window) { watched_ = window; }
    bool watched_was_enabled() const { return watched_enabled_; }

private:
    void run(std::string title, int button);

    std::thread thread_;
    std::atomic<bool> found_{false};
    std::string text_;
    HWND owner_ = nullptr;
    std::atomic<HWND> watched_{nullptr};
    bool watched_enabled_ = true;
};
