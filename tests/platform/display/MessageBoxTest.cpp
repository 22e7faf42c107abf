// MessageBoxW on an emulated thread, answered by the console, the keys and the stylus,
// with its owner disabled while it runs.
#include "DisplayTestSupport.h"
#include "platform/user/UserTestSupport.h"
#include "user/HardwareKeys.h"
#include "user/MessageBoxes.h"
#include "user/StylusInput.h"

#include <atomic>

using displaytest::DisplayTest;
using platform::MessageBoxes;

namespace {

class MessageBox : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        RegisterBrushClass(u"Owner", RGB(200, 200, 200));
    }
    // Shows a box owned by a window of a new thread; the result lands in m_result.
    void Show(UINT type, const char16_t* text = u"Delete the contact?") {
        m_thread = usertest::StartWorker([this, type, text] {
            m_owner = Make(u"Owner", WS_POPUP | WS_VISIBLE, RECT{0, 0, 240, 320});
            m_result = MessageBoxW(m_owner, text, u"Contacts", type);
            m_ownerEnabledAfter = IsWindowEnabled(m_owner) != FALSE;
            m_ownerActiveAfter = GetForegroundWindow() == m_owner;
            return DWORD(0);
        });
        ASSERT_TRUE(usertest::WaitFor([] { return MessageBoxes::List().size() == 1; }));
        ASSERT_TRUE(platform::WaitHub::Instance().WaitIdle(std::chrono::milliseconds(2000)));
    }
    int Finish() {
        EXPECT_TRUE(usertest::JoinThread(m_thread));
        EXPECT_TRUE(MessageBoxes::List().empty());
        return m_result;
    }

    std::shared_ptr<platform::ThreadObject> m_thread;
    std::atomic<HWND> m_owner{nullptr};
    std::atomic<int> m_result{-1};
    std::atomic<bool> m_ownerEnabledAfter{false};
    std::atomic<bool> m_ownerActiveAfter{false};
};

TEST_F(MessageBox, TheConsoleAnswersTheFrontBoxWhileItsOwnerIsDisabled) {
    Show(MB_YESNO | MB_ICONQUESTION);
    auto boxes = MessageBoxes::List();
    EXPECT_EQ(boxes[0].title, u"Contacts");
    EXPECT_EQ(boxes[0].text, u"Delete the contact?");
    EXPECT_FALSE(IsWindowEnabled(m_owner));
    EXPECT_EQ(GetForegroundWindow(), boxes[0].hwnd);
    std::string error;
    EXPECT_FALSE(MessageBoxes::Answer(IDOK, error));
    EXPECT_EQ(error, "the message box has no ok button");
    ASSERT_TRUE(MessageBoxes::Answer(IDNO, error)) << error;
    EXPECT_EQ(Finish(), IDNO);
    EXPECT_TRUE(m_ownerEnabledAfter);
    EXPECT_TRUE(m_ownerActiveAfter);
    EXPECT_FALSE(MessageBoxes::Answer(IDOK, error));
    EXPECT_EQ(error, "no message box is open");
}

TEST_F(MessageBox, KeysPressTheDefaultTheSoftKeyAndCancel) {
    struct Case {
        UINT type;
        std::vector<BYTE> keys;
        int expected;
    } cases[] = {
        {MB_OKCANCEL, {VK_RETURN}, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, {VK_RETURN}, IDCANCEL},
        {MB_YESNOCANCEL, {VK_RIGHT, VK_RETURN}, IDNO},
        {MB_YESNOCANCEL, {VK_ESCAPE}, IDCANCEL},
        {MB_YESNO, {VK_ESCAPE}, IDNO},
        {MB_OK | MB_ICONEXCLAMATION, {VK_TSOFT2}, IDOK},
        {MB_YESNO | MB_ICONHAND, {VK_TSOFT1}, IDYES},
    };
    for (const Case& c : cases) {
        Show(c.type);
        for (BYTE key : c.keys) {
            platform::HardwareKeys::Key(key, false);
            platform::HardwareKeys::Key(key, true);
        }
        EXPECT_EQ(Finish(), c.expected) << int(&c - cases);
    }
}

TEST_F(MessageBox, AStylusTapOnAButtonAnswersAndTheBoxIsPainted) {
    Show(MB_OKCANCEL | MB_ICONASTERISK, u"The card is full.");
    HWND box = MessageBoxes::List()[0].hwnd;
    RECT rect;
    ASSERT_TRUE(GetWindowRect(box, &rect));
    // The title bar is painted in the caption colour; the buttons sit in the bottom row.
    EXPECT_EQ(ScreenPixel(rect.left + 2, rect.top + 2), On565(GetSysColor(COLOR_ACTIVECAPTION)));
    int width = rect.right - rect.left;
    // Two buttons centred: the right one is Cancel.
    POINT cancel{rect.left + width / 2 + 40, rect.bottom - 15};
    platform::StylusInput::Deliver(platform::StylusAction::Press, cancel);
    platform::StylusInput::Deliver(platform::StylusAction::Release, cancel);
    EXPECT_EQ(Finish(), IDCANCEL);
    EXPECT_TRUE(m_ownerEnabledAfter);
}

TEST_F(MessageBox, RefusesTypesWithoutButtonsAndStaleOwners) {
    EXPECT_EQ(MessageBoxW(nullptr, u"x", u"y", 7), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(MessageBoxW(reinterpret_cast<HWND>(0x50000), u"x", u"y", MB_OK), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(MessageBox, AQuitRequestClosesTheBoxAndReachesTheCallersLoop) {
    std::atomic<bool> sawQuit{false};
    std::atomic<DWORD> threadId{0};
    auto thread = usertest::StartWorker([&] {
        threadId = GetCurrentThreadId();
        int result = MessageBoxW(nullptr, u"Busy", u"Sync", MB_OKCANCEL);
        MSG msg;
        sawQuit = result == IDCANCEL && GetMessageW(&msg, nullptr, 0, 0) == FALSE && msg.wParam == 3;
        return DWORD(0);
    });
    ASSERT_TRUE(usertest::WaitFor([] { return MessageBoxes::List().size() == 1; }));
    PostThreadMessageW(threadId, WM_QUIT, 3, 0);
    ASSERT_TRUE(usertest::JoinThread(thread));
    EXPECT_TRUE(sawQuit);
}

} // namespace
