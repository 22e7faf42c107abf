#include "support/MainProgramDriver.h"

#include "ce/kernel.h"
#include "ce/shell.h"
#include "common/Messages.h"
#include "kernel/WaitHub.h"

#include <gtest/gtest.h>

namespace testsupport {

void Settle() { platform::WaitHub::Instance().WaitIdle(std::chrono::milliseconds(3000)); }

DWORD StartMainProgram(const WCHAR* arguments, bool wait) {
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpFile = common::kMainProgramLaunchName;
    info.lpParameters = arguments;
    info.nShow = SW_SHOW;
    EXPECT_TRUE(ShellExecuteEx(&info));
    DWORD code = STILL_ACTIVE;
    if (wait) {
        EXPECT_EQ(WaitForSingleObject(info.hProcess, 10000), WAIT_OBJECT_0);
        GetExitCodeProcess(info.hProcess, &code);
    }
    CloseHandle(info.hProcess);
    Settle();
    return code;
}

} // namespace testsupport
