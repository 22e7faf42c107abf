#include "console/DeviceCommands.h"

namespace platform {

void RegisterDeviceCommands(Console& console) {
    RegisterBasicCommands(console);
    RegisterTimeCommands(console);
    RegisterDisplayCommands(console);
    RegisterSoundCommands(console);
}

} // namespace platform
