#include "pim/PimStartup.h"

#include "kernel/Trace.h"
#include "pim/BeamLog.h"
#include "pim/ContactStore.h"
#include "pim/FactoryContacts.h"
#include "pim/PimNotifier.h"
#include "pim/PimVolume.h"
#include "pim/PoomApplication.h"

namespace platform {

bool BootPim(const std::filesystem::path& dataFolder, bool factoryContacts) {
    PimVolume& volume = PimVolume::Instance();
    // The class is there even without a store: Logon works, folders then fail.
    PoomApplication::RegisterClass();
    if (!volume.Boot(dataFolder / "pim.vol"))
        return false;
    std::string reason;
    if (!ContactStore::Instance().Boot(reason)) {
        if (!volume.SetAside("contact tables: " + reason) || !ContactStore::Instance().Boot(reason)) {
            Trace("pim", "no contact store: %s", reason.c_str());
            return false;
        }
    }
    if (volume.Created() && factoryContacts)
        FactoryContacts::Install();
    return true;
}

void ShutdownPim() {
    PimNotifier::Instance().Clear();
    BeamLog::Instance().Clear();
    PimVolume::Instance().Shutdown();
}

} // namespace platform
