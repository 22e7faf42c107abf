// A fresh simulated phone in a temporary folder, booted for one test and shut down
// (and its folder removed) after it. Platform programs and the main program are not
// started unless a test asks for them.
#pragma once

#include "device/Device.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace testsupport {

class TestDevice : public ::testing::Test {
protected:
    // A fixture turns the platform programs or the main program on in its constructor.
    TestDevice() {
        m_options.startPlatformPrograms = false;
        m_options.startMainProgram = false;
        m_options.factoryContacts = false; // tests start with an empty phone book
    }
    void SetUp() override;
    void TearDown() override;

    // Options used by SetUp; a fixture may change them in its constructor.
    platform::DeviceOptions m_options;
    std::unique_ptr<platform::Device> m_device;
    std::filesystem::path m_folder;

    // Shuts the device down and boots it again on the same folder (persistence tests).
    void Reboot();
};

// A new empty temporary folder, removed by the caller.
std::filesystem::path MakeTempFolder(const std::string& prefix);

} // namespace testsupport
