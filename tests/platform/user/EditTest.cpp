#include "UserTestSupport.h"
#include "user/EditBuffer.h"

#include <cstring>

using namespace usertest;
using platform::EditBuffer;

namespace {

TEST(EditBuffer, StyleRulesForTyping) {
    const struct {
        const char* name;
        DWORD style;
        size_t limit;
        std::u16string typed;
        std::u16string result;
        EditBuffer::Refusal refusal;
    } cases[] = {
        {"plain", 0, 0, u"Hello", u"Hello", EditBuffer::Refusal::None},
        {"digits only refuses letters", ES_NUMBER, 0, u"12a", u"", EditBuffer::Refusal::NotADigit},
        {"digits only takes digits", ES_NUMBER, 0, u"0123", u"0123", EditBuffer::Refusal::None},
        {"one line stops at a break", 0, 0, u"first\r\nsecond", u"first", EditBuffer::Refusal::None},
        {"multi line keeps breaks", ES_MULTILINE, 0, u"a\r\nb", u"a\r\nb", EditBuffer::Refusal::None},
        {"limit cuts", 0, 3, u"abcdef", u"abc", EditBuffer::Refusal::Full},
        {"upper case", ES_UPPERCASE, 0, u"MiXed", u"MIXED", EditBuffer::Refusal::None},
        {"read only", ES_READONLY, 0, u"x", u"", EditBuffer::Refusal::ReadOnly},
    };
    for (const auto& c : cases) {
        EditBuffer buffer(c.style);
        if (c.limit)
            buffer.SetLimit(c.limit);
        EXPECT_EQ(buffer.Replace(c.typed), c.refusal) << c.name;
        EXPECT_EQ(buffer.Text(), c.result) << c.name;
    }
}

TEST(EditBuffer, SelectionDeletionAndUndo) {
    EditBuffer buffer(ES_MULTILINE);
    buffer.Replace(u"one\r\ntwo");
    buffer.SetSelection(1, 3);
    EXPECT_EQ(buffer.SelectedText(), u"ne");
    buffer.Replace(u"NE");
    EXPECT_EQ(buffer.Text(), u"oNE\r\ntwo");
    EXPECT_TRUE(buffer.Undo());
    EXPECT_EQ(buffer.Text(), u"one\r\ntwo");
    EXPECT_EQ(buffer.SelectedText(), u"ne"); // the selection comes back with the text
    EXPECT_TRUE(buffer.Undo());              // and an undo of the undo restores the change
    EXPECT_EQ(buffer.Text(), u"oNE\r\ntwo");
    buffer.MoveCaret(5, false);
    EXPECT_TRUE(buffer.DeleteBackward()); // the line break goes as one
    EXPECT_EQ(buffer.Text(), u"oNEtwo");
    buffer.SetSelection(0, -1);
    EXPECT_EQ(buffer.SelectionEnd(), 6u);
    buffer.SetSelection(4, 99);
    EXPECT_EQ(buffer.SelectionEnd(), 6u);
    buffer.SetSelection(-1, 0);
    EXPECT_FALSE(buffer.HasSelection());
    EditBuffer lines(ES_MULTILINE);
    lines.Replace(u"ab\r\ncde\nf");
    EXPECT_EQ(lines.LineCount(), 3u);
    EXPECT_EQ(lines.LineStart(1), 4u);
    EXPECT_EQ(lines.LineEnd(1), 7u);
    EXPECT_EQ(lines.LineOf(8), 2u);
}

class EditTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        m_parent = Create(WS_POPUP | WS_VISIBLE);
        Recorder::Instance().m_hook = [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT&) {
            if (hwnd == m_parent && message == WM_COMMAND)
                m_notes.push_back(HIWORD(wParam));
            return false;
        };
    }
    HWND MakeEdit(DWORD style, const char16_t* text = u"") {
        HWND edit = CreateWindowExW(0, u"EDIT", text, WS_CHILD | WS_VISIBLE | WS_BORDER | style, 0, 0, 200, 60,
                                    m_parent, reinterpret_cast<HMENU>(42), nullptr, nullptr);
        EXPECT_NE(edit, nullptr);
        return edit;
    }
    static void TypeInto(HWND edit, const std::u16string& text) {
        for (char16_t ch : text)
            SendMessageW(edit, WM_CHAR, ch, 0);
    }
    static std::u16string Text(HWND edit) {
        WCHAR buffer[256] = {};
        GetWindowTextW(edit, buffer, 256);
        return buffer;
    }
    HWND m_parent = nullptr;
    std::vector<WORD> m_notes;
};

TEST_F(EditTest, TypingEditingAndNotifications) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL, u"Hi");
    EXPECT_EQ(Text(edit), u"Hi");
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 2, 2);
    TypeInto(edit, u" there\b\b");
    EXPECT_EQ(Text(edit), u"Hi the");
    EXPECT_EQ(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0), 6);
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_SETSEL, 0, 2);
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 2u);
    TypeInto(edit, u"Yo");
    EXPECT_EQ(Text(edit), u"Yo the");
    SendMessageW(edit, EM_UNDO, 0, 0);
    EXPECT_EQ(Text(edit), u"Hi the");
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"new"));
    EXPECT_EQ(Text(edit), u"new");
    EXPECT_NE(std::count(m_notes.begin(), m_notes.end(), WORD(EN_CHANGE)), 0);
    EXPECT_EQ(m_notes.front(), WORD(EN_SETFOCUS));
    SetFocus(m_parent);
    EXPECT_EQ(m_notes.back(), WORD(EN_KILLFOCUS));
    // Shift and the arrows select; Delete removes the selection.
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, 0);
    keybd_event(VK_SHIFT, 0, 0, 0);
    Drain();
    SendMessageW(edit, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(edit, WM_KEYDOWN, VK_RIGHT, 0);
    keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    Drain();
    SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(Text(edit), u"w");
}

TEST_F(EditTest, NumbersOnlyLimitAndPassword) {
    HWND number = MakeEdit(ES_NUMBER);
    TypeInto(number, u"12x3");
    EXPECT_EQ(Text(number), u"123");
    SendMessageW(number, EM_LIMITTEXT, 4, 0);
    TypeInto(number, u"456");
    EXPECT_EQ(Text(number), u"1234");
    EXPECT_NE(std::count(m_notes.begin(), m_notes.end(), WORD(EN_MAXTEXT)), 0);
    HWND secret = MakeEdit(ES_PASSWORD, u"pin");
    EXPECT_EQ(SendMessageW(secret, EM_GETPASSWORDCHAR, 0, 0), u'*');
    SendMessageW(secret, EM_SETPASSWORDCHAR, u'#', 0);
    EXPECT_EQ(Text(secret), u"pin"); // the program reads the real text
    // The password is never copied to the clipboard.
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    SendMessageW(secret, EM_SETSEL, 0, -1);
    SendMessageW(secret, WM_COPY, 0, 0);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
}

TEST_F(EditTest, ClipboardRoundTrip) {
    HWND from = MakeEdit(0, u"copy me"), to = MakeEdit(0, u"<>");
    SendMessageW(from, EM_SETSEL, 5, 7);
    SendMessageW(from, WM_CUT, 0, 0);
    EXPECT_EQ(Text(from), u"copy ");
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    SendMessageW(to, EM_SETSEL, 1, 1);
    SendMessageW(to, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(to), u"<me>");
    // A program's own block: handed over with LocalAlloc, read back while open.
    HLOCAL block = LocalAlloc(LMEM_FIXED, 3 * sizeof(WCHAR));
    std::memcpy(block, u"ab", 3 * sizeof(WCHAR));
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, block), nullptr); // not open
    ASSERT_TRUE(OpenClipboard(m_parent));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, block), block);
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), block);
    // Another thread cannot open it meanwhile.
    auto worker = StartWorker([]() -> DWORD { return OpenClipboard(nullptr) ? 1 : 0; });
    ASSERT_TRUE(JoinThread(worker));
    EXPECT_EQ(worker->m_exitCode, 0u);
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), nullptr); // closed
    SendMessageW(to, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u""));
    SendMessageW(to, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(to), u"ab");
}

TEST_F(EditTest, StylusSelectsAndTheCaretBlinksOnTheDeviceClock) {
    HWND edit = MakeEdit(0, u"abcdefgh");
    SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 5));
    SendMessageW(edit, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(199, 5));
    SendMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(199, 5));
    DWORD start = 9, end = 9;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 8u);
    EXPECT_EQ(GetFocus(), edit); // a tap gives the focus
    Drain();
    Recorder::Instance().Take();
    platform::DeviceClock::Instance().Advance(2000);
    MSG msg;
    int blinks = 0;
    while (PeekMessageW(&msg, edit, WM_TIMER, WM_TIMER, PM_REMOVE))
        ++blinks, DispatchMessageW(&msg);
    EXPECT_GE(blinks, 1);
}

} // namespace
