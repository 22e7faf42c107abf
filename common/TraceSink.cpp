#include "common/TraceSink.h"

#include "common/TextCodec.h"

#include "ce/kernel.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace common {

namespace {

// The platform's debug output ends every line itself.
void DebugOutputSink(const char* line) {
    std::string_view text(line);
    if (!text.empty() && text.back() == '\n')
        text.remove_suffix(1);
    OutputDebugStringW(Utf8ToWide(text).c_str());
}

std::atomic<TraceSinkFunction> g_sink{DebugOutputSink};

} // namespace

TraceSinkFunction SetTraceSink(TraceSinkFunction sink) {
    return g_sink.exchange(sink ? sink : DebugOutputSink);
}

void TraceLine(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    g_sink.load()(line);
}

} // namespace common
