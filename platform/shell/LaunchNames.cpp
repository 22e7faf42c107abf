#include "shell/LaunchNames.h"

#include <mutex>

namespace platform {

namespace {

struct State {
    std::mutex mutex;
    LaunchNames::Resolver resolver;
};

State& Current() {
    static State state;
    return state;
}

} // namespace

void LaunchNames::SetResolver(Resolver resolver) {
    std::lock_guard lock(Current().mutex);
    Current().resolver = std::move(resolver);
}

std::optional<std::u16string> LaunchNames::Resolve(std::u16string_view name) {
    Resolver resolver;
    {
        std::lock_guard lock(Current().mutex);
        resolver = Current().resolver;
    }
    // Called outside the lock: the resolver reads the registry, which has locks of its own.
    if (!resolver)
        return std::nullopt;
    return resolver(name);
}

} // namespace platform
