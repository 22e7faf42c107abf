#include "common/ModuleFolder.h"

#include "ce/kernel.h"

namespace common {

std::u16string ModuleFolder(HMODULE module) {
    WCHAR path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    // A path cut at the buffer's end names no folder to trust.
    std::u16string folder(path, length < MAX_PATH ? length : 0);
    size_t slash = folder.rfind(u'\\');
    folder.resize(slash == std::u16string::npos ? 0 : slash + 1);
    return folder;
}

} // namespace common
