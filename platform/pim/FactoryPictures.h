// Contact pictures of the factory phone book, drawn in code and compressed as JPEG: a
// coloured square with a lighter head-and-shoulders silhouette.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

class FactoryPictures {
public:
    // A `side` x `side` JPEG in the colour 0xRRGGBB; empty when encoding failed.
    static std::vector<uint8_t> Silhouette(uint32_t colour, uint32_t side);
};

} // namespace platform
