#include "registry/NotificationHub.h"

#include "ce/regext.h"
#include "kernel/Trace.h"
#include "kernel/Utf.h"
#include "kernel/WaitHub.h"

#include <exception>
#include <vector>

namespace platform {

NotificationHub& NotificationHub::Instance() {
    static NotificationHub hub;
    return hub;
}

std::u16string NotificationHub::NormalizePath(std::u16string_view subKey) {
    std::u16string path;
    size_t start = 0;
    while (start <= subKey.size()) {
        size_t end = subKey.find(u'\\', start);
        if (end == std::u16string_view::npos)
            end = subKey.size();
        if (end > start) {
            if (!path.empty())
                path += u'\\';
            path += FoldCase(subKey.substr(start, end - start));
        }
        start = end + 1;
    }
    return path;
}

uint64_t NotificationHub::Watch(Root root, std::u16string_view subKey, std::u16string_view valueName,
                                Condition condition, Fire fire) {
    uint64_t id = ReserveId();
    WatchAs(id, root, subKey, valueName, std::move(condition), std::move(fire));
    return id;
}

void NotificationHub::WatchAs(uint64_t id, Root root, std::u16string_view subKey, std::u16string_view valueName,
                              Condition condition, Fire fire) {
    std::lock_guard lock(m_mutex);
    m_watches.emplace(id, WatchEntry{root, NormalizePath(subKey), FoldCase(valueName), std::move(condition),
                                     std::make_shared<Fire>(std::move(fire))});
    m_watchCount = m_watches.size();
}

bool NotificationHub::Unwatch(uint64_t id) {
    std::unique_lock lock(m_mutex);
    if (m_watches.erase(id) == 0)
        return false;
    m_watchCount = m_watches.size();
    // A watcher closing itself from its callback must not wait for itself.
    if (std::this_thread::get_id() != m_threadId)
        m_idle.wait(lock, [&] { return m_firing != id; });
    return true;
}

void NotificationHub::Post(Root root, std::u16string foldedPath, std::u16string foldedName,
                           std::optional<RegistryValue> value) {
    std::lock_guard lock(m_mutex);
    if (m_stop)
        return;
    m_queue.push_back(Change{root, std::move(foldedPath), std::move(foldedName), std::move(value)});
    // The device is not at rest until the watchers were told (idle checks, time advance).
    WaitHub::Instance().HostWorkBegan();
    m_wake.notify_one();
}

bool NotificationHub::Drain(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, timeout, [&] { return (m_queue.empty() && !m_delivering) || m_stop; });
}

namespace {

// Orders two texts without regard to case: <0, 0, >0.
int CompareNoCase(std::u16string_view a, std::u16string_view b) {
    std::u16string fa = FoldCase(a), fb = FoldCase(b);
    return fa.compare(fb);
}

bool CompareOrder(int comparison, int order) {
    switch (comparison) {
    case REG_CT_EQUAL: return order == 0;
    case REG_CT_NOT_EQUAL: return order != 0;
    case REG_CT_GREATER: return order > 0;
    case REG_CT_GREATER_OR_EQUAL: return order >= 0;
    case REG_CT_LESS: return order < 0;
    case REG_CT_LESS_OR_EQUAL: return order <= 0;
    default: return false;
    }
}

} // namespace

bool NotificationHub::Holds(const Condition& condition, const std::optional<RegistryValue>& value) {
    if (condition.comparison == REG_CT_ANYCHANGE)
        return true;
    if (!value)
        return false;
    bool isText = value->type == REG_SZ || value->type == REG_EXPAND_SZ;
    if (isText && condition.textTarget) {
        std::u16string text = FoldCase(value->AsText());
        std::u16string target = FoldCase(condition.targetText);
        switch (condition.comparison) {
        case REG_CT_CONTAINS: return text.find(target) != std::u16string::npos;
        case REG_CT_STARTS_WITH: return text.starts_with(target);
        case REG_CT_ENDS_WITH: return text.ends_with(target);
        default: return CompareOrder(condition.comparison, CompareNoCase(text, target));
        }
    }
    if (value->type == REG_DWORD && value->data.size() == 4 && !condition.textTarget) {
        DWORD masked = value->AsDword() & condition.mask;
        int order = masked < condition.targetDword ? -1 : masked > condition.targetDword ? 1 : 0;
        return CompareOrder(condition.comparison, order);
    }
    return false;
}

void NotificationHub::Deliver(std::unique_lock<std::mutex>& lock, const Change& change) {
    std::vector<uint64_t> matches;
    for (const auto& [id, watch] : m_watches)
        if (watch.root == change.root && watch.path == change.path && watch.name == change.name &&
            Holds(watch.condition, change.value))
            matches.push_back(id);
    static const RegistryValue kDeleted;
    for (uint64_t id : matches) {
        auto it = m_watches.find(id);
        if (it == m_watches.end())
            continue; // closed while an earlier watcher ran
        std::shared_ptr<Fire> fire = it->second.fire;
        m_firing = id;
        lock.unlock();
        try {
            (*fire)(change.value ? *change.value : kDeleted);
        } catch (const std::exception& e) {
            Trace("registry", "notification callback threw: %s", e.what());
        } catch (...) {
            Trace("registry", "notification callback threw");
        }
        lock.lock();
        m_firing = 0;
        m_idle.notify_all();
    }
}

void NotificationHub::Run() {
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [&] { return m_stop || !m_queue.empty(); });
        if (m_stop)
            break;
        Change change = std::move(m_queue.front());
        m_queue.pop_front();
        m_delivering = true;
        Deliver(lock, change);
        m_delivering = false;
        m_idle.notify_all();
        lock.unlock();
        WaitHub::Instance().HostWorkEnded();
        lock.lock();
    }
}

void NotificationHub::Start() {
    std::lock_guard lock(m_mutex);
    if (m_thread.joinable())
        return;
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
    m_threadId = m_thread.get_id();
}

void NotificationHub::Stop() {
    std::thread thread;
    size_t dropped = 0;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        dropped = m_queue.size();
        m_queue.clear();
        m_watches.clear();
        m_watchCount = 0;
        m_wake.notify_all();
        m_idle.notify_all();
        thread = std::move(m_thread);
    }
    for (size_t i = 0; i < dropped; ++i)
        WaitHub::Instance().HostWorkEnded();
    if (thread.joinable() && thread.get_id() == std::this_thread::get_id())
        thread.detach(); // a callback shut the device down; its thread ends after it returns
    else if (thread.joinable())
        thread.join();
    std::lock_guard lock(m_mutex);
    m_threadId = {};
}

} // namespace platform
