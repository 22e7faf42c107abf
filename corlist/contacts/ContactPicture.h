// A contact's picture: the JPEG bytes of its PICTURE property decoded through the image
// loader and scaled to fit a box.
#pragma once

#include "corlist/image/Image.h"

#include "ce/types.h"

#include <vector>

namespace common {
class CoreObject;
struct ContactRecord;
} // namespace common

namespace corlist {

// The largest picture property read (bigger ones count as damaged).
constexpr uint64_t kMaxContactPictureBytes = 8u << 20;

// Loads the contact's picture into `image`, scaled with its aspect kept so that it fits
// width x height (a smaller picture keeps its size), in the screen's pixel format.
// Returns kImageOk, or kImageOpenFailed for any failure: a SIM entry, no picture, damaged
// bytes (the image is then empty). Needs InitImages.
DWORD LoadContactPicture(common::CoreObject& core, common::ContactRecord& record, LONG width, LONG height,
                         Image& image);

// The bytes of the contact's picture property; empty for a SIM entry, a contact without
// a picture or one whose picture cannot be read whole.
std::vector<BYTE> ReadContactPicture(common::CoreObject& core, common::ContactRecord& record);
// Decodes picture bytes as LoadContactPicture does.
DWORD DecodeContactPicture(std::vector<BYTE>& bytes, LONG width, LONG height, Image& image);

// Scales the image, aspect kept, to fit width x height; never enlarges it. False when the
// scaled picture would still not fit (a picture thinner than a pixel at that size).
bool ScaleIntoBox(Image& image, LONG width, LONG height);

} // namespace corlist
