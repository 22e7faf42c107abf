#include "corvane/StartFlags.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char16_t* commandLine;
    DWORD flags;
};

TEST(StartFlags, SwitchesPrefixesAndCase) {
    const Case cases[] = {
        {u"", 0x4000},
        {nullptr, 0x4000},
        {u"contacts", 0x4000},        // no dash
        {u"   -startup", 0x0001},     // leading blanks skipped
        {u"-Contacts", 0x0002},
        {u"-CALLHIST", 0x0004},
        {u"-favorites", 0x0008},
        {u"-Keypad", 0x0010},         // keypad is tried before key:
        {u"-sms", 0x0100},
        {u"-phone", 0x2000},
        {u"-q", 0x8000},
        {u"-quiet", 0x8000},          // any word beginning with q quits
        {u"-Quit now", 0x8000},
        {u"-unknown", 0x4000},
        {u"-", 0x4000},
        {u"-startupnow", 0x0001},     // the word is a prefix of the switch
        {u"-sms -contacts", 0x0100},  // only the first switch counts
        {u"-contacts -q", 0x0002},
    };
    for (const Case& c : cases)
        EXPECT_EQ(corvane::ParseStartFlags(c.commandLine), c.flags)
            << (c.commandLine ? std::string(c.commandLine, c.commandLine + std::char_traits<char16_t>::length(c.commandLine)) : "null");
}

TEST(StartFlags, KeySwitchCarriesOneByteOfKeyNumber) {
    const Case cases[] = {
        {u"-key:27", 0x001B0080},
        {u"-KEY:115", 0x00730080},
        {u"-key:27abc", 0x001B0080},   // text after the digits is ignored
        {u"-key:", 0x00000080},
        {u"-key:256", 0x00000080},     // masked to one byte
        {u"-key:511", 0x00FF0080},
        {u"-key:-1", 0x00FF0080},      // negative numbers never touch other bits
        {u"-key:-256", 0x00000080},
        {u"-key:18446744073709551617", 0x00010080}, // wraps like the device's long
    };
    for (const Case& c : cases) {
        DWORD flags = corvane::ParseStartFlags(c.commandLine);
        EXPECT_EQ(flags, c.flags);
        EXPECT_EQ(flags & 0xFF00FF7F, 0u) << "only the key bits and 0x80 may be set";
    }
    EXPECT_EQ(corvane::PressedKey(0x001B0080), 27);
}

} // namespace
