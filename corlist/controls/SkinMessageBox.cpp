#include "corlist/controls/SkinMessageBox.h"

#include "common/Language.h"
#include "corlist/controls/Button.h"
#include "corlist/controls/LibraryText.h"
#include "corlist/controls/PopupDialog.h"
#include "corlist/skin/SkinKinds.h"

#include "ce/kernel.h"
#include "ce/user.h"

#include <algorithm>
#include <cstdarg>
#include <vector>

namespace corlist {

// The skin's message box has Yes, No and Cancel; boxes that ask for OK get an "OK" button
// too (number IDOK), which skins may give.
const ControlTableRow kMessageBoxRows[] = {
    {SkinKind::kButton, "OK", IDOK, IDOK},
    {SkinKind::kButton, "Yes", IDYES, IDYES},
    {SkinKind::kButton, "No", IDNO, IDNO},
    {SkinKind::kButton, "Cancel", IDCANCEL, IDCANCEL},
    {SkinKind::kText, "Title", kMessageBoxTitle, 0},
    {SkinKind::kText, "Text", kMessageBoxText, 0},
    {SkinKind::kImgCtrl, "Icon", kMessageBoxIcon, 0},
    {},
};

namespace {

std::vector<UINT> ButtonsOf(UINT type) {
    switch (type & 0xF) {
    case MB_OK:
        return {IDOK};
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    default:
        return {IDCANCEL};
    }
}

constexpr size_t kMaxText = 4096;

// The text cut at kMaxText characters.
std::u16string FormatText(const WCHAR* format, va_list args) {
    WCHAR text[kMaxText + 1] = {};
    _vsnwprintf(text, kMaxText + 1, format, args);
    return text;
}

} // namespace

int ShowMessageBox(Skin& skin, ControlOwner& owner, UINT titleNumber, const std::u16string& text, UINT type) {
    PopupDialog dialog;
    if (!dialog.Build(skin, owner, "MessageBox", kMessageBoxRows))
        return 0;
    std::vector<UINT> buttons = ButtonsOf(type);
    // A button whose string the language lacks is labelled with its own name.
    static constexpr struct {
        UINT number;
        const char16_t* name;
    } kNames[] = {{IDOK, u"OK"}, {IDYES, u"Yes"}, {IDNO, u"No"}, {IDCANCEL, u"Cancel"}};
    for (const auto& name : kNames)
        if (Control* button = dialog.FindById(name.number)) {
            bool shown = std::find(buttons.begin(), buttons.end(), name.number) != buttons.end();
            button->SetFlags(shown ? 0 : ControlState::kVisible, shown ? ControlState::kVisible : 0, false);
            if (button->Text().empty())
                button->SetText(name.name);
        }
    if (Control* title = dialog.FindById(kMessageBoxTitle))
        title->SetText(LoadLabel(titleNumber));
    if (Control* body = dialog.FindById(kMessageBoxText))
        body->SetText(text);
    return dialog.RunModal(&owner, kMessageBoxRows, 0);
}

int ShowMessageBoxFormat(Skin& skin, ControlOwner& owner, UINT titleNumber, UINT type, UINT textNumber, ...) {
    std::u16string format = LibraryText(textNumber).substr(0, kMaxText);
    va_list args;
    va_start(args, textNumber);
    std::u16string text = FormatText(format.c_str(), args);
    va_end(args);
    return ShowMessageBox(skin, owner, titleNumber, text, type);
}

int ShowMessageBoxFormat(Skin& skin, ControlOwner& owner, UINT titleNumber, UINT type, const WCHAR* format, ...) {
    va_list args;
    va_start(args, format);
    std::u16string text = FormatText(format ? format : u"", args);
    va_end(args);
    return ShowMessageBox(skin, owner, titleNumber, text, type);
}

} // namespace corlist
