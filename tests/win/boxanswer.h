// Answers the next box or dialog of this process from a second thread, the
// way a person would: finds the dialog by its title, reads its controls'
// texts, types into fields, presses buttons or Esc.
//
// A box that is not answered within the waiting time (a wrong title, a step
// that does not end it) is cancelled, so that no test blocks on a box.
// With TRK_SHOTS set (tools/screenshots.sh) each box first waits for its picture.
#pragma once
#include <windows.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

class BOX_ANSWERER {
public:
    // Pseudo buttons: the Esc key pressed in the focused control, and the
    // close command of the window's system menu.
    static const int ESC = -1;
    static const int CLOSE = -2;

    // One step: optionally set the text of a control or the selection of a
    // list box, then press a button (its id, ESC or CLOSE): a WM_COMMAND with
    // the id and the notification code, sent and handled before the next step.
    struct STEP {
        STEP(int press_) : press(press_) {}
        STEP(int press_, int set_id_, std::string set_text_)
            : press(press_), set_id(set_id_), set_text(std::move(set_text_))
        {
        }
        int press;
        int set_id = 0;            // 0: set no text
        std::string set_text;      // CP1250
        int code = BN_CLICKED;     // the notification code of the press
        int select_id = 0;         // a list box whose selection is set first
        int select = -1;
    };
    // A press with another notification code (a list box's double click).
    static STEP notification(int id, int code)
    {
        STEP s(id);
        s.code = code;
        return s;
    }
    // Selects a line of a list box, then presses the button.
    static STEP select_and_press(int list_id, int index, int press)
    {
        STEP s(press);
        s.select_id = list_id;
        s.select = index;
        return s;
    }

    // Waits (up to 20 s) for a visible dialog titled title ("": any dialog of
    // the process) and presses button.
    BOX_ANSWERER(const char *title, int button);
    BOX_ANSWERER(const char *title, std::vector<STEP> steps);
    ~BOX_ANSWERER();   // joins the thread
    BOX_ANSWERER(const BOX_ANSWERER &) = delete;
    BOX_ANSWERER &operator=(const BOX_ANSWERER &) = delete;

    bool found() const { return found_; }
    // The system box's message text (control 0xFFFF) as first seen (CP1250).
    std::string text() const { return control_text(0xFFFF); }
    // The text of a control before the given step (0: as first seen; a step
    // past the last: after the last step, when the box was still open); ""
    // when there was no such control. A list box gives its lines, each
    // followed by "|", and "#" with the selected index.
    std::string control_text(int id, size_t step = 0) const;
    // Whether the control existed before the step.
    bool has_control(int id, size_t step = 0) const;
    HWND owner() const { return owner_; }
    HWND box() const { return box_; }
    RECT rect() const { return rect_; }   // the box's window rectangle as first seen
    // Whether the given window was enabled while the box was up.
    void watch_window(HWND window) { watched_ = window; }
    bool watched_was_enabled() const { return watched_enabled_; }

private:
    void run(std::string title, std::vector<STEP> steps);
    void snapshot();

    std::thread thread_;
    std::atomic<bool> found_{false};
    std::vector<std::map<int, std::string>> texts_;
    HWND owner_ = nullptr;
    HWND box_ = nullptr;
    RECT rect_{0, 0, 0, 0};
    std::atomic<HWND> watched_{nullptr};
    bool watched_enabled_ = true;
};
