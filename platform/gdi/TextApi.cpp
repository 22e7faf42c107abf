// Exported text output and measurement: ExtTextOutW, extents and metrics.
#include "ce/kernel.h"
#include "ce/wingdi.h"
#include "gdi/FontObject.h"
#include "gdi/Gdi.h"
#include "gdi/TextRenderer.h"

#include <algorithm>
#include <cstring>

using namespace platform;

namespace {

// Surface position of the top-left corner of a run of `width` pixels drawn at the logical
// point (x, y) with the DC's text alignment.
POINT AlignedOrigin(const Dc& dc, const TextRenderer& renderer, int x, int y, int width) {
    UINT align = dc.State().textAlign;
    POINT origin = dc.ToSurface(x, y);
    if ((align & TA_CENTER) == TA_CENTER)
        origin.x -= width / 2;
    else if (align & TA_RIGHT)
        origin.x -= width;
    if ((align & TA_BASELINE) == TA_BASELINE)
        origin.y -= renderer.Metrics().ascent;
    else if (align & TA_BOTTOM)
        origin.y -= renderer.Height();
    return origin;
}

bool TextArguments(LPCWSTR text, int count) { return count >= 0 && (text || count == 0); }

} // namespace

CE_API BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text,
                        UINT count, const int* dx) {
    auto context = DcForCall(dc);
    if (!context || (!text && count > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    TextRenderer renderer(*context);
    if (!renderer.Usable())
        return FALSE;
    std::u16string_view run(text ? text : u"", count);
    DcState& state = context->State();
    if (state.textAlign & TA_UPDATECP) {
        x = state.position.x;
        y = state.position.y;
    }
    int64_t width = 0;
    if (dx)
        for (UINT i = 0; i < count; ++i)
            width += dx[i];
    else
        width = renderer.Measure(run);
    int runWidth = int(std::min<int64_t>(width, INT32_MAX));
    Region clip = context->Clip();
    if (rect && (options & ETO_OPAQUE))
        renderer.FillClipped(context->ToSurface(*rect), state.bkColor, clip);
    if (rect && (options & ETO_CLIPPED))
        clip.Intersect(context->ToSurface(*rect));
    renderer.DrawRun(AlignedOrigin(*context, renderer, x, y, runWidth), run, dx, 0, clip);
    if (state.textAlign & TA_UPDATECP)
        state.position.x = LONG(std::clamp<int64_t>(int64_t(x) + runWidth, INT32_MIN, INT32_MAX));
    return TRUE;
}

CE_API BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size) {
    auto context = DcForCall(dc, false);
    if (!context || !size || !TextArguments(text, count)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    TextRenderer renderer(*context);
    if (!renderer.Usable())
        return FALSE;
    size->cx = renderer.Measure(std::u16string_view(text ? text : u"", size_t(count)));
    size->cy = renderer.Height();
    return TRUE;
}

// `dx` receives the extent up to and including every character; `fit` the number of
// characters whose extent stays within `maxExtent`.
CE_API BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, LPINT fit,
                                  LPINT dx, LPSIZE size) {
    auto context = DcForCall(dc, false);
    if (!context || !size || !TextArguments(text, count)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    TextRenderer renderer(*context);
    if (!renderer.Usable())
        return FALSE;
    std::vector<int> advances = renderer.Advances(std::u16string_view(text ? text : u"", size_t(count)));
    int64_t extent = 0;
    int fitting = 0;
    bool stillFits = true;
    for (int i = 0; i < count; ++i) {
        extent += advances[size_t(i)];
        if (dx)
            dx[i] = int(std::min<int64_t>(extent, INT32_MAX));
        stillFits = stillFits && extent <= maxExtent;
        if (stillFits)
            fitting = i + 1;
    }
    if (fit)
        *fit = fitting;
    size->cx = int(std::min<int64_t>(extent, INT32_MAX));
    size->cy = renderer.Height();
    return TRUE;
}

CE_API BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics) {
    auto context = DcForCall(dc, false);
    if (!context || !metrics) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    TextRenderer renderer(*context);
    if (!renderer.Usable())
        return FALSE;
    const FontMetrics& face = renderer.Metrics();
    const LOGFONTW& log = context->Font()->Log();
    TEXTMETRICW result{};
    result.tmAscent = face.ascent;
    result.tmDescent = face.descent;
    result.tmHeight = face.ascent + face.descent;
    result.tmInternalLeading = std::max(0, result.tmHeight - face.emPixels);
    result.tmAveCharWidth = face.averageWidth;
    result.tmMaxCharWidth = face.maxWidth;
    result.tmWeight = log.lfWeight == FW_DONTCARE ? FW_NORMAL : log.lfWeight;
    result.tmDigitizedAspectX = result.tmDigitizedAspectY = 96;
    result.tmFirstChar = 0x20;
    result.tmLastChar = 0xFFFC;
    result.tmDefaultChar = 0x1F;
    result.tmBreakChar = 0x20;
    result.tmItalic = log.lfItalic;
    result.tmUnderlined = log.lfUnderline;
    result.tmStruckOut = log.lfStrikeOut;
    bool mono = context->Font()->Face()->FileName().find("Mono") != std::string::npos;
    // As on the device, the low bit set means a variable-pitch font.
    result.tmPitchAndFamily = BYTE((mono ? FF_MODERN : FF_SWISS) | (mono ? 0 : 1));
    result.tmCharSet = DEFAULT_CHARSET;
    *metrics = result;
    return TRUE;
}

// The face name the font was created with (the system font's is "Tahoma").
CE_API int GetTextFaceW(HDC dc, int count, LPWSTR face) {
    auto context = DcForCall(dc, false);
    if (!context || !context->Font())
        return 0;
    const WCHAR* name = context->Font()->Log().lfFaceName;
    size_t length = 0;
    while (length < LF_FACESIZE - 1 && name[length])
        ++length;
    if (!face)
        return int(length + 1);
    if (count <= 0)
        return 0;
    size_t copied = std::min(length, size_t(count - 1));
    std::memcpy(face, name, copied * sizeof(WCHAR));
    face[copied] = 0;
    return int(copied);
}
