// The device registry: the two hives in memory, the open key handles, the registry
// file (loaded at boot, saved shortly after changes and at shutdown) and the change
// feed of the notification hub. The Reg*W functions and the shell's state functions
// are thin layers over this class.
//
// Lock order: m_saveMutex (one file write at a time) -> m_mutex (the tree and the
// handles) -> the saver's and the notification hub's own locks (leaves). The registry
// never takes the WaitHub lock and never runs a callback or user code while it holds
// m_mutex; notification callbacks run on the hub's thread without any of these locks.
#pragma once

#include "ce/registry.h"
#include "registry/NotificationHub.h"
#include "registry/RegistryKey.h"
#include "registry/RegistrySaver.h"

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

class Registry {
public:
    static Registry& Instance();

    // Loads `file` (factory values when it is missing or damaged) and starts the saver
    // and the notification thread.
    void Boot(const std::filesystem::path& file);
    // Saves, ends both threads, closes every key handle and empties the tree.
    void Shutdown();

    // All return a Win32 error code.
    LONG OpenKey(HKEY base, std::u16string_view subKey, HKEY& result);
    LONG CreateKey(HKEY base, std::u16string_view subKey, HKEY& result, DWORD& disposition);
    LONG CloseKey(HKEY key);
    // Runs `read(const RegistryValue&)` under the registry lock; it must only copy.
    template <typename Read> LONG ReadValue(HKEY key, std::u16string_view name, Read&& read) {
        std::lock_guard lock(m_mutex);
        const RegistryValue* value = nullptr;
        LONG error = FindValueLocked(key, name, value);
        if (error == ERROR_SUCCESS)
            read(*value);
        return error;
    }
    LONG SetValue(HKEY key, std::u16string_view name, RegistryValue value);
    LONG DeleteValue(HKEY key, std::u16string_view name);
    LONG DeleteKey(HKEY base, std::u16string_view subKey);
    LONG EnumKey(HKEY key, DWORD index, std::u16string& name);
    // Runs `read(const std::u16string& name, const RegistryValue&)` under the lock.
    template <typename Read> LONG EnumValue(HKEY key, DWORD index, Read&& read) {
        std::lock_guard lock(m_mutex);
        RegistryKey* node = nullptr;
        if (LONG error = ResolveLocked(key, node); error != ERROR_SUCCESS)
            return error;
        if (index >= node->Values().size())
            return ERROR_NO_MORE_ITEMS;
        const auto& entry = node->Values()[index];
        read(entry.first, entry.second);
        return ERROR_SUCCESS;
    }
    struct KeyInfo {
        DWORD subKeys = 0;
        DWORD maxSubKeyLength = 0;    // characters, terminator excluded
        DWORD values = 0;
        DWORD maxValueNameLength = 0; // characters, terminator excluded
        DWORD maxValueLength = 0;     // bytes
    };
    LONG QueryInfo(HKEY key, KeyInfo& info);
    // Writes the file now; ERROR_CANTWRITE when that fails.
    LONG Flush();

    // The hive and the root-relative path of `base` + `subKey`, for value watches.
    LONG WatchTarget(HKEY base, std::u16string_view subKey, NotificationHub::Root& root,
                     std::u16string& path);

    // False when the file could not be set aside at boot: changes then stay in memory.
    bool IsPersistent();

private:
    struct Slot {
        std::shared_ptr<RegistryKey> key;
        uint32_t generation = 1;
    };

    void LoadLocked();
    void SetAsideLocked(const std::string& reason);
    void DropVolatileLocked();
    bool Save();

    // ERROR_INVALID_HANDLE for a closed or unknown handle, ERROR_KEY_DELETED for a
    // handle whose key was deleted.
    LONG ResolveLocked(HKEY key, RegistryKey*& node);
    LONG FindValueLocked(HKEY key, std::u16string_view name, const RegistryValue*& value);
    HKEY InsertHandleLocked(RegistryKey* node);
    std::shared_ptr<RegistryKey> SharedOf(RegistryKey* node) const;
    NotificationHub::Root RootOf(const RegistryKey& node) const;
    void KeyChangedLocked(const RegistryKey& node);
    void ValueChangedLocked(const RegistryKey& node, std::u16string_view name, const RegistryValue* value);

    std::mutex m_saveMutex;
    std::mutex m_mutex;
    RegistryRoots m_roots;
    std::vector<Slot> m_slots;
    std::vector<size_t> m_freeSlots;
    std::filesystem::path m_file;
    uint64_t m_changeCount = 0; // persistent changes made
    uint64_t m_savedCount = 0;  // m_changeCount when the file was last written
    bool m_booted = false;
    bool m_persistBlocked = false;
    RegistrySaver m_saver;
};

} // namespace platform
