// The wide printf of the device's C library: conversions, widths, cutting at the buffer.
#include "ce/kernel.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string Format(size_t count, const WCHAR* format, ...) {
    WCHAR buffer[256] = {};
    va_list args;
    va_start(args, format);
    _vsnwprintf(buffer, count, format, args);
    va_end(args);
    return buffer;
}

TEST(WideFormat, ConversionsAsTheDeviceKnowsThem) {
    EXPECT_EQ(Format(256, u"%d calls, %u missed", -3, 7u), u"-3 calls, 7 missed");
    EXPECT_EQ(Format(256, u"[%5d|%-4d|%05d]", 42, 7, 9), u"[   42|7   |00009]");
    EXPECT_EQ(Format(256, u"%x %X %08lx", 255, 255, 0xBEEFul), u"ff FF 0000beef");
    EXPECT_EQ(Format(256, u"%s and %S", u"wide", "narrow"), u"wide and narrow");
    EXPECT_EQ(Format(256, u"%.3s|%6s|%-6s|", u"abcdef", u"ab", u"ab"), u"abc|    ab|ab    |");
    EXPECT_EQ(Format(256, u"%c%c 100%%", u'O', u'K'), u"OK 100%");
    EXPECT_EQ(Format(256, u"%I64d", 1234567890123ll), u"1234567890123");
    EXPECT_EQ(Format(256, u"%hd", 70000), u"4464");
    EXPECT_EQ(Format(256, u"%s", static_cast<const WCHAR*>(nullptr)), u"(null)");
    EXPECT_EQ(Format(256, u"%*d", 4, 1), u"   1");
    EXPECT_EQ(Format(256, u"\u00e9t\u00e9 %s", u"\u00e0 Z\u00fcrich"), u"\u00e9t\u00e9 \u00e0 Z\u00fcrich");
}

TEST(WideFormat, TheBufferIsNeverOverrun) {
    WCHAR buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(_snwprintf(buffer, 5, u"%s", u"abcdefgh"), -1);
    EXPECT_EQ(std::u16string(buffer), u"abcd");
    EXPECT_EQ(buffer[5], u'#');
    EXPECT_EQ(_snwprintf(buffer, 8, u"%d", 12345), 5);
    EXPECT_EQ(std::u16string(buffer), u"12345");
    // wsprintfW stops at 1024 characters.
    std::u16string longText(2000, u'x');
    std::u16string out(1100, u'#');
    EXPECT_EQ(wsprintfW(out.data(), u"%s", longText.c_str()), 1024);
    EXPECT_EQ(out[1024], u'\0');
    EXPECT_EQ(out[1025], u'#');
}

} // namespace
