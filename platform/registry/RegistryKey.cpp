#include "registry/RegistryKey.h"

#include "kernel/Utf.h"

namespace platform {

RegistryKey::RegistryKey(std::u16string name, RegistryKey* parent)
    : m_name(std::move(name)), m_parent(parent) {
    if (!parent)
        return;
    m_depth = parent->m_depth + 1;
    // "System\State" directly under a root, and everything below it, lives in memory only.
    bool isState = m_depth == 2 && EqualsNoCase(parent->m_name, u"System") && EqualsNoCase(m_name, u"State");
    m_volatile = parent->m_volatile || isState;
}

RegistryKey* RegistryKey::FindChild(std::u16string_view name) const {
    auto it = m_children.find(FoldCase(name));
    return it == m_children.end() ? nullptr : it->second.get();
}

RegistryKey::Child RegistryKey::FindChildShared(std::u16string_view name) const {
    auto it = m_children.find(FoldCase(name));
    return it == m_children.end() ? nullptr : it->second;
}

RegistryKey* RegistryKey::AddChild(std::u16string_view name, bool& created) {
    auto [it, inserted] = m_children.try_emplace(FoldCase(name));
    if (inserted)
        it->second = std::make_shared<RegistryKey>(std::u16string(name), this);
    created = inserted;
    return it->second.get();
}

RegistryKey::Child RegistryKey::RemoveChild(std::u16string_view name) {
    auto it = m_children.find(FoldCase(name));
    if (it == m_children.end())
        return nullptr;
    Child child = std::move(it->second);
    m_children.erase(it);
    return child;
}

void RegistryKey::MarkDeletedTree() {
    // Iterative: a deep tree must not exhaust the stack.
    std::vector<RegistryKey*> pending{this};
    while (!pending.empty()) {
        RegistryKey* key = pending.back();
        pending.pop_back();
        key->m_deleted = true;
        key->m_values.clear();
        for (auto& [folded, child] : key->m_children)
            pending.push_back(child.get());
        key->m_children.clear();
    }
}

std::vector<RegistryKey::NamedValue>::iterator RegistryKey::FindValueSlot(std::u16string_view name) {
    for (auto it = m_values.begin(); it != m_values.end(); ++it)
        if (EqualsNoCase(it->first, name))
            return it;
    return m_values.end();
}

const RegistryValue* RegistryKey::FindValue(std::u16string_view name) const {
    for (const auto& [valueName, value] : m_values)
        if (EqualsNoCase(valueName, name))
            return &value;
    return nullptr;
}

bool RegistryKey::SetValue(std::u16string_view name, RegistryValue value) {
    auto slot = FindValueSlot(name);
    if (slot == m_values.end()) {
        m_values.emplace_back(std::u16string(name), std::move(value));
        return true;
    }
    if (slot->second == value)
        return false;
    slot->second = std::move(value);
    return true;
}

bool RegistryKey::DeleteValue(std::u16string_view name) {
    auto slot = FindValueSlot(name);
    if (slot == m_values.end())
        return false;
    m_values.erase(slot);
    return true;
}

namespace {

// Calls `visit` with each non-empty component of a "\"-separated path until it returns false.
template <typename Visit> bool ForEachComponent(std::u16string_view path, Visit&& visit) {
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos)
            end = path.size();
        if (end > start && !visit(path.substr(start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace

RegistryKey* RegistryKey::FindPath(std::u16string_view path) {
    RegistryKey* key = this;
    bool found = ForEachComponent(path, [&](std::u16string_view name) {
        key = key->FindChild(name);
        return key != nullptr;
    });
    return found ? key : nullptr;
}

RegistryKey* RegistryKey::CreatePath(std::u16string_view path, bool& created) {
    RegistryKey* key = this;
    created = false;
    bool valid = ForEachComponent(path, [&](std::u16string_view name) {
        if (key->m_depth >= kMaxDepth || !IsValidKeyName(name))
            return false;
        key = key->AddChild(name, created);
        return true;
    });
    return valid ? key : nullptr;
}

std::u16string RegistryKey::Path() const {
    std::vector<const std::u16string*> names;
    for (const RegistryKey* key = this; key->m_parent; key = key->m_parent)
        names.push_back(&key->m_name);
    std::u16string path;
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        if (!path.empty())
            path += u'\\';
        path += **it;
    }
    return path;
}

const RegistryKey* RegistryKey::Root() const {
    const RegistryKey* key = this;
    while (key->m_parent)
        key = key->m_parent;
    return key;
}

bool RegistryKey::SameTree(const RegistryKey& a, const RegistryKey& b) {
    std::vector<std::pair<const RegistryKey*, const RegistryKey*>> pending{{&a, &b}};
    while (!pending.empty()) {
        auto [x, y] = pending.back();
        pending.pop_back();
        if (x->m_name != y->m_name || x->m_values != y->m_values || x->m_children.size() != y->m_children.size())
            return false;
        for (auto ix = x->m_children.begin(), iy = y->m_children.begin(); ix != x->m_children.end(); ++ix, ++iy) {
            if (ix->first != iy->first)
                return false;
            pending.emplace_back(ix->second.get(), iy->second.get());
        }
    }
    return true;
}

bool RegistryKey::IsValidKeyName(std::u16string_view name) {
    if (name.empty() || name.size() > kMaxKeyName)
        return false;
    // Control characters and lone surrogates would not survive the registry file's
    // section lines, so such names are refused up front.
    for (size_t i = 0; i < name.size(); ++i) {
        char16_t c = name[i];
        if (c < 0x20 || c == 0x7F || c == u'\\')
            return false;
        if (c >= 0xD800 && c < 0xDC00) {
            if (i + 1 >= name.size() || name[i + 1] < 0xDC00 || name[i + 1] >= 0xE000)
                return false;
            ++i;
        } else if (c >= 0xDC00 && c < 0xE000) {
            return false;
        }
    }
    return true;
}

} // namespace platform
