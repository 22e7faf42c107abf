#include "ImageDevice.h"

#include "common/MemoryStream.h"

#include <fstream>

namespace imagetest {

void ImageDevice::SetUp() {
    TestDevice::SetUp();
    corlist::InitImagesInFolder(nullptr, nullptr, u"\\Program Files\\Tavik Dialora\\");
}

void ImageDevice::TearDown() {
    corlist::SetAbort(false);
    corlist::ShutdownImages();
    TestDevice::TearDown();
}

DWORD ImageDevice::Load(const Bytes& bytes, const char16_t* path, DWORD options, corlist::Image& image) {
    Bytes copy = bytes; // the memory stream wants a writable block
    common::MemoryStream stream(copy.data(), LONG(copy.size()));
    return corlist::LoadImageStream(&image, &stream, path, options, true);
}

std::u16string ImageDevice::WriteFile(const std::string& name, const Bytes& bytes) {
    std::ofstream file(m_device->FsRoot() / "My Documents" / name, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return u"\\My Documents\\" + std::u16string(name.begin(), name.end());
}

} // namespace imagetest
