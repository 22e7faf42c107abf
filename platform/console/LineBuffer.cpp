#include "console/LineBuffer.h"

namespace platform {

void LineBuffer::Complete() {
    Line line;
    line.tooLong = m_discarding;
    if (!m_discarding) {
        if (!m_pending.empty() && m_pending.back() == '\r')
            m_pending.pop_back();
        line.text = std::move(m_pending);
    }
    m_ready.push_back(std::move(line));
    m_pending.clear();
    m_discarding = false;
    m_started = false;
}

void LineBuffer::Append(const char* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        char c = data[i];
        if (c == '\n') {
            Complete();
            continue;
        }
        m_started = true;
        if (m_discarding)
            continue;
        if (m_pending.size() >= m_maxLine) {
            m_discarding = true;
            m_pending.clear();
            m_pending.shrink_to_fit();
            continue;
        }
        m_pending += c;
    }
}

void LineBuffer::Finish() {
    if (m_started)
        Complete();
}

bool LineBuffer::Next(Line& line) {
    if (m_ready.empty())
        return false;
    line = std::move(m_ready.front());
    m_ready.pop_front();
    return true;
}

} // namespace platform
