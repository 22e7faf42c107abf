// One slot per package entry of the loaded skin: the decoded image shared by every
// element that draws it, and how many uses it has.
#pragma once

namespace corlist {

class Image;

struct SkinImageSlot {
    Image* image = nullptr; // owned by the skin while the slot holds it
    bool failed = false;    // decoding failed once; not retried while the skin is loaded
    int useCount = 0;
};

} // namespace corlist
