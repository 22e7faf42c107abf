// Base of the objects a reader subclass attaches to nodes (the skin's element objects).
// They are constructed in the reader's arena: XmlReader::Clear runs their destructors but
// never frees their memory.
#pragma once

namespace common {

struct XmlNode;

class XmlElementObject {
public:
    virtual ~XmlElementObject() = default;
    // Called by the reader once the node the object belongs to is known.
    virtual void SetNode(XmlNode* node) { m_node = node; }
    XmlNode* Node() const { return m_node; }

protected:
    XmlNode* m_node = nullptr; // back-link; the node lives in the same arena
};

} // namespace common
