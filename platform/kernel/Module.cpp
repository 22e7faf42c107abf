#include "kernel/Module.h"

#include "ce/files.h"
#include "kernel/Trace.h"
#include "kernel/Utf.h"

#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Largest module image accepted.
constexpr off_t kMaxImageSize = off_t(512) << 20;

bool IsElf(int fd) {
    unsigned char magic[4] = {};
    return pread(fd, magic, sizeof magic, 0) == 4 && std::memcmp(magic, "\x7f" "ELF", 4) == 0;
}

// Copies the file behind `source` into a new memory file; returns its descriptor or -1.
int CopyToMemoryFile(int source, off_t size, const std::string& name) {
    int memfd = memfd_create(name.c_str(), MFD_CLOEXEC);
    if (memfd < 0)
        return -1;
    char buffer[65536];
    off_t copied = 0;
    while (copied < size) {
        ssize_t n = read(source, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        // A file that shrinks while it is copied is not a module to load.
        bool ok = n > 0;
        for (ssize_t done = 0; ok && done < n;) {
            ssize_t w = write(memfd, buffer + done, size_t(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            ok = w > 0;
            done += ok ? w : 0;
        }
        if (!ok) {
            close(memfd);
            return -1;
        }
        copied += n;
    }
    return memfd;
}

std::string ProcPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// True when an image loaded under the name of `fd` is still mapped.
bool IsNameLoaded(int fd) {
    void* handle = dlopen(ProcPath(fd).c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (!handle)
        return false;
    dlclose(handle);
    return true;
}

} // namespace

std::unique_ptr<Module> Module::Load(const std::filesystem::path& host, std::u16string devicePath,
                                     DWORD& error) {
    int fd = open(host.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        error = ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxImageSize ||
        !IsElf(fd)) {
        close(fd);
        error = ERROR_BAD_EXE_FORMAT;
        return nullptr;
    }
    std::string name = ToUtf8(devicePath);
    int memfd = CopyToMemoryFile(fd, info.st_size, name);
    close(fd);
    if (memfd < 0) {
        error = ERROR_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    // The loader knows an image by its name: a name still held by an image that could not
    // be unloaded must not be used again, or dlopen would return that old image.
    while (IsNameLoaded(memfd)) {
        int fresh = fcntl(memfd, F_DUPFD_CLOEXEC, memfd + 1);
        if (fresh < 0)
            break;
        close(memfd);
        memfd = fresh;
    }
    std::string procPath = ProcPath(memfd);
    void* library = dlopen(procPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        Trace("module", "cannot load %s: %s", name.c_str(), dlerror());
        close(memfd);
        error = ERROR_BAD_EXE_FORMAT;
        return nullptr;
    }
    std::unique_ptr<Module> module(new Module(std::move(devicePath)));
    module->m_library = library;
    module->m_memfd = memfd;
    Trace("module", "loaded %s", name.c_str());
    return module;
}

std::unique_ptr<Module> Module::ImageOnly(std::u16string devicePath) {
    return std::unique_ptr<Module>(new Module(std::move(devicePath)));
}

Module::~Module() {
    if (m_library)
        dlclose(m_library);
    if (m_memfd < 0)
        return;
    // An image the loader keeps (it has unique symbols, say) still owns its name: keep the
    // memory file open so that the name is never handed to another module.
    if (IsNameLoaded(m_memfd)) {
        Trace("module", "%s stays mapped after unloading", ToUtf8(m_devicePath).c_str());
        return;
    }
    close(m_memfd);
}

void* Module::Symbol(const char* name) const {
    if (!m_library)
        return nullptr;
    void* symbol = dlsym(m_library, name);
    if (!symbol)
        return nullptr;
    // dlsym also searches the libraries the module uses (the platform itself): only the
    // module's own exports count, as on the device.
    Dl_info info;
    void* owner = nullptr;
    link_map* self = nullptr;
    if (!dladdr1(symbol, &info, &owner, RTLD_DL_LINKMAP) ||
        dlinfo(m_library, RTLD_DI_LINKMAP, &self) != 0 || owner != self)
        return nullptr;
    return symbol;
}

FARPROC Module::Ordinal(unsigned ordinal) const {
    std::string name = "ce_ordinal_" + std::to_string(ordinal);
    auto* slot = static_cast<const void* const*>(Symbol(name.c_str()));
    return slot ? reinterpret_cast<FARPROC>(const_cast<void*>(*slot)) : nullptr;
}

} // namespace platform
