// The arithmetic of the dialling keypad: which layout a screen width gets, what each cell
// types or commands, and which cell lies under a point of the keypad picture. Pure, so every
// rule is tested without a skin.
//
// A cell's code is a character (its UTF-16 value), the delete key (8), or a command: the
// command id with bit 31 set.
#pragma once

#include "ce/types.h"

#include <cstdint>
#include <string>

namespace corlist {

namespace KeypadCode {
constexpr uint32_t kNone = 0;
constexpr uint32_t kDelete = 8;
constexpr uint32_t kCommand = 0x80000000u;
constexpr uint32_t kSendSms = kCommand | 143;
constexpr uint32_t kMakeCall = kCommand | 144;
constexpr uint32_t kClose = kCommand | 123;
constexpr uint32_t kCallHotNumber = kCommand | 208;

constexpr bool IsCommand(uint32_t code) { return (code & kCommand) != 0; }
constexpr UINT CommandId(uint32_t code) { return UINT(code & 0xFFFF); }
} // namespace KeypadCode

// What the hot cell of the portrait layout shows and does.
enum class HotCell { Sms, Friend, Ice };

// The hot cell's role by the `Flags` bits: "ICE" (0x20000) wins over "Friend" (0x10000)
// when both are set; without either the cell sends an SMS.
HotCell HotCellFor(DWORD flags);

// The width a layout element is named after ("w%d"): the screen width in skin units.
int LogicalScreenWidth(int screenWidth, int coordinateScale);

class KeypadLayout {
public:
    static constexpr int kHotColumn = 3;
    static constexpr int kHotRow = 1;
    static constexpr int kPortraitWidth = 240;

    // Portrait (4 x 4 with the hot cell) for a layout element made for 240 units, else
    // landscape (5 x 3). `pictureWidth` x `pictureHeight` is the keypad picture's size;
    // cells are that divided by the columns and rows (none when the picture is missing).
    KeypadLayout(bool portrait, int pictureWidth, int pictureHeight);
    KeypadLayout() : KeypadLayout(true, 0, 0) {}

    bool IsPortrait() const { return m_portrait; }
    int Columns() const { return m_portrait ? 4 : 5; }
    int Rows() const { return m_portrait ? 4 : 3; }
    int CellCount() const { return Columns() * Rows(); }
    int CellWidth() const { return m_cellWidth; }
    int CellHeight() const { return m_cellHeight; }

    // The cell of `x`, `y` measured from the picture's top-left corner, -1 outside the cells.
    int CellIndexAt(int x, int y) const;
    // The code of cell `index` (kNone outside); the hot cell follows `flags`.
    uint32_t CodeOf(int index, DWORD flags) const;
    // The code under a point of the picture, or kNone outside the cells.
    uint32_t CellAt(int x, int y, DWORD flags) const { return CodeOf(CellIndexAt(x, y), flags); }
    // The rectangle of cell `index` relative to the picture's top-left corner.
    RECT CellRect(int index) const;
    // The hot cell's index, -1 in landscape.
    int HotCellIndex() const { return m_portrait ? kHotRow * Columns() + kHotColumn : -1; }

private:
    bool m_portrait;
    int m_cellWidth = 0;
    int m_cellHeight = 0;
};

// The character a cell types when the pen rests on it for `heldMs`: "0" gives "+" and "#"
// gives "*" after more than 300 ms. Other codes are returned as they are.
uint32_t HeldCode(uint32_t code, uint32_t heldMs);

// How `ui` names a code: "5" for a character (quoted), "delete", or the command id.
std::string CodeName(uint32_t code);

} // namespace corlist
