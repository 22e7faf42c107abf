// BmpCodec.dll: an image codec library. The loader calls KGetImageLoadInterface when a
// ".bmp" or ".dib" picture is first loaded.
#include "codecs/bmp/BmpDecoder.h"

#include <atomic>
#include <new>

namespace {

using namespace corlist;

const FormatEntry kFormats[] = {
    {u"Windows Bitmap", u"bmp", u"bmp\0dib\0", 0x40000000},
    {nullptr, nullptr, nullptr, 0},
};

std::atomic<const CodecContext*> g_context{nullptr};
std::atomic<AbortTest> g_abortTest{nullptr};

BOOL CreateDecoder(ImageDecoder** decoder, LPCWSTR path) {
    if (!decoder)
        return FALSE;
    *decoder = nullptr;
    const CodecContext* context = g_context.load();
    if (!context)
        return FALSE; // not attached to a host yet
    *decoder = new (std::nothrow) bmpcodec::BmpDecoder(context, g_abortTest.load());
    return *decoder != nullptr;
}

void Attach(const CodecContext* context) { g_context = context; }

void SetAbortTest(AbortTest test) { g_abortTest = test; }

const CodecRecord kRecord = {sizeof(CodecRecord), kCodecRecordVersion, kFormats, CreateDecoder, Attach,
                             SetAbortTest, {nullptr, nullptr, nullptr, nullptr}};

} // namespace

CE_API const CodecRecord* KGetImageLoadInterface() { return &kRecord; }
