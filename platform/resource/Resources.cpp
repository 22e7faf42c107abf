// Exported resource functions: language files as data modules, and string resources
// of program modules and language files.
#include "ce/kernel.h"
#include "ce/resource.h"
#include "files/FileSystem.h"
#include "kernel/Module.h"
#include "kernel/ModuleLoader.h"
#include "kernel/ModuleSpace.h"
#include "kernel/ProcessTable.h"
#include "resource/MuiFile.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

namespace platform {

namespace {
// A language file is small; anything larger is not one.
constexpr uintmax_t kMaxDataFileBytes = 16 * 1024 * 1024;
} // namespace

std::unique_ptr<Module> Module::DataFile(const std::filesystem::path& host,
                                         std::u16string devicePath, DWORD& error) {
    std::error_code ec;
    uintmax_t size = std::filesystem::file_size(host, ec);
    if (ec || size > kMaxDataFileBytes) {
        error = ec ? ERROR_FILE_NOT_FOUND : ERROR_BAD_FORMAT;
        return nullptr;
    }
    std::ifstream in(host, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    auto strings = MuiFile::Parse(bytes.str());
    if (!in || !strings) {
        error = ERROR_BAD_FORMAT;
        return nullptr;
    }
    auto module = std::unique_ptr<Module>(new Module(std::move(devicePath)));
    module->m_strings = std::make_unique<MuiFile::Strings>(std::move(*strings));
    return module;
}

bool Module::FindString(unsigned id, std::u16string_view& text) const {
    if (m_strings) {
        auto it = m_strings->find(id);
        if (it == m_strings->end())
            return false;
        text = it->second;
        return true;
    }
    using TableFunction = const CE_STRING_TABLE* (*)();
    auto function = reinterpret_cast<TableFunction>(Symbol(CE_STRING_TABLE_SYMBOL));
    const CE_STRING_TABLE* table = function ? function() : nullptr;
    if (!table)
        return false;
    const CE_STRING_RESOURCE* end = table->entries + table->count;
    const CE_STRING_RESOURCE* entry = std::lower_bound(
        table->entries, end, id, [](const CE_STRING_RESOURCE& e, unsigned key) { return e.id < key; });
    if (entry == end || entry->id != id)
        return false;
    text = std::u16string_view(entry->text, entry->length);
    return true;
}

} // namespace platform

using namespace platform;

namespace {

HMODULE LoadDataFile(LPCWSTR fileName, DWORD& error) {
    auto process = ProcessTable::CurrentProcess();
    auto space = ModuleSpace::Of(*process);
    std::lock_guard lock(space->Lock());
    for (const auto& candidate : ModuleLoader::Candidates(fileName, process->ImagePath(), u"")) {
        DWORD lookupError = ERROR_SUCCESS;
        auto resolved = FileSystem::Lookup(candidate, lookupError);
        if (!resolved || !resolved->exists || resolved->isDirectory)
            continue;
        if (HMODULE loaded = space->FindByPath(resolved->device)) {
            space->AddReference(loaded);
            return loaded;
        }
        auto module = Module::DataFile(resolved->host, resolved->device, error);
        return module ? space->Insert(std::move(module), false) : nullptr;
    }
    error = ERROR_MOD_NOT_FOUND;
    return nullptr;
}

} // namespace

CE_API HMODULE LoadLibraryExW(LPCWSTR fileName, HANDLE, DWORD flags) {
    if (!(flags & LOAD_LIBRARY_AS_DATAFILE))
        return LoadLibraryW(fileName);
    if (!fileName || !*fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    DWORD error = ERROR_SUCCESS;
    HMODULE module = LoadDataFile(fileName, error);
    if (!module)
        SetLastError(error);
    return module;
}

CE_API int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax) {
    auto space = ModuleSpace::Of(*ProcessTable::CurrentProcess());
    std::lock_guard lock(space->Lock());
    Module* module = space->Lookup(instance ? instance : space->Program());
    std::u16string_view text;
    if (!module || !module->FindString(id, text)) {
        SetLastError(module ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_INVALID_HANDLE);
        if (buffer && bufferMax > 0)
            buffer[0] = 0;
        return 0;
    }
    if (!buffer || bufferMax <= 0)
        return 0;
    size_t count = std::min(text.size(), static_cast<size_t>(bufferMax - 1));
    std::memcpy(buffer, text.data(), count * sizeof(WCHAR));
    buffer[count] = 0;
    return static_cast<int>(count);
}
