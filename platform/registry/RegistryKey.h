// A key of the registry tree: its name as first spelt, its values in the order they
// were first set, and its subkeys ordered by their case-folded names. A parent owns its
// subkeys; open key handles share ownership so that a deleted key stays readable as
// "deleted" until its last handle is closed. Not thread-safe: the Registry's lock
// guards every key.
#pragma once

#include "registry/RegistryValue.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

class RegistryKey {
public:
    // Longest key name (one path component) and value name, in characters.
    static constexpr size_t kMaxKeyName = 255;
    static constexpr size_t kMaxValueName = 16383;
    // Deepest key below a root; deeper paths are refused so walkers stay bounded.
    static constexpr size_t kMaxDepth = 128;
    // Largest value the registry stores, in bytes.
    static constexpr size_t kMaxValueSize = 1024 * 1024;

    using Child = std::shared_ptr<RegistryKey>;
    using NamedValue = std::pair<std::u16string, RegistryValue>;

    // `parent` is a plain back-link (the parent owns this key); null for a root.
    RegistryKey(std::u16string name, RegistryKey* parent);
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    const std::u16string& Name() const { return m_name; }
    RegistryKey* Parent() const { return m_parent; }
    size_t Depth() const { return m_depth; }
    // Keys in "System\State" of either root are volatile: never written to the file.
    bool IsVolatile() const { return m_volatile; }
    bool IsDeleted() const { return m_deleted; }

    RegistryKey* FindChild(std::u16string_view name) const;
    Child FindChildShared(std::u16string_view name) const;
    // Returns the existing subkey of that name or a new one; `created` tells which.
    RegistryKey* AddChild(std::u16string_view name, bool& created);
    // Detaches the subkey; the caller marks it deleted.
    Child RemoveChild(std::u16string_view name);
    const std::map<std::u16string, Child>& Children() const { return m_children; }
    // Marks this key and all of its subkeys deleted and drops their values.
    void MarkDeletedTree();

    const RegistryValue* FindValue(std::u16string_view name) const;
    // Returns false when the value already held exactly this type and data.
    bool SetValue(std::u16string_view name, RegistryValue value);
    bool DeleteValue(std::u16string_view name);
    const std::vector<NamedValue>& Values() const { return m_values; }
    void ClearValues() { m_values.clear(); }

    // Walks `path` ("A\B\C", empty components ignored); null when a key is missing.
    RegistryKey* FindPath(std::u16string_view path);
    // Creates the keys missing along `path`; null when a name is invalid or the path too
    // deep. `created` tells whether the last key is new.
    RegistryKey* CreatePath(std::u16string_view path, bool& created);

    // Path below the root ("Software\Tavik"); empty for a root.
    std::u16string Path() const;
    // The root this key hangs under (itself for a root).
    const RegistryKey* Root() const;

    // Same names (exact spelling), values and subkeys, recursively.
    static bool SameTree(const RegistryKey& a, const RegistryKey& b);
    static bool IsValidKeyName(std::u16string_view name);
    static bool IsValidValueName(std::u16string_view name) { return name.size() <= kMaxValueName; }

private:
    std::vector<NamedValue>::iterator FindValueSlot(std::u16string_view name);

    std::u16string m_name;
    RegistryKey* m_parent = nullptr;
    size_t m_depth = 0;
    bool m_volatile = false;
    bool m_deleted = false;
    std::vector<NamedValue> m_values;
    std::map<std::u16string, Child> m_children; // keyed by the folded name
};

// The two hives. HKEY_CLASSES_ROOT lives inside the machine hive.
struct RegistryRoots {
    std::shared_ptr<RegistryKey> machine = std::make_shared<RegistryKey>(u"HKEY_LOCAL_MACHINE", nullptr);
    std::shared_ptr<RegistryKey> user = std::make_shared<RegistryKey>(u"HKEY_CURRENT_USER", nullptr);

    bool operator==(const RegistryRoots& other) const {
        return RegistryKey::SameTree(*machine, *other.machine) && RegistryKey::SameTree(*user, *other.user);
    }
};

} // namespace platform
