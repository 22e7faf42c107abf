#include "corlist/image/JpegDecoder.h"

#include "corlist/image/JpegReader.h"

#include <memory>
#include <new>

namespace corlist {

namespace {

// The job is zeroed: libjpeg's structures start empty, as DecodeJpeg expects.
std::unique_ptr<JpegJob> NewJob(common::Stream* stream) {
    std::unique_ptr<JpegJob> job(new (std::nothrow) JpegJob());
    if (job)
        job->stream = stream;
    return job;
}

} // namespace

DWORD JpegDecoder::Decode(common::Stream* stream, ImageBitmap* bitmap, DWORD options, ExifInfo* info) {
    if (!stream || !bitmap)
        return kImageBadArgument;
    auto job = NewJob(stream);
    if (!job)
        return kImageNoMemory;
    // A negative size in the header asks for a reduced scale that still covers it.
    if (bitmap->header.biWidth < 0 && bitmap->header.biHeight < 0) {
        job->requestWidth = -bitmap->header.biWidth;
        job->requestHeight = -bitmap->header.biHeight;
    }
    job->bitmap = bitmap;
    job->options = options;
    job->abortTest = m_abortTest;
    job->exif = info;
    return DecodeJpeg(job.get());
}

DWORD ReadJpegStreamInfo(common::Stream* stream, JpegInfo* info) {
    if (!stream || !info)
        return kImageBadArgument;
    *info = JpegInfo{};
    auto job = NewJob(stream);
    if (!job)
        return kImageNoMemory;
    return ReadJpegHeader(job.get(), info);
}

} // namespace corlist
