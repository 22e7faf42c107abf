#include "gdi/FontFace.h"

#include "kernel/Trace.h"
#include "kernel/Utf.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <tuple>

#ifndef DIALORA_FONT_DIR
#define DIALORA_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace platform {

namespace {

// FreeType's library object is not thread-safe for opening faces: one lock for it and
// for the cache of faces.
std::mutex g_libraryMutex;
FT_Library g_library = nullptr;
// By file, pixel size, monochrome rendering and synthetic slant.
std::map<std::tuple<std::string, int, bool, bool>, std::unique_ptr<FontFace>> g_faces;

enum class Family { Sans, Mono, Serif };

// The face name may lack its terminator: read at most LF_FACESIZE characters.
std::u16string FaceNameOf(const LOGFONTW& font) {
    size_t length = 0;
    while (length < LF_FACESIZE && font.lfFaceName[length])
        ++length;
    return std::u16string(font.lfFaceName, length);
}

Family FamilyOf(const LOGFONTW& font) {
    std::u16string name = FoldCase(FaceNameOf(font));
    if (name.find(u"courier") != std::u16string::npos || name.find(u"mono") != std::u16string::npos ||
        name.find(u"console") != std::u16string::npos)
        return Family::Mono;
    if (name.find(u"times") != std::u16string::npos || name.find(u"serif") == 0 ||
        name.find(u"georgia") != std::u16string::npos)
        return Family::Serif;
    // Tahoma, Segoe, Arial, MS Sans Serif, System and unknown names.
    if (name.empty() && (font.lfPitchAndFamily & 0x03) == FIXED_PITCH)
        return Family::Mono;
    if (name.empty() && (font.lfPitchAndFamily & 0xF0) == FF_ROMAN)
        return Family::Serif;
    return Family::Sans;
}

std::string FileFor(Family family, bool bold, bool italic) {
    const char* base = family == Family::Mono    ? "DejaVuSansMono"
                       : family == Family::Serif ? "DejaVuSerif"
                                                 : "DejaVuSans";
    const char* slant = family == Family::Serif ? "Italic" : "Oblique";
    std::string name = base;
    if (bold && italic)
        name += std::string("-Bold") + slant;
    else if (bold)
        name += "-Bold";
    else if (italic)
        name += std::string("-") + slant;
    return name + ".ttf";
}

bool LibraryReady() {
    if (!g_library && FT_Init_FreeType(&g_library) != 0) {
        g_library = nullptr;
        return false;
    }
    return true;
}

// Pixels of the em square: a negative height is the character height, a positive one the
// cell height (ascent + descent), zero the default of 12 pixels.
int EmPixelsFor(FT_Face face, LONG height) {
    int64_t requested = height;
    if (requested == 0)
        return 12;
    if (requested < 0)
        return int(std::clamp<int64_t>(-requested, 1, FontFace::kMaxPixels));
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    int64_t cell = os2 ? int64_t(os2->usWinAscent) + os2->usWinDescent
                       : int64_t(face->ascender) - face->descender;
    if (cell <= 0)
        cell = face->units_per_EM;
    int64_t em = (requested * face->units_per_EM + cell / 2) / cell;
    return int(std::clamp<int64_t>(em, 1, FontFace::kMaxPixels));
}

} // namespace

std::string FontFace::FontFolder() {
    if (const char* folder = std::getenv("DIALORA_FONT_DIR"); folder && *folder)
        return folder;
    return DIALORA_FONT_DIR;
}

FontFace* FontFace::Resolve(const LOGFONTW& font) {
    std::lock_guard lock(g_libraryMutex);
    if (!LibraryReady())
        return nullptr;
    Family family = FamilyOf(font);
    bool bold = font.lfWeight >= FW_SEMIBOLD;
    bool italic = font.lfItalic != 0;
    bool monochrome = font.lfQuality == NONANTIALIASED_QUALITY;
    std::string folder = FontFolder() + "/";
    std::string path = folder + FileFor(family, bold, italic);
    bool slanted = false;
    FT_Face probe = nullptr;
    if (FT_New_Face(g_library, path.c_str(), 0, &probe) != 0) {
        // A missing styled file falls back to the regular one of the family; italic is then
        // slanted by the renderer so that it still differs from upright text.
        std::string wanted = path;
        path = folder + FileFor(family, false, false);
        if (FT_New_Face(g_library, path.c_str(), 0, &probe) != 0) {
            Trace("gdi", "no font file %s", path.c_str());
            return nullptr;
        }
        slanted = italic;
        Trace("gdi", "no font file %s: using %s%s", wanted.c_str(), path.c_str(), slanted ? " slanted" : "");
    }
    int emPixels = EmPixelsFor(probe, font.lfHeight);
    FT_Done_Face(probe);
    auto key = std::make_tuple(path, emPixels, monochrome, slanted);
    auto found = g_faces.find(key);
    if (found != g_faces.end())
        return found->second.get();
    std::unique_ptr<FontFace> face(new FontFace());
    if (!face->Open(path, emPixels, monochrome, slanted))
        return nullptr;
    FontFace* result = face.get();
    g_faces.emplace(key, std::move(face));
    return result;
}

FontFace::~FontFace() {
    if (m_face)
        FT_Done_Face(static_cast<FT_Face>(m_face));
}

bool FontFace::Open(const std::string& path, int emPixels, bool monochrome, bool slanted) {
    FT_Face face = nullptr;
    if (FT_New_Face(g_library, path.c_str(), 0, &face) != 0)
        return false;
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(emPixels)) != 0) {
        FT_Done_Face(face);
        return false;
    }
    if (slanted) {
        // A shear of about 12 degrees, as the oblique files lean (x += 0.21 y).
        FT_Matrix shear{0x10000, 0x3600, 0, 0x10000};
        FT_Set_Transform(face, &shear, nullptr);
    }
    m_face = face;
    m_fileName = path.substr(path.find_last_of('/') + 1);
    m_monochrome = monochrome;
    m_slanted = slanted;
    m_metrics.emPixels = emPixels;
    ReadMetrics();
    return true;
}

// Ascent and descent come from the Windows metrics of the OS/2 table, as the device's
// font engine takes them, so cell heights match what programs expect.
void FontFace::ReadMetrics() {
    FT_Face face = static_cast<FT_Face>(m_face);
    double scale = double(m_metrics.emPixels) / face->units_per_EM;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    double ascent = os2 ? os2->usWinAscent : face->ascender;
    double descent = os2 ? os2->usWinDescent : -face->descender;
    m_metrics.ascent = int(std::ceil(ascent * scale));
    m_metrics.descent = int(std::ceil(descent * scale));
    m_metrics.maxWidth = int(std::ceil(face->max_advance_width * scale));
    m_metrics.underlinePosition = std::max(1, int(std::lround(-face->underline_position * scale)));
    m_metrics.underlineThickness = std::max(1, int(std::lround(face->underline_thickness * scale)));
    m_metrics.strikeoutPosition =
        os2 ? int(std::lround(os2->yStrikeoutPosition * scale)) : m_metrics.ascent / 3;
    m_metrics.averageWidth = std::max(1, GetGlyph(U'x').advance);
}

void FontFace::Render(unsigned glyphIndex, Glyph& glyph) {
    FT_Face face = static_cast<FT_Face>(m_face);
    FT_Int32 flags = FT_LOAD_RENDER | (m_monochrome ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
    if (FT_Load_Glyph(face, glyphIndex, flags) != 0)
        return;
    FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.advance = int((slot->advance.x + 32) >> 6);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = int(bitmap.width);
    glyph.height = int(bitmap.rows);
    glyph.coverage.assign(size_t(glyph.width) * size_t(glyph.height), 0);
    for (int y = 0; y < glyph.height; ++y) {
        const unsigned char* row = bitmap.buffer + ptrdiff_t(y) * bitmap.pitch;
        for (int x = 0; x < glyph.width; ++x) {
            uint8_t value = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                                ? ((row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0)
                                : row[x];
            glyph.coverage[size_t(y) * glyph.width + x] = value;
        }
    }
}

const Glyph& FontFace::GetGlyph(char32_t codePoint) {
    std::lock_guard lock(m_mutex);
    FT_Face face = static_cast<FT_Face>(m_face);
    unsigned index = FT_Get_Char_Index(face, FT_ULong(codePoint));
    auto found = m_glyphs.find(index);
    if (found != m_glyphs.end())
        return found->second;
    Glyph& glyph = m_glyphs[index];
    Render(index, glyph);
    return glyph;
}

} // namespace platform
