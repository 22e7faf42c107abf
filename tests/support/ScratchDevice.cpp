#include "support/ScratchDevice.h"

#include "support/TestDevice.h"

#include <stdexcept>

namespace testsupport {

ScratchDevice::ScratchDevice(platform::DeviceOptions options) {
    m_folder = MakeTempFolder("dialora-scratch");
    options.folder = m_folder / "device";
    options.startPlatformPrograms = false;
    options.startMainProgram = false;
    m_device = std::make_unique<platform::Device>(options);
    std::string error;
    if (!m_device->Boot(error))
        throw std::runtime_error("the device did not boot: " + error);
}

ScratchDevice::~ScratchDevice() {
    m_device->Shutdown();
    m_device.reset();
    std::error_code ec;
    std::filesystem::remove_all(m_folder, ec);
}

} // namespace testsupport
