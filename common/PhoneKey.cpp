#include "common/PhoneKey.h"

#include "common/CountryCodes.h"

#include <algorithm>
#include <cstring>

namespace common {

namespace {

constexpr std::u16string_view kNumberStart = u"0123456789+*#(";
// What may come next inside a number: a dialable character or an opening parenthesis.
constexpr std::u16string_view kNextPart = u"0123456789*#(";
// Where a country code may begin after "+" or "00".
constexpr std::u16string_view kCodeStart = u"0123456789()";
// A country code never has more digits.
constexpr size_t kMaxCountryDigits = 3;

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool IsDialable(char16_t c) {
    return IsDigit(c) || c == u'*' || c == u'#';
}

size_t SkipTo(std::u16string_view number, size_t from, std::u16string_view set) {
    size_t found = number.find_first_of(set, std::min(from, number.size()));
    return found == std::u16string_view::npos ? number.size() : found;
}

size_t DigitRun(std::u16string_view number, size_t from) {
    size_t end = from;
    while (end < number.size() && IsDigit(number[end]))
        ++end;
    return end - from;
}

// The parts found so far, with the digit counts that go into the key's header.
struct Scan {
    NumberParts parts;
    size_t keyStart = 0;
    size_t countryDigits = 0;
    size_t areaDigits = 0;
    // Where the search for an area code starts.
    size_t afterCountry = 0;
};

// "+" or "00": the code after it, its length from the zone table.
void FindInternationalCode(std::u16string_view number, size_t at, Scan& scan) {
    size_t from = number[at] == u'+' ? at + 1 : at + 2;
    from = SkipTo(number, from, kCodeStart);
    size_t start = from;
    while (start < number.size() && !IsDigit(number[start]))
        ++start;
    scan.afterCountry = from;
    if (start >= number.size())
        return;
    char16_t second = start + 1 < number.size() ? number[start + 1] : u'\0';
    size_t length =
        std::min<size_t>(CountryCodeLength(number[start], second), DigitRun(number, start));
    if (length == 0)
        return;
    scan.countryDigits = length;
    scan.parts.countryStart = start;
    scan.parts.countryLength = length;
    scan.afterCountry = start + length;
}

// A number that begins with a digit: "1 (800) ..." carries its country code before the
// parenthesis, "1-800-..." and "7-..." before the dash.
void FindLeadingCode(std::u16string_view number, size_t at, Scan& scan) {
    size_t run = DigitRun(number, at);
    size_t next = SkipTo(number, at + run, kNextPart);
    size_t length = 0;
    // A run that begins with the trunk '0' or is too long for a code is no country code.
    if (number[at] != u'0' && run <= kMaxCountryDigits && next < number.size() &&
        number[next] == u'(')
        length = run;
    else if ((number[at] == u'1' || number[at] == u'7') && at + 1 < number.size() &&
             number[at + 1] == u'-')
        length = 1;
    scan.afterCountry = at + length;
    if (length == 0)
        return;
    scan.countryDigits = length;
    scan.parts.countryStart = at;
    scan.parts.countryLength = length;
}

// The area code after the country code: in parentheses that do not hold a trunk '0', or
// three digits standing alone after the code 1 or 7. Returns where the national part
// begins, or npos when there is no area code.
size_t FindAreaCode(std::u16string_view number, Scan& scan) {
    size_t at = SkipTo(number, scan.afterCountry, kNextPart);
    if (at >= number.size())
        return std::u16string_view::npos;
    if (number[at] == u'(') {
        if (at + 1 < number.size() && number[at + 1] == u'0')
            return std::u16string_view::npos;
        size_t close = number.find(u')', at + 1);
        size_t end = close == std::u16string_view::npos ? number.size() : close;
        scan.parts.areaStart = at + 1;
        scan.parts.areaLength = end - (at + 1);
        scan.areaDigits =
            size_t(std::count_if(number.begin() + at + 1, number.begin() + end, IsDigit));
        return close == std::u16string_view::npos ? end : close + 1;
    }
    const NumberParts& parts = scan.parts;
    bool zoneOneOrSeven = parts.countryLength == 1 && (number[parts.countryStart] == u'1' ||
                                                       number[parts.countryStart] == u'7');
    if (!zoneOneOrSeven || DigitRun(number, at) != 3)
        return std::u16string_view::npos;
    scan.parts.areaStart = at;
    scan.parts.areaLength = 3;
    scan.areaDigits = 3;
    return at + 3;
}

Scan ScanNumber(std::u16string_view number) {
    Scan scan;
    size_t at = SkipTo(number, 0, kNumberStart);
    scan.afterCountry = at;
    if (at < number.size() && number[at] != u'*' && number[at] != u'#') {
        bool international = number[at] == u'+' || (number[at] == u'0' && at + 1 < number.size() &&
                                                    number[at + 1] == u'0');
        if (international)
            FindInternationalCode(number, at, scan);
        else if (IsDigit(number[at]))
            FindLeadingCode(number, at, scan);
    }
    // A service code ("*100#") has neither code.
    bool service = at < number.size() && (number[at] == u'*' || number[at] == u'#');
    size_t areaEnd = service ? std::u16string_view::npos : FindAreaCode(number, scan);
    if (scan.countryDigits > 0) {
        scan.keyStart = scan.parts.countryStart;
    } else {
        scan.keyStart = at;
        while (scan.keyStart < number.size() && !IsDialable(number[scan.keyStart]))
            ++scan.keyStart;
        // The trunk prefix is not part of the number.
        if (scan.keyStart < number.size() && number[scan.keyStart] == u'0')
            ++scan.keyStart;
    }
    if (areaEnd != std::u16string_view::npos)
        scan.parts.nationalStart = areaEnd;
    else if (scan.countryDigits > 0)
        scan.parts.nationalStart = scan.afterCountry;
    else
        scan.parts.nationalStart = scan.keyStart;
    return scan;
}

} // namespace

NumberParts ParseNumber(std::u16string_view number) {
    return ScanNumber(number).parts;
}

PhoneKey::PhoneKey(std::u16string_view number, BYTE typeIndex) {
    Scan scan = ScanNumber(number);
    // Walking backwards stores the digits reversed and keeps the last ones when the
    // number has more than a key can count.
    size_t count = 0;
    for (size_t i = number.size(); i > scan.keyStart && count < kMaxPhoneKeyDigits; --i) {
        char16_t c = number[i - 1];
        if (IsDialable(c))
            m_bytes[kPhoneKeyHeaderSize + count++] = static_cast<BYTE>(c);
    }
    size_t country = std::min(scan.countryDigits, count);
    size_t area = std::min(scan.areaDigits, count - country);
    m_bytes[0] = static_cast<BYTE>(count);
    m_bytes[1] = typeIndex;
    m_bytes[2] = static_cast<BYTE>(country);
    m_bytes[3] = static_cast<BYTE>(area);
}

size_t PhoneKey::Size() const {
    return PhoneKeySize(m_bytes.data());
}

std::string_view PhoneKey::Digits() const {
    return {reinterpret_cast<const char*>(m_bytes.data() + kPhoneKeyHeaderSize), m_bytes[0]};
}

namespace {

// Compares the last `length` digits of both numbers (the first ones stored).
bool SameDigits(const BYTE* a, const BYTE* b, int length) {
    return length > 0 && length <= a[0] && length <= b[0] &&
           std::memcmp(a + kPhoneKeyHeaderSize, b + kPhoneKeyHeaderSize, size_t(length)) == 0;
}

} // namespace

bool KeysMatch(const BYTE* a, const BYTE* b) {
    int countA = a[0], countB = b[0];
    if (countA == 0 || countB == 0)
        return false;
    if (countA == countB)
        return SameDigits(a, b, countA);
    int countryA = a[2], countryB = b[2];
    if (countryA > 0 && countryB > 0)
        return false;
    if (countA - countryA == countB - countryB)
        return SameDigits(a, b, countA - countryA);
    bool codesA = countryA > 0 || a[3] > 0;
    bool codesB = countryB > 0 || b[3] > 0;
    if (codesA && codesB)
        return false;
    int nationalA = countA - countryA - a[3];
    int nationalB = countB - countryB - b[3];
    return nationalA == nationalB && SameDigits(a, b, nationalA);
}

bool PhoneKeyBlock::Append(const PhoneKey& key) {
    if (m_bytes.empty())
        m_bytes.assign(kPhoneKeyBlockHeaderSize, 0);
    if (m_bytes[0] == 0xFF)
        return false;
    m_bytes.insert(m_bytes.end(), key.Bytes(), key.Bytes() + key.Size());
    ++m_bytes[0];
    return true;
}

void PhoneKeyBlock::SetDefaultIndex(BYTE index) {
    if (!m_bytes.empty())
        m_bytes[1] = index;
}

const BYTE* KeyAt(const BYTE* block, size_t blockSize, size_t index) {
    if (!block || blockSize < kPhoneKeyBlockHeaderSize || index >= block[0])
        return nullptr;
    size_t offset = kPhoneKeyBlockHeaderSize;
    for (size_t i = 0;; ++i) {
        if (offset + kPhoneKeyHeaderSize > blockSize)
            return nullptr;
        size_t size = PhoneKeySize(block + offset);
        if (offset + size > blockSize)
            return nullptr;
        if (i == index)
            return block + offset;
        offset += size;
    }
}

const BYTE* FindKey(const BYTE* block, size_t blockSize, const BYTE* key) {
    if (!block || blockSize < kPhoneKeyBlockHeaderSize)
        return nullptr;
    size_t offset = kPhoneKeyBlockHeaderSize;
    for (size_t i = 0; i < block[0]; ++i) {
        if (offset + kPhoneKeyHeaderSize > blockSize)
            return nullptr;
        const BYTE* candidate = block + offset;
        size_t size = PhoneKeySize(candidate);
        if (offset + size > blockSize)
            return nullptr;
        if (KeysMatch(candidate, key))
            return candidate;
        offset += size;
    }
    return nullptr;
}

bool BlocksMatch(const std::vector<BYTE>& a, const std::vector<BYTE>& b) {
    if (a.empty() || b.empty())
        return a.empty() && b.empty();
    if (a[0] != b[0])
        return false;
    for (size_t i = 0; i < a[0]; ++i) {
        const BYTE* keyA = KeyAt(a.data(), a.size(), i);
        const BYTE* keyB = KeyAt(b.data(), b.size(), i);
        if (!keyA || !keyB || !KeysMatch(keyA, keyB))
            return false;
    }
    return true;
}

} // namespace common
