// libjpeg reports errors by longjmp. Everything it may jump over lives in the plain
// structures of WriteJpeg's frame, so no C++ destructor is skipped.
#include "imaging/JpegWriter.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

namespace platform {

namespace {

constexpr size_t kOutputChunk = 16384;

struct WriterError {
    jpeg_error_mgr manager;
    jmp_buf jump;
};

struct StreamDestination {
    jpeg_destination_mgr manager;
    IStream* stream;
    JOCTET buffer[kOutputChunk];
};

void ErrorExit(j_common_ptr info) { longjmp(reinterpret_cast<WriterError*>(info->err)->jump, 1); }

void OutputMessage(j_common_ptr) {}

bool WriteAll(IStream* stream, const JOCTET* data, size_t count) {
    ULONG written = 0;
    return SUCCEEDED(stream->Write(data, ULONG(count), &written)) && written == count;
}

void InitDestination(j_compress_ptr info) {
    auto* destination = reinterpret_cast<StreamDestination*>(info->dest);
    destination->manager.next_output_byte = destination->buffer;
    destination->manager.free_in_buffer = kOutputChunk;
}

boolean EmptyOutputBuffer(j_compress_ptr info) {
    auto* destination = reinterpret_cast<StreamDestination*>(info->dest);
    if (!WriteAll(destination->stream, destination->buffer, kOutputChunk))
        ERREXIT(info, JERR_FILE_WRITE);
    destination->manager.next_output_byte = destination->buffer;
    destination->manager.free_in_buffer = kOutputChunk;
    return TRUE;
}

void TermDestination(j_compress_ptr info) {
    auto* destination = reinterpret_cast<StreamDestination*>(info->dest);
    size_t used = kOutputChunk - destination->manager.free_in_buffer;
    if (used && !WriteAll(destination->stream, destination->buffer, used))
        ERREXIT(info, JERR_FILE_WRITE);
}

} // namespace

bool WriteJpeg(const uint8_t* rgb, uint32_t width, uint32_t height, int quality, IStream* stream) {
    jpeg_compress_struct info;
    WriterError error;
    static thread_local StreamDestination destination; // 16 KiB: kept off the stack
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = ErrorExit;
    error.manager.output_message = OutputMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    destination.stream = stream;
    destination.manager.init_destination = InitDestination;
    destination.manager.empty_output_buffer = EmptyOutputBuffer;
    destination.manager.term_destination = TermDestination;
    info.dest = &destination.manager;
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + size_t(info.next_scanline) * width * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace platform
