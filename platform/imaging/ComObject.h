// Reference counting shared by the Imaging API's objects: the object deletes itself when
// the last reference goes.
#pragma once

#include "ce/objbase.h"

#include <atomic>

namespace platform {

class ComRefCount {
public:
    ULONG Add() { return ++m_refs; }
    // True when this was the last reference.
    bool Drop(ULONG& remaining) {
        remaining = --m_refs;
        return remaining == 0;
    }

private:
    std::atomic<ULONG> m_refs{1};
};

} // namespace platform
