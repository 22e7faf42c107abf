#include "user/MessageBoxes.h"

#include "user/UserPrivate.h"

#include <algorithm>

namespace platform {

namespace {

// Guarded by the WaitHub lock.
std::vector<OpenMessageBox>& OpenBoxes() {
    static std::vector<OpenMessageBox> boxes;
    return boxes;
}

} // namespace

std::vector<int> MessageBoxes::Buttons(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return {IDOK};
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
        return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_RETRYCANCEL:
        return {IDRETRY, IDCANCEL};
    default:
        return {};
    }
}

const char* MessageBoxes::ButtonName(int id) {
    switch (id) {
    case IDOK:
        return "ok";
    case IDCANCEL:
        return "cancel";
    case IDABORT:
        return "abort";
    case IDRETRY:
        return "retry";
    case IDIGNORE:
        return "ignore";
    case IDYES:
        return "yes";
    case IDNO:
        return "no";
    default:
        return "";
    }
}

int MessageBoxes::ButtonFromName(const std::string& name) {
    for (int id = IDOK; id <= IDNO; ++id)
        if (name == ButtonName(id))
            return id;
    return 0;
}

int MessageBoxes::CancelResult(UINT type) {
    std::vector<int> buttons = Buttons(type);
    if (buttons.empty())
        return IDCANCEL;
    if (std::find(buttons.begin(), buttons.end(), IDCANCEL) != buttons.end())
        return IDCANCEL;
    return buttons.back();
}

std::vector<OpenMessageBox> MessageBoxes::List() {
    auto lock = LockUser();
    std::vector<OpenMessageBox> result;
    for (HWND hwnd : Wm().m_windows.TopLevel())
        for (const OpenMessageBox& box : OpenBoxes())
            if (box.hwnd == hwnd)
                result.push_back(box);
    return result;
}

bool MessageBoxes::Answer(int button, std::string& error) {
    std::vector<OpenMessageBox> boxes = List();
    if (boxes.empty()) {
        error = "no message box is open";
        return false;
    }
    const OpenMessageBox& front = boxes.front();
    std::vector<int> buttons = Buttons(front.type);
    if (std::find(buttons.begin(), buttons.end(), button) == buttons.end()) {
        error = std::string("the message box has no ") + ButtonName(button) + " button";
        return false;
    }
    if (!PostMessageW(front.hwnd, WM_COMMAND, WPARAM(button), 0)) {
        error = "the message box is gone";
        return false;
    }
    return true;
}

void MessageBoxes::Add(const OpenMessageBox& box) {
    auto lock = LockUser();
    OpenBoxes().push_back(box);
}

void MessageBoxes::Remove(HWND hwnd) {
    auto lock = LockUser();
    std::erase_if(OpenBoxes(), [hwnd](const OpenMessageBox& box) { return box.hwnd == hwnd; });
}

} // namespace platform
