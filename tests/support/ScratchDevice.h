// A booted device in a temporary folder for programs that are not gtest fixtures (the
// benchmarks): boots in the constructor, shuts down and removes the folder at the end.
#pragma once

#include "device/Device.h"

#include <filesystem>
#include <memory>

namespace testsupport {

class ScratchDevice {
public:
    explicit ScratchDevice(platform::DeviceOptions options = {});
    ~ScratchDevice();
    ScratchDevice(const ScratchDevice&) = delete;
    ScratchDevice& operator=(const ScratchDevice&) = delete;

    platform::Device& Get() { return *m_device; }

private:
    std::filesystem::path m_folder;
    std::unique_ptr<platform::Device> m_device;
};

} // namespace testsupport
