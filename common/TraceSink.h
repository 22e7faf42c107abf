// The diagnostic trace of the shared units ("LoadXML", "Load \"...\""). Lines go to the
// platform's debug output unless a program or test installs its own sink; the platform
// discards them while tracing is off.
#pragma once

namespace common {

// Receives one complete line, ending in "\n", as UTF-8.
using TraceSinkFunction = void (*)(const char* line);

// nullptr restores the default sink. Returns the sink that was installed before.
TraceSinkFunction SetTraceSink(TraceSinkFunction sink);
void TraceLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace common
