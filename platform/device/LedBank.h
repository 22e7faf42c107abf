// The notification LEDs of the device and their states (the vibrator is one of them).
#pragma once

#include <mutex>
#include <vector>

namespace platform {

class LedBank {
public:
    static LedBank& Instance();

    void Reset(int count);
    int Count() const;
    // 0 off, 1 on, 2 blink; false for a LED that does not exist.
    bool Set(int led, int state);
    std::vector<int> States() const;
    // How often each LED was switched on since boot (a vibration pulse counts once).
    std::vector<int> OnCounts() const;

private:
    mutable std::mutex m_mutex;
    std::vector<int> m_states;
    std::vector<int> m_onCounts;
};

} // namespace platform
