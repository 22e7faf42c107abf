// A booted device with the product's image folder installed (BmpCodec.dll among it) and
// the image loader started on the install folder, for the image tests.
#pragma once

#include "ImageFixtures.h"
#include "corlist/image/ImageLoader.h"
#include "support/TestDevice.h"

#include <string>

namespace imagetest {

class ImageDevice : public testsupport::TestDevice {
protected:
    ImageDevice() { m_options.installFrom = DIALORA_IMAGE_DIR; }
    void SetUp() override;
    void TearDown() override;

    // Decodes `bytes` from a memory stream as a file named `path`.
    static DWORD Load(const Bytes& bytes, const char16_t* path, DWORD options, corlist::Image& image);
    // Writes `bytes` as "\My Documents\<name>" and returns the device path.
    std::u16string WriteFile(const std::string& name, const Bytes& bytes);
};

} // namespace imagetest
