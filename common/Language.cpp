#include "common/Language.h"

#include "ce/kernel.h"
#include "ce/registry.h"
#include "ce/resource.h"

#include <cstdio>
#include <string>
#include <vector>

namespace common {

const WCHAR* const kLanguageForbidLoading = reinterpret_cast<const WCHAR*>(1);
const WCHAR* const kLanguageForceLoading = reinterpret_cast<const WCHAR*>(2);

namespace {

constexpr WORD kEnglish = 1033;
constexpr size_t kMaxModulePath = 236;

struct LanguageState {
    WORD id = kEnglish;
    HMODULE own = nullptr;
    HMODULE resources = nullptr;
};

LanguageState g_state;

bool IsMarker(const WCHAR* fileName) {
    return fileName == kLanguageForbidLoading || fileName == kLanguageForceLoading;
}

WORD ReadLanguageId(const WCHAR* productKey) {
    std::u16string keyName = u"Software\\Tavik\\";
    keyName += productKey ? productKey : u"";
    HKEY key = nullptr;
    WORD id = kEnglish;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyName.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        DWORD value = 0, size = sizeof value, type = 0;
        if (RegQueryValueExW(key, u"LangID", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                             &size) == ERROR_SUCCESS &&
            size == 4)
            id = static_cast<WORD>(value & 0xFFFF);
        RegCloseKey(key);
    }
    return id == 0 ? kEnglish : id;
}

// The language file path for `id`: the module's path (or the given name) with everything
// after the last '.' replaced by "%04x.mui".
std::u16string LanguageFilePath(HMODULE own, const WCHAR* fileName, WORD id) {
    WCHAR modulePath[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(own, modulePath, kMaxModulePath + 1);
    std::u16string path(modulePath, std::min<DWORD>(length, kMaxModulePath));
    if (fileName && !IsMarker(fileName)) {
        if (fileName[0] == u'\\') {
            path = fileName;
        } else {
            size_t slash = path.find_last_of(u'\\');
            path = (slash == std::u16string::npos ? std::u16string() : path.substr(0, slash + 1)) +
                   fileName;
        }
    }
    size_t dot = path.find_last_of(u'.');
    size_t slash = path.find_last_of(u'\\');
    if (dot == std::u16string::npos || (slash != std::u16string::npos && dot < slash))
        path += u'.';
    else
        path.resize(dot + 1);
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%04x.mui", id);
    for (const char* c = suffix; *c; ++c)
        path += static_cast<char16_t>(*c);
    return path;
}

HMODULE LoadLanguageFile(HMODULE own, const WCHAR* fileName, WORD id) {
    std::u16string path = LanguageFilePath(own, fileName, id);
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

// The printf conversions of a string: everything from '%' to the conversion letter,
// without flags and widths given as digits, which cannot change what is read.
std::vector<std::u16string> Conversions(const WCHAR* text) {
    std::vector<std::u16string> result;
    for (const WCHAR* p = text; p && *p; ++p) {
        if (*p != u'%')
            continue;
        if (p[1] == u'%') {
            ++p;
            continue;
        }
        std::u16string conversion;
        for (++p; *p; ++p) {
            if (*p == u'*' || (*p >= u'a' && *p <= u'z') || (*p >= u'A' && *p <= u'Z'))
                conversion += *p;
            if ((*p >= u'a' && *p <= u'z' && *p != u'l' && *p != u'h') ||
                (*p >= u'A' && *p <= u'Z' && *p != u'I' && *p != u'L'))
                break;
        }
        result.push_back(conversion);
        if (!*p)
            break;
    }
    return result;
}

int CopyString(HMODULE module, UINT id, WCHAR* buffer, int size) {
    int copied = LoadStringW(module, id, buffer, size - 1 > 0 ? size - 1 : 0);
    if (copied < 0)
        copied = 0;
    if (copied >= size - 1)
        buffer[size - 1] = 0;
    buffer[copied < size ? copied : size - 1] = 0;
    return copied;
}

} // namespace

void LoadLanguage(HMODULE ownModule, const WCHAR* productKey, const WCHAR* fileName) {
    g_state.own = ownModule;
    g_state.id = ReadLanguageId(productKey);
    g_state.resources = ownModule;
    bool forbid = fileName == kLanguageForbidLoading;
    bool force = fileName == kLanguageForceLoading;
    if (forbid || (g_state.id == kEnglish && !force))
        return;
    if (HMODULE file = LoadLanguageFile(ownModule, fileName, g_state.id)) {
        g_state.resources = file;
        return;
    }
    if (g_state.id == kEnglish)
        return;
    g_state.id = kEnglish;
    if (HMODULE file = LoadLanguageFile(ownModule, fileName, kEnglish))
        g_state.resources = file;
}

void FreeLanguage() {
    if (g_state.resources && g_state.resources != g_state.own)
        FreeLibrary(g_state.resources);
    g_state.resources = nullptr;
}

WCHAR* LoadText(UINT id, WCHAR* buffer, int size, HMODULE module) {
    if (!buffer || size <= 0)
        return buffer;
    buffer[0] = 0;
    HMODULE source = module ? module : g_state.resources;
    CopyString(source, id, buffer, size);
    // A language file is exchangeable: a translation whose conversions do not match the
    // built-in string would make a printf read the wrong arguments.
    if (source && source != g_state.own && g_state.own) {
        std::vector<WCHAR> builtin(static_cast<size_t>(size), 0);
        if (CopyString(g_state.own, id, builtin.data(), size) > 0 &&
            !SameConversions(buffer, builtin.data()))
            std::copy(builtin.begin(), builtin.end(), buffer);
    }
    return buffer;
}

std::u16string LanguageText(UINT id, const CE_STRING_TABLE& builtin) {
    // Without a language loaded the resources would be another module's: not ours.
    WCHAR buffer[512] = {};
    if (g_state.resources)
        LoadText(id, buffer, 512);
    if (buffer[0])
        return buffer;
    for (UINT i = 0; i < builtin.count; ++i)
        if (builtin.entries[i].id == id)
            return std::u16string(builtin.entries[i].text, builtin.entries[i].length);
    return {};
}

WORD LanguageId() { return g_state.id; }

HMODULE LanguageModule() { return g_state.resources; }

bool SameConversions(const WCHAR* a, const WCHAR* b) { return Conversions(a) == Conversions(b); }

} // namespace common
