// DrawTextW: formatted text in a rectangle, laid out by TextLayout and drawn by
// TextRenderer.
#include "ce/kernel.h"
#include "ce/wingdi.h"
#include "gdi/Gdi.h"
#include "gdi/TextLayout.h"
#include "gdi/TextRenderer.h"
#include "kernel/Utf.h"

#include <algorithm>

using namespace platform;

namespace {

// Longest text DrawTextW lays out; longer text is cut (no device screen shows more).
constexpr size_t kMaxText = 1 << 16;

LONG LineLeft(const RECT& rect, int width, UINT format) {
    if (format & DT_CENTER)
        return LONG(rect.left + (int64_t(rect.right) - rect.left - width) / 2);
    if (format & DT_RIGHT)
        return LONG(rect.right - width);
    return rect.left;
}

// Top of the first line: vertical alignment applies to single lines only.
LONG FirstLineTop(const RECT& rect, int lineHeight, UINT format) {
    if (!(format & DT_SINGLELINE))
        return rect.top;
    if (format & DT_VCENTER)
        return LONG(rect.top + (int64_t(rect.bottom) - rect.top - lineHeight) / 2);
    if (format & DT_BOTTOM)
        return rect.bottom - lineHeight;
    return rect.top;
}

void DrawLines(Dc& dc, TextRenderer& renderer, const std::vector<TextLine>& lines, const RECT& rect,
               LONG top, UINT format, int tabWidth) {
    Region clip = dc.Clip();
    if (!(format & DT_NOCLIP))
        clip.Intersect(dc.ToSurface(rect));
    int lineHeight = renderer.Height();
    LONG y = top;
    for (const TextLine& line : lines) {
        POINT origin = dc.ToSurface(LineLeft(rect, line.width, format), y);
        renderer.DrawRun(origin, line.text, nullptr, tabWidth, clip);
        if (line.prefix >= 0) {
            std::u16string_view text(line.text);
            LONG x = origin.x + renderer.Measure(text.substr(0, size_t(line.prefix)), tabWidth);
            size_t next = size_t(line.prefix);
            NextCodePoint(text, next);
            int width = renderer.Measure(text.substr(size_t(line.prefix), next - size_t(line.prefix)));
            LONG underline = origin.y + renderer.Metrics().ascent + 1;
            renderer.FillClipped(RECT{x, underline, x + width, underline + 1}, dc.State().textColor, clip);
        }
        y += lineHeight;
    }
}

} // namespace

CE_API int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format) {
    auto context = DcForCall(dc, false);
    if (!context || !text || !rect || count < -1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    TextRenderer renderer(*context);
    if (!renderer.Usable())
        return 0;
    size_t length = std::min(count == -1 ? StrLen(text) : size_t(count), kMaxText);
    int lineHeight = renderer.Height();
    if (length == 0) {
        if (format & DT_CALCRECT) {
            rect->right = rect->left;
            rect->bottom = rect->top + ((format & DT_SINGLELINE) ? lineHeight : 0);
        }
        return lineHeight;
    }
    int tabWidth = (format & DT_EXPANDTABS) ? 8 * renderer.Metrics().averageWidth : 0;
    int maxWidth = int(std::clamp<int64_t>(int64_t(rect->right) - rect->left, 0, INT32_MAX));
    auto lines = TextLayout::Lines(std::u16string_view(text, length), format, maxWidth,
                                   [&](std::u16string_view run) { return renderer.Measure(run, tabWidth); });
    int64_t height = int64_t(lines.size()) * lineHeight;
    int total = int(std::min<int64_t>(height, INT32_MAX));
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const TextLine& line : lines)
            widest = std::max(widest, line.width);
        rect->right = LONG(std::min<int64_t>(int64_t(rect->left) + widest, INT32_MAX));
        rect->bottom = LONG(std::min<int64_t>(int64_t(rect->top) + total, INT32_MAX));
        return total;
    }
    LONG top = FirstLineTop(*rect, lineHeight, format);
    if (context->Target())
        DrawLines(*context, renderer, lines, *rect, top, format, tabWidth);
    if ((format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)))
        return int(int64_t(top) + lineHeight - rect->top);
    return total;
}
