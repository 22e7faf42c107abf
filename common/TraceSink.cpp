#include "common/TraceSink.h"

#include "common/TextCodec.h"

#include "ce/kernel.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace common {

namespace {

void DebugOutputSink(const char* line) { OutputDebugStringW(Utf8ToWide(line).c_str()); }

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
