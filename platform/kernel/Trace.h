// The platform's trace sink: one line per event with a subsystem tag, off by default.
// `dialora --trace` or DIALORA_TRACE=1 turns it on (standard error).
#pragma once

namespace platform {

void EnableTrace(bool enabled);
bool TraceEnabled();
void Trace(const char* tag, const char* format, ...) __attribute__((format(printf, 2, 3)));

} // namespace platform
