// Cuts a byte stream (a socket, standard input) into lines. A line longer than the cap is
// not kept: it comes out once, marked too long, so a hostile client cannot make the
// device hold an endless line in memory.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace platform {

class LineBuffer {
public:
    static constexpr size_t kDefaultMaxLine = 64 * 1024;

    explicit LineBuffer(size_t maxLine = kDefaultMaxLine) : m_maxLine(maxLine) {}

    void Append(const char* data, size_t size);
    // At the end of the stream: a last line without a line feed becomes complete.
    void Finish();

    struct Line {
        std::string text; // without the line feed and a carriage return before it
        bool tooLong = false;
    };
    // Takes the next complete line; false when there is none.
    bool Next(Line& line);

private:
    void Complete();

    size_t m_maxLine;
    std::string m_pending;
    bool m_discarding = false;
    bool m_started = false;
    std::deque<Line> m_ready;
};

} // namespace platform
