#include "corlist/skin/SkinPath.h"

#include "ce/kernel.h"

namespace corlist {

namespace {
bool IsAbsolute(std::u16string_view name) {
    return (!name.empty() && name[0] == u'\\') || (name.size() >= 2 && name[1] == u':');
}
} // namespace

std::u16string BuildPackagePath(LPCWSTR name, std::u16string_view programFolder, int screenWidth) {
    std::u16string_view given = name ? std::u16string_view(name) : std::u16string_view();
    std::u16string path;
    if (!IsAbsolute(given)) {
        path.assign(programFolder);
        path += u"Skins\\";
    }
    if (given.empty()) {
        path += screenWidth < 480 ? u"Default.rpk" : u"Default.vga.rpk";
        return path;
    }
    path += given;
    size_t dot = given.rfind(u'.');
    if (dot == std::u16string_view::npos || given.substr(dot).find(u".rpk") == std::u16string_view::npos)
        path += u".rpk";
    return path;
}

std::u16string RunningProgramFolder() {
    WCHAR path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::u16string folder(path, length);
    size_t slash = folder.rfind(u'\\');
    folder.resize(slash == std::u16string::npos ? 0 : slash + 1);
    return folder;
}

} // namespace corlist
