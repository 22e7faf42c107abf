#include "shell/RegistryLaunchNames.h"

#include "ce/regext.h"
#include "ce/registry.h"
#include "shell/LaunchNames.h"

namespace platform {

namespace {

std::optional<std::u16string> ResolveFromRegistry(std::u16string_view name) {
    if (name.empty() || name.size() > 200)
        return std::nullopt;
    std::u16string key = u"Software\\Microsoft\\Shell\\Rai\\";
    key += name;
    WCHAR path[MAX_PATH] = {};
    if (FAILED(RegistryGetString(HKEY_LOCAL_MACHINE, key.c_str(), u"1", path, MAX_PATH)) ||
        !path[0])
        return std::nullopt;
    // Program paths hold blanks ("\Program Files\..."): quote them for the launcher.
    std::u16string commandLine(path);
    if (commandLine.front() != u'"')
        commandLine = u"\"" + commandLine + u"\"";
    return commandLine;
}

} // namespace

void InstallRegistryLaunchNames() { LaunchNames::SetResolver(ResolveFromRegistry); }

} // namespace platform
