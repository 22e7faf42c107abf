#include "registry/Registry.h"

#include "files/DamagedFile.h"
#include "kernel/Trace.h"
#include "kernel/Utf.h"
#include "registry/AtomicFile.h"
#include "registry/FactoryValues.h"
#include "registry/RegistryFile.h"

#include <ctime>
#include <fstream>
#include <sstream>

namespace platform {

namespace {

// Opened keys' handles: generation in bits 32-47, (slot + 1) << 2 below, bit 1 set so
// that a kernel handle is never taken for a key. Predefined keys are sign-extended
// 0x8000000x values and never decode.
constexpr uint64_t kKeyTag = 2;

bool ReadWholeFile(const std::filesystem::path& file, std::string& text, std::string& error) {
    std::error_code ec;
    auto size = std::filesystem::file_size(file, ec);
    if (ec) {
        error = ec.message();
        return false;
    }
    if (size > RegistryFile::kMaxFileSize) {
        error = "file too large";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    if (!in.good() && !in.eof()) {
        error = "read error";
        return false;
    }
    text = std::move(content).str();
    return true;
}

} // namespace

Registry& Registry::Instance() {
    static Registry registry;
    return registry;
}

// ---- boot, load, save, shutdown ----

void Registry::Boot(const std::filesystem::path& file) {
    {
        std::lock_guard lock(m_mutex);
        m_file = file;
        m_roots = RegistryRoots{};
        m_changeCount = m_savedCount = 0;
        m_persistBlocked = false;
        m_booted = true;
        LoadLocked();
    }
    NotificationHub::Instance().Start();
    m_saver.Start([this] { return Save(); });
    std::lock_guard lock(m_mutex);
    if (m_changeCount != m_savedCount)
        m_saver.Touch();
}

void Registry::LoadLocked() {
    std::error_code ec;
    if (!std::filesystem::exists(m_file, ec)) {
        Trace("registry", "%s missing: factory values", m_file.c_str());
        ApplyFactoryValues(m_roots, false);
        m_changeCount = 1;
        return;
    }
    std::string text, reason;
    RegistryRoots loaded;
    RegistryFile::Error error;
    if (!ReadWholeFile(m_file, text, reason)) {
        reason = "unreadable: " + reason;
    } else if (!RegistryFile::Parse(text, loaded, error)) {
        reason = "line " + std::to_string(error.line) + ": " + error.reason;
    } else {
        m_roots = std::move(loaded);
        DropVolatileLocked();
        ApplyFactoryValues(m_roots, true);
        return;
    }
    SetAsideLocked(reason);
    ApplyFactoryValues(m_roots, false);
    m_changeCount = 1;
}

// Keeps a damaged file beside the new one so that nothing in it is lost.
void Registry::SetAsideLocked(const std::string& reason) {
    std::filesystem::path candidate;
    std::error_code ec;
    if (!SetAsideDamagedFile(m_file, candidate, ec)) {
        m_persistBlocked = true;
        Trace("registry", "%s is damaged (%s) and cannot be set aside (%s): booting with factory values, "
              "changes are not saved", m_file.c_str(), reason.c_str(), ec.message().c_str());
        return;
    }
    Trace("registry", "%s is damaged (%s): set aside as %s, booting with factory values", m_file.c_str(),
          reason.c_str(), candidate.c_str());
}

void Registry::DropVolatileLocked() {
    for (RegistryKey* root : {m_roots.machine.get(), m_roots.user.get()}) {
        RegistryKey* system = root->FindChild(u"System");
        if (!system)
            continue;
        if (auto state = system->RemoveChild(u"State"))
            state->MarkDeletedTree();
    }
}

bool Registry::Save() {
    std::lock_guard saveLock(m_saveMutex);
    std::string text;
    std::filesystem::path file;
    uint64_t count;
    {
        std::lock_guard lock(m_mutex);
        if (!m_booted || m_persistBlocked)
            return false;
        if (m_changeCount == m_savedCount)
            return true;
        count = m_changeCount;
        file = m_file;
        text = RegistryFile::Serialize(m_roots, true);
    }
    std::string error;
    if (!WriteFileAtomically(file, text, error)) {
        Trace("registry", "save failed: %s", error.c_str());
        return false;
    }
    std::lock_guard lock(m_mutex);
    if (count > m_savedCount)
        m_savedCount = count;
    return true;
}

LONG Registry::Flush() {
    {
        std::lock_guard lock(m_mutex);
        if (!m_booted)
            return ERROR_INVALID_HANDLE;
    }
    return Save() ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

bool Registry::IsPersistent() {
    std::lock_guard lock(m_mutex);
    return !m_persistBlocked;
}

void Registry::Shutdown() {
    {
        std::lock_guard lock(m_mutex);
        if (!m_booted)
            return;
    }
    m_saver.Stop();
    if (!Save())
        Trace("registry", "final save failed: changes since the last save are lost");
    NotificationHub::Instance().Stop();
    std::lock_guard lock(m_mutex);
    for (size_t i = 0; i < m_slots.size(); ++i) {
        if (!m_slots[i].key)
            continue;
        m_slots[i].key.reset();
        m_slots[i].generation = m_slots[i].generation + 1 == 0x10000 ? 1 : m_slots[i].generation + 1;
        m_freeSlots.push_back(i);
    }
    m_roots = RegistryRoots{};
    m_booted = false;
}

// ---- handles ----

HKEY Registry::InsertHandleLocked(RegistryKey* node) {
    size_t index;
    if (!m_freeSlots.empty()) {
        index = m_freeSlots.back();
        m_freeSlots.pop_back();
    } else {
        index = m_slots.size();
        m_slots.emplace_back();
    }
    Slot& slot = m_slots[index];
    slot.key = SharedOf(node);
    uint64_t value = (uint64_t(slot.generation & 0xFFFF) << 32) | (uint64_t(index + 1) << 2) | kKeyTag;
    return reinterpret_cast<HKEY>(static_cast<uintptr_t>(value));
}

std::shared_ptr<RegistryKey> Registry::SharedOf(RegistryKey* node) const {
    if (node == m_roots.machine.get())
        return m_roots.machine;
    if (node == m_roots.user.get())
        return m_roots.user;
    return node->Parent()->FindChildShared(node->Name());
}

LONG Registry::ResolveLocked(HKEY key, RegistryKey*& node) {
    if (!m_booted)
        return ERROR_INVALID_HANDLE;
    if (key == HKEY_LOCAL_MACHINE) {
        node = m_roots.machine.get();
        return ERROR_SUCCESS;
    }
    if (key == HKEY_CURRENT_USER) {
        node = m_roots.user.get();
        return ERROR_SUCCESS;
    }
    if (key == HKEY_CLASSES_ROOT) {
        bool created;
        node = m_roots.machine->CreatePath(u"Software\\Classes", created);
        if (created)
            KeyChangedLocked(*node);
        return ERROR_SUCCESS;
    }
    uint64_t value = reinterpret_cast<uintptr_t>(key);
    uint64_t low = (value & 0xFFFFFFFFu) >> 2;
    if ((value & 3) != kKeyTag || (value >> 48) != 0 || low == 0 || low > m_slots.size())
        return ERROR_INVALID_HANDLE;
    const Slot& slot = m_slots[low - 1];
    if (!slot.key || (slot.generation & 0xFFFF) != (value >> 32))
        return ERROR_INVALID_HANDLE;
    if (slot.key->IsDeleted())
        return ERROR_KEY_DELETED;
    node = slot.key.get();
    return ERROR_SUCCESS;
}

LONG Registry::OpenKey(HKEY base, std::u16string_view subKey, HKEY& result) {
    std::lock_guard lock(m_mutex);
    RegistryKey* node = nullptr;
    if (LONG error = ResolveLocked(base, node); error != ERROR_SUCCESS)
        return error;
    RegistryKey* target = node->FindPath(subKey);
    if (!target)
        return ERROR_FILE_NOT_FOUND;
    result = InsertHandleLocked(target);
    return ERROR_SUCCESS;
}

LONG Registry::CreateKey(HKEY base, std::u16string_view subKey, HKEY& result, DWORD& disposition) {
    std::lock_guard lock(m_mutex);
    RegistryKey* node = nullptr;
    if (LONG error = ResolveLocked(base, node); error != ERROR_SUCCESS)
        return error;
    bool created = false;
    RegistryKey* target = node->CreatePath(subKey, created);
    if (!target)
        return ERROR_INVALID_PARAMETER;
    if (created)
        KeyChangedLocked(*target);
    disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    result = InsertHandleLocked(target);
    return ERROR_SUCCESS;
}

LONG Registry::CloseKey(HKEY key) {
    if (key == HKEY_LOCAL_MACHINE || key == HKEY_CURRENT_USER || key == HKEY_CLASSES_ROOT)
        return ERROR_SUCCESS;
    std::shared_ptr<RegistryKey> released;
    std::lock_guard lock(m_mutex);
    uint64_t value = reinterpret_cast<uintptr_t>(key);
    uint64_t low = (value & 0xFFFFFFFFu) >> 2;
    if ((value & 3) != kKeyTag || (value >> 48) != 0 || low == 0 || low > m_slots.size())
        return ERROR_INVALID_HANDLE;
    Slot& slot = m_slots[low - 1];
    if (!slot.key || (slot.generation & 0xFFFF) != (value >> 32))
        return ERROR_INVALID_HANDLE;
    released = std::move(slot.key);
    slot.generation = slot.generation + 1 == 0x10000 ? 1 : slot.generation + 1;
    m_freeSlots.push_back(low - 1);
    return ERROR_SUCCESS;
}

// ---- values and keys ----

NotificationHub::Root Registry::RootOf(const RegistryKey& node) const {
    return node.Root() == m_roots.machine.get() ? NotificationHub::Root::Machine : NotificationHub::Root::User;
}

// Schedules a save unless the key is volatile.
void Registry::KeyChangedLocked(const RegistryKey& node) {
    if (!node.IsVolatile()) {
        ++m_changeCount;
        m_saver.Touch();
    }
}

// Records a changed value and tells its watchers (`value` null when it was deleted).
void Registry::ValueChangedLocked(const RegistryKey& node, std::u16string_view name, const RegistryValue* value) {
    KeyChangedLocked(node);
    NotificationHub& hub = NotificationHub::Instance();
    if (!hub.HasWatches())
        return;
    std::optional<RegistryValue> copy;
    if (value)
        copy = *value;
    hub.Post(RootOf(node), FoldCase(node.Path()), FoldCase(name), std::move(copy));
}

LONG Registry::FindValueLocked(HKEY key, std::u16string_view name, const RegistryValue*& value) {
    RegistryKey* node = nullptr;
    if (LONG error = ResolveLocked(key, node); error != ERROR_SUCCESS)
        return error;
    value = node->FindValue(name);
    return value ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LONG Registry::SetValue(HKEY key, std::u16string_view name, RegistryValue value) {
    if (!RegistryKey::IsValidValueName(name) || value.data.size() > RegistryKey::kMaxValueSize)
        return ERROR_INVALID_PARAMETER;
    std::lock_guard lock(m_mutex);
    RegistryKey* node = nullptr;
    if (LONG error = ResolveLocked(key, node); error != ERROR_SUCCESS)
        return error;
    if (node->SetValue(name, value))
        ValueChangedLocked(*node, name, node->FindValue(name));
    return ERROR_SUCCESS;
}

LONG Registry::DeleteValue(HKEY key, std::u16string_view name) {
    std::lock_guard lock(m_mutex);
    RegistryKey* node = nullptr;
    if (LONG error = ResolveLocked(key, node); error != ERROR_SUCCESS)
        return error;
    if (!node->DeleteValue(name))
        return ERROR_FILE_NOT_FOUND;
    ValueChangedLocked(*node, name, nullptr);
    return ERROR_SUCCESS;
}

LONG Registry::DeleteKey(HKEY base, std::u16string_view subKey) {
    std::lock_guard lock(m_mutex);
    RegistryKey* node = nullptr;
    if (LONG error = ResolveLocked(base, node); error != ERROR_SUCCESS)
        return error;
    RegistryKey* target = node->FindPath(subKey);
    if (!target)
        return ERROR_FILE_NOT_FOUND;
    if (!target->Parent())
        return ERROR_ACCESS_DENIED; // a hive itself cannot go
    // Every value of the subtree disappears: its watchers hear about it.
    std::vector<RegistryKey*> pending{target};
    while (!pending.empty()) {
        RegistryKey* key = pending.back();
        pending.pop_back();
        for (const auto& [name, value] : key->Values())
            ValueChangedLocked(*key, name, nullptr);
        for (const auto& [folded, child] : key->Children())
            pending.push_back(child.get());
    }
    KeyChangedLocked(*target);
    auto detached = target->Parent()->RemoveChild(target->Name());
    detached->MarkDeletedTree();
    return ERROR_SUCCESS;
}

LONG Registry::EnumKey(HKEY key, DWORD index, std::u16string& name) {
    std::lock_guard lock(m_mutex);
    RegistryKey* node = nullptr;
    if (LONG error = ResolveLocked(key, node); error != ERROR_SUCCESS)
        return error;
    const auto& children = node->Children();
    if (index >= children.size())
        return ERROR_NO_MORE_ITEMS;
    name = std::next(children.begin(), index)->second->Name();
    return ERROR_SUCCESS;
}

LONG Registry::QueryInfo(HKEY key, KeyInfo& info) {
    std::lock_guard lock(m_mutex);
    RegistryKey* node = nullptr;
    if (LONG error = ResolveLocked(key, node); error != ERROR_SUCCESS)
        return error;
    info = KeyInfo{};
    info.subKeys = static_cast<DWORD>(node->Children().size());
    for (const auto& [folded, child] : node->Children())
        info.maxSubKeyLength = std::max<DWORD>(info.maxSubKeyLength, static_cast<DWORD>(child->Name().size()));
    info.values = static_cast<DWORD>(node->Values().size());
    for (const auto& [name, value] : node->Values()) {
        info.maxValueNameLength = std::max<DWORD>(info.maxValueNameLength, static_cast<DWORD>(name.size()));
        info.maxValueLength = std::max<DWORD>(info.maxValueLength, static_cast<DWORD>(value.data.size()));
    }
    return ERROR_SUCCESS;
}

LONG Registry::WatchTarget(HKEY base, std::u16string_view subKey, NotificationHub::Root& root,
                           std::u16string& path) {
    std::lock_guard lock(m_mutex);
    RegistryKey* node = nullptr;
    if (LONG error = ResolveLocked(base, node); error != ERROR_SUCCESS)
        return error;
    root = RootOf(*node);
    path = node->Path();
    if (!subKey.empty()) {
        path += u'\\';
        path += subKey;
    }
    return ERROR_SUCCESS;
}

} // namespace platform
