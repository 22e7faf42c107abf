#include "corlist/image/PngReader.h"

#include <cstring>

namespace corlist {

namespace {

constexpr png_alloc_size_t kMaxChunk = 8u << 20;

void ErrorFn(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void WarningFn(png_structp, png_const_charp) {}

// A short read is a damaged file.
void ReadFn(png_structp png, png_bytep data, png_size_t length) {
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (length > 0x7FFFFFFF || job->stream->Read(data, LONG(length)) != LONG(length))
        png_error(png, "truncated");
}

// Palette entries as RGBQUADs (a table shorter than 2^bits is filled up by CreateBitmap).
int PaletteOf(PngJob* job, RGBQUAD* table) {
    png_colorp palette = nullptr;
    int count = 0;
    if (!png_get_PLTE(job->png, job->info, &palette, &count) || count > 256)
        return 0;
    for (int i = 0; i < count; ++i)
        table[i] = RGBQUAD{palette[i].blue, palette[i].green, palette[i].red, 0};
    return count;
}

// Sets the transformations for the output depth and makes the bitmap.
DWORD Prepare(PngJob* job) {
    png_structp png = job->png;
    png_infop info = job->info;
    png_uint_32 width = png_get_image_width(png, info);
    png_uint_32 height = png_get_image_height(png, info);
    int depth = png_get_bit_depth(png, info);
    int type = png_get_color_type(png, info);
    bool transparent = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    bool keepPalette = (job->options & (kLoadKeepPalette | kLoadScreenFormat)) != 0;
    // For the screen, grey pictures are alpha masks: their own transparency is dropped.
    bool greyMask = (job->options & kLoadScreenFormat) && (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA);
    if (depth == 16)
        png_set_strip_16(png);
    if (depth < 8)
        png_set_packing(png);
    RGBQUAD table[256];
    int entries = 0;
    int bits = 24;
    if (keepPalette && type == PNG_COLOR_TYPE_PALETTE) {
        entries = PaletteOf(job, table);
        if (entries == 0)
            return kImageBadData;
        bits = 8;
    } else if (greyMask || (keepPalette && type == PNG_COLOR_TYPE_GRAY && !transparent)) {
        if (depth < 8)
            png_set_expand_gray_1_2_4_to_8(png);
        if (type & PNG_COLOR_MASK_ALPHA)
            png_set_strip_alpha(png);
        bits = 8; // the default table: a grey ramp
    } else {
        if (type == PNG_COLOR_TYPE_PALETTE)
            png_set_palette_to_rgb(png);
        if (type == PNG_COLOR_TYPE_GRAY && depth < 8)
            png_set_expand_gray_1_2_4_to_8(png);
        if (transparent)
            png_set_tRNS_to_alpha(png);
        if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA)
            png_set_gray_to_rgb(png);
        png_set_bgr(png);
        bool alpha = transparent || (type & PNG_COLOR_MASK_ALPHA);
        bits = alpha ? 32 : 24;
    }
    job->passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    DWORD result = CreateBitmap(job->bitmap, LONG(width), LONG(height), bits, entries ? table : nullptr, entries);
    if (result != kImageOk)
        return result;
    // The rows libpng hands out must be exactly the bitmap's rows.
    if (png_get_rowbytes(png, info) != (uint64_t(width) * unsigned(bits) + 7) / 8)
        return kImageUnsupported;
    return kImageOk;
}

DWORD ReadRows(PngJob* job) {
    LONG height = job->bitmap->Height();
    for (int pass = 0; pass < job->passes; ++pass) {
        for (LONG y = 0; y < height; ++y) {
            if (job->abortTest && job->abortTest())
                return kImageAborted;
            png_read_row(job->png, job->bitmap->Row(y), nullptr);
        }
    }
    png_read_end(job->png, nullptr);
    return kImageOk;
}

} // namespace

DWORD DecodePng(PngJob* job) {
    png_byte signature[8];
    if (job->stream->Read(signature, 8) != 8 || png_sig_cmp(signature, 0, 8) != 0)
        return kImageBadData;
    job->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, job, ErrorFn, WarningFn);
    if (!job->png)
        return kImageNoMemory;
    job->info = png_create_info_struct(job->png);
    if (!job->info) {
        png_destroy_read_struct(&job->png, nullptr, nullptr);
        return kImageNoMemory;
    }
    job->result = kImageBadData;
    if (setjmp(png_jmpbuf(job->png))) {
        png_destroy_read_struct(&job->png, &job->info, nullptr);
        ReleaseBitmap(job->bitmap);
        return job->result;
    }
    // libpng's own side limit (a million) stays; CreateBitmap refuses sizes beyond its caps.
    png_set_chunk_malloc_max(job->png, kMaxChunk);
    png_set_read_fn(job->png, job, ReadFn);
    png_set_sig_bytes(job->png, 8);
    png_read_info(job->png, job->info);
    job->result = Prepare(job);
    if (job->result == kImageOk) {
        job->result = kImageBadData; // for a jump out of the rows
        job->result = ReadRows(job);
    }
    png_destroy_read_struct(&job->png, &job->info, nullptr);
    if (job->result != kImageOk)
        ReleaseBitmap(job->bitmap);
    return job->result;
}

} // namespace corlist
