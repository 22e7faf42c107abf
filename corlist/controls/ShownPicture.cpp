#include "corlist/controls/ShownPicture.h"

#include "corlist/image/Image.h"
#include "corlist/skin/DrawSurface.h"

#include "ce/wingdi.h"

#include <algorithm>
#include <cstdint>

namespace corlist {

ShownPicture::~ShownPicture() {
    Clear();
}

void ShownPicture::Clear() {
    m_image.reset();
    if (m_bitmap && m_ownsBitmap)
        DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    m_ownsBitmap = false;
}

void ShownPicture::SetImage(std::unique_ptr<Image> image) {
    Clear();
    m_image = std::move(image);
}

void ShownPicture::SetBitmap(HBITMAP bitmap, bool owned) {
    if (bitmap == m_bitmap && !m_image) {
        m_ownsBitmap = owned;
        return;
    }
    Clear();
    m_bitmap = bitmap;
    m_ownsBitmap = owned && bitmap;
}

HBITMAP ShownPicture::Bitmap() const {
    if (m_image)
        return m_image->Bitmap().IsEmpty() ? nullptr : m_image->Bitmap().section;
    return m_bitmap;
}

SIZE ShownPicture::Size() const {
    if (m_image) {
        if (m_image->Bitmap().IsEmpty() || !m_image->Bitmap().section)
            return SIZE{0, 0};
        return SIZE{m_image->Bitmap().Width(), m_image->Bitmap().Height()};
    }
    BITMAP info{};
    if (!m_bitmap || GetObjectW(m_bitmap, sizeof(info), &info) != int(sizeof(info)))
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

bool ShownPicture::Draw(DrawSurface& surface, const RECT& source, const RECT& target) const {
    HBITMAP bitmap = Bitmap();
    if (!bitmap || surface.IsEmpty() || IsEmptyRect(source) || IsEmptyRect(target))
        return false;
    HDC memory = CreateCompatibleDC(surface.Dc());
    if (!memory)
        return false;
    HGDIOBJ old = SelectObject(memory, bitmap);
    BOOL drawn = StretchBlt(surface.Dc(), target.left, target.top, target.right - target.left,
                            target.bottom - target.top, memory, source.left, source.top,
                            source.right - source.left, source.bottom - source.top, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    return drawn != FALSE;
}

RECT FitRect(LONG width, LONG height, const RECT& area) {
    LONG areaWidth = area.right - area.left;
    LONG areaHeight = area.bottom - area.top;
    if (width <= 0 || height <= 0 || areaWidth <= 0 || areaHeight <= 0)
        return RECT{};
    // Compare the aspects in 64 bits: width / height against areaWidth / areaHeight.
    int64_t fitWidth = areaWidth, fitHeight = areaHeight;
    if (int64_t(width) * areaHeight > int64_t(areaWidth) * height)
        fitHeight = std::max<int64_t>(1, int64_t(areaWidth) * height / width);
    else
        fitWidth = std::max<int64_t>(1, int64_t(areaHeight) * width / height);
    LONG left = area.left + LONG((areaWidth - fitWidth) / 2);
    LONG top = area.top + LONG((areaHeight - fitHeight) / 2);
    return RECT{left, top, left + LONG(fitWidth), top + LONG(fitHeight)};
}

} // namespace corlist
