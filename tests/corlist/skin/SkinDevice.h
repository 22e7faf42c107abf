// A booted device with the image loader started, a "\Skins" folder, the skin's trace lines
// collected, and packages written byte by byte into it, for the tests of skin loading.
#pragma once

#include "../image/ImageDevice.h"
#include "common/TraceSink.h"
#include "corlist/skin/Skin.h"
#include "support/PackageBytes.h"

#include <string>
#include <vector>

namespace skintest {

class SkinDevice : public imagetest::ImageDevice {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a package of `items` (sorted by hash here) as "\Skins\<name>".
    void WritePackage(const std::string& name, std::vector<testsupport::PackageItem> items);
    // Writes `bytes` as the device file "\Skins\<name>".
    void WriteSkinFile(const std::string& name, const std::string& bytes);
    // A package holding one description named "Default.skn". Single quotes in `xml` are
    // written as the double quotes descriptions use, so tests can write them inline.
    void WriteDescription(const std::string& package, std::string xml);
    // The trace lines written since SetUp, and forgets them.
    static std::vector<std::string> TakeTrace();
    static std::string AsString(const imagetest::Bytes& bytes) { return {bytes.begin(), bytes.end()}; }

private:
    common::TraceSinkFunction m_previousSink = nullptr;
};

// The same with a skin that reads packages from "\Skins" and is cleared after each test.
class SkinOnDevice : public SkinDevice {
protected:
    void SetUp() override {
        SkinDevice::SetUp();
        m_skin.SetProgramFolder(u"\\");
    }
    void TearDown() override {
        m_skin.ClearSkin();
        SkinDevice::TearDown();
    }

    corlist::Skin m_skin;
};

} // namespace skintest
