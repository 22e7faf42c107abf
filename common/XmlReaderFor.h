// A reader whose events reach its own OnEvent without a virtual call: a final reader type
// derives from XmlReaderFor<itself>, and the parse loop is compiled for it with OnEvent
// bound and inlined. The events, their order and everything else are the reader's own;
// the calls are what a tree of many small elements spends most of its time on otherwise.
#pragma once

#include "common/XmlReaderParse.h"

#include <type_traits>

namespace common {

template <class Derived>
class XmlReaderFor : public XmlReader {
protected:
    XmlReaderFor() : XmlReader(&ParseBound) {}

private:
    static void ParseBound(XmlReader& reader) {
        // A subclass of Derived could override OnEvent again and would not be called.
        static_assert(std::is_final_v<Derived>, "bind events only to a final reader type");
        // The events take the reader along rather than keeping it, so the parse loop has one
        // pointer less to hold.
        static_cast<XmlReaderFor&>(reader).ParseText([](XmlReader& self, XmlNode* node,
                                                        XmlEvent event, const char* name,
                                                        const char* value) {
            return static_cast<Derived&>(self).Derived::OnEvent(node, event, name, value);
        });
    }
};

} // namespace common
