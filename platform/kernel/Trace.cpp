#include "kernel/Trace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace platform {

namespace {
std::atomic<int> g_enabled{-1};
std::mutex g_mutex;
} // namespace

void EnableTrace(bool enabled) { g_enabled = enabled ? 1 : 0; }

bool TraceEnabled() {
    int state = g_enabled.load();
    if (state < 0) {
        const char* env = std::getenv("DIALORA_TRACE");
        state = env && *env && *env != '0' ? 1 : 0;
        g_enabled = state;
    }
    return state == 1;
}

void Trace(const char* tag, const char* format, ...) {
    if (!TraceEnabled())
        return;
    std::lock_guard lock(g_mutex);
    std::fprintf(stderr, "[%s] ", tag);
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
}

} // namespace platform
