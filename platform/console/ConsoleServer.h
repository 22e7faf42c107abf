// Serves the console on a Unix socket (DIR/console.sock): every client line is a command,
// answered on the same connection. Several clients may be connected at once; their
// commands still run one at a time (the console serialises them).
#pragma once

#include "console/Console.h"

#include <atomic>
#include <filesystem>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace platform {

class ConsoleServer {
public:
    static constexpr int kMaxClients = 16;

    // Where a device folder's console socket lives.
    static std::filesystem::path SocketPathIn(const std::filesystem::path& deviceFolder);

    ConsoleServer(Console& console, std::filesystem::path path)
        : m_console(console), m_path(std::move(path)) {}
    ~ConsoleServer() { Stop(); }
    ConsoleServer(const ConsoleServer&) = delete;
    ConsoleServer& operator=(const ConsoleServer&) = delete;

    // Creates the socket and starts accepting; false with a reason.
    bool Start(std::string& error);
    // Stops accepting, lets every client finish the command it is running (its answer is
    // still sent), ends the client threads and removes the socket file.
    void Stop();

    const std::filesystem::path& Path() const { return m_path; }

private:
    struct Client {
        int fd = -1;
        std::thread thread;
        std::atomic<bool> done{false};
    };
    void AcceptLoop();
    void Accept();
    void Serve(Client& client);
    // Joins and closes clients whose thread ended (all of them when `all`).
    void Reap(bool all);

    Console& m_console;
    std::filesystem::path m_path;
    int m_listenFd = -1;
    int m_wake[2] = {-1, -1};
    std::thread m_acceptThread;
    std::mutex m_clientsMutex;
    std::list<std::unique_ptr<Client>> m_clients;
};

} // namespace platform
