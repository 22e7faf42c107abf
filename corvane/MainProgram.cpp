#include "corvane/MainProgram.h"

#include "ce/kernel.h"
#include "ce/objbase.h"
#include "ce/registry.h"
#include "ce/shell.h"
#include "common/ProfileFile.h"
#include "common/Language.h"
#include "common/Messages.h"
#include "common/RunningInstance.h"
#include "corvane/BuiltinProfiles.h"
#include "corvane/Core.h"
#include "corvane/RestartBudget.h"
#include "corvane/StartFlags.h"
#include "corvane/Watcher.h"
#include "common/ModuleFolder.h"

namespace corvane {

MainProgram& MainProgram::Instance() {
    static MainProgram program;
    return program;
}

int MainProgram::Run(HINSTANCE instance, const WCHAR* commandLine) {
    m_instance = instance;
    DWORD startFlags = ParseStartFlags(commandLine);
    if (HWND running = common::FindRunningInstance()) {
        common::ForwardPageRequest(running, startFlags);
        return 0;
    }
    if (startFlags & StartFlag::kQuit)
        return static_cast<int>(StartFlag::kQuit);
    if (!StartUp(startFlags)) {
        ShutDown();
        if (m_restart)
            RestartIfAllowed();
        return 1;
    }
    WPARAM exitCode = MessageLoop();
    ShutDown();
    if (m_restart)
        RestartIfAllowed();
    return static_cast<int>(exitCode);
}

bool MainProgram::StartUp(DWORD startFlags) {
    CoInitializeEx(nullptr, 0);
    common::LoadLanguage(m_instance, u"Dialora", nullptr);
    if (HWND phone = FindWindowW(u"MSCProg", nullptr))
        GetWindowThreadProcessId(phone, &m_phoneProcessId);
    m_core = new Core(ProfileFilePath());
    m_core->SharedSettings().Load();
    m_watcher = Watcher::Create(m_instance, *this);
    if (!m_watcher)
        return false;
    // Sound profiles: the profile the user chose last, with its schedule.
    m_core->Profiles().ApplyByIndex(kLastProfileIndex);
    if (m_core->SharedSettings().Record().sendKeyAction > 0)
        m_watcher->TakeSendKey();
    m_core->OpenStores(m_watcher->Window(), [this] { return m_frame; });
    m_library = LoadLibraryW(u"Corlist");
    if (!(startFlags & StartFlag::kStartup)) {
        HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        bool opened = Guarded([&] { OpenPage(startFlags); }, u"creating the frame");
        SetCursor(previous);
        if (!opened)
            return false;
    }
    return true;
}

bool MainProgram::Guarded(const std::function<void()>& work, const WCHAR* what) {
    // A fault in the UI library (the frame's creation, a page request, a message) ends the
    // program in order and restarts it, within the restart budget.
    try {
        work();
        return true;
    } catch (...) {
        std::u16string line = std::u16string(u"Corvane: fault while ") + what + u"; restarting\n";
        OutputDebugStringW(line.c_str());
        m_restart = true;
        return false;
    }
}

std::u16string MainProgram::ProfileFilePath() const {
    return common::ModuleFolder(m_instance) + common::kProfileFileName;
}

void MainProgram::OpenPage(DWORD startFlags) {
    if (!m_library)
        return;
    FARPROC proc = GetProcAddressW(m_library, u"KCreateFrame");
    auto create = reinterpret_cast<CreateFrameFunction>(reinterpret_cast<void*>(proc));
    if (!create)
        return;
    if (m_frame && IsWindow(m_frame)) {
        // The handle with its lowest bit set brings the frame's last active pop-up along.
        SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<ULONG_PTR>(m_frame) | 1));
        PostMessageW(m_frame, common::CRVM_SHOWPAGE, startFlags, 0);
        return;
    }
    m_frame = create(startFlags, static_cast<common::CoreObject*>(m_core));
}

void MainProgram::RequestOwnPage(DWORD startFlags) {
    if (m_callInProgress || !m_watcher)
        return;
    common::ForwardPageRequest(m_watcher->Window(), startFlags);
}

void MainProgram::ForgetFrame() {
    if (m_frame && IsWindow(m_frame)) {
        MSG stale;
        while (PeekMessageW(&stale, m_frame, 0, 0, PM_REMOVE)) {
        }
    }
    m_frame = nullptr;
}

bool MainProgram::HandleThreadMessage(const MSG& message) {
    switch (message.message) {
    case common::CRVM_QUIT:
        return true;
    case common::CRVM_OPENPAGE:
        if (m_callInProgress)
            return false;
        if (message.wParam & StartFlag::kQuit)
            return true;
        OpenPage(static_cast<DWORD>(message.wParam));
        return false;
    default:
        // CRVM_WAKE only ends the frame's modal loops; nothing to do here.
        return false;
    }
}

WPARAM MainProgram::MessageLoop() {
    MSG message{};
    for (;;) {
        BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == -1)
            break;
        // A quit message is the frame ending, never the program.
        if (result == 0 || message.message == common::CRVM_FRAMECLOSED) {
            ForgetFrame();
            continue;
        }
        bool quit = false;
        bool handled = Guarded(
            [&] {
                TranslateMessage(&message);
                DispatchMessageW(&message);
                // Thread messages: a page request creates or switches the frame.
                quit = !message.hwnd && HandleThreadMessage(message);
            },
            u"dispatching a message");
        if (!handled || quit)
            break;
    }
    return message.wParam;
}

void MainProgram::ShutDown() {
    // The frame goes before its library: also after a fault, when the program restarts,
    // since a frame left behind would keep code that is about to be unloaded.
    if (m_frame && IsWindow(m_frame)) {
        try {
            DestroyWindow(m_frame);
        } catch (...) {
            OutputDebugStringW(u"Corvane: fault while destroying the frame\n");
        }
    }
    m_frame = nullptr;
    if (m_watcher)
        m_watcher->ReleaseSendKey();
    if (m_core)
        m_core->CloseStores();
    // Sound profiles: no wake-up stays registered, the saved ring script comes back.
    if (m_core)
        m_core->Profiles().Shutdown();
    if (m_watcher) {
        m_watcher->Destroy();
        m_watcher = nullptr;
    }
    if (m_core) {
        m_core->Destroy();
        m_core = nullptr;
    }
    Watcher::UnregisterWindowClass(m_instance);
    if (m_library) {
        FreeLibrary(m_library);
        m_library = nullptr;
    }
    common::FreeLanguage();
    CoUninitialize();
}

void MainProgram::RestartIfAllowed() {
    // A fault that repeats at every start would otherwise restart the program forever.
    if (!RestartBudget::TakeOne()) {
        OutputDebugStringW(u"Corvane: restarted too often; staying down\n");
        return;
    }
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpFile = common::kMainProgramLaunchName;
    info.lpParameters = u"-startup";
    info.nShow = SW_SHOW;
    ShellExecuteEx(&info);
}

} // namespace corvane
