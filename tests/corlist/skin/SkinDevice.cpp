#include "SkinDevice.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace skintest {

namespace {
std::vector<std::string> g_trace;
} // namespace

void SkinDevice::SetUp() {
    ImageDevice::SetUp();
    std::filesystem::create_directories(m_device->FsRoot() / "Skins");
    g_trace.clear();
    m_previousSink = common::SetTraceSink([](const char* line) { g_trace.emplace_back(line); });
}

void SkinDevice::TearDown() {
    common::SetTraceSink(m_previousSink);
    ImageDevice::TearDown();
}

void SkinDevice::WritePackage(const std::string& name, std::vector<testsupport::PackageItem> items) {
    WriteSkinFile(name, testsupport::PackageBytes(testsupport::SortedByHash(std::move(items))));
}

void SkinDevice::WriteSkinFile(const std::string& name, const std::string& bytes) {
    std::ofstream file(m_device->FsRoot() / "Skins" / name, std::ios::binary);
    file.write(bytes.data(), std::streamsize(bytes.size()));
}

void SkinDevice::WriteDescription(const std::string& package, std::string xml) {
    std::replace(xml.begin(), xml.end(), '\'', '"');
    WritePackage(package, {{u"Default.skn", xml}});
}

std::vector<std::string> SkinDevice::TakeTrace() {
    std::vector<std::string> lines;
    lines.swap(g_trace);
    return lines;
}

} // namespace skintest
