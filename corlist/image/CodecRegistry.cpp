#include "corlist/image/CodecRegistry.h"

#include "ce/kernel.h"
#include "ce/registry.h"

namespace corlist {

namespace {

std::u16string Fold(std::u16string_view text) {
    std::u16string folded(text);
    for (char16_t& c : folded)
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c - u'A' + u'a');
    return folded;
}

// The text after the last "." of the path, or the whole path when there is none.
std::u16string ExtensionOf(LPCWSTR path) {
    std::u16string_view text(path);
    size_t dot = text.rfind(u'.');
    return Fold(dot == std::u16string_view::npos ? text : text.substr(dot + 1));
}

std::vector<std::u16string> SplitList(std::u16string_view list) {
    std::vector<std::u16string> parts;
    while (!list.empty()) {
        size_t end = list.find(u';');
        std::u16string_view part = list.substr(0, end);
        if (!part.empty())
            parts.emplace_back(part);
        list = end == std::u16string_view::npos ? std::u16string_view() : list.substr(end + 1);
    }
    return parts;
}

} // namespace

CodecRegistry& CodecRegistry::Instance() {
    static CodecRegistry registry;
    return registry;
}

void CodecRegistry::Start(std::u16string hostFolder, const CodecContext* context, AbortTest abortTest) {
    std::lock_guard lock(m_mutex);
    m_started = true;
    m_hostFolder = std::move(hostFolder);
    m_context = context;
    m_abortTest = abortTest;
}

bool CodecRegistry::IsStarted() {
    std::lock_guard lock(m_mutex);
    return m_started;
}

void CodecRegistry::Stop() {
    std::vector<HMODULE> libraries;
    {
        std::lock_guard lock(m_mutex);
        for (auto& entry : m_entries)
            if (entry->library)
                libraries.push_back(entry->library);
        m_entries.clear();
        m_index.clear();
        m_started = false;
    }
    for (HMODULE library : libraries)
        FreeLibrary(library);
}

bool CodecRegistry::Register(const CodecRecord& record, const CodecContext* context) {
    if (record.size != sizeof(CodecRecord) || !record.formats || !record.createDecoder)
        return false;
    auto entry = std::make_unique<Entry>();
    entry->record = record;
    entry->context = context;
    if (record.attach)
        record.attach(context);
    std::lock_guard lock(m_mutex);
    if (record.setAbortTest)
        record.setAbortTest(m_abortTest);
    IndexFormats(*entry);
    m_entries.push_back(std::move(entry));
    return true;
}

void CodecRegistry::AddLibrary(const std::u16string& libraryName, const std::vector<std::u16string>& extensions) {
    auto entry = std::make_unique<Entry>();
    entry->libraryName = libraryName;
    std::lock_guard lock(m_mutex);
    entry->context = m_context;
    for (const auto& extension : extensions)
        m_index[Fold(extension)] = entry.get();
    m_entries.push_back(std::move(entry));
}

void CodecRegistry::AddRegisteredLibraries() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kLibraryKey, 0, 0, &key) != ERROR_SUCCESS)
        return;
    for (DWORD index = 0;; ++index) {
        WCHAR name[MAX_PATH];
        DWORD nameLength = MAX_PATH;
        if (RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY library = nullptr;
        if (RegOpenKeyExW(key, name, 0, 0, &library) != ERROR_SUCCESS)
            continue;
        WCHAR extensions[256] = {};
        DWORD type = 0;
        DWORD size = sizeof(extensions) - sizeof(WCHAR); // room for a terminator the value may lack
        if (RegQueryValueExW(library, u"Extensions", nullptr, &type, reinterpret_cast<BYTE*>(extensions), &size) ==
                ERROR_SUCCESS &&
            type == REG_SZ)
            AddLibrary(name, SplitList(extensions));
        RegCloseKey(library);
    }
    RegCloseKey(key);
}

void CodecRegistry::IndexFormats(Entry& entry) {
    for (const FormatEntry* format = entry.record.formats; format && format->extensions; ++format) {
        if (format->primaryExtension)
            m_index[Fold(format->primaryExtension)] = &entry;
        // Bounded walk: a list without its empty terminator string stops after 64 names.
        const WCHAR* name = format->extensions;
        for (int i = 0; i < 64 && *name; ++i) {
            std::u16string_view text(name);
            m_index[Fold(text)] = &entry;
            name += text.size() + 1;
        }
    }
    entry.indexed = true;
}

// Loads the library, checks its record (size and version) and indexes its own formats.
bool CodecRegistry::LoadLibraryCodec(Entry& entry) {
    std::u16string path = entry.libraryName.find(u'\\') == std::u16string::npos
                              ? m_hostFolder + entry.libraryName
                              : entry.libraryName;
    entry.library = LoadLibraryW(path.c_str());
    if (!entry.library)
        return false;
    auto entryPoint = reinterpret_cast<GetImageLoadInterfaceFn>(
        reinterpret_cast<void*>(GetProcAddressA(entry.library, kCodecEntryName)));
    const CodecRecord* record = entryPoint ? entryPoint() : nullptr;
    if (!record || record->size != sizeof(CodecRecord) || record->version != kCodecRecordVersion ||
        !record->createDecoder)
        return false;
    entry.record = *record;
    if (entry.record.attach)
        entry.record.attach(entry.context);
    if (entry.record.setAbortTest)
        entry.record.setAbortTest(m_abortTest);
    if (entry.record.formats)
        IndexFormats(entry);
    return true;
}

// A library that failed is freed and its entry dropped from the index.
void CodecRegistry::Forget(Entry& entry) {
    if (entry.library)
        FreeLibrary(entry.library);
    entry.library = nullptr;
    entry.record = CodecRecord{};
    for (auto it = m_index.begin(); it != m_index.end();)
        it = it->second == &entry ? m_index.erase(it) : std::next(it);
}

DWORD CodecRegistry::CreateDecoder(LPCWSTR path, ImageDecoder** decoder) {
    *decoder = nullptr;
    if (!path)
        return kImageNoDecoder;
    std::lock_guard lock(m_mutex);
    auto found = m_index.find(ExtensionOf(path));
    if (found == m_index.end())
        return kImageNoDecoder;
    Entry& entry = *found->second;
    if (!entry.record.createDecoder && !LoadLibraryCodec(entry)) {
        Forget(entry);
        return kImageNoDecoder;
    }
    return entry.record.createDecoder(decoder, path) && *decoder ? kImageOk : kImageNoDecoder;
}

} // namespace corlist
