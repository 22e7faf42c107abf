#include "corlist/skin/ImageElement.h"

#include "corlist/image/Image.h"
#include "corlist/skin/AttributeTable.h"
#include "corlist/skin/AttributeValues.h"
#include "corlist/skin/ColourNotation.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/ImagePlacement.h"
#include "corlist/skin/PixelLoops.h"
#include "corlist/skin/SkinImageProvider.h"
#include "corlist/skin/SkinImageSlot.h"
#include "corlist/skin/SkinMetrics.h"

#include <algorithm>
#include <cstring>

namespace corlist {

namespace {

enum Attribute {
    kSource,
    kAlphaSource,
    kTransColor,
    kColorize,
    kFlags,
    kImgIndex,
    kImgList,
    kOpacity,
    kRepeat,
    kRepeatMask
};

const AttributeTable& Attributes() {
    static const AttributeTable table{{kSource, "source"},       {kAlphaSource, "source_a"},
                                      {kTransColor, "transColor"}, {kColorize, "colorize"},
                                      {kFlags, "flags"},         {kImgIndex, "imgindex"},
                                      {kImgList, "imgList"},     {kOpacity, "opacity"},
                                      {kRepeat, "repeat"},       {kRepeatMask, "repeatmask"}};
    return table;
}

// Grid sizes and tile sizes beyond the largest picture side mean nothing more.
constexpr int kMaxCount = 16384;

// Reads "a,b"; values below `low` become `low`, above kMaxCount become kMaxCount. A value
// that is not two numbers gives the pair `fallback`.
void ReadPair(const char* value, int& first, int& second, int low, int fallback) {
    if (!ParseIntegerPair(value, first, second)) {
        first = second = fallback;
        return;
    }
    first = std::clamp(first, low, kMaxCount);
    second = std::clamp(second, low, kMaxCount);
}

// The colorize mix of one channel: b of 256 toward the colorize colour.
int MixChannel(int colorize, int source, int b) {
    return colorize * b / 256 + source * (256 - b) / 256;
}

bool IsRgb565Bitmap(const ImageBitmap& bitmap) {
    return bitmap.header.biCompression != BI_BITFIELDS ||
           (bitmap.masks[0] == 0xF800 && bitmap.masks[1] == 0x07E0 && bitmap.masks[2] == 0x001F);
}

} // namespace

ImageElement::~ImageElement() {
    if (m_alpha)
        m_skin.ReleaseImage(m_alpha);
    if (m_colour)
        m_skin.ReleaseImage(m_colour);
}

void ImageElement::CopyFrom(const SkinElement& other) {
    const auto* source = dynamic_cast<const ImageElement*>(&other);
    if (!source)
        return;
    // Names live in the same arena for the skin's whole life.
    m_source = source->m_source;
    m_alphaSource = source->m_alphaSource;
    m_transparent = source->m_transparent;
    m_colorize = source->m_colorize;
    m_flags = source->m_flags;
    m_defaultIndex = source->m_defaultIndex;
    m_columns = source->m_columns;
    m_rows = source->m_rows;
    m_opacity = source->m_opacity;
    m_opacityPercent = source->m_opacityPercent;
    m_repeatWidth = source->m_repeatWidth;
    m_repeatHeight = source->m_repeatHeight;
    m_repeatMaskWidth = source->m_repeatMaskWidth;
    m_repeatMaskHeight = source->m_repeatMaskHeight;
}

bool ImageElement::SetAttribute(const char* name, const char* value, common::NodeArena& arena) {
    int number = 0;
    switch (Attributes().Find(name)) {
    case kSource:
        m_source = CopyWide(value, arena);
        return true;
    case kAlphaSource:
        m_alphaSource = CopyWide(value, arena);
        return true;
    case kTransColor:
        m_transparent = ParseColour(value);
        return true;
    case kColorize:
        m_colorize = ParseColour(value);
        return true;
    case kFlags:
        m_flags = ParseWordBits(value, {{"center", kCentreVertically | kCentreHorizontally},
                                        {"centerv", kCentreVertically},
                                        {"centerh", kCentreHorizontally},
                                        {"cache", kCache}});
        return true;
    case kImgIndex:
        ParseInteger(value, m_defaultIndex);
        return true;
    case kImgList:
        ReadPair(value, m_columns, m_rows, 1, 1);
        return true;
    case kOpacity:
        if (ParseInteger(value, number)) {
            m_opacityPercent = std::clamp(number, 0, 100);
            m_opacity = PercentToWeight(number, 25600);
        }
        return true;
    case kRepeat:
        ReadPair(value, m_repeatWidth, m_repeatHeight, 0, 0);
        m_repeatWidth *= CoordinateScale();
        m_repeatHeight *= CoordinateScale();
        return true;
    case kRepeatMask:
        ReadPair(value, m_repeatMaskWidth, m_repeatMaskHeight, 1, 1);
        return true;
    default:
        return false;
    }
}

corlist::Image* ImageElement::Acquire(const WCHAR* name) {
    if (!name || !*name)
        return nullptr;
    SkinImageSlot* slot = m_skin.AcquireImage(name, true, (m_flags & kCache) != 0);
    return slot ? slot->image : nullptr;
}

void ImageElement::Load() {
    if (m_state == LoadState::Loaded)
        return;
    m_state = LoadState::Loaded; // a name that fails is not asked for again
    m_alpha = Acquire(m_alphaSource);
    m_colour = Acquire(m_source);
    ChoosePixelKind();
    BuildPalette();
}

corlist::Image* ImageElement::Image(bool alpha) {
    Load();
    return alpha ? m_alpha : m_colour;
}

void ImageElement::ChoosePixelKind() {
    m_kind = PixelKind::None;
    const ImageBitmap* alpha = m_alpha && !m_alpha->Bitmap().IsEmpty() ? &m_alpha->Bitmap() : nullptr;
    const ImageBitmap* colour = m_colour && !m_colour->Bitmap().IsEmpty() ? &m_colour->Bitmap() : nullptr;
    m_alphaBits = alpha;
    m_colourBits = colour;
    if (alpha && alpha->BitsPerPixel() != 8)
        return; // an alpha picture must be 8-bit: nothing is drawn
    if (!colour) {
        if (alpha)
            m_kind = PixelKind::AlphaOnly;
        return;
    }
    switch (colour->BitsPerPixel()) {
    case 8:
        m_kind = alpha ? PixelKind::IndexedAlpha : PixelKind::Indexed;
        break;
    case 16:
        if (IsRgb565Bitmap(*colour))
            m_kind = alpha ? PixelKind::Rgb565Alpha : PixelKind::Rgb565;
        break;
    case 24:
        if (!alpha) // a 24-bit picture with an alpha picture is not drawn
            m_kind = PixelKind::Bgr24;
        break;
    default:
        break;
    }
}

uint16_t ImageElement::Colorize(uint16_t value) const {
    int strength = m_opacityPercent >= 0 ? m_opacityPercent : 50;
    int b = (25500 - 255 * strength) / 100;
    int red = MixChannel(int(m_colorize & 0xFF), (value >> 11) * 8, b);
    int green = MixChannel(int((m_colorize >> 8) & 0xFF), ((value >> 5) & 63) * 4, b);
    int blue = MixChannel(int((m_colorize >> 16) & 0xFF), (value & 31) * 8, b);
    return uint16_t(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
}

void ImageElement::BuildPalette() {
    if (m_kind != PixelKind::Indexed && m_kind != PixelKind::IndexedAlpha) {
        m_palette.reset();
        return;
    }
    if (!m_palette)
        m_palette = std::make_unique<std::array<uint32_t, 256>>();
    const ImageBitmap& bitmap = m_colour->Bitmap();
    DWORD used = bitmap.header.biClrUsed == 0 ? 256 : std::min<DWORD>(bitmap.header.biClrUsed, 256);
    uint16_t key = Rgb565FromColour(m_transparent);
    for (DWORD i = 0; i < 256; ++i) {
        uint32_t value = 0;
        if (i < used)
            std::memcpy(&value, &bitmap.colours[i], sizeof(value)); // an RGB565 table entry
        value &= 0xFFFF;
        if (i >= used || (m_transparent != kColourNone && value == key))
            (*m_palette)[i] = kSkipPixel;
        else
            (*m_palette)[i] = m_colorize != kColourNone ? Colorize(uint16_t(value)) : value;
    }
}

void ImageElement::SetTransparentColour(COLORREF colour) {
    m_transparent = colour;
    if (m_state == LoadState::Loaded)
        BuildPalette();
}

SIZE ImageElement::SubImageSize() {
    Load();
    const ImageBitmap* base = m_colourBits ? m_colourBits : m_alphaBits;
    if (!base)
        return SIZE{0, 0};
    RECT r = SubImageRect(0, base->Width(), base->Height(), m_columns, m_rows);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void ImageElement::Draw(DrawSurface& surface, const RECT& rect, int index, const RECT* clip) {
    Load();
    if (m_kind == PixelKind::None || surface.IsEmpty())
        return;
    if (m_kind == PixelKind::AlphaOnly && m_colorize == kColourNone)
        return;
    const ImageBitmap& base = m_colourBits ? *m_colourBits : *m_alphaBits;
    LONG width = base.Width(), height = base.Height();
    if (m_alphaBits) { // an alpha picture smaller than the colour one cuts it
        width = std::min(width, m_alphaBits->Width());
        height = std::min(height, m_alphaBits->Height());
    }
    RECT source = SubImageRect(index < 0 ? m_defaultIndex : index, int(base.Width()), int(base.Height()),
                               m_columns, m_rows);
    source = IntersectRects(source, RECT{0, 0, width, height});
    RECT area = surface.Clipped(RECT{0, 0, surface.Width(), surface.Height()}, clip);
    if (IsEmptyRect(source) || IsEmptyRect(area))
        return;
    AxisSpans::Axis xAxis{int(source.left), int(source.right - source.left), int(rect.left),
                          int(rect.right - rect.left), (m_flags & kCentreHorizontally) != 0,
                          m_repeatWidth, m_repeatMaskWidth};
    AxisSpans::Axis yAxis{int(source.top), int(source.bottom - source.top), int(rect.top),
                          int(rect.bottom - rect.top), (m_flags & kCentreVertically) != 0,
                          m_repeatHeight, m_repeatMaskHeight};
    AxisSpans rows(yAxis, int(area.top), int(area.bottom));
    for (Span y; rows.Next(y);) {
        AxisSpans columns(xAxis, int(area.left), int(area.right));
        for (Span x; columns.Next(x);)
            DrawSpan(surface, area, x, y);
    }
}

void ImageElement::DrawSpan(DrawSurface& surface, const RECT& area, const Span& x, const Span& y) {
    RECT target = IntersectRects(RECT{x.target, y.target, x.target + x.length, y.target + y.length}, area);
    if (IsEmptyRect(target))
        return;
    int sx = x.source + int(target.left - x.target);
    int sy = y.source + int(target.top - y.target);
    int count = int(target.right - target.left);
    const ImageBitmap* colour = m_colourBits;
    const ImageBitmap* alpha = m_alphaBits;
    const uint32_t* palette = m_palette ? m_palette->data() : nullptr;
    uint16_t key = Rgb565FromColour(m_transparent);
    uint16_t tint = Rgb565FromColour(m_colorize);
    for (LONG row = target.top; row < target.bottom; ++row, ++sy) {
        uint16_t* out = surface.Row(int(row)) + target.left;
        const BYTE* in = colour ? colour->Row(sy) : nullptr;
        const uint8_t* level = alpha ? alpha->Row(sy) + sx : nullptr;
        switch (m_kind) {
        case PixelKind::Indexed:
            CopyIndexedRow(out, in + sx, count, palette);
            break;
        case PixelKind::IndexedAlpha:
            BlendIndexedRow(out, in + sx, level, count, palette);
            break;
        case PixelKind::Rgb565:
            if (m_transparent != kColourNone)
                CopyKeyedRow(out, reinterpret_cast<const uint16_t*>(in) + sx, count, key);
            else
                CopyRow(out, reinterpret_cast<const uint16_t*>(in) + sx, count);
            break;
        case PixelKind::Rgb565Alpha:
            BlendRow(out, reinterpret_cast<const uint16_t*>(in) + sx, level, count);
            break;
        case PixelKind::Bgr24:
            CopyBgrRow(out, in + 3 * ptrdiff_t(sx), count);
            break;
        case PixelKind::AlphaOnly:
            BlendSolidRow(out, tint, level, count);
            break;
        case PixelKind::None:
            return;
        }
    }
}

} // namespace corlist
