#include "console/DeviceCommands.h"

namespace platform {

void RegisterDeviceCommands(Console& console) {
    RegisterBasicCommands(console);
    RegisterTimeCommands(console);
    RegisterDisplayCommands(console);
    RegisterSoundCommands(console);
    RegisterProgramCommands(console);
    RegisterWindowCommands(console);
    RegisterUiCommands(console);
    RegisterRegistryCommands(console);
    RegisterFileCommands(console);
    RegisterNotificationCommands(console);
    RegisterContactCommands(console);
    RegisterSimCommands(console);
    RegisterCallLogCommands(console);
}

} // namespace platform
