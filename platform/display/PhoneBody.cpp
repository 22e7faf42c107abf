#include "display/PhoneBody.h"

#include "ce/user.h"
#include "ce/wingdi.h"

#include <algorithm>

namespace platform {

namespace {

// Sizes at scale 1, in window pixels.
constexpr int kSide = 16;        // body edge beside the glass
constexpr int kEarpiece = 36;    // body above the glass
constexpr int kKeyArea = 140;    // body below the glass, the keys in it
constexpr int kCell = 34;        // one cell of the direction pad
constexpr int kGap = 8;
constexpr int kMinimumWidth = 240; // room for the keys on narrow screens

constexpr COLORREF kSoftKey = RGB(70, 74, 82);
constexpr COLORREF kTalk = RGB(46, 140, 74);
constexpr COLORREF kEnd = RGB(196, 56, 50);
constexpr COLORREF kPad = RGB(58, 62, 70);
constexpr COLORREF kAction = RGB(92, 98, 110);

RECT Box(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}

} // namespace

PhoneBody::PhoneBody(int width, int height, int scale) {
    scale = std::max(scale, 1);
    int glassWidth = width * scale;
    int glassHeight = height * scale;
    m_windowWidth = std::max(glassWidth, kMinimumWidth * scale) + 2 * kSide * scale;
    int left = (m_windowWidth - glassWidth) / 2;
    m_screen = Box(left, kEarpiece * scale, glassWidth, glassHeight);
    m_windowHeight = m_screen.bottom + kKeyArea * scale;
    LayOutKeys(m_screen.bottom + kGap * scale, scale);
}

// The direction pad as a cross in the middle; soft keys above Talk and End on both sides;
// Back under the pad.
void PhoneBody::LayOutKeys(int top, int scale) {
    int cell = kCell * scale;
    int gap = kGap * scale;
    int centre = m_windowWidth / 2;
    int padLeft = centre - cell * 3 / 2;
    m_keys = {
        {VK_UP, u"\u25B2", Box(padLeft + cell, top, cell, cell), kPad},
        {VK_LEFT, u"\u25C0", Box(padLeft, top + cell, cell, cell), kPad},
        {VK_TACTION, u"OK", Box(padLeft + cell, top + cell, cell, cell), kAction},
        {VK_RIGHT, u"\u25B6", Box(padLeft + 2 * cell, top + cell, cell, cell), kPad},
        {VK_DOWN, u"\u25BC", Box(padLeft + cell, top + 2 * cell, cell, cell), kPad},
    };
    int sideWidth = padLeft - gap - kSide * scale;
    int rowHeight = (3 * cell - gap) / 2;
    int leftX = kSide * scale;
    int rightX = padLeft + 3 * cell + gap;
    m_keys.push_back({VK_TSOFT1, u"Soft 1", Box(leftX, top, sideWidth, rowHeight), kSoftKey});
    m_keys.push_back({VK_TSOFT2, u"Soft 2", Box(rightX, top, sideWidth, rowHeight), kSoftKey});
    m_keys.push_back({VK_TTALK, u"Call", Box(leftX, top + rowHeight + gap, sideWidth, rowHeight), kTalk});
    m_keys.push_back({VK_TEND, u"End", Box(rightX, top + rowHeight + gap, sideWidth, rowHeight), kEnd});
    m_keys.push_back({VK_TBACK, u"Back", Box(padLeft, top + 3 * cell + gap / 2, 3 * cell, cell * 2 / 3), kSoftKey});
}

int PhoneBody::KeyAt(int x, int y) const {
    for (size_t index = 0; index < m_keys.size(); ++index) {
        const RECT& r = m_keys[index].rect;
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return int(index);
    }
    return -1;
}

} // namespace platform
