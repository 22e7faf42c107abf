#include "corlist/controls/ControlFactory.h"

#include "corlist/controls/BoxControl.h"
#include "corlist/controls/BoxElement.h"
#include "corlist/controls/Button.h"
#include "corlist/controls/ButtonElement.h"
#include "corlist/controls/Control.h"
#include "corlist/controls/DoubleSlider.h"
#include "corlist/controls/EditControl.h"
#include "corlist/controls/EditElement.h"
#include "corlist/controls/GridElement.h"
#include "corlist/controls/ImageControl.h"
#include "corlist/controls/ImageViewElement.h"
#include "corlist/controls/ImageViewer.h"
#include "corlist/controls/LetterBar.h"
#include "corlist/controls/LetterBarElement.h"
#include "corlist/controls/ListView.h"
#include "corlist/controls/MenuElement.h"
#include "corlist/controls/PopupDialogElement.h"
#include "corlist/controls/ScrollBarElement.h"
#include "corlist/controls/Slider.h"
#include "corlist/controls/TabControl.h"
#include "corlist/controls/TabElement.h"
#include "corlist/controls/TextControl.h"
#include "corlist/controls/TextElement.h"
#include "corlist/skin/Skin.h"

namespace corlist {

std::unique_ptr<Control> CreateControl(uint32_t kind, UINT label, ControlElement* descriptor) {
    switch (kind) {
    case SkinKind::kControl:
        return std::make_unique<Control>();
    case SkinKind::kButton:
        return std::make_unique<Button>(label);
    case SkinKind::kText:
        return std::make_unique<TextControl>(label);
    case SkinKind::kEdit:
        return std::make_unique<EditControl>(label);
    case SkinKind::kImgCtrl:
        return std::make_unique<ImageControl>();
    case SkinKind::kTabCtrl:
        return std::make_unique<TabControl>();
    case SkinKind::kBoxCtrl:
        return std::make_unique<BoxControl>(label);
    case SkinKind::kSlider:
        return std::make_unique<Slider>();
    case SkinKind::kDSlider:
        return std::make_unique<DoubleSlider>();
    case SkinKind::kImageView:
        return std::make_unique<ImageViewer>();
    case SkinKind::kListView:
        return std::make_unique<ListView>();
    case SkinKind::kScrollBar:
        return std::make_unique<ScrollBar>();
    case SkinKind::kLetterBar:
        return std::make_unique<LetterBar>();
    default:
        // Kinds whose objects are made by the code that uses them (grid, menu, pop-up dialog).
        return nullptr;
    }
}

SkinElement* CreateControlDescriptor(Skin& skin, uint32_t kind) {
    switch (kind) {
    case SkinKind::kButton:
    case SkinKind::kImgCtrl:
        return skin.MakeElement<ButtonElement>(static_cast<SkinImageProvider&>(skin));
    case SkinKind::kText:
        return skin.MakeElement<TextElement>();
    case SkinKind::kEdit:
        return skin.MakeElement<EditElement>();
    case SkinKind::kMenu:
        return skin.MakeElement<MenuElement>();
    case SkinKind::kPopupDlg:
        return skin.MakeElement<PopupDialogElement>();
    case SkinKind::kTabCtrl:
        return skin.MakeElement<TabElement>();
    case SkinKind::kBoxCtrl:
        return skin.MakeElement<BoxElement>();
    case SkinKind::kImageView:
        return skin.MakeElement<ImageViewElement>();
    case SkinKind::kGrid:
        return skin.MakeElement<GridElement>();
    case SkinKind::kScrollBar:
        return skin.MakeElement<ScrollBarElement>();
    case SkinKind::kLetterBar:
        return skin.MakeElement<LetterBarElement>();
    default:
        return skin.MakeElement<ControlElement>();
    }
}

void InstallControlDescriptors(Skin& skin) {
    skin.SetDescriptorFactory(&CreateControlDescriptor);
}

} // namespace corlist
