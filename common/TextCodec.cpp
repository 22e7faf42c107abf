#include "common/TextCodec.h"

#include "ce/kernel.h"

#include <climits>

namespace common {

namespace {

std::u16string ToWide(UINT codePage, std::string_view text) {
    if (text.empty() || text.size() > size_t(INT_MAX))
        return {};
    int length = int(text.size());
    int needed = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (needed <= 0)
        return {};
    std::u16string wide(size_t(needed), u'\0');
    int done = MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), needed);
    wide.resize(size_t(done > 0 ? done : 0));
    return wide;
}

std::string ToNarrow(UINT codePage, std::u16string_view text) {
    if (text.empty() || text.size() > size_t(INT_MAX))
        return {};
    int length = int(text.size());
    int needed =
        WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string narrow(size_t(needed), '\0');
    int done = WideCharToMultiByte(codePage, 0, text.data(), length, narrow.data(), needed,
                                   nullptr, nullptr);
    narrow.resize(size_t(done > 0 ? done : 0));
    return narrow;
}

} // namespace

std::u16string Utf8ToWide(std::string_view text) { return ToWide(CP_UTF8, text); }
std::string WideToUtf8(std::u16string_view text) { return ToNarrow(CP_UTF8, text); }
std::u16string AnsiToWide(std::string_view text) { return ToWide(CP_ACP, text); }
std::string WideToAnsi(std::u16string_view text) { return ToNarrow(CP_ACP, text); }

} // namespace common
