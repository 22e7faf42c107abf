#include "files/DamagedFile.h"

#include <ctime>
#include <string>

namespace platform {

namespace {

std::string TimeStamp() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y%m%d-%H%M%S", &parts);
    return buffer;
}

} // namespace

bool SetAsideDamagedFile(const std::filesystem::path& file, std::filesystem::path& movedTo,
                         std::error_code& ec) {
    std::filesystem::path target = file;
    target += ".corrupt-" + TimeStamp();
    movedTo = target;
    for (int n = 2; std::filesystem::exists(movedTo, ec) && n < 1000; ++n) {
        movedTo = target;
        movedTo += "-" + std::to_string(n);
    }
    ec.clear();
    std::filesystem::rename(file, movedTo, ec);
    return !ec;
}

} // namespace platform
