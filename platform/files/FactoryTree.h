// The device file system as it leaves the factory, and the installation of the built
// deliverables into it at every boot (so that a rebuilt deliverable is what runs).
#pragma once

#include <filesystem>
#include <string>

namespace platform {

class FactoryTree {
public:
    // Device path of the install folder of the deliverables.
    static constexpr const char16_t* kInstallFolder = u"\\Program Files\\Tavik Dialora";

    // Creates the factory folders inside `fsRoot` (kept when present) and installs the
    // files of `installFrom` (when not empty). Returns false with a reason.
    static bool Build(const std::filesystem::path& fsRoot, const std::filesystem::path& installFrom,
                      std::string& error);

    // Copies every file of `from` (with its subfolders) into `to`, skipping files whose
    // size and last write time already agree. Each copy is written to a temporary file
    // and renamed into place.
    static bool Install(const std::filesystem::path& from, const std::filesystem::path& to,
                        std::string& error);
};

} // namespace platform
