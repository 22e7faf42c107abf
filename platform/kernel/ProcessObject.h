// One emulated process: a program image started by CreateProcessW or ShellExecuteExW
// (or one of the platform's own programs), with its threads and its private modules.
#pragma once

#include "ce/types.h"
#include "kernel/KernelObject.h"

#include <memory>
#include <string>

namespace platform {

class ModuleSpace;

class ProcessObject : public KernelObject {
public:
    ProcessObject(DWORD id, std::u16string imagePath, std::u16string commandLine)
        : m_id(id), m_imagePath(std::move(imagePath)), m_commandLine(std::move(commandLine)) {}

    ObjectType Type() const override { return ObjectType::Process; }
    bool IsWaitable() const override { return true; }
    bool IsSignaled() const override { return m_finished; }

    DWORD Id() const { return m_id; }
    // Device path of the program image, e.g. "\Windows\shell32.exe".
    const std::u16string& ImagePath() const { return m_imagePath; }
    // The file name part of the image path.
    std::u16string Name() const;
    const std::u16string& CommandLine() const { return m_commandLine; }

    // Guarded by the WaitHub lock.
    DWORD m_exitCode = 0x103; // STILL_ACTIVE
    bool m_exitCodeSet = false;
    bool m_finished = false;
    int m_liveThreads = 0;
    DWORD m_mainThreadId = 0;

    // Modules loaded into this process (each process has its own instances). Created by
    // the module loader; destroyed when the process ends.
    std::shared_ptr<ModuleSpace> m_modules;

private:
    DWORD m_id;
    std::u16string m_imagePath;
    std::u16string m_commandLine;
};

} // namespace platform
