#include "kernel/BuiltinPrograms.h"

#include "device/Device.h"
#include "files/DevicePath.h"
#include "files/FileSystem.h"
#include "kernel/Trace.h"
#include "kernel/Utf.h"

#include <fstream>
#include <map>
#include <mutex>

namespace platform {

namespace {

struct Registry {
    std::mutex mutex;
    // By folded device path: the path as registered and its entry.
    std::map<std::u16string, std::pair<std::u16string, BuiltinEntry>> programs;
};

Registry& Programs() {
    static Registry registry;
    return registry;
}

void WriteMarker(const std::u16string& devicePath) {
    DWORD error = 0;
    if (!FileSystem::CreateFolders(DevicePath::Folder(devicePath), error)) {
        Trace("files", "no folder for platform program %s", ToUtf8(devicePath).c_str());
        return;
    }
    auto resolved = FileSystem::Lookup(devicePath, error);
    if (!resolved || resolved->exists)
        return;
    std::ofstream marker(resolved->host, std::ios::binary);
    marker << "Dialora platform program\n";
}

} // namespace

void BuiltinPrograms::Register(std::u16string devicePath, BuiltinEntry entry) {
    {
        auto& registry = Programs();
        std::lock_guard lock(registry.mutex);
        registry.programs[FoldCase(devicePath)] = {devicePath, std::move(entry)};
    }
    if (Device::Current())
        WriteMarker(devicePath);
}

std::optional<BuiltinEntry> BuiltinPrograms::Find(std::u16string_view devicePath) {
    auto& registry = Programs();
    std::lock_guard lock(registry.mutex);
    auto it = registry.programs.find(FoldCase(devicePath));
    if (it == registry.programs.end())
        return std::nullopt;
    return it->second.second;
}

void BuiltinPrograms::WriteMarkers() {
    std::vector<std::u16string> paths;
    {
        auto& registry = Programs();
        std::lock_guard lock(registry.mutex);
        for (auto& [key, program] : registry.programs)
            paths.push_back(program.first);
    }
    for (const auto& path : paths)
        WriteMarker(path);
}

} // namespace platform
