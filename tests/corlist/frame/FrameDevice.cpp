#include "FrameDevice.h"

#include "ce/user.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace frametest {

void FrameDevice::SetUp() {
    ContactDevice::SetUp();
    // The test runs as the device's own process, whose program folder is "\\Windows".
    for (const char* folder : {"Windows/Skins"}) {
        std::filesystem::create_directories(m_device->FsRoot() / folder);
        std::filesystem::copy_file(std::filesystem::path(DIALORA_IMAGE_DIR) / "Skins" / "Default.rpk",
                                   m_device->FsRoot() / folder / "Default.rpk",
                                   std::filesystem::copy_options::overwrite_existing);
    }
    m_cacheWindow = m_frame;
}

void FrameDevice::TearDown() {
    Close();
    if (m_other)
        DestroyWindow(m_other);
    m_frame = m_cacheWindow;
    ContactDevice::TearDown();
}

HWND FrameDevice::Open(DWORD flags) {
    m_window = corlist::Frame::Create(flags, m_core);
    if (m_window)
        m_frame = m_window;
    Pump();
    return m_window;
}

void FrameDevice::Close() {
    if (m_window && IsWindow(m_window))
        DestroyWindow(m_window);
    m_window = nullptr;
    m_frame = m_cacheWindow;
    Pump();
}

void FrameDevice::PumpFor(int milliseconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    Pump();
}

std::vector<std::string> FrameDevice::Rows() {
    std::vector<std::string> rows;
    char handle[32];
    std::snprintf(handle, sizeof handle, "ui 0x%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(m_window)));
    for (const std::string& line : Console(handle)) {
        size_t row = line.find("row ");
        size_t quote = line.find('"');
        if (row == std::string::npos || quote == std::string::npos || line.find_first_not_of(' ') != row)
            continue;
        rows.push_back(line.substr(quote + 1, line.rfind('"') - quote - 1));
    }
    return rows;
}

std::string FrameDevice::UiLine(UINT number, const std::string& kind) {
    char handle[32];
    std::snprintf(handle, sizeof handle, "ui 0x%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(m_window)));
    std::string prefix = std::to_string(number) + " " + kind + " ";
    for (const std::string& line : Console(handle)) {
        size_t start = line.find_first_not_of(' ');
        if (start != std::string::npos && line.compare(start, prefix.size(), prefix) == 0)
            return line.substr(start);
    }
    return {};
}

void FrameDevice::Type(const std::string& text) {
    for (char c : text)
        SendMessageW(m_window, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 0);
    Pump();
}

void FrameDevice::Deactivate() {
    if (!m_other) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.lpszClassName = u"FrameTestOther";
        RegisterClassW(&windowClass);
        m_other = CreateWindowExW(0, u"FrameTestOther", u"other", WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                  nullptr, nullptr);
    }
    SetForegroundWindow(m_other);
    Pump();
}

void FrameDevice::Activate() {
    SetForegroundWindow(m_window);
    Pump();
}

} // namespace frametest
