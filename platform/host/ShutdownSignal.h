// The host's request to shut down: SIGINT, SIGTERM or the console's `quit`. The signal
// handler only sets a flag and writes a byte into a self-pipe; the main loop polls the
// pipe's read end together with its other inputs.
#pragma once

namespace host {

class ShutdownSignal {
public:
    // Creates the pipe and installs the handlers; false when the pipe cannot be made.
    static bool Install();
    // Asks for shutdown from any thread.
    static void Request();
    static bool Requested();
    // True when the request came from SIGINT or SIGTERM (an interrupted script fails).
    static bool Signalled();
    // Becomes readable once shutdown was requested.
    static int ReadFd();
};

} // namespace host
