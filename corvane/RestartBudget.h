// How often the main program may start itself again after a fault: at most three times
// within 60 seconds, counted in a volatile registry value so the count survives the
// restart but not a reboot.
#pragma once

namespace corvane {

class RestartBudget {
public:
    static constexpr unsigned kMaxRestarts = 3;
    static constexpr unsigned kWindowMs = 60000;

    // Counts one restart; false when the budget of the current window is spent.
    static bool TakeOne();
};

} // namespace corvane
