#include "corlist/image/JpegReader.h"

#include "corlist/image/ExifReader.h"
#include "corlist/image/ImageMemory.h"

#include <cstring>

namespace corlist {

namespace {

// Input pictures are bounded before scaling (the output is capped again by CreateBitmap),
// and so is libjpeg's own memory: progressive files buffer every coefficient of the picture.
constexpr uint64_t kMaxInputPixels = 1ull << 26;
constexpr long kMaxDecoderMemory = 160l << 20;
// Real progressive files have a dozen scans or a few dozen; thousands of (empty) scans only
// make libjpeg walk every coefficient of the picture again for each one.
constexpr int kMaxScans = 300;
// A damaged file makes libjpeg warn and carry on ("corrupt data", "bogus progression");
// past a few warnings the file is taken as broken rather than decoded for seconds.
constexpr int kMaxWarnings = 16;

JpegJob* JobOf(j_common_ptr info) {
    return reinterpret_cast<JpegJob*>(reinterpret_cast<BYTE*>(info) - offsetof(JpegJob, info));
}

void ErrorExit(j_common_ptr info) { longjmp(JobOf(info)->jump, 1); }

// Ends the decoding with `result`, as an error of libjpeg's own would.
[[noreturn]] void Fail(JpegJob* job, DWORD result) {
    job->result = result;
    longjmp(job->jump, 1);
}

// Level -1 is a warning about damaged data; higher levels are trace messages.
void EmitMessage(j_common_ptr info, int level) {
    JpegJob* job = JobOf(info);
    if (level < 0 && ++job->warnings > kMaxWarnings)
        Fail(job, kImageBadData);
}

// libjpeg calls it before each piece of input it consumes and each pass it makes, so an
// abort is seen while a multi-scan file is read in, not only once the rows come out.
void ProgressMonitor(j_common_ptr info) {
    JpegJob* job = JobOf(info);
    if (job->abortTest && job->abortTest())
        Fail(job, kImageAborted);
    if (job->info.input_scan_number > kMaxScans)
        Fail(job, kImageBadData);
}

void OutputMessage(j_common_ptr) {}

void InitSource(j_decompress_ptr) {}

// A file that ends early fails its load instead of being padded with grey.
boolean FillInputBuffer(j_decompress_ptr info) {
    JpegJob* job = JobOf(reinterpret_cast<j_common_ptr>(info));
    LONG read = job->stream->Read(job->buffer, LONG(kJpegInputChunk));
    if (read <= 0)
        ERREXIT(info, JERR_INPUT_EOF);
    job->source.next_input_byte = job->buffer;
    job->source.bytes_in_buffer = size_t(read);
    return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
    JpegJob* job = JobOf(reinterpret_cast<j_common_ptr>(info));
    while (count > 0) {
        if (job->source.bytes_in_buffer == 0)
            FillInputBuffer(info);
        size_t step = size_t(count) < job->source.bytes_in_buffer ? size_t(count) : job->source.bytes_in_buffer;
        job->source.next_input_byte += step;
        job->source.bytes_in_buffer -= step;
        count -= long(step);
    }
}

void TermSource(j_decompress_ptr) {}

void Start(JpegJob* job) {
    job->info.err = jpeg_std_error(&job->errorManager);
    job->errorManager.error_exit = ErrorExit;
    job->errorManager.emit_message = EmitMessage;
    job->errorManager.output_message = OutputMessage;
    jpeg_CreateDecompress(&job->info, 62, sizeof(jpeg_decompress_struct));
    job->info.mem->max_memory_to_use = kMaxDecoderMemory;
    job->warnings = 0;
    job->progress.progress_monitor = ProgressMonitor;
    job->info.progress = &job->progress;
    job->source.init_source = InitSource;
    job->source.fill_input_buffer = FillInputBuffer;
    job->source.skip_input_data = SkipInputData;
    job->source.resync_to_restart = jpeg_resync_to_restart;
    job->source.term_source = TermSource;
    job->info.src = &job->source;
    // APP0..APP15 and COM are recorded (only APP1 with its data) to find the EXIF block.
    for (int marker = JPEG_APP0; marker <= JPEG_APP0 + 15; ++marker)
        jpeg_save_markers(&job->info, marker, marker == JPEG_APP0 + 1 ? 0xFFFF : 0);
    jpeg_save_markers(&job->info, JPEG_COM, 0);
}

// The EXIF block: after APP0 and COM segments, the next one must be an EXIF APP1. Only
// application and comment segments are recorded, so tables before the APP1 are not seen.
void ReadExif(JpegJob* job, ExifInfo* exif) {
    if (!exif)
        return;
    *exif = ExifInfo{};
    for (jpeg_saved_marker_ptr marker = job->info.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 || marker->marker == JPEG_COM)
            continue;
        const BYTE* block = nullptr;
        size_t size = 0;
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length == marker->original_length &&
            ExifReader::BlockOf(marker->data, marker->data_length, &block, &size))
            ExifReader::Parse(block, size, *exif);
        return;
    }
}

// The largest reduction (1/2, 1/4, 1/8) that still covers the requested size.
void ChooseScale(JpegJob* job) {
    if (job->requestWidth <= 0 || job->requestHeight <= 0)
        return;
    unsigned denominator = 1;
    while (denominator < 8) {
        unsigned next = denominator * 2;
        if ((job->info.image_width + next - 1) / next < unsigned(job->requestWidth) ||
            (job->info.image_height + next - 1) / next < unsigned(job->requestHeight))
            break;
        denominator = next;
    }
    job->info.scale_num = 1;
    job->info.scale_denom = denominator;
}

void CmykToBgr(const BYTE* cmyk, BYTE* bgr, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted)
            c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        bgr[0] = BYTE(y * k / 255);
        bgr[1] = BYTE(m * k / 255);
        bgr[2] = BYTE(c * k / 255);
    }
}

// Chooses the output format and makes the bitmap; false with job->result set on failure.
bool PrepareOutput(JpegJob* job) {
    jpeg_decompress_struct& info = job->info;
    if (info.image_width == 0 || info.image_height == 0) {
        job->result = kImageBadData;
        return false;
    }
    if (uint64_t(info.image_width) * info.image_height > kMaxInputPixels) {
        job->result = kImageTooLarge;
        return false;
    }
    bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
    bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    int bits = 24;
    if (grey && (job->options & (kLoadKeepPalette | kLoadScreenFormat))) {
        info.out_color_space = JCS_GRAYSCALE;
        bits = 8;
    } else {
        info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    }
    ChooseScale(job);
    jpeg_calc_output_dimensions(&info);
    job->result = CreateBitmap(job->bitmap, LONG(info.output_width), LONG(info.output_height), bits, nullptr, 0);
    if (job->result != kImageOk)
        return false;
    if (cmyk) {
        job->cmykRow = static_cast<BYTE*>(ImageMemory::Allocate(size_t(info.output_width) * 4));
        if (!job->cmykRow) {
            job->result = kImageNoMemory;
            return false;
        }
    }
    return true;
}

// Reads every row; false with job->result set when loading was aborted.
bool ReadRows(JpegJob* job) {
    jpeg_decompress_struct& info = job->info;
    while (info.output_scanline < info.output_height) {
        if (job->abortTest && job->abortTest()) {
            job->result = kImageAborted;
            return false;
        }
        BYTE* target = job->bitmap->Row(LONG(info.output_scanline));
        JSAMPROW row = job->cmykRow ? job->cmykRow : target;
        if (jpeg_read_scanlines(&info, &row, 1) != 1) {
            job->result = kImageBadData;
            return false;
        }
        if (job->cmykRow)
            CmykToBgr(job->cmykRow, target, info.output_width, info.saw_Adobe_marker);
    }
    return true;
}

void Finish(JpegJob* job, bool failed) {
    jpeg_destroy_decompress(&job->info);
    ImageMemory::Free(job->cmykRow);
    job->cmykRow = nullptr;
    if (failed)
        ReleaseBitmap(job->bitmap);
}

} // namespace

DWORD DecodeJpeg(JpegJob* job) {
    job->result = kImageBadData;
    if (setjmp(job->jump)) {
        Finish(job, true);
        return job->result;
    }
    Start(job);
    jpeg_read_header(&job->info, TRUE);
    ReadExif(job, job->exif);
    if (!PrepareOutput(job)) {
        Finish(job, true);
        return job->result;
    }
    job->result = kImageBadData; // for a jump out of the rows
    jpeg_start_decompress(&job->info);
    if (!ReadRows(job)) {
        Finish(job, true);
        return job->result;
    }
    jpeg_finish_decompress(&job->info);
    Finish(job, false);
    return kImageOk;
}

DWORD ReadJpegHeader(JpegJob* job, JpegInfo* out) {
    job->result = kImageBadData;
    if (setjmp(job->jump)) {
        jpeg_destroy_decompress(&job->info);
        return job->result;
    }
    Start(job);
    jpeg_read_header(&job->info, TRUE);
    ReadExif(job, &out->exif);
    out->width = LONG(job->info.image_width);
    out->height = LONG(job->info.image_height);
    out->bitsPerPixel = job->info.num_components * 8;
    char text[32];
    std::snprintf(text, sizeof(text), "Ver.%d.%02d%s", job->info.JFIF_major_version, job->info.JFIF_minor_version,
                  job->info.progressive_mode ? " - progressive" : "");
    for (size_t i = 0; i < sizeof(text) && i + 1 < sizeof(out->version); ++i) {
        out->version[i] = WCHAR(text[i]);
        if (!text[i])
            break;
    }
    jpeg_destroy_decompress(&job->info);
    return kImageOk;
}

} // namespace corlist
