// What fixtures on a booted device do over and over: let this thread's messages run out,
// run a console line that must succeed, start from empty SIM and call log stores, add a
// contact through the console.
#pragma once

#include "ce/cedbtypes.h"
#include "console/Console.h"

#include <string>
#include <vector>

namespace testsupport {

// Handles this thread's messages until none arrived for five rounds of 5 ms.
void PumpUntilQuiet();
// Runs `line`, which must answer OK, and returns its data lines.
std::vector<std::string> RunConsoleLine(platform::Console& console, const std::string& line);
// Deletes the sample SIM entries and calls a new device comes with.
void EmptySimAndCallLog();
// `contact add FIELDS`: the new contact's identifier, 0 when the console refused it.
CEOID AddContactThrough(platform::Console& console, const std::string& fields);

} // namespace testsupport
