// `dialora-host console`: connects to a running device's console socket, sends the lines
// of standard input and prints the answers until both sides are done.
#pragma once

#include <filesystem>

namespace host {

class ConsoleClient {
public:
    // The exit status: 0 when the conversation ran to its end, 1 when no device answered.
    static int Run(const std::filesystem::path& deviceFolder);

private:
    static int Converse(int socketFd);
};

} // namespace host
