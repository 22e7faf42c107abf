// Base of the skin's element objects. They are made in the skin's node arena when their
// start tag is read, take their attributes one by one, and may start as a copy of a
// template of the same class. The destructor releases only the platform objects (brushes,
// fonts, images) the element created; the arena frees the memory.
#pragma once

#include "common/NodeArena.h"
#include "common/XmlElementObject.h"

namespace corlist {

class SkinElement : public common::XmlElementObject {
public:
    // Copies every attribute-derived field from `other`, an object of the same class.
    virtual void CopyFrom(const SkinElement& other) = 0;
    // Takes one attribute (name matched ignoring ASCII case); false when the element does
    // not know it. Strings the element keeps are copied into `arena`.
    virtual bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) = 0;
};

} // namespace corlist
