// One instance of a program or library module inside one process. Each process gets
// its own copy of the ELF image (copied into an anonymous memory file and loaded from
// there), so process-wide variables of a module are private to the process, as on the
// device. Platform programs built into the platform have a module record without an
// image: it names the program and gives it an instance handle.
#pragma once

#include "ce/types.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace platform {

class Module {
public:
    // Loads a private instance of the ELF file `host` named `devicePath` on the device.
    // Returns null with `error` set (ERROR_BAD_EXE_FORMAT for a file that is not a
    // loadable module, ERROR_FILE_NOT_FOUND, ERROR_NOT_ENOUGH_MEMORY).
    static std::unique_ptr<Module> Load(const std::filesystem::path& host, std::u16string devicePath,
                                        DWORD& error);
    // A module record without an image (a platform program, the kernel process).
    static std::unique_ptr<Module> ImageOnly(std::u16string devicePath);
    // A resource-only module (a language file) read from `host`; null with `error` set
    // (ERROR_BAD_FORMAT) when the file is not one.
    static std::unique_ptr<Module> DataFile(const std::filesystem::path& host,
                                            std::u16string devicePath, DWORD& error);

    // Unloads the image: the module's destructors run here.
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    const std::u16string& DevicePath() const { return m_devicePath; }
    bool HasImage() const { return m_library != nullptr; }
    // An exported symbol of this module itself (not of the libraries it uses), or null.
    void* Symbol(const char* name) const;
    // A function exported by ordinal through CE_EXPORT_ORDINAL, or null.
    FARPROC Ordinal(unsigned ordinal) const;
    bool IsDataFile() const { return m_strings != nullptr; }
    // String resource `id` of the module: from a language file's table or from the
    // program's built-in table; false when the module has no such string.
    bool FindString(unsigned id, std::u16string_view& text) const;

private:
    explicit Module(std::u16string devicePath) : m_devicePath(std::move(devicePath)) {}

    std::u16string m_devicePath;
    void* m_library = nullptr;
    std::unique_ptr<std::map<uint32_t, std::u16string>> m_strings; // language files only
    // The memory file stays open while the image is loaded: the loader knows the image
    // by its "/proc/self/fd/N" name, which must not be reused by another module meanwhile.
    int m_memfd = -1;
};

} // namespace platform
