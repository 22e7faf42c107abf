// The text of an edit window and what editing does to it, without a window: the caret and
// the selection (an anchor and the caret), typing and deleting with the style's rules
// (digits only, one line, upper or lower case, the length limit), and one level of undo
// that an undo itself can take back.
#pragma once

#include "ce/user.h"

#include <string>

namespace platform {

class EditBuffer {
public:
    static constexpr size_t kDefaultLimit = 30000;
    static constexpr size_t kMaxLimit = 0x7FFFFFFE;

    explicit EditBuffer(DWORD style = 0) : m_style(style) {}

    const std::u16string& Text() const { return m_text; }
    // Replaces everything (no undo); the caret goes to the start.
    void SetText(std::u16string text);
    size_t SelectionStart() const { return std::min(m_anchor, m_caret); }
    size_t SelectionEnd() const { return std::max(m_anchor, m_caret); }
    size_t Caret() const { return m_caret; }
    bool HasSelection() const { return m_anchor != m_caret; }
    std::u16string SelectedText() const;
    // -1 (or anything past the end) as the end selects up to the end; a negative start
    // removes the selection.
    void SetSelection(long start, long end);
    // Moves the caret; `extend` keeps the anchor (shift held).
    void MoveCaret(size_t position, bool extend);

    enum class Refusal { None, NotADigit, Full, ReadOnly };
    // Replaces the selection by `text` after the style's rules; the result says why
    // nothing or less was inserted. `canUndo` records the change for undo; characters
    // typed one after another (`typed`) are undone together.
    Refusal Replace(std::u16string text, bool canUndo = true, bool typed = false);
    // Backspace and Delete: the selection, else the character before or after the caret.
    bool DeleteBackward();
    bool DeleteForward();

    bool CanUndo() const { return m_canUndo; }
    bool Undo();
    void ForgetUndo() { m_canUndo = false; }

    size_t Limit() const { return m_limit; }
    // 0 means as much as the window manager allows.
    void SetLimit(size_t limit) { m_limit = limit == 0 || limit > kMaxLimit ? kMaxLimit : limit; }
    DWORD Style() const { return m_style; }
    void SetStyle(DWORD style) { m_style = style; }
    bool Modified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

    // Line starts for a multi-line buffer; lines end at "\r\n" or "\n".
    size_t LineCount() const;
    size_t LineOf(size_t position) const;
    size_t LineStart(size_t line) const;
    size_t LineEnd(size_t line) const;

private:
    void Remember();

    DWORD m_style;
    std::u16string m_text;
    size_t m_anchor = 0;
    size_t m_caret = 0;
    size_t m_limit = kDefaultLimit;
    bool m_modified = false;
    bool m_canUndo = false;
    // Where the last typed character ended, while typing goes on there.
    size_t m_typingEnd = std::u16string::npos;
    std::u16string m_undoText;
    size_t m_undoAnchor = 0;
    size_t m_undoCaret = 0;
};

} // namespace platform
