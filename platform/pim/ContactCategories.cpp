#include "pim/ContactCategories.h"

#include <algorithm>

namespace platform {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

} // namespace

std::vector<std::u16string> ContactCategories::Split(std::u16string_view categories) {
    std::vector<std::u16string> names;
    size_t start = 0;
    while (start <= categories.size()) {
        size_t comma = categories.find(u',', start);
        if (comma == std::u16string_view::npos)
            comma = categories.size();
        std::u16string_view piece = categories.substr(start, comma - start);
        while (!piece.empty() && IsBlank(piece.front()))
            piece.remove_prefix(1);
        while (!piece.empty() && IsBlank(piece.back()))
            piece.remove_suffix(1);
        if (!piece.empty())
            names.emplace_back(piece);
        start = comma + 1;
    }
    return names;
}

std::u16string ContactCategories::Join(const std::vector<std::u16string>& names) {
    std::u16string joined;
    for (const std::u16string& name : names) {
        if (!joined.empty())
            joined += u", ";
        joined += name;
    }
    return joined;
}

bool ContactCategories::Add(std::u16string& categories, std::u16string_view name) {
    std::vector<std::u16string> names = Split(categories);
    if (std::find(names.begin(), names.end(), name) != names.end())
        return false;
    names.emplace_back(name);
    categories = Join(names);
    return true;
}

bool ContactCategories::Remove(std::u16string& categories, std::u16string_view name) {
    std::vector<std::u16string> names = Split(categories);
    size_t before = names.size();
    std::erase(names, name);
    if (names.size() == before)
        return false;
    categories = Join(names);
    return true;
}

bool ContactCategories::IsValidName(std::u16string_view name) {
    return !name.empty() && name.find(u',') == std::u16string_view::npos && !IsBlank(name.front()) &&
           !IsBlank(name.back());
}

} // namespace platform
