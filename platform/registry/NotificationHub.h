// Watches on single registry values and the platform notification thread that tells
// the watchers. The registry posts every real change (a write that alters type or
// data, a deleted value, a deleted key's values) while it holds its own lock; this
// hub's lock is a leaf below it. Watchers are called on the hub's host thread with no
// lock held, in the order the changes were made.
#pragma once

#include "registry/RegistryValue.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace platform {

class NotificationHub {
public:
    enum class Root { Machine, User };

    // Same rules as the shell's NOTIFICATIONCONDITION; `comparison` is a REG_CT_* value.
    struct Condition {
        int comparison = 9; // REG_CT_ANYCHANGE
        DWORD mask = 0xFFFFFFFFu;
        DWORD targetDword = 0;
        std::u16string targetText;
        bool textTarget = false; // compare with targetText rather than targetDword
    };
    // Receives the new value; a deleted value arrives as an empty REG_NONE value.
    using Fire = std::function<void(const RegistryValue&)>;

    static NotificationHub& Instance();

    // `subKey` is relative to the root ("System\State\Phone"); empty path components are
    // ignored. The key need not exist yet. Returns the watch id (never 0).
    uint64_t Watch(Root root, std::u16string_view subKey, std::u16string_view valueName,
                   Condition condition, Fire fire);
    // The same with an id taken from ReserveId() beforehand, for watchers whose
    // callback must know its own id from the first call on.
    uint64_t ReserveId() { return m_nextId.fetch_add(1); }
    void WatchAs(uint64_t id, Root root, std::u16string_view subKey, std::u16string_view valueName,
                 Condition condition, Fire fire);
    // After it returns the watch's callback is not running and is not called again
    // (unless called from that callback itself). False for an unknown id.
    bool Unwatch(uint64_t id);

    // Cheap check the registry makes before it builds a change record.
    bool HasWatches() const { return m_watchCount.load(std::memory_order_relaxed) > 0; }
    // `foldedPath` as RegistryKey::Path() folded; `value` empty when it was deleted.
    void Post(Root root, std::u16string foldedPath, std::u16string foldedName,
              std::optional<RegistryValue> value);

    // Waits until every posted change has been delivered; false on timeout.
    bool Drain(std::chrono::milliseconds timeout);

    void Start();
    // Ends the thread, drops pending changes and every watch.
    void Stop();

    static bool Holds(const Condition& condition, const std::optional<RegistryValue>& value);
    static std::u16string NormalizePath(std::u16string_view subKey);

private:
    struct WatchEntry {
        Root root;
        std::u16string path;
        std::u16string name;
        Condition condition;
        std::shared_ptr<Fire> fire;
    };
    struct Change {
        Root root;
        std::u16string path;
        std::u16string name;
        std::optional<RegistryValue> value;
    };
    void Run();
    void Deliver(std::unique_lock<std::mutex>& lock, const Change& change);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::map<uint64_t, WatchEntry> m_watches;
    std::atomic<size_t> m_watchCount{0};
    std::deque<Change> m_queue;
    std::atomic<uint64_t> m_nextId{1};
    uint64_t m_firing = 0; // id of the watch whose callback runs now
    bool m_delivering = false;
    bool m_stop = false;
    std::thread m_thread;
    std::thread::id m_threadId;
};

} // namespace platform
