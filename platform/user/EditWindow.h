// A window of the standard "EDIT" class: an EditBuffer shown with the system font, a caret
// that blinks on a timer of the device clock while the window has the focus, selection by
// stylus and shift-keys, the clipboard and the notifications to the parent. The object is
// made at WM_NCCREATE and deleted at WM_NCDESTROY (GWLP_USERDATA holds it).
#pragma once

#include "ce/user.h"
#include "ce/wingdi.h"
#include "user/EditBuffer.h"

#include <string>

namespace platform {

class EditWindow {
public:
    static constexpr const char16_t* kClassName = u"EDIT";
    static constexpr UINT_PTR kCaretTimer = 0xCA7;
    static constexpr UINT kBlinkMs = 500;

    // Registers the class for every process (at each boot).
    static bool Register();
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Frees the state of every edit window still open (device shutdown).
    static void ForgetAll();

    // What the window shows: the text, or one password character per character.
    std::u16string Shown() const;

private:
    explicit EditWindow(HWND hwnd, DWORD style);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void OnChar(char16_t ch);
    void OnKey(UINT key);
    void OnStylus(UINT message, LPARAM lParam);
    void Copy() const;
    void Paste();
    void Apply(EditBuffer::Refusal refusal, bool changed);
    void Notify(WORD code) const;
    size_t PositionAt(POINT point) const;
    POINT PointOf(size_t position) const;
    int TextWidth(const std::u16string& text) const;
    void ScrollToCaret();
    void Paint(HDC dc);
    void PaintLine(HDC dc, size_t start, size_t end, int y);

    HWND m_hwnd;
    EditBuffer m_buffer;
    char16_t m_passwordChar = 0;
    HFONT m_font = nullptr;
    int m_lineHeight = 16;
    int m_margin = 2;
    int m_scrollX = 0;
    bool m_caretOn = false;
    bool m_focused = false;
    bool m_dragging = false;
};

} // namespace platform
