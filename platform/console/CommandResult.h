// What a console command handler returns: success, a failure with a one-line reason, or
// "the arguments do not fit", which the console answers with the command's usage.
#pragma once

#include <string>
#include <utility>

namespace platform {

class CommandResult {
public:
    static CommandResult Ok() { return CommandResult(Kind::Ok, {}); }
    static CommandResult Error(std::string reason) {
        return CommandResult(Kind::Error, std::move(reason));
    }
    static CommandResult Usage() { return CommandResult(Kind::Usage, {}); }

    bool IsOk() const { return m_kind == Kind::Ok; }
    bool IsUsage() const { return m_kind == Kind::Usage; }
    const std::string& Reason() const { return m_reason; }

private:
    enum class Kind { Ok, Error, Usage };
    CommandResult(Kind kind, std::string reason) : m_kind(kind), m_reason(std::move(reason)) {}

    Kind m_kind;
    std::string m_reason;
};

} // namespace platform
