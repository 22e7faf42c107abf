// Unix stream sockets by path, for the console socket in the device folder. Device
// folders can be deeper than the 107 bytes a socket address holds; such a path is reached
// through /proc/self/fd of its folder instead, so any folder works.
#pragma once

#include <filesystem>
#include <string>

namespace platform {

class UnixSocket {
public:
    // A listening socket (close-on-exec) at `path`, readable and writable by this user
    // only, or -1 with a reason. A stale socket file is replaced; a live one (another
    // dialora serves it) is refused.
    static int Listen(const std::filesystem::path& path, std::string& error);
    // A connected socket, or -1 with a reason.
    static int Connect(const std::filesystem::path& path, std::string& error);
    // True when something accepts connections at `path`.
    static bool IsServed(const std::filesystem::path& path);
    // Writes all of `data`; false when the peer is gone or does not read.
    static bool SendAll(int fd, const std::string& data);
};

} // namespace platform
