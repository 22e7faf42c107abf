// The exported input panel functions over InputPanel.
#include "ce/kernel.h"
#include "ce/sipapi.h"
#include "apps/ShellProgram.h"
#include "shell/InputPanel.h"

using platform::InputPanel;

CE_API BOOL SipShowIM(DWORD flags) { return InputPanel::Instance().Show((flags & SIPF_ON) != 0); }

CE_API BOOL SipGetInfo(SIPINFO* info) {
    if (!info || info->cbSize < sizeof(SIPINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    InputPanel& panel = InputPanel::Instance();
    bool shown = panel.IsShown();
    info->fdwFlags = SIPF_DOCKED | (shown ? SIPF_ON : SIPF_OFF);
    info->rcSipRect = panel.Rect();
    RECT visible{0, platform::ShellProgram::TaskBarHeight(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (shown)
        visible.bottom = info->rcSipRect.top;
    info->rcVisibleDesktop = visible;
    info->dwImDataSize = 0;
    return TRUE;
}

CE_API BOOL SipSetInfo(SIPINFO* info) {
    if (!info || info->cbSize < sizeof(SIPINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return InputPanel::Instance().Show((info->fdwFlags & SIPF_ON) != 0);
}
