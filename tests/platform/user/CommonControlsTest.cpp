#include "UserTestSupport.h"
#include "ce/commctrl.h"

#include <atomic>
#include <cstddef>

using namespace usertest;

namespace {

TEST(CommonControls, CodesAndRecordsHaveTheDeviceValues) {
    EXPECT_EQ(UINT(LVN_GETDISPINFOW), 0xFFFFFF4Fu); // -177
    EXPECT_EQ(UINT(LVN_ITEMCHANGED), 0xFFFFFF9Bu);  // -101
    EXPECT_EQ(UINT(LVN_ODCACHEHINT), 0xFFFFFF8Fu);  // -113
    EXPECT_EQ(UINT(LVN_ITEMACTIVATE), 0xFFFFFF8Eu); // -114
    EXPECT_EQ(UINT(LVN_KEYDOWN), 0xFFFFFF65u);      // -155
    EXPECT_EQ(UINT(NM_CLICK), 0xFFFFFFFEu);
    EXPECT_EQ(UINT(NM_RECOGNIZEGESTURE), 0xFFFFFFF0u);
    EXPECT_EQ(WM_NOTIFY, 0x004E);
    EXPECT_EQ(WM_DRAWITEM, 0x002B);
    EXPECT_EQ(WM_MEASUREITEM, 0x002C);
    EXPECT_EQ(offsetof(NMLVDISPINFOW, item), sizeof(NMHDR));
    EXPECT_EQ(offsetof(DRAWITEMSTRUCT, rcItem) % alignof(LONG), 0u);
}

// A list view on one thread asks its parent on another for an item's text: the record
// lives on the sender's stack and the answer is written into the sender's buffer.
TEST_F(UserTest, NotifyIsSentAcrossThreadsAndAnsweredInPlace) {
    std::atomic<HWND> parent{nullptr};
    std::atomic<bool> stop{false};
    Recorder::Instance().m_hook = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (hwnd != parent.load() || message != WM_NOTIFY)
            return false;
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
        if (info->hdr.code != LVN_GETDISPINFOW || wParam != info->hdr.idFrom)
            return false;
        const char16_t text[] = u"Row 7";
        for (int i = 0; i < info->item.cchTextMax && i < 6; ++i)
            info->item.pszText[i] = text[i];
        info->item.iImage = 3;
        result = 1;
        return true;
    };
    auto worker = StartWorker([&]() -> DWORD {
        parent = Create();
        MSG msg;
        while (!stop && GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        return 0;
    });
    ASSERT_TRUE(WaitFor([&] { return parent.load() != nullptr; }));
    HWND list = Create();
    WCHAR buffer[32] = {};
    NMLVDISPINFOW info{};
    info.hdr = NMHDR{list, 12, LVN_GETDISPINFOW};
    info.item.mask = LVIF_TEXT | LVIF_IMAGE;
    info.item.iItem = 7;
    info.item.pszText = buffer;
    info.item.cchTextMax = 32;
    EXPECT_EQ(SendMessageW(parent, WM_NOTIFY, 12, reinterpret_cast<LPARAM>(&info)), 1);
    EXPECT_EQ(std::u16string(buffer), u"Row 7");
    EXPECT_EQ(info.item.iImage, 3);
    // Posting it would hand the receiver a pointer into a stack that is gone by then.
    EXPECT_FALSE(PostMessageW(parent, WM_NOTIFY, 12, reinterpret_cast<LPARAM>(&info)));
    EXPECT_FALSE(PostMessageW(parent, WM_DRAWITEM, 12, reinterpret_cast<LPARAM>(&info)));
    stop = true;
    PostMessageW(parent, WM_NULL, 0, 0);
    ASSERT_TRUE(JoinThread(worker));
}

} // namespace
