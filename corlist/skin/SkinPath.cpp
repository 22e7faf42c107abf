#include "corlist/skin/SkinPath.h"

#include "ce/kernel.h"
#include "common/ModuleFolder.h"

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
    return common::ModuleFolder(nullptr);
}

} // namespace corlist
