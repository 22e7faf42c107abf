#include "corlist/calls/KeypadLayout.h"

#include "common/Settings.h"

namespace corlist {

namespace {

constexpr uint32_t kHoldMs = 300;

// The hot cell of the portrait table holds kSendSms; CodeOf puts the hot code in its place.
constexpr uint32_t kPortrait[4][4] = {
    {'1', '2', '3', KeypadCode::kDelete},
    {'4', '5', '6', KeypadCode::kSendSms},
    {'7', '8', '9', KeypadCode::kMakeCall},
    {'*', '0', '#', KeypadCode::kClose},
};

constexpr uint32_t kLandscape[3][5] = {
    {'1', '2', '3', '*', KeypadCode::kDelete},
    {'4', '5', '6', '#', KeypadCode::kMakeCall},
    {'7', '8', '9', '0', KeypadCode::kClose},
};

} // namespace

HotCell HotCellFor(DWORD flags) {
    if (flags & common::SettingsFlag::kHotKeyCallsIce)
        return HotCell::Ice;
    if (flags & common::SettingsFlag::kHotKeyCallsBestFriend)
        return HotCell::Friend;
    return HotCell::Sms;
}

int LogicalScreenWidth(int screenWidth, int coordinateScale) {
    return coordinateScale > 0 ? screenWidth / coordinateScale : screenWidth;
}

KeypadLayout::KeypadLayout(bool portrait, int pictureWidth, int pictureHeight) : m_portrait(portrait) {
    if (pictureWidth > 0 && pictureHeight > 0) {
        m_cellWidth = pictureWidth / Columns();
        m_cellHeight = pictureHeight / Rows();
    }
}

int KeypadLayout::CellIndexAt(int x, int y) const {
    if (m_cellWidth <= 0 || m_cellHeight <= 0 || x < 0 || y < 0)
        return -1;
    int column = x / m_cellWidth;
    int row = y / m_cellHeight;
    if (column >= Columns() || row >= Rows())
        return -1;
    return row * Columns() + column;
}

uint32_t KeypadLayout::CodeOf(int index, DWORD flags) const {
    if (index < 0 || index >= CellCount())
        return KeypadCode::kNone;
    int row = index / Columns();
    int column = index % Columns();
    if (!m_portrait)
        return kLandscape[row][column];
    if (index == HotCellIndex() && HotCellFor(flags) != HotCell::Sms)
        return KeypadCode::kCallHotNumber;
    return kPortrait[row][column];
}

RECT KeypadLayout::CellRect(int index) const {
    if (index < 0 || index >= CellCount())
        return RECT{};
    int left = (index % Columns()) * m_cellWidth;
    int top = (index / Columns()) * m_cellHeight;
    return RECT{left, top, left + m_cellWidth, top + m_cellHeight};
}

uint32_t HeldCode(uint32_t code, uint32_t heldMs) {
    if (heldMs <= kHoldMs)
        return code;
    if (code == '0')
        return '+';
    if (code == '#')
        return '*';
    return code;
}

std::string CodeName(uint32_t code) {
    if (code == KeypadCode::kNone)
        return "none";
    if (code == KeypadCode::kDelete)
        return "delete";
    if (KeypadCode::IsCommand(code))
        return std::to_string(KeypadCode::CommandId(code));
    return std::string("\"") + char(code) + "\"";
}

} // namespace corlist
