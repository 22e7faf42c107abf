// An "image" element: a picture of the skin package (or one cell of a grid of pictures),
// with an optional 8-bit alpha picture, a transparent colour, a colorize colour and
// placement flags, drawn onto a DrawSurface. The pictures are acquired from the skin on
// first use and given back when the element is destroyed.
//
// Pictures are acquired with the skin's load options, so a colour picture arrives with a
// palette of RGB565 values (8 bits) or as RGB565 (16 bits), and an alpha picture as 8-bit
// grey whose index is the alpha level.
#pragma once

#include "corlist/skin/SkinElement.h"
#include "corlist/skin/SkinKinds.h"

#include "ce/types.h"

#include <array>
#include <cstdint>
#include <memory>

namespace corlist {

class DrawSurface;
class Image;
class SkinImageProvider;
struct ImageBitmap;
struct Span;

class ImageElement : public SkinElement {
public:
    // Bits of Flags().
    static constexpr uint32_t kCentreVertically = 0x1;
    static constexpr uint32_t kCentreHorizontally = 0x2;
    static constexpr uint32_t kCache = 0x8; // the package keeps the entry's data

    explicit ImageElement(SkinImageProvider& skin) : m_skin(skin) {}
    ~ImageElement() override;

    // Copies the attributes, not the acquired pictures: the copy acquires its own.
    void CopyFrom(const SkinElement& other) override;
    bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) override;

    // Draws sub-image `index` (negative: the default index) into `rect`, cut to the
    // surface's clip and to `clip` when given. See ImagePlacement.h for the placement.
    void Draw(DrawSurface& surface, const RECT& rect, int index = -1, const RECT* clip = nullptr);
    // The colour picture, or with `alpha` the alpha picture; both are acquired on first use.
    // Null when the element names none or it could not be loaded.
    corlist::Image* Image(bool alpha);
    // Changes the transparent colour: palette entries and 16-bit pixels of that RGB565 value
    // are not drawn (kColourNone: none).
    void SetTransparentColour(COLORREF colour);
    // The size of one sub-image (0 x 0 when there is no picture).
    SIZE SubImageSize();

    const WCHAR* Source() const { return m_source; }
    const WCHAR* AlphaSource() const { return m_alphaSource; }
    COLORREF TransparentColour() const { return m_transparent; }
    COLORREF ColorizeColour() const { return m_colorize; }
    uint32_t Flags() const { return m_flags; }
    int DefaultIndex() const { return m_defaultIndex; }
    int Columns() const { return m_columns; }
    int Rows() const { return m_rows; }
    // 0..256, -1 when "opacity" was never given.
    int Opacity() const { return m_opacity; }
    int RepeatWidth() const { return m_repeatWidth; }
    int RepeatHeight() const { return m_repeatHeight; }
    int RepeatMaskWidth() const { return m_repeatMaskWidth; }
    int RepeatMaskHeight() const { return m_repeatMaskHeight; }

private:
    enum class LoadState { NotLoaded, Loaded };
    // How the pixels of one placement are drawn, decided once the pictures are loaded.
    enum class PixelKind { None, Indexed, Rgb565, Bgr24, IndexedAlpha, Rgb565Alpha, AlphaOnly };

    void Load();
    corlist::Image* Acquire(const WCHAR* name);
    void ChoosePixelKind();
    void BuildPalette();
    void DrawSpan(DrawSurface& surface, const RECT& clip, const Span& x, const Span& y);
    // The colorize colour mixed into one RGB565 palette value.
    uint16_t Colorize(uint16_t value) const;

    SkinImageProvider& m_skin; // the skin that owns this element; outlives it
    WCHAR* m_source = nullptr;      // in the skin's arena
    WCHAR* m_alphaSource = nullptr; // in the skin's arena
    COLORREF m_transparent = kColourNone;
    COLORREF m_colorize = kColourNone;
    uint32_t m_flags = 0;
    int m_defaultIndex = 0;
    int m_columns = 1;
    int m_rows = 1;
    int m_opacity = -1;
    int m_opacityPercent = -1;
    int m_repeatWidth = 0;
    int m_repeatHeight = 0;
    int m_repeatMaskWidth = 1;
    int m_repeatMaskHeight = 1;

    LoadState m_state = LoadState::NotLoaded;
    corlist::Image* m_colour = nullptr; // acquired from m_skin, released in the destructor
    corlist::Image* m_alpha = nullptr;  // the same
    // The bitmaps drawn: null when absent or empty.
    const ImageBitmap* m_colourBits = nullptr;
    const ImageBitmap* m_alphaBits = nullptr;
    PixelKind m_kind = PixelKind::None;
    // RGB565 values (or kSkipPixel) of an indexed colour picture, after colorizing.
    std::unique_ptr<std::array<uint32_t, 256>> m_palette;
};

} // namespace corlist
