// The registry of image codecs: every registered codec with its record and context, and
// an index from file extension (any case) to its codec. Codecs in libraries named under
// HKLM "Software\Tavik\Dialora\ImageCodecs" (one subkey per library file, value
// "Extensions" = "bmp;dib") are indexed at start and loaded on first use. Guarded by one
// lock: the picture loader thread loads images too.
#pragma once

#include "corlist/image/CodecRecord.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace corlist {

class CodecRegistry {
public:
    static constexpr char16_t kLibraryKey[] = u"Software\\Tavik\\Dialora\\ImageCodecs";

    static CodecRegistry& Instance();

    // hostFolder ends with a backslash; library names without one are taken from there.
    void Start(std::u16string hostFolder, const CodecContext* context, AbortTest abortTest);
    bool IsStarted();
    // Forgets every codec and frees the libraries.
    void Stop();

    // Copies a record of the right size, attaches it and indexes its formats.
    bool Register(const CodecRecord& record, const CodecContext* context);
    // A library codec indexed by its extensions, loaded by CreateDecoder when first needed.
    void AddLibrary(const std::u16string& libraryName, const std::vector<std::u16string>& extensions);
    // Reads the libraries named in the device registry.
    void AddRegisteredLibraries();

    // kImageOk with *decoder, or kImageNoDecoder.
    DWORD CreateDecoder(LPCWSTR path, ImageDecoder** decoder);

private:
    struct Entry {
        CodecRecord record{};
        const CodecContext* context = nullptr;
        HMODULE library = nullptr;
        std::u16string libraryName;
        bool indexed = false;
    };

    void IndexFormats(Entry& entry);
    bool LoadLibraryCodec(Entry& entry);
    void Forget(Entry& entry);

    std::mutex m_mutex;
    bool m_started = false;
    std::u16string m_hostFolder;
    const CodecContext* m_context = nullptr;
    AbortTest m_abortTest = nullptr;
    std::vector<std::unique_ptr<Entry>> m_entries;
    std::unordered_map<std::u16string, Entry*> m_index; // folded extension -> entry
};

} // namespace corlist
