#include "corlist/skin/AttributeValues.h"
#include "corlist/skin/SkinMetrics.h"

#include "common/TextCodec.h"

#include <climits>
#include <cstring>
#include <string>

namespace corlist {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

const char* SkipBlanks(const char* p) {
    while (IsBlank(*p))
        ++p;
    return p;
}

// Reads an integer at `p` (blanks before it skipped) and moves `p` past it.
bool ReadInteger(const char*& p, int& value) {
    p = SkipBlanks(p);
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (*p < '0' || *p > '9')
        return false;
    int64_t number = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (number <= int64_t(INT_MAX) + 1)
            number = number * 10 + (*p - '0');
    }
    if (negative)
        number = -number;
    value = number > INT_MAX ? INT_MAX : number < INT_MIN ? INT_MIN : int(number);
    return true;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

} // namespace

bool ParseInteger(const char* text, int& value) {
    if (!text)
        return false;
    const char* p = text;
    int number = 0;
    if (!ReadInteger(p, number) || *SkipBlanks(p) != 0)
        return false;
    value = number;
    return true;
}

bool ParseScaledSize(const char* text, int& size, bool signedValue) {
    int number = 0;
    if (!ParseInteger(text, number) || number > kMaxSkinSize || number < (signedValue ? -kMaxSkinSize : 0))
        return false;
    size = number * CoordinateScale();
    return true;
}

bool ParseIntegerPair(const char* text, int& first, int& second) {
    if (!text)
        return false;
    const char* p = text;
    int a = 0, b = 0;
    if (!ReadInteger(p, a))
        return false;
    p = SkipBlanks(p);
    if (*p++ != ',' || !ReadInteger(p, b) || *SkipBlanks(p) != 0)
        return false;
    first = a;
    second = b;
    return true;
}

int PercentToWeight(int percent, int scale) {
    if (percent < 0)
        percent = 0;
    if (percent > 100)
        percent = 100;
    return percent * scale / 10000;
}

uint32_t ParseWordBits(const char* text, std::initializer_list<WordBits> words) {
    uint32_t bits = 0;
    if (!text)
        return bits;
    std::string word;
    for (const char* p = text;; ++p) {
        if (*p == ',' || *p == 0) {
            while (!word.empty() && IsBlank(word.back()))
                word.pop_back();
            for (const WordBits& known : words) {
                if (word == known.word)
                    bits |= known.bits;
            }
            word.clear();
            if (*p == 0)
                break;
        } else if (!word.empty() || !IsBlank(*p)) {
            word.push_back(LowerAscii(*p));
        }
    }
    return bits;
}

WCHAR* CopyWide(const char* text, common::NodeArena& arena) {
    if (!text)
        return nullptr;
    std::u16string wide = common::Utf8ToWide(text);
    auto* copy = static_cast<WCHAR*>(arena.AllocatePlain((wide.size() + 1) * sizeof(WCHAR)));
    if (!copy)
        return nullptr;
    std::memcpy(copy, wide.data(), wide.size() * sizeof(WCHAR));
    copy[wide.size()] = 0;
    return copy;
}

} // namespace corlist
