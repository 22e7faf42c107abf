#include "corlist/contacts/ContactPicture.h"

#include "common/ContactRecord.h"
#include "common/MemoryStream.h"
#include "corlist/contacts/ContactItem.h"
#include "corlist/image/ImageLoader.h"
#include "corlist/image/ImageTransform.h"

#include <vector>

namespace corlist {

namespace {

// The picture property's bytes; empty when there is none or it cannot be read whole.
std::vector<BYTE> ReadPictureBytes(IItem* item) {
    IStream* stream = nullptr;
    if (FAILED(item->OpenProperty(PIMPR_PICTURE, GENERIC_READ, &stream)) || !stream)
        return {};
    std::vector<BYTE> bytes;
    LARGE_INTEGER move{};
    ULARGE_INTEGER end{};
    // A size of 0 means no picture.
    if (SUCCEEDED(stream->Seek(move, STREAM_SEEK_END, &end)) && end.QuadPart > 0 &&
        end.QuadPart <= kMaxContactPictureBytes && SUCCEEDED(stream->Seek(move, STREAM_SEEK_SET, nullptr))) {
        bytes.resize(size_t(end.QuadPart));
        ULONG read = 0;
        if (FAILED(stream->Read(bytes.data(), ULONG(bytes.size()), &read)) || read != bytes.size())
            bytes.clear();
    }
    stream->Release();
    return bytes;
}

} // namespace

bool ScaleIntoBox(Image& image, LONG width, LONG height) {
    const ImageBitmap& bitmap = image.Bitmap();
    LONG pictureWidth = bitmap.Width();
    LONG pictureHeight = bitmap.Height();
    if (width <= 0 || height <= 0 || pictureWidth <= 0 || pictureHeight <= 0)
        return false;
    if (pictureWidth <= width && pictureHeight <= height)
        return true;
    // Scaling to cover a request of one pixel on the other side makes the box's side the one
    // that meets the request; the other side follows the aspect, rounded up, and still fits.
    bool wide = int64_t(pictureWidth) * height >= int64_t(pictureHeight) * width;
    DWORD result = wide ? ScaleToCover(&image, width, 1) : ScaleToCover(&image, 1, height);
    return result == kImageOk && bitmap.Width() <= width && bitmap.Height() <= height;
}

std::vector<BYTE> ReadContactPicture(common::CoreObject& core, common::ContactRecord& record) {
    ContactItem item(core, record);
    return item ? ReadPictureBytes(item.Item()) : std::vector<BYTE>();
}

DWORD DecodeContactPicture(std::vector<BYTE>& bytes, LONG width, LONG height, Image& image) {
    image.Empty();
    if (bytes.empty() || bytes.size() > kMaxContactPictureBytes || width <= 0 || height <= 0)
        return kImageOpenFailed;
    common::MemoryStream stream(bytes.data(), LONG(bytes.size()));
    // The decoder may decode at a reduced scale no smaller than the box.
    image.SetRequestedSize(width, height);
    bool loaded = LoadImageStream(&image, &stream, u"image.jpg", kLoadTrueColour, true) == kImageOk &&
                  ScaleIntoBox(image, width, height) && ConvertToScreenFormat(&image) == kImageOk;
    if (loaded)
        return kImageOk;
    image.Empty();
    return kImageOpenFailed;
}

DWORD LoadContactPicture(common::CoreObject& core, common::ContactRecord& record, LONG width, LONG height,
                         Image& image) {
    std::vector<BYTE> bytes = ReadContactPicture(core, record);
    return DecodeContactPicture(bytes, width, height, image);
}

} // namespace corlist
