// Launch names of the shell (":Corvane", ":MSCONTACTS"): short names that stand for a
// program and its arguments. The platform installs the resolver at boot; it reads the
// name's command line from the registry.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class LaunchNames {
public:
    // Maps a launch name, with its leading ':', to a command line ("program args"),
    // or nullopt for an unknown name.
    using Resolver = std::function<std::optional<std::u16string>(std::u16string_view name)>;

    static void SetResolver(Resolver resolver);
    // The command line of `name` (leading ':' included); nullopt when unknown or when
    // no resolver is installed.
    static std::optional<std::u16string> Resolve(std::u16string_view name);
};

} // namespace platform
