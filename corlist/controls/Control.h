// A windowless skinned control: a rectangle of the owner window's surface, painted from its
// skin descriptor, with children, focus, keys and stylus input. A screen is a tree of them
// built from a "control" element of the skin (ScreenBuilder). A parent owns its children.
#pragma once

#include "corlist/controls/ControlTable.h"

#include "ce/types.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace common {
struct XmlNode;
}

class IUiSink;

namespace corlist {

class ControlElement;
class ControlOwner;
class DrawSurface;

namespace ControlState {
constexpr uint32_t kRectExplicit = 0x10000000;
constexpr uint32_t kVisible = 0x4000000;
constexpr uint32_t kFocused = 0x1000000;
constexpr uint32_t kTouchScrolling = 0xC00000;
constexpr uint32_t kCheck = 0x200000;
constexpr uint32_t kFocusable = 0x100000;
constexpr uint32_t kDefaultStyle = 0x80000;
constexpr uint32_t kOwnerDraw = 0x10000;
constexpr uint32_t kCachedSurface = 0x8000;
constexpr uint32_t kPressed = 0x4;
constexpr uint32_t kDerivedMask = 0xFFFFF; // the low 20 bits belong to derived classes
} // namespace ControlState

// Events of Notify.
namespace ControlEvent {
constexpr int kFocusGained = 1;
constexpr int kFocusLost = 2;
constexpr int kShown = 3;
constexpr int kHidden = 4;
} // namespace ControlEvent

// Events of OnStylus: the pen's messages, and the notification requests (WM_COMMAND codes).
namespace StylusEvent {
constexpr int kNotifyPlain = 1;
constexpr int kNotifyWithPoint = 2;
constexpr int kNotifySent = 4;
constexpr int kMove = 0x200;
constexpr int kDown = 0x201;
constexpr int kUp = 0x202;
} // namespace StylusEvent

// How the owner window follows the pen after a stylus down.
namespace Tracking {
constexpr int kNone = 0;      // the control wants no more events
constexpr int kTrack = 1;     // moves and the release go to this control
constexpr int kScroll = 2;    // moves scroll the control (touch scrolling)
} // namespace Tracking

// Whether a skin node is a control element with its descriptor (and so becomes a control).
bool IsControlElement(const common::XmlNode* node);

// What a modal run ends with when the frame is destroyed or a page request arrives.
constexpr int kModalInterrupted = 3;

class Control {
public:
    Control();
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Builds the child for a skin element and its subtree with the rows of `table`.
    virtual Control* CreateChild(common::XmlNode* node, const ControlTableRow* table);
    virtual void ClearState() { m_stateWord = 0; }
    // Called once after the control and its children were built.
    virtual void Attached(Control* parent) {}
    virtual void Paint(DrawSurface& surface, const RECT& clip);
    // Computes the rectangle in `parent` (null: the owner's client area) unless it was set
    // explicitly, and lays out the children in it.
    virtual void Layout(const RECT* parent);
    virtual void Notify(int event, Control* other, UINT flags);
    // Returns the tracking mode after a stylus down; 0 otherwise.
    virtual int OnStylus(int event, int x, int y);
    // Returns 0 when the key was handled, -1 when not.
    virtual int OnKey(UINT message, WPARAM key, LPARAM data);
    virtual void PaintContent(DrawSurface& surface, const RECT& clip);
    virtual Control* HitTest(POINT point);
    virtual void SetFlags(uint32_t clear, uint32_t set, bool redraw);
    // Shows the control as a modal pop-up of `owner` and returns the number it ended with
    // (kModalInterrupted when the frame closes or another program asks for a page).
    virtual int RunModal(ControlOwner* owner, const ControlTableRow* table, DWORD flags);
    // A control with its own surface (kCachedSurface) paints into it only when it changed
    // since (Invalidate), and the window surface gets a copy of it.
    virtual void PaintCached(DrawSurface& surface);
    virtual void BlitCached(DrawSurface& surface);
    // A descendant's command (its number and notification code) on its way to the owner
    // window; true when the control took it (a modal pop-up ends with it).
    virtual bool OnCommand(UINT number, int code) { return false; }
    // A word for `ui` (pane, button, text ...) and the text the control shows.
    virtual const char* KindName() const { return "pane"; }
    virtual std::u16string Text() const { return {}; }
    virtual bool IsEnabled() const { return true; }
    // Writes the control and its subtree into the console's `ui` sink; `origin` is the
    // screen position of the surface's top-left corner.
    virtual void Describe(IUiSink& sink, int depth, POINT origin);

    // The control or the descendant numbered `number`: the control first, then the
    // children from the last to the first, depth first.
    Control* FindById(UINT number);
    // The control or a descendant whose descriptor node has `kind` and `name` (ignoring
    // case); only the direct children unless `recursive`.
    Control* FindByDescriptor(uint32_t kind, const char* name, bool recursive);
    // An explicit rectangle, or null to follow the parent's again.
    void SetRect(const RECT* rect);
    void Invalidate(const RECT* rect = nullptr);
    void SetFocus();
    void AddChild(std::unique_ptr<Control> child, bool visible);
    // Destroys every child (a screen built again starts empty).
    void RemoveChildren();

    uint32_t State() const { return m_state; }
    bool IsVisible() const { return m_state & ControlState::kVisible; }
    bool HasFocus() const { return m_state & ControlState::kFocused; }
    bool CanFocus() const {
        return (m_state & (ControlState::kVisible | ControlState::kFocusable)) ==
               (ControlState::kVisible | ControlState::kFocusable);
    }
    const RECT& Rect() const { return m_rect; }
    UINT Number() const { return m_number; }
    ControlElement* Descriptor() const { return m_descriptor; }
    ControlOwner* Owner() const { return m_owner; }
    Control* Parent() const { return m_parent; }
    Control* FocusedChild() const { return m_focused; }
    const std::vector<std::unique_ptr<Control>>& Children() const { return m_children; }

    void SetDescriptor(ControlElement* descriptor) { m_descriptor = descriptor; }
    void SetNumber(UINT number) { m_number = number; }
    void SetOwner(ControlOwner* owner) { m_owner = owner; }
    void SetParent(Control* parent) { m_parent = parent; }
    // Ends the modal run of this control with `result`.
    void EndModal(int result);
    bool ModalEnded() const { return m_modalEnded; }
    int ModalResult() const { return m_modalResult; }

    // Replaces the label the factory gave; controls without text ignore it.
    virtual void SetText(const std::u16string& text) {}

protected:
    // WM_COMMAND to the owner window: posted for codes 1 and 2, sent for code 4 and for a
    // plain command (code 0).
    void SendCommand(int code, LPARAM parameter = 0);
    // Moves the focus among the visible focusable children by `step`; -1 at the last one
    // going down.
    int MoveFocus(int step);
    bool OfferToOwner(DrawSurface& surface);
    void NotifySubtree(int event);

    Control* m_focused = nullptr; // one of m_children
    std::vector<std::unique_ptr<Control>> m_children;
    Control* m_parent = nullptr; // back-link
    uint32_t m_state = ControlState::kDefaultStyle;
    ControlElement* m_descriptor = nullptr; // lives in the skin
    ControlOwner* m_owner = nullptr;
    RECT m_rect{};
    UINT m_number = 0;
    uint32_t m_stateWord = 0;
    bool m_modalEnded = false;
    int m_modalResult = 0;
    // The control's own surface, as large as the window surface up to the control's far
    // corner so that it paints at its usual coordinates; null until first used.
    std::unique_ptr<DrawSurface> m_cache;
    bool m_cacheValid = false;
};

} // namespace corlist
