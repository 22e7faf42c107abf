// The kinds of skin nodes: the low 20 bits of XmlNode::kind. Kinds from kFirstControlKind
// up are controls; the drawing elements and the sections sit below.
#pragma once

#include <cstdint>

namespace corlist {

namespace SkinKind {
constexpr uint32_t kApplication = 3;
constexpr uint32_t kMacros = 4;
constexpr uint32_t kDefaults = 5;
constexpr uint32_t kEffect = 20;
constexpr uint32_t kImage = 21;
constexpr uint32_t kColor = 256;
constexpr uint32_t kFill = 512;
constexpr uint32_t kFont = 1024;
constexpr uint32_t kPen = 2048;
constexpr uint32_t kFirstControlKind = 0x8000;
constexpr uint32_t kControl = 0x8000;
constexpr uint32_t kScrollBar = 0x8001;
constexpr uint32_t kLetterBar = 0x8002;
constexpr uint32_t kListView = 0x8003;
constexpr uint32_t kGrid = 0x8004;
constexpr uint32_t kButton = 0x8016;
constexpr uint32_t kTabCtrl = 0x8017;
constexpr uint32_t kBoxCtrl = 0x8018;
constexpr uint32_t kText = 0x8019;
constexpr uint32_t kEdit = 0x801A;
constexpr uint32_t kMenu = 0x801B;
constexpr uint32_t kSlider = 0x801C;
constexpr uint32_t kImgCtrl = 0x801D;
constexpr uint32_t kImageView = 0x801E;
constexpr uint32_t kPopupDlg = 0x801F;
constexpr uint32_t kDSlider = 0x8026;
} // namespace SkinKind

// A colour value of the skin: COLORREF order (red in the low byte), or none.
constexpr uint32_t kColourNone = 0xFFFFFFFFu;

} // namespace corlist
