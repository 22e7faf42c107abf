// The device's console commands. Each group lives in its own file with one registration
// function; RegisterDeviceCommands calls them all in the order listed in DeviceCommands.cpp.
// To add a group: write console/<Group>Commands.cpp with `void Register<Group>Commands(
// Console&)`, declare it here and add one call to RegisterDeviceCommands.
#pragma once

#include "console/Console.h"

namespace platform {

void RegisterDeviceCommands(Console& console);

// help, quit, idle, wait
void RegisterBasicCommands(Console& console);
// time get | set | freeze | run | advance
void RegisterTimeCommands(Console& console);
// screenshot, tap, press, move, release, drag, key, type, rotate, screen, dialogs, answer
void RegisterDisplayCommands(Console& console);
// sound | sound volume
void RegisterSoundCommands(Console& console);
// run [--wait], ps
void RegisterProgramCommands(Console& console);
// windows, find-window, post, post-thread
void RegisterWindowCommands(Console& console);
// ui, ui tap, ui text (UiCommands.cpp).
void RegisterUiCommands(Console& console);
// reg get | set | delete
void RegisterRegistryCommands(Console& console);
// push, pull, ls, rm
void RegisterFileCommands(Console& console);
// beeps, leds
void RegisterNotificationCommands(Console& console);
// contact add | set | delete | list | show | import | beamed
void RegisterContactCommands(Console& console);
// sim add | remove | list | state
void RegisterSimCommands(Console& console);
// calllog add | list | delete
void RegisterCallLogCommands(Console& console);

} // namespace platform
