// A manual- or auto-reset event, named or unnamed.
#pragma once

#include "kernel/KernelObject.h"

#include <string>

namespace platform {

class EventObject : public KernelObject {
public:
    EventObject(bool manualReset, bool initialState, std::u16string name)
        : m_manualReset(manualReset), m_signaled(initialState), m_name(std::move(name)) {}
    ~EventObject() override;

    ObjectType Type() const override { return ObjectType::Event; }
    bool IsWaitable() const override { return true; }
    bool IsSignaled() const override { return m_signaled; }
    void ConsumeSignal() override {
        if (!m_manualReset)
            m_signaled = false;
    }

    const std::u16string& Name() const { return m_name; }
    bool IsManualReset() const { return m_manualReset; }

    // Under the WaitHub lock.
    void Set() { m_signaled = true; }
    void Reset() { m_signaled = false; }

    // Signals a named event from inside the platform (scheduled wake-ups, console).
    // Returns false when no event of that name exists.
    static bool SetNamed(const std::u16string& name);
    // The same with the WaitHub lock already held by the caller.
    static bool SetNamedLocked(const std::u16string& name);

private:
    bool m_manualReset;
    bool m_signaled;
    std::u16string m_name;
};

} // namespace platform
