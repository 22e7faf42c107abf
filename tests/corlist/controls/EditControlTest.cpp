// Skinned edit fields: the platform edit window that lies over the field while it is edited,
// the text coming back, password display, and the context menu's enabling rules and commands.
#include "ControlScreen.h"

#include "corlist/controls/EditControl.h"

#include "ce/clipboard.h"
#include "ce/kernel.h"
#include "ce/user.h"

#include <cstring>

using namespace corlist;

namespace {

constexpr UINT kName = 21;
constexpr UINT kSecret = 22;

const char* kSkin =
    "<skin><control name='Main'><fill color='#E0E0E0'/>"
    "<edit name='Name' rect='10,10,100,24' bkgnd='#FFFFFF' border='#404040' size='10' color='#000000'/>"
    "<edit name='Secret' rect='10,44,100,24' bkgnd='#FFFFFF' border='#404040' size='10' color='#000000'/>"
    "</control></skin>";

const ControlTableRow kRows[] = {{SkinKind::kEdit, "Name", kName}, {SkinKind::kEdit, "Secret", kSecret}, {}};

class EditControlTest : public controltest::ControlScreen {
protected:
    void SetUp() override {
        ControlScreen::SetUp();
        Build(kSkin, {}, "Main", kRows);
        Find<EditControl>(kSecret).SetPassword(true);
    }
    static void PutOnClipboard(const char16_t* text) {
        size_t bytes = (std::char_traits<char16_t>::length(text) + 1) * sizeof(char16_t);
        HLOCAL block = LocalAlloc(LMEM_FIXED, bytes);
        std::memcpy(block, text, bytes);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        SetClipboardData(CF_UNICODETEXT, block);
        CloseClipboard();
    }
};

TEST_F(EditControlTest, ATapPutsAnEditWindowOverTheFieldAndTheTextComesBack) {
    auto& name = Find<EditControl>(kName);
    name.SetText(u"John");
    Tap(20, 20);
    HWND window = name.EditWindow();
    ASSERT_NE(window, nullptr);
    RECT rect{};
    GetWindowRect(window, &rect);
    int border = GetSystemMetrics(SM_CXBORDER);
    EXPECT_EQ(rect.left, 10 + 2 * border + 1);
    EXPECT_EQ(rect.right - rect.left, 100 - (4 * border + 2));
    EXPECT_EQ(GetFocus(), window);
    EXPECT_EQ(SendMessageW(window, EM_GETLIMITTEXT, 0, 0), EditControl::kTextLimit);
    SetWindowTextW(window, u"John Smith");
    EXPECT_EQ(name.Text(), u"John Smith");
    name.EndEdit();
    EXPECT_EQ(name.EditWindow(), nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(name.Text(), u"John Smith");
}

TEST_F(EditControlTest, APasswordShowsEightStarsWhateverItsLength) {
    auto& secret = Find<EditControl>(kSecret);
    EXPECT_EQ(secret.Text(), u"");
    secret.SetText(u"12");
    EXPECT_EQ(secret.Text(), u"********");
    secret.SetText(u"a much longer secret");
    EXPECT_EQ(secret.Text(), u"********");
    ExpectScreenMatches("control-edit.png", 24, 40);
}

TEST_F(EditControlTest, ADisabledFieldIsNotEdited) {
    auto& name = Find<EditControl>(kName);
    name.SetEnabled(false);
    Tap(20, 20);
    EXPECT_EQ(name.EditWindow(), nullptr);
    EXPECT_FALSE(name.IsCommandEnabled(EditCommand::kCut));
    EXPECT_FALSE(name.IsCommandEnabled(EditCommand::kPaste));
}

TEST_F(EditControlTest, ContextMenuCommandsFollowTheFieldAndTheClipboard) {
    auto& name = Find<EditControl>(kName);
    ASSERT_TRUE(name.BeginEdit());
    // Empty field, nothing on the clipboard.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    for (UINT command : {EditCommand::kUndo, EditCommand::kCut, EditCommand::kCopy, EditCommand::kPaste,
                         EditCommand::kClear, EditCommand::kSelectAll})
        EXPECT_FALSE(name.IsCommandEnabled(command)) << command;
    PutOnClipboard(u"Mary");
    EXPECT_TRUE(name.IsCommandEnabled(EditCommand::kPaste));
    name.RunCommand(EditCommand::kPaste);
    EXPECT_EQ(name.Text(), u"Mary");
    DWORD start = 0, end = 0;
    SendMessageW(name.EditWindow(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u); // a paste selects the whole text
    EXPECT_EQ(end, 4u);
    EXPECT_TRUE(name.IsCommandEnabled(EditCommand::kUndo));
    name.RunCommand(EditCommand::kUndo);
    EXPECT_EQ(name.Text(), u"");
    EXPECT_FALSE(name.IsCommandEnabled(EditCommand::kUndo)); // undo empties the undo buffer
    SetWindowTextW(name.EditWindow(), u"Ann");
    name.RunCommand(EditCommand::kSelectAll);
    name.RunCommand(EditCommand::kCut);
    EXPECT_EQ(name.Text(), u"");
    ASSERT_TRUE(OpenClipboard(nullptr));
    auto* text = static_cast<const char16_t*>(GetClipboardData(CF_UNICODETEXT));
    EXPECT_EQ(std::u16string(text ? text : u""), u"Ann");
    CloseClipboard();
}

TEST_F(EditControlTest, EnterEndsTheEdit) {
    auto& name = Find<EditControl>(kName);
    ASSERT_TRUE(name.BeginEdit());
    SendMessageW(name.EditWindow(), WM_CHAR, u'A', 0);
    SendMessageW(name.EditWindow(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(name.EditWindow(), nullptr);
    EXPECT_EQ(name.Text(), u"A");
}

} // namespace
