// A font file of the DejaVu family opened at one pixel size, with its metrics and a
// cache of rendered glyphs. Faces are shared by every font object that resolves to the
// same file, size and rendering mode, and live as long as the process (fonts are
// read-only files; the number of faces is bounded by the size cap).
#pragma once

#include "ce/wingdi.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform {

// One rendered glyph: coverage 0..255 per pixel, placed relative to the pen position on
// the baseline (left bearing, top above the baseline).
struct Glyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;
};

struct FontMetrics {
    int emPixels = 0;
    int ascent = 0;
    int descent = 0;
    int averageWidth = 0;
    int maxWidth = 0;
    int underlinePosition = 0; // pixels below the baseline
    int underlineThickness = 1;
    int strikeoutPosition = 0; // pixels above the baseline
};

class FontFace {
public:
    // Largest character height in pixels a font may ask for.
    static constexpr int kMaxPixels = 512;

    // The face of the DejaVu family that a logical font maps to (family by face name and
    // pitch, bold from weight 600, italic to the oblique file); null when no font file can
    // be opened. A missing styled file falls back to the family's regular file with a trace
    // line, italic then slanted by the renderer.
    static FontFace* Resolve(const LOGFONTW& font);
    // Folder of the font files (DIALORA_FONT_DIR overrides the built-in one).
    static std::string FontFolder();

    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    const FontMetrics& Metrics() const { return m_metrics; }
    // The glyph of a code point (the missing-glyph box when the font lacks it). The
    // reference stays valid as long as the face.
    const Glyph& GetGlyph(char32_t codePoint);
    int Advance(char32_t codePoint) { return GetGlyph(codePoint).advance; }
    bool IsMonochrome() const { return m_monochrome; }
    bool IsSlanted() const { return m_slanted; }
    const std::string& FileName() const { return m_fileName; }

private:
    FontFace() = default;
    bool Open(const std::string& path, int emPixels, bool monochrome, bool slanted);
    void ReadMetrics();
    void Render(unsigned glyphIndex, Glyph& glyph);

    void* m_face = nullptr; // FT_Face, kept opaque so that FreeType headers stay in one file
    std::string m_fileName;
    bool m_monochrome = false;
    bool m_slanted = false;
    FontMetrics m_metrics;
    std::mutex m_mutex;
    std::unordered_map<unsigned, Glyph> m_glyphs;
};

} // namespace platform
