// A running FindFirstFileW search: the matches, collected when the search started, and
// how far FindNextFileW has got.
#pragma once

#include "ce/files.h"
#include "kernel/KernelObject.h"

#include <mutex>
#include <vector>

namespace platform {

class FindObject : public KernelObject {
public:
    explicit FindObject(std::vector<WIN32_FIND_DATAW> matches) : m_matches(std::move(matches)) {}

    ObjectType Type() const override { return ObjectType::Find; }

    // Copies the next match into `data`; false when none is left.
    bool Next(WIN32_FIND_DATAW& data) {
        std::lock_guard lock(m_mutex);
        if (m_next >= m_matches.size())
            return false;
        data = m_matches[m_next++];
        return true;
    }

private:
    std::mutex m_mutex;
    std::vector<WIN32_FIND_DATAW> m_matches;
    size_t m_next = 0;
};

} // namespace platform
