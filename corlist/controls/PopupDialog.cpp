#include "corlist/controls/PopupDialog.h"

#include "common/XmlReader.h"
#include "corlist/controls/BoxPainter.h"
#include "corlist/controls/ControlOwner.h"
#include "corlist/controls/PopupDialogElement.h"
#include "corlist/controls/ScreenBuilder.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/Skin.h"
#include "corlist/skin/SkinMetrics.h"

#include "ce/user.h"

#include <algorithm>

namespace corlist {

bool PopupDialog::Build(Skin& skin, ControlOwner& owner, const char* name, const ControlTableRow* table) {
    common::XmlNode* root = skin.Root();
    common::XmlNode* node = root && name ? common::XmlReader::FindNode(root->firstChild, name, SkinKind::kPopupDlg) : nullptr;
    if (!node || !node->element)
        return false;
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    RECT screen{0, 0, width, height};
    const RectSpec* spec = ChooseRectSpec(static_cast<ControlElement*>(node->element)->RectSpecs(), OrientationClass());
    RECT area = spec ? ResolveRect(*spec, &screen, width, height) : RECT{width / 10, height / 4, width - width / 10, height * 3 / 4};
    BuildControls(*this, owner, nullptr, node, table, area);
    SetFlags(0, ControlState::kVisible, false);
    return true;
}

void PopupDialog::Paint(DrawSurface& surface, const RECT& clip) {
    if (!IsVisible() || IsEmptyRect(Rect()))
        return;
    auto* element = static_cast<PopupDialogElement*>(Descriptor());
    RECT rect = Rect();
    int titleHeight = std::min<int>(element ? element->TitleHeight() : 0, rect.bottom - rect.top);
    FillElement* title = element ? element->TitleFill() : nullptr;
    FillElement* body = element ? element->BodyFill() : nullptr;
    if (title && titleHeight > 0) {
        PaintBand(surface, title, RECT{rect.left, rect.top, rect.right, rect.top + titleHeight}, true, clip);
        rect.top += titleHeight;
        PaintBand(surface, body, rect, false, clip);
    } else {
        PaintBand(surface, body, rect, true, clip);
    }
    PaintContent(surface, clip);
}

// One band of the dialog with its outer corners rounded: quarter circles of radius four
// borders in the fill's brush.
void PopupDialog::PaintBand(DrawSurface& surface, FillElement* fill, const RECT& band, bool top, const RECT& clip) {
    if (!fill || IsEmptyRect(band))
        return;
    auto* element = static_cast<PopupDialogElement*>(Descriptor());
    uint32_t corners = (top ? Corner::kTopLeft | Corner::kTopRight : 0) |
                       (band.bottom == Rect().bottom ? Corner::kBottomLeft | Corner::kBottomRight : 0);
    FillRounded(surface, *fill, band, clip, corners, 4 * element->Border());
}

int PopupDialog::OnKey(UINT message, WPARAM key, LPARAM data) {
    if (message == WM_KEYUP && (key == VK_ESCAPE || key == VK_BACK)) {
        EndModal(IDCANCEL);
        return 0;
    }
    return Control::OnKey(message, key, data);
}

bool PopupDialog::OnCommand(UINT number, int code) {
    if (code != 0 || number == 0)
        return false;
    EndModal(int(number));
    return true;
}

} // namespace corlist
