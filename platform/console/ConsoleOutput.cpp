#include "console/ConsoleOutput.h"

#include <cstdarg>
#include <cstdio>

namespace platform {

void ConsoleOutput::Line(std::string_view text) {
    size_t start = 0;
    while (true) {
        size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        m_lines.emplace_back(line);
        if (end == std::string_view::npos)
            return;
        start = end + 1;
    }
}

void ConsoleOutput::Printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(size > 0 ? size_t(size) : 0, '\0');
    if (size > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    Line(text);
}

} // namespace platform
