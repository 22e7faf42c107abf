// An "effect" element: the transition a page change may show. It only keeps its type and
// delay; what they do belongs to the frame that reads them.
#pragma once

#include "corlist/skin/SkinElement.h"

namespace corlist {

class EffectElement : public SkinElement {
public:
    EffectElement() = default;

    void CopyFrom(const SkinElement& other) override;
    // "type" and "delay", integers.
    bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) override;

    int Type() const { return m_type; }
    int Delay() const { return m_delay; }

private:
    int m_type = 0;
    int m_delay = 30;
};

} // namespace corlist
