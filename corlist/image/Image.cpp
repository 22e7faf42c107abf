#include "corlist/image/Image.h"

namespace corlist {

void Image::Empty() {
    ReleaseBitmap(&m_bitmap);
    m_info = ExifInfo{};
    ReleaseDecoder();
}

void Image::SetRequestedSize(LONG width, LONG height) {
    bool valid = width > 0 && height > 0;
    m_requestWidth = valid ? width : 0;
    m_requestHeight = valid ? height : 0;
}

void Image::SetDecoder(ImageDecoder* decoder) {
    if (m_decoder && m_decoder != decoder)
        m_decoder->Destroy();
    m_decoder = decoder;
}

void Image::ReplaceBitmap(ImageBitmap& bitmap) {
    ReleaseBitmap(&m_bitmap);
    m_bitmap = bitmap;
    bitmap = ImageBitmap{}; // the image owns the pixels now
}

} // namespace corlist
