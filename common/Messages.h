// Private messages between the deliverables. Their values are fixed: they cross modules
// and processes.
#pragma once

#include "ce/types.h"

namespace common {

constexpr UINT CRVM_QUIT = 0x8200;
constexpr UINT CRVM_OPENPAGE = 0x8201;
constexpr UINT CRVM_CALLACTION = 0x8202;
constexpr UINT CRVM_PHONESTATUS = 0x8204;
constexpr UINT CRVM_WAKE = 0x8205;
constexpr UINT CRVM_FRAMECLOSED = 0x8206;
constexpr UINT CRVM_CONTACTCHANGED = 0x82F9;
constexpr UINT CRVM_CALLLOGCHANGED = 0x82FA;
constexpr UINT CRVM_CONTACTSRELOAD = 0x82FB;
constexpr UINT CRVM_SETTINGSCHANGED = 0x82FC;
constexpr UINT CRVM_SHOWPAGE = 0x7F92;
constexpr UINT CRVM_MSGFOLDERSCHANGED = 0x7F95;
constexpr UINT CRVM_DESTROYFRAME = 0x7F9A;
constexpr UINT CRVM_APPLYPROFILE = 0x7F9B;

// Window classes by which the deliverables find each other.
inline constexpr WCHAR kWatcherClass[] = u"KIncCallWnd";
inline constexpr WCHAR kFrameClass[] = u"TAVIK_VELMORA";
inline constexpr WCHAR kControlHostClass[] = u"TavikGrpCtrl";
// The shell launch name of the main program.
inline constexpr WCHAR kMainProgramLaunchName[] = u":Corvane";

} // namespace common
