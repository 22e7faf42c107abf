#include "pim/BeamLog.h"

#include "kernel/Trace.h"
#include "kernel/Utf.h"

#include <utility>

namespace platform {

namespace {

// Beams kept for the console; older ones are dropped.
constexpr size_t kMaxBeams = 1000;

} // namespace

BeamLog& BeamLog::Instance() {
    static BeamLog log;
    return log;
}

void BeamLog::Record(BeamedContact contact) {
    Trace("pim", "beamed contact %lu \"%s\"", (unsigned long)contact.oid,
          ToUtf8(contact.name).c_str());
    std::lock_guard lock(m_mutex);
    if (m_beamed.size() >= kMaxBeams)
        m_beamed.erase(m_beamed.begin());
    m_beamed.push_back(std::move(contact));
}

std::vector<BeamedContact> BeamLog::Drain() {
    std::lock_guard lock(m_mutex);
    return std::exchange(m_beamed, {});
}

void BeamLog::Clear() {
    std::lock_guard lock(m_mutex);
    m_beamed.clear();
}

} // namespace platform
