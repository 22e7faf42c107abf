// The library module "Corlist.dll": the frame for the main program, and its built-in strings.
#include "ce/kernel.h"
#include "ce/resource.h"
#include "common/CoreObject.h"
#include "corlist/frame/Frame.h"

namespace corlist {
const CE_STRING_TABLE& BuiltinStrings();
}

CE_API HWND KCreateFrame(DWORD flags, common::CoreObject* host) {
    try {
        return corlist::Frame::Create(flags, host);
    } catch (...) {
        // Nothing may leave the module: the main program sees no frame.
        OutputDebugStringW(u"Corlist: fault while creating the frame\n");
        return nullptr;
    }
}

CE_API const CE_STRING_TABLE* ce_string_table() { return &corlist::BuiltinStrings(); }
