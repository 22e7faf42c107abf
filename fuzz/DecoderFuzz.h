// The common body of the image decoder fuzz targets: the input decoded from a memory stream
// once with each colour option, by a new decoder each time; any input must fail cleanly or
// give a bitmap within the caps.
#pragma once

#include "common/MemoryStream.h"
#include "corlist/image/CodecRecord.h"
#include "corlist/image/ImageBitmap.h"
#include "corlist/image/ImageTypes.h"

#include <cstdint>
#include <vector>

template <class MakeDecoder>
int FuzzDecoder(const uint8_t* data, size_t size, MakeDecoder makeDecoder) {
    if (size > (1u << 24))
        return 0;
    std::vector<uint8_t> copy(data, data + size);
    common::MemoryStream stream(copy.data(), LONG(copy.size()));
    for (DWORD option : {corlist::kLoadTrueColour, corlist::kLoadKeepPalette}) {
        stream.Seek(0, common::kSeekBegin);
        corlist::ImageDecoder* decoder = makeDecoder();
        corlist::ImageBitmap bitmap;
        decoder->Decode(&stream, &bitmap, option, nullptr);
        corlist::ReleaseBitmap(&bitmap);
        decoder->Destroy();
    }
    return 0;
}
