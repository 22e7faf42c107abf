#include "files/DevicePath.h"

#include "ce/files.h"

namespace platform {

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// Characters no device file name may hold (the host would accept most of them).
bool IsForbidden(char16_t c, bool wildcardsAllowed) {
    if (c < 0x20)
        return true;
    switch (c) {
    case u'<': case u'>': case u':': case u'"': case u'|':
        return true;
    case u'*': case u'?':
        return !wildcardsAllowed;
    default:
        return false;
    }
}

} // namespace

std::optional<std::vector<std::u16string>> DevicePath::Split(std::u16string_view path, DWORD& error,
                                                              bool wildcardLast) {
    if (path.size() > kMaxLength) {
        error = ERROR_FILENAME_EXCED_RANGE;
        return std::nullopt;
    }
    std::vector<std::u16string_view> raw;
    size_t start = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || IsSeparator(path[i])) {
            if (i > start)
                raw.push_back(path.substr(start, i - start));
            start = i + 1;
        }
    }
    std::vector<std::u16string> components;
    for (size_t k = 0; k < raw.size(); ++k) {
        std::u16string_view part = raw[k];
        if (part == u".")
            continue;
        if (part == u"..") {
            if (components.empty()) {
                error = ERROR_BAD_PATHNAME;
                return std::nullopt;
            }
            components.pop_back();
            continue;
        }
        bool last = k + 1 == raw.size();
        for (char16_t c : part) {
            if (IsForbidden(c, wildcardLast && last)) {
                error = ERROR_INVALID_NAME;
                return std::nullopt;
            }
        }
        components.emplace_back(part);
    }
    return components;
}

std::u16string DevicePath::Join(const std::vector<std::u16string>& components) {
    if (components.empty())
        return u"\\";
    std::u16string out;
    for (const auto& part : components) {
        out += u'\\';
        out += part;
    }
    return out;
}

std::u16string_view DevicePath::FileName(std::u16string_view path) {
    while (!path.empty() && IsSeparator(path.back()))
        path.remove_suffix(1);
    size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

std::u16string DevicePath::Folder(std::u16string_view path) {
    while (!path.empty() && IsSeparator(path.back()))
        path.remove_suffix(1);
    size_t slash = path.find_last_of(u"\\/");
    if (slash == std::u16string_view::npos || slash == 0)
        return u"\\";
    return std::u16string(path.substr(0, slash));
}

bool DevicePath::HasExtension(std::u16string_view path) {
    std::u16string_view name = FileName(path);
    size_t dot = name.find_last_of(u'.');
    return dot != std::u16string_view::npos && dot + 1 < name.size();
}

bool DevicePath::HasSeparator(std::u16string_view path) {
    return path.find_first_of(u"\\/") != std::u16string_view::npos;
}

bool DevicePath::HasWildcard(std::u16string_view text) {
    return text.find_first_of(u"*?") != std::u16string_view::npos;
}

} // namespace platform
