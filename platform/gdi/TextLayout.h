// Line layout of DrawTextW: line breaks, mnemonic prefixes ("&x" underlines x, "&&" is
// "&"), word wrapping and end ellipses. Independent of any DC: widths come from a
// measuring function, so the rules are tested on their own.
#pragma once

#include "ce/types.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct TextLine {
    std::u16string text;
    int width = 0;
    // Index in `text` of the character a prefix underlines, or -1.
    int prefix = -1;
};

class TextLayout {
public:
    using Measure = std::function<int(std::u16string_view)>;

    // Lines of `text` for the DT_ flags in `format` in a box `maxWidth` pixels wide.
    static std::vector<TextLine> Lines(std::u16string_view text, UINT format, int maxWidth,
                                       const Measure& measure);

private:
    static std::vector<std::u16string_view> Paragraphs(std::u16string_view text, bool singleLine);
    static TextLine StripPrefixes(std::u16string_view text);
    static void Wrap(const TextLine& paragraph, int maxWidth, const Measure& measure,
                     std::vector<TextLine>& lines);
    static void AddEllipsis(TextLine& line, int maxWidth, const Measure& measure);
};

} // namespace platform
