#include "pim/FactoryPictures.h"

#include "imaging/JpegWriter.h"
#include "pim/PropertyStream.h"

namespace platform {

namespace {

constexpr int kQuality = 85;

uint8_t Lighter(uint32_t channel) { return uint8_t(channel + (255 - channel) * 3 / 5); }

// True inside the head (a disc) or the shoulders (the top of a larger disc at the bottom).
bool InSilhouette(int64_t x, int64_t y, int64_t side) {
    int64_t cx = side / 2;
    int64_t headY = side * 2 / 5, headR = side / 5;
    int64_t bodyY = side + side / 8, bodyR = side * 9 / 20;
    auto inside = [&](int64_t oy, int64_t r) {
        return (x - cx) * (x - cx) + (y - oy) * (y - oy) <= r * r;
    };
    return inside(headY, headR) || inside(bodyY, bodyR);
}

} // namespace

std::vector<uint8_t> FactoryPictures::Silhouette(uint32_t colour, uint32_t side) {
    uint8_t back[3] = {uint8_t(colour >> 16), uint8_t(colour >> 8), uint8_t(colour)};
    uint8_t front[3] = {Lighter(back[0]), Lighter(back[1]), Lighter(back[2])};
    std::vector<uint8_t> rgb(size_t(side) * side * 3);
    for (uint32_t y = 0; y < side; ++y)
        for (uint32_t x = 0; x < side; ++x) {
            const uint8_t* pixel = InSilhouette(x, y, side) ? front : back;
            std::copy(pixel, pixel + 3, rgb.begin() + (size_t(y) * side + x) * 3);
        }
    IStream* stream = PropertyStream::Create(nullptr, {}, true);
    if (!stream)
        return {};
    std::vector<uint8_t> jpeg;
    if (WriteJpeg(rgb.data(), side, side, kQuality, stream))
        jpeg = static_cast<PropertyStream*>(stream)->Bytes();
    stream->Release();
    return jpeg;
}

} // namespace platform
