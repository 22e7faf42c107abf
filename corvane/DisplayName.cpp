#include "corvane/DisplayName.h"

#include <algorithm>

namespace corvane {

namespace {

DWORD Split(size_t firstPartEnd, size_t familyStart) {
    auto clamp = [](size_t value) { return DWORD(std::min<size_t>(value, 0xFFFF)); };
    return clamp(firstPartEnd) << 16 | clamp(familyStart);
}

// "Smith John" typed into the last name alone: a blank followed by a letter.
size_t SwappedWordBlank(std::u16string_view last) {
    size_t blank = last.find(u' ');
    if (blank == std::u16string_view::npos || blank + 1 >= last.size() || last[blank + 1] <= u'@')
        return std::u16string_view::npos;
    return blank;
}

} // namespace

BuiltName DisplayName::UpToComma(std::u16string text) {
    size_t comma = text.find(u',');
    BuiltName name;
    name.split = Split(comma == std::u16string::npos ? text.size() : comma, 0);
    name.text = std::move(text);
    return name;
}

BuiltName DisplayName::LastFirst(const NameFields& fields) {
    std::u16string text;
    size_t blank = SwappedWordBlank(fields.last);
    // The two words swap only for a name typed wholly into the last name: with a first
    // name the last name stays whole ("van Dyke, Dick").
    if (blank != std::u16string_view::npos && fields.first.empty()) {
        text.append(fields.last.substr(blank + 1))
            .append(u", ")
            .append(fields.last.substr(0, blank));
    } else {
        text.append(fields.last);
        if (!fields.first.empty() && !fields.last.empty())
            text.append(u", ");
    }
    text.append(fields.first);
    if (!fields.middle.empty()) {
        if (!text.empty())
            text += u' ';
        text.append(fields.middle);
    }
    return UpToComma(std::move(text));
}

BuiltName DisplayName::FirstLast(const NameFields& fields) {
    std::u16string text(fields.first);
    if (!fields.middle.empty()) {
        if (!text.empty())
            text += u' ';
        text.append(fields.middle);
    }
    size_t firstPartEnd = text.size();
    if (!fields.last.empty() && !text.empty())
        text += u' ';
    size_t family = text.size();
    // "van Dyke": the family name proper begins after the particle.
    size_t blank = fields.last.find(u' ');
    if (blank != std::u16string_view::npos && fields.last.size() - blank - 1 > 2 &&
        fields.last[blank + 1] >= u'A')
        family += blank + 1;
    text.append(fields.last);
    BuiltName name;
    name.split =
        Split(fields.last.empty() ? text.size() : firstPartEnd, fields.last.empty() ? 0 : family);
    name.text = std::move(text);
    return name;
}

BuiltName DisplayName::Build(const NameFields& fields, DWORD mode, std::u16string_view unknown) {
    BuiltName name;
    switch (mode) {
    case DisplayMode::kFirstLast:
        name = FirstLast(fields);
        break;
    case DisplayMode::kFileAs:
        name = UpToComma(std::u16string(fields.fileAs));
        break;
    case DisplayMode::kNickname:
        if (!fields.nickname.empty()) {
            name.text = fields.nickname;
            name.split = Split(name.text.size(), 0);
        } else {
            name = LastFirst(fields);
        }
        break;
    case DisplayMode::kCompany:
        if (!fields.company.empty() || !fields.fileAs.empty()) {
            std::u16string text(fields.company.empty() ? unknown : fields.company);
            if (!fields.fileAs.empty())
                text.append(u", ").append(fields.fileAs);
            name = UpToComma(std::move(text));
        }
        break;
    default:
        name = LastFirst(fields);
        break;
    }
    if (name.text.empty() && mode != DisplayMode::kFileAs)
        name = UpToComma(std::u16string(fields.fileAs));
    return name;
}

BuiltName DisplayName::BuildSim(std::u16string_view text, DWORD mode, std::u16string_view unknown) {
    if (mode != DisplayMode::kCompany) {
        BuiltName name;
        name.text = text;
        name.split = Split(name.text.size(), 0);
        return name;
    }
    std::u16string full(unknown);
    full.append(u", ").append(text);
    return UpToComma(std::move(full));
}

} // namespace corvane
