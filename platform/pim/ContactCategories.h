// A contact's categories are one string of names separated by commas ("Family, Favorites").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

class ContactCategories {
public:
    // The names, blanks around each trimmed, empty pieces dropped.
    static std::vector<std::u16string> Split(std::u16string_view categories);
    // The names joined with ", ".
    static std::u16string Join(const std::vector<std::u16string>& names);
    // Adds `name` unless present (exact comparison); false when it was present.
    static bool Add(std::u16string& categories, std::u16string_view name);
    // Removes every piece equal to `name`; false when none was.
    static bool Remove(std::u16string& categories, std::u16string_view name);
    // A name may not be empty, hold a comma or begin or end with a blank.
    static bool IsValidName(std::u16string_view name);
};

} // namespace platform
