// The output sink a console command writes its answer lines to. The console adds the
// final `OK` / `ERROR <reason>` line itself, so a handler writes only its data lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

class ConsoleOutput {
public:
    // Adds one or more lines; embedded line breaks start new lines, so a data line can
    // never be mistaken for the final status line of the answer by its position.
    void Line(std::string_view text);
    void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

    const std::vector<std::string>& Lines() const { return m_lines; }

private:
    std::vector<std::string> m_lines;
};

} // namespace platform
