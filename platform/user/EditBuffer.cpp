#include "user/EditBuffer.h"

#include <algorithm>

namespace platform {

namespace {

bool IsLineBreak(char16_t ch) { return ch == u'\r' || ch == u'\n'; }

char16_t ToCase(char16_t ch, DWORD style) {
    if ((style & ES_UPPERCASE) && ch >= u'a' && ch <= u'z')
        return char16_t(ch - u'a' + u'A');
    if ((style & ES_LOWERCASE) && ch >= u'A' && ch <= u'Z')
        return char16_t(ch - u'A' + u'a');
    return ch;
}

} // namespace

void EditBuffer::SetText(std::u16string text) {
    m_text = std::move(text);
    m_anchor = m_caret = 0;
    m_canUndo = false;
    m_typingEnd = std::u16string::npos;
}

std::u16string EditBuffer::SelectedText() const {
    return m_text.substr(SelectionStart(), SelectionEnd() - SelectionStart());
}

void EditBuffer::SetSelection(long start, long end) {
    if (start < 0) {
        m_anchor = m_caret;
        return;
    }
    size_t size = m_text.size();
    m_anchor = std::min(size_t(start), size);
    m_caret = end < 0 ? size : std::min(size_t(end), size);
}

void EditBuffer::MoveCaret(size_t position, bool extend) {
    m_caret = std::min(position, m_text.size());
    if (!extend)
        m_anchor = m_caret;
}

void EditBuffer::Remember() {
    m_undoText = m_text;
    m_undoAnchor = m_anchor;
    m_undoCaret = m_caret;
    m_canUndo = true;
}

EditBuffer::Refusal EditBuffer::Replace(std::u16string text, bool canUndo, bool typed) {
    if (m_style & ES_READONLY)
        return Refusal::ReadOnly;
    Refusal refusal = Refusal::None;
    // A single line keeps only what comes before the first line break.
    if (!(m_style & ES_MULTILINE))
        text.erase(std::find_if(text.begin(), text.end(), IsLineBreak), text.end());
    if ((m_style & ES_NUMBER) && std::any_of(text.begin(), text.end(), [](char16_t ch) { return ch < u'0' || ch > u'9'; }))
        return Refusal::NotADigit;
    for (char16_t& ch : text)
        ch = ToCase(ch, m_style);
    size_t kept = m_text.size() - (SelectionEnd() - SelectionStart());
    size_t room = m_limit > kept ? m_limit - kept : 0;
    if (text.size() > room) {
        text.resize(room);
        refusal = Refusal::Full;
    }
    if (text.empty() && !HasSelection())
        return refusal;
    bool continues = typed && !HasSelection() && m_caret == m_typingEnd && m_canUndo;
    if (canUndo && !continues)
        Remember();
    size_t start = SelectionStart();
    m_text.replace(start, SelectionEnd() - start, text);
    m_anchor = m_caret = start + text.size();
    m_typingEnd = typed ? m_caret : std::u16string::npos;
    m_modified = true;
    return refusal;
}

bool EditBuffer::DeleteBackward() {
    if (m_style & ES_READONLY)
        return false;
    if (!HasSelection()) {
        if (m_caret == 0)
            return false;
        // A "\r\n" line break goes as one.
        size_t width = m_caret >= 2 && m_text.compare(m_caret - 2, 2, u"\r\n") == 0 ? 2 : 1;
        m_anchor = m_caret - width;
    }
    return Replace(u"") == Refusal::None;
}

bool EditBuffer::DeleteForward() {
    if (m_style & ES_READONLY)
        return false;
    if (!HasSelection()) {
        if (m_caret >= m_text.size())
            return false;
        size_t width = m_text.compare(m_caret, 2, u"\r\n") == 0 ? 2 : 1;
        m_anchor = m_caret + width;
    }
    return Replace(u"") == Refusal::None;
}

bool EditBuffer::Undo() {
    if (!m_canUndo)
        return false;
    std::swap(m_text, m_undoText);
    std::swap(m_anchor, m_undoAnchor);
    std::swap(m_caret, m_undoCaret);
    m_typingEnd = std::u16string::npos;
    m_modified = true;
    return true;
}

size_t EditBuffer::LineCount() const { return LineOf(m_text.size()) + 1; }

size_t EditBuffer::LineOf(size_t position) const {
    size_t line = 0;
    for (size_t i = 0; i < position && i < m_text.size(); ++i)
        if (m_text[i] == u'\n')
            ++line;
    return line;
}

size_t EditBuffer::LineStart(size_t line) const {
    size_t position = 0;
    for (size_t found = 0; found < line; ++found) {
        size_t next = m_text.find(u'\n', position);
        if (next == std::u16string::npos)
            return m_text.size();
        position = next + 1;
    }
    return position;
}

size_t EditBuffer::LineEnd(size_t line) const {
    size_t start = LineStart(line);
    size_t end = m_text.find(u'\n', start);
    if (end == std::u16string::npos)
        return m_text.size();
    return end > start && m_text[end - 1] == u'\r' ? end - 1 : end;
}

} // namespace platform
