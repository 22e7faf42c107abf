// The program module "Corvane.exe": its entry point and its built-in strings.
#include "ce/kernel.h"
#include "ce/resource.h"
#include "corvane/MainProgram.h"

namespace corvane {
const CE_STRING_TABLE& BuiltinStrings();
}

CE_API int WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
    try {
        return corvane::MainProgram::Instance().Run(instance, commandLine);
    } catch (...) {
        // Nothing may leave the module; a fault outside the message loop ends the program.
        OutputDebugStringW(u"Corvane: fault during start-up or shutdown\n");
        return 1;
    }
}

CE_API const CE_STRING_TABLE* ce_string_table() { return &corvane::BuiltinStrings(); }
