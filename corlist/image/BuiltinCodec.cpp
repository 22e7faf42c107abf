#include "corlist/image/BuiltinCodec.h"

#include "corlist/image/JpegDecoder.h"
#include "corlist/image/PngDecoder.h"

#include <atomic>
#include <new>

namespace corlist {

namespace {

const FormatEntry kFormats[] = {
    {u"Standard JPEG Format", u"jpg", u"jpg\0jpe\0jpeg\0", 0x47000000},
    {u"Standard THM Format", u"thm", u"thm\0", 0x40000000},
    {u"Portable Network Format", u"png", u"png\0", 0x40000000},
    {nullptr, nullptr, nullptr, 0},
};

std::atomic<AbortTest> g_abortTest{nullptr};

bool ExtensionIs(LPCWSTR path, const char16_t* extension) {
    LPCWSTR dot = nullptr;
    for (LPCWSTR p = path; *p; ++p)
        if (*p == u'.')
            dot = p;
    LPCWSTR text = dot ? dot + 1 : path;
    for (; *text && *extension; ++text, ++extension) {
        char16_t c = *text >= u'A' && *text <= u'Z' ? char16_t(*text - u'A' + u'a') : *text;
        if (c != *extension)
            return false;
    }
    return *text == 0 && *extension == 0;
}

BOOL CreateDecoder(ImageDecoder** decoder, LPCWSTR path) {
    if (!decoder || !path)
        return FALSE;
    *decoder = nullptr;
    if (ExtensionIs(path, u"jpg") || ExtensionIs(path, u"jpe") || ExtensionIs(path, u"jpeg") ||
        ExtensionIs(path, u"thm"))
        *decoder = new (std::nothrow) JpegDecoder(g_abortTest.load());
    else if (ExtensionIs(path, u"png"))
        *decoder = new (std::nothrow) PngDecoder(g_abortTest.load());
    return *decoder != nullptr;
}

// The built-in codec allocates through ImageMemory directly: nothing to keep.
void Attach(const CodecContext*) {}

void SetAbortTest(AbortTest test) { g_abortTest = test; }

} // namespace

const CodecRecord& BuiltinCodec::Record() {
    static const CodecRecord record = {sizeof(CodecRecord), kCodecRecordVersion, kFormats, CreateDecoder,
                                       Attach, SetAbortTest, {nullptr, nullptr, nullptr, nullptr}};
    return record;
}

} // namespace corlist
