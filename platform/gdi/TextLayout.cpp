#include "gdi/TextLayout.h"

#include "ce/wingdi.h"

namespace platform {

namespace {

bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

TextLine Slice(const TextLine& source, size_t from, size_t to) {
    TextLine line;
    line.text = source.text.substr(from, to - from);
    if (source.prefix >= 0 && size_t(source.prefix) >= from && size_t(source.prefix) < to)
        line.prefix = int(size_t(source.prefix) - from);
    return line;
}

} // namespace

std::vector<std::u16string_view> TextLayout::Paragraphs(std::u16string_view text, bool singleLine) {
    std::vector<std::u16string_view> paragraphs;
    if (singleLine) {
        paragraphs.push_back(text);
        return paragraphs;
    }
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        paragraphs.push_back(text.substr(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    paragraphs.push_back(text.substr(start));
    return paragraphs;
}

TextLine TextLayout::StripPrefixes(std::u16string_view text) {
    TextLine line;
    line.text.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            line.text.push_back(text[i]);
            continue;
        }
        if (i + 1 >= text.size())
            break; // a lone "&" at the end shows nothing
        if (text[i + 1] != u'&')
            line.prefix = int(line.text.size());
        line.text.push_back(text[++i]);
    }
    return line;
}

// Greedy wrapping at spaces; a word wider than the box stays whole on its own line.
void TextLayout::Wrap(const TextLine& paragraph, int maxWidth, const Measure& measure,
                      std::vector<TextLine>& lines) {
    const std::u16string& text = paragraph.text;
    size_t start = 0;
    do {
        size_t end = start, best = 0;
        while (end < text.size()) {
            size_t wordEnd = end;
            while (wordEnd < text.size() && text[wordEnd] == u' ')
                ++wordEnd;
            while (wordEnd < text.size() && text[wordEnd] != u' ')
                ++wordEnd;
            if (best != 0 && measure(std::u16string_view(text).substr(start, wordEnd - start)) > maxWidth)
                break;
            best = wordEnd;
            end = wordEnd;
        }
        if (best == 0)
            best = text.size();
        size_t trimmed = best;
        while (trimmed > start && text[trimmed - 1] == u' ')
            --trimmed;
        TextLine line = Slice(paragraph, start, trimmed);
        line.width = measure(line.text);
        lines.push_back(std::move(line));
        start = best;
        while (start < text.size() && text[start] == u' ')
            ++start;
    } while (start < text.size());
}

void TextLayout::AddEllipsis(TextLine& line, int maxWidth, const Measure& measure) {
    if (line.width <= maxWidth)
        return;
    std::u16string kept = line.text;
    while (!kept.empty()) {
        bool low = IsLowSurrogate(kept.back());
        kept.pop_back();
        // Never cut a surrogate pair in half.
        if (low && !kept.empty() && IsHighSurrogate(kept.back()))
            kept.pop_back();
        if (measure(kept + u"...") <= maxWidth)
            break;
    }
    if (line.prefix >= int(kept.size()))
        line.prefix = -1;
    line.text = kept + u"...";
    line.width = measure(line.text);
}

std::vector<TextLine> TextLayout::Lines(std::u16string_view text, UINT format, int maxWidth,
                                        const Measure& measure) {
    std::vector<TextLine> lines;
    bool singleLine = format & DT_SINGLELINE;
    bool wrap = (format & DT_WORDBREAK) && !singleLine;
    for (std::u16string_view part : Paragraphs(text, singleLine)) {
        TextLine paragraph;
        if (format & DT_NOPREFIX)
            paragraph.text = std::u16string(part);
        else
            paragraph = StripPrefixes(part);
        if (wrap) {
            Wrap(paragraph, maxWidth, measure, lines);
            continue;
        }
        paragraph.width = measure(paragraph.text);
        lines.push_back(std::move(paragraph));
    }
    if (format & DT_END_ELLIPSIS)
        for (TextLine& line : lines)
            AddEllipsis(line, maxWidth, measure);
    return lines;
}

} // namespace platform
