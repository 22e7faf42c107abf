#include "host/Host.h"

#include "console/ConsoleServer.h"
#include "console/DeviceCommands.h"
#include "console/LineBuffer.h"
#include "console/ScriptRunner.h"
#include "console/UnixSocket.h"
#include "host/ShutdownSignal.h"
#include "host/StandardInput.h"
#include "kernel/Trace.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <poll.h>
#include <thread>

namespace host {

namespace {

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
        if (const char* value = std::getenv(name); value && *value)
            return true;
    return false;
}

void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

} // namespace

bool Host::ChooseHeadless() const { return m_options.headless || !HasDisplay(); }

platform::DeviceOptions Host::MakeDeviceOptions() const {
    platform::DeviceOptions device;
    device.folder = m_options.device.empty() ? platform::Device::DefaultFolder() : m_options.device;
    device.reset = m_options.reset;
    device.screenWidth = m_options.screenWidth;
    device.screenHeight = m_options.screenHeight;
    device.headless = ChooseHeadless();
    if (!m_options.oem.empty())
        device.oem = m_options.oem;
    std::error_code ec;
    if (std::filesystem::is_directory(DIALORA_IMAGE_DIR, ec))
        device.installFrom = DIALORA_IMAGE_DIR;
    return device;
}

int Host::Run() {
    if (m_options.trace)
        platform::EnableTrace(true);
    if (!ShutdownSignal::Install()) {
        std::fprintf(stderr, "dialora: cannot set up signal handling\n");
        return 1;
    }
    platform::DeviceOptions options = MakeDeviceOptions();
    auto socketPath = platform::ConsoleServer::SocketPathIn(options.folder);
    // Checked before boot: a reset must never wipe the folder of a running device.
    if (platform::UnixSocket::IsServed(socketPath)) {
        std::fprintf(stderr, "dialora: another dialora is running on %s\n", options.folder.c_str());
        return 1;
    }
    platform::Device device(options);
    std::string error;
    if (!device.Boot(error)) {
        std::fprintf(stderr, "dialora: cannot start the device: %s\n", error.c_str());
        return 1;
    }
    m_console.SetQuitHook([] { ShutdownSignal::Request(); });
    platform::RegisterDeviceCommands(m_console);
    platform::ConsoleServer server(m_console, socketPath);
    if (!server.Start(error)) {
        std::fprintf(stderr, "dialora: cannot serve the console: %s\n", error.c_str());
        device.Shutdown();
        return 1;
    }
    // A signal interrupts whatever command runs (a long `wait`) through the console.
    std::thread watcher([this] {
        WaitForShutdown();
        m_console.RequestQuit();
    });
    m_folder = options.folder.string();
    m_socketPath = socketPath.string();
    int status = 0;
    if (!options.headless) {
        platform::SdlScreen screen(platform::SdlScreenOptions{m_options.scale, m_options.frame});
        if (screen.Open(error)) {
            status = RunWithWindow(screen);
        } else {
            std::fprintf(stderr, "dialora: no phone window (%s); running headless\n", error.c_str());
            status = ServeConsole(true);
        }
    } else {
        status = ServeConsole(true);
    }
    ShutdownSignal::Request();
    watcher.join();
    server.Stop();
    device.Shutdown();
    return status;
}

int Host::ServeConsole(bool headless) {
    if (!m_options.script.empty())
        return RunScript();
    if (m_options.console || headless) {
        std::fprintf(stderr, "dialora: device %s ready; console on standard input and %s\n",
                     m_folder.c_str(), m_socketPath.c_str());
        ServeStandardInput();
    } else {
        WaitForShutdown();
    }
    return 0;
}

int Host::RunWithWindow(platform::SdlScreen& screen) {
    int status = 0;
    std::thread sources([&] {
        status = ServeConsole(false);
        ShutdownSignal::Request();
    });
    screen.Run([] { return ShutdownSignal::Requested(); });
    // Closing the window shuts the phone down.
    ShutdownSignal::Request();
    sources.join();
    return status;
}

int Host::RunScript() {
    platform::ScriptRunner runner(m_console, std::cout);
    runner.SetStopCheck([] { return ShutdownSignal::Signalled(); });
    bool passed = runner.RunFile(m_options.script);
    std::cout.flush();
    return passed ? 0 : 1;
}

void Host::ServeStandardInput() {
    StandardInput input([this] { m_console.RequestQuit(); });
    input.Start();
    platform::LineBuffer::Line line;
    while (input.Next(line) && !m_console.QuitRequested())
        Print(line.tooLong ? "ERROR line too long\n" : m_console.Execute(line.text).Text());
    // The reading thread ends at the end of input or with the shutdown asked for here.
    ShutdownSignal::Request();
}

void Host::WaitForShutdown() {
    while (!ShutdownSignal::Requested()) {
        pollfd fd{ShutdownSignal::ReadFd(), POLLIN, 0};
        poll(&fd, 1, -1);
    }
}

} // namespace host
