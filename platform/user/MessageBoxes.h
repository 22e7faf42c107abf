// The platform's standard message boxes: the layout and painting of one box
// (MessageBoxWindow) and the list of boxes open now, which the console reads (`dialogs`)
// and answers (`answer`). MessageBoxW itself is in MessageBox.cpp.
#pragma once

#include "ce/user.h"

#include <string>
#include <vector>

namespace platform {

struct OpenMessageBox {
    HWND hwnd = nullptr;
    std::u16string title;
    std::u16string text;
    UINT type = 0;
};

class MessageBoxes {
public:
    // The button identifiers of a box type (MB_OK, MB_YESNO, ...), left to right; empty
    // for an unknown type.
    static std::vector<int> Buttons(UINT type);
    // "ok", "cancel", "yes", "no", "abort", "retry", "ignore".
    static const char* ButtonName(int id);
    // The identifier of a button name, or 0.
    static int ButtonFromName(const std::string& name);
    // What a box answers when closed without a button (Esc, WM_CLOSE, WM_QUIT): Cancel
    // when it has one, else its only or last button.
    static int CancelResult(UINT type);

    // Open boxes, frontmost first. Takes the lock.
    static std::vector<OpenMessageBox> List();
    // Presses `button` of the frontmost box; false with a reason when no box is open or
    // it has no such button.
    static bool Answer(int button, std::string& error);

    // Bookkeeping of MessageBoxW (each takes the lock).
    static void Add(const OpenMessageBox& box);
    static void Remove(HWND hwnd);
};

} // namespace platform
