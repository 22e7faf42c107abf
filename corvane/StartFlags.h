// The start flags: the 32-bit word that names what the frame shows. It is built from
// the command line, sent with CRVM_OPENPAGE and handed to KCreateFrame unchanged.
#pragma once

#include "ce/types.h"

namespace corvane {

namespace StartFlag {
constexpr DWORD kStartup = 0x0001;
constexpr DWORD kContacts = 0x0002;
constexpr DWORD kCallHistory = 0x0004;
constexpr DWORD kFavorites = 0x0008;
constexpr DWORD kKeypad = 0x0010;
constexpr DWORD kPressKey = 0x0080; // virtual key in bits 16-23
constexpr DWORD kMessages = 0x0100;
constexpr DWORD kPhone = 0x2000;
constexpr DWORD kDefault = 0x4000;
constexpr DWORD kQuit = 0x8000;
} // namespace StartFlag

// Parses a command line ("-contacts", "-key:27", ...) into start flags. Only the first
// switch counts; anything unknown asks for the default page.
DWORD ParseStartFlags(const WCHAR* commandLine);

// The virtual key carried by a kPressKey request.
inline BYTE PressedKey(DWORD flags) { return static_cast<BYTE>((flags >> 16) & 0xFF); }

} // namespace corvane
