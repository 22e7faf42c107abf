// The codec every registry holds: JPEG and its thumbnail variant THM through libjpeg, PNG
// through libpng.
#pragma once

#include "corlist/image/CodecRecord.h"

namespace corlist {

class BuiltinCodec {
public:
    static const CodecRecord& Record();
};

} // namespace corlist
