// Standard input, read on a thread of its own so that its end is heard while a command
// runs. The end of a terminal's input (Ctrl+D) means the user is done: the lines not run
// yet are dropped and the running command is cut short. The end of a pipe or a file only
// means that every line was read: those lines still run, one after the other.
#pragma once

#include "console/LineBuffer.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace host {

class StandardInput {
public:
    // `onTerminalEnd` is called on the reading thread when a terminal's input ends.
    explicit StandardInput(std::function<void()> onTerminalEnd) : m_onTerminalEnd(std::move(onTerminalEnd)) {}
    // Waits for the reading thread, which ends at the end of input or at shutdown.
    ~StandardInput();
    StandardInput(const StandardInput&) = delete;
    StandardInput& operator=(const StandardInput&) = delete;

    void Start();
    // The next line; false once the input ended (or shutdown began) and no line is left.
    bool Next(platform::LineBuffer::Line& line);

private:
    // Lines read ahead while a command runs; the reader waits when this many are queued.
    static constexpr size_t kMaxQueued = 1024;

    void Run();
    // Moves the buffer's complete lines to the queue; false when the input should end.
    bool Queue(platform::LineBuffer& buffer);
    void End(bool dropLines);

    std::function<void()> m_onTerminalEnd;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<platform::LineBuffer::Line> m_lines;
    bool m_ended = false;
    std::thread m_thread;
};

} // namespace host
