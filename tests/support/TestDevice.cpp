#include "support/TestDevice.h"

#include <cstdlib>
#include <unistd.h>

namespace testsupport {

std::filesystem::path MakeTempFolder(const std::string& prefix) {
    auto base = std::filesystem::temp_directory_path();
    std::string pattern = (base / (prefix + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    return pattern;
}

void TestDevice::SetUp() {
    m_folder = MakeTempFolder("dialora-test");
    m_options.folder = m_folder / "device";
    m_device = std::make_unique<platform::Device>(m_options);
    std::string error;
    ASSERT_TRUE(m_device->Boot(error)) << error;
}

void TestDevice::TearDown() {
    if (m_device)
        m_device->Shutdown();
    m_device.reset();
    std::error_code ec;
    std::filesystem::remove_all(m_folder, ec);
}

void TestDevice::Reboot() {
    m_device->Shutdown();
    m_device = std::make_unique<platform::Device>(m_options);
    std::string error;
    ASSERT_TRUE(m_device->Boot(error)) << error;
}

} // namespace testsupport
