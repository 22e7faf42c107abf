#include "corlist/image/ImageLoader.h"

#include "corlist/image/BuiltinCodec.h"
#include "corlist/image/CodecRegistry.h"
#include "corlist/image/ImageMemory.h"
#include "corlist/image/ImageTransform.h"
#include "corlist/image/JpegDecoder.h"

#include "ce/kernel.h"
#include "common/ModuleFolder.h"

#include <atomic>
#include <mutex>

namespace corlist {

namespace {

std::atomic<LONG> g_abort{0};
std::mutex g_contextMutex;
CodecContext g_context = {CreateBitmap, ReleaseBitmap, ImageMemory::Allocate, ImageMemory::Free, nullptr, nullptr};

int AbortTestFn() { return IsAborted() ? 1 : 0; }

// Runs the decoder; an exception inside it becomes kImageDecoderException.
DWORD RunDecoder(ImageDecoder* decoder, common::Stream* stream, Image* image, DWORD options) {
    try {
        return decoder->Decode(stream, &image->Bitmap(), options, &image->Info());
    } catch (...) {
        return kImageDecoderException;
    }
}

// Scaling comes first, on the decoder's full colour; the screen format last but the table.
void FinishLoad(Image* image, DWORD options, DWORD& result) {
    if (options & kLoadCoverRequest)
        result = ScaleToCover(image, image->RequestedWidth(), image->RequestedHeight());
    if (result == kImageOk && (options & (kLoadReduce4096 | kLoadReduce65536)))
        result = ReduceColours(image, (options & kLoadReduce4096) ? 4096 : 65536);
    if (result == kImageOk && (options & kLoadScreenFormat))
        result = ConvertToScreenFormat(image);
    if (result == kImageOk && (options & kLoadRgb565Table) && image->Bitmap().BitsPerPixel() <= 8)
        ConvertColourTableToRgb565(image->Bitmap());
}

} // namespace

void InitImagesInFolder(LowMemoryCallback lowMemory, void* userData, std::u16string hostFolder) {
    auto& registry = CodecRegistry::Instance();
    if (registry.IsStarted())
        return;
    {
        std::lock_guard lock(g_contextMutex);
        g_context.lowMemory = lowMemory;
        g_context.userData = userData;
    }
    ImageMemory::SetLowMemoryCallback(lowMemory, userData);
    registry.Start(std::move(hostFolder), &g_context, AbortTestFn);
    registry.Register(BuiltinCodec::Record(), &g_context);
    registry.AddRegisteredLibraries();
}

void InitImages(LowMemoryCallback lowMemory, void* userData, HMODULE hostModule) {
    InitImagesInFolder(lowMemory, userData, common::ModuleFolder(hostModule));
}

void ShutdownImages() {
    CodecRegistry::Instance().Stop();
    ImageMemory::SetLowMemoryCallback(nullptr, nullptr);
    std::lock_guard lock(g_contextMutex);
    g_context.lowMemory = nullptr;
    g_context.userData = nullptr;
}

bool RegisterCodec(const CodecRecord* record, const CodecContext* context) {
    return record && CodecRegistry::Instance().Register(*record, context);
}

const CodecContext* HostCodecContext() { return &g_context; }

DWORD LoadImageStream(Image* image, common::Stream* stream, LPCWSTR path, DWORD options, bool releaseDecoder) {
    if (!image || !stream)
        return kImageBadArgument;
    image->Empty();
    if (IsAborted())
        return kImageAborted;
    ImageDecoder* decoder = nullptr;
    DWORD result = CodecRegistry::Instance().CreateDecoder(path, &decoder);
    if (result != kImageOk)
        return result;
    image->SetDecoder(decoder);
    if (!(options & kLoadFormatMask))
        options |= kLoadTrueColour;
    if (image->RequestedWidth() > 0) {
        image->Bitmap().header.biWidth = -image->RequestedWidth();
        image->Bitmap().header.biHeight = -image->RequestedHeight();
    }
    result = RunDecoder(decoder, stream, image, options);
    if (result == kImageOk && IsAborted())
        result = kImageAborted;
    if (result != kImageOk) {
        decoder->Cleanup();
        ReleaseBitmap(&image->Bitmap());
    } else {
        FinishLoad(image, options, result);
    }
    if (releaseDecoder)
        image->ReleaseDecoder();
    return result;
}

void SetAbort(bool abort) { g_abort.exchange(abort ? 1 : 0); }

bool IsAborted() { return g_abort.load() != 0; }

DWORD ReadJpegInfo(common::Stream* stream, JpegInfo* info) { return ReadJpegStreamInfo(stream, info); }

} // namespace corlist
