// Display names of cached contacts, built from the name fields by the `DisplayName`
// setting, with the offsets views use to show a name in two pieces.
#pragma once

#include "ce/types.h"

#include <string>
#include <string_view>

namespace corvane {

// The `DisplayName` setting.
namespace DisplayMode {
constexpr DWORD kLastFirst = 0;
constexpr DWORD kFirstLast = 1;
constexpr DWORD kFileAs = 2;
constexpr DWORD kNickname = 3;
constexpr DWORD kCompany = 4;
} // namespace DisplayMode

struct NameFields {
    std::u16string_view fileAs;
    std::u16string_view first;
    std::u16string_view middle;
    std::u16string_view last;
    std::u16string_view nickname;
    std::u16string_view company;
};

struct BuiltName {
    std::u16string text;
    // High 16 bits: end of the first part; low 16 bits: start of the family name.
    DWORD split = 0;
};

class DisplayName {
public:
    // A device contact's name; an empty result falls back to File As. `unknown` is the
    // company shown in the company mode when the contact has none.
    static BuiltName Build(const NameFields& fields, DWORD mode, std::u16string_view unknown);
    // A SIM entry's name: its text, after "Unknown, " in the company mode.
    static BuiltName BuildSim(std::u16string_view text, DWORD mode, std::u16string_view unknown);

private:
    static BuiltName LastFirst(const NameFields& fields);
    static BuiltName FirstLast(const NameFields& fields);
    static BuiltName UpToComma(std::u16string text);
};

} // namespace corvane
