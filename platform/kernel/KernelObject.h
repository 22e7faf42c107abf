// Base of every object a kernel HANDLE names: events, threads, processes, files,
// find searches. Waitable objects report their signal state under the WaitHub lock.
#pragma once

#include <memory>

namespace platform {

enum class ObjectType { Event, Thread, Process, File, Find, Mapping, Other };

class KernelObject : public std::enable_shared_from_this<KernelObject> {
public:
    virtual ~KernelObject() = default;
    virtual ObjectType Type() const = 0;
    // Called under the WaitHub lock.
    virtual bool IsWaitable() const { return false; }
    virtual bool IsSignaled() const { return false; }
    // A satisfied wait consumes the signal of an auto-reset object.
    virtual void ConsumeSignal() {}
};

} // namespace platform
