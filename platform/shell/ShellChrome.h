// What the shell shows around programs: the task bar, its Start icon and the input panel
// button of the menu bars. SHFullScreen switches them for the whole device; the task bar
// and the menu bars read the state when they paint.
#pragma once

#include "ce/types.h"

#include <atomic>

namespace platform {

class ShellChrome {
public:
    static ShellChrome& Instance();

    // Applies SHFS_* bits (checked by the caller) and updates the windows concerned.
    void Apply(DWORD state);
    bool TaskBarShown() const { return m_taskBar; }
    bool StartIconShown() const { return m_startIcon; }
    bool SipButtonShown() const { return m_sipButton; }
    // Back to everything shown (boot).
    void Reset();

private:
    std::atomic<bool> m_taskBar{true};
    std::atomic<bool> m_startIcon{true};
    std::atomic<bool> m_sipButton{true};
};

} // namespace platform
