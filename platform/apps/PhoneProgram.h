// The platform's phone application: a resident process that owns the hidden window of
// class "MSCProg" by which other programs recognise it.
#pragma once

#include "ce/types.h"

namespace platform {

class PhoneProgram {
public:
    static constexpr const char16_t* kImagePath = u"\\Windows\\cprog.exe";

    static int Main(HINSTANCE instance, const WCHAR* commandLine);
};

} // namespace platform
