#include "corvane/StartFlags.h"

namespace corvane {

namespace {

struct Switch {
    const char16_t* word;
    DWORD flags;
};

// Compared in this order; the first word that the switch text begins with wins, so
// "-keypad" is the keypad before "key:" is tried and "-quiet" quits.
constexpr Switch kSwitches[] = {
    {u"startup", StartFlag::kStartup}, {u"contacts", StartFlag::kContacts},
    {u"callhist", StartFlag::kCallHistory}, {u"phone", StartFlag::kPhone},
    {u"favorites", StartFlag::kFavorites}, {u"sms", StartFlag::kMessages},
    {u"keypad", StartFlag::kKeypad}, {u"key:", StartFlag::kPressKey},
    {u"q", StartFlag::kQuit},
};

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

// True when `text` begins with `word`, without regard to case.
bool StartsWithNoCase(const WCHAR* text, const char16_t* word) {
    for (; *word; ++word, ++text)
        if (Lower(*text) != *word)
            return false;
    return true;
}

// Reads a decimal number as a signed long is read, in unsigned (two's complement)
// arithmetic so that no value overflows; text after the digits is ignored.
unsigned long ReadNumber(const WCHAR* text) {
    while (*text == u' ' || *text == u'\t')
        ++text;
    bool negative = false;
    if (*text == u'+' || *text == u'-')
        negative = *text++ == u'-';
    unsigned long value = 0;
    for (; *text >= u'0' && *text <= u'9'; ++text)
        value = value * 10 + (*text - u'0');
    return negative ? 0ul - value : value;
}

} // namespace

DWORD ParseStartFlags(const WCHAR* commandLine) {
    if (!commandLine)
        return StartFlag::kDefault;
    const WCHAR* text = commandLine;
    while (*text == u' ' || *text == u'\t')
        ++text;
    if (*text != u'-')
        return StartFlag::kDefault;
    ++text;
    for (const Switch& entry : kSwitches) {
        if (!StartsWithNoCase(text, entry.word))
            continue;
        if (entry.flags != StartFlag::kPressKey)
            return entry.flags;
        // The key number is masked to one byte in unsigned arithmetic, so a negative or
        // large number never spills into the page bits.
        auto key = static_cast<DWORD>(ReadNumber(text + 4)) & 0xFFu;
        return (key << 16) | StartFlag::kPressKey;
    }
    return StartFlag::kDefault;
}

} // namespace corvane
