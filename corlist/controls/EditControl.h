// A skinned edit field: it shows its text (eight stars for a password), and while the user
// edits it a platform "EDIT" window lies over it, with a context menu of the usual editing
// commands; the text comes back when the window loses the focus.
#pragma once

#include "corlist/controls/Control.h"

#include "ce/user.h"

namespace corlist {

class EditElement;

// Commands of the edit field's context menu.
namespace EditCommand {
constexpr UINT kUndo = 100;
constexpr UINT kCut = 101;
constexpr UINT kCopy = 102;
constexpr UINT kPaste = 103;
constexpr UINT kClear = 104;
constexpr UINT kSelectAll = 105;
} // namespace EditCommand

class EditControl : public Control {
public:
    static constexpr uint32_t kDisabled = 0x1;
    static constexpr int kTextLimit = 94;

    explicit EditControl(UINT label);
    ~EditControl() override;

    void Paint(DrawSurface& surface, const RECT& clip) override;
    int OnStylus(int event, int x, int y) override;
    const char* KindName() const override { return "edit"; }
    std::u16string Text() const override;
    void SetText(const std::u16string& text) override;
    bool IsEnabled() const override { return !(State() & kDisabled); }
    void SetEnabled(bool enabled) { SetFlags(enabled ? kDisabled : 0, enabled ? 0 : kDisabled, true); }
    void SetPassword(bool password) { m_password = password; }

    // Puts the platform edit window over the field and gives it the focus.
    bool BeginEdit();
    // Takes the text back and removes the edit window.
    void EndEdit();
    HWND EditWindow() const { return m_editWindow; }
    // Shows the context menu at a screen point and carries out the chosen command.
    void ShowContextMenu(POINT screen);
    // Whether a context menu command is offered enabled now.
    bool IsCommandEnabled(UINT command) const;
    void RunCommand(UINT command);

private:
    static LRESULT CALLBACK EditProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleEdit(UINT message, WPARAM wParam, LPARAM lParam);
    std::u16string WindowText() const;
    void DropEditWindow();

    std::u16string m_text;
    bool m_password = false;
    HWND m_editWindow = nullptr;
    WNDPROC m_editProcedure = nullptr;
};

} // namespace corlist
