// The parse loop of XmlReader, written once for two ways of raising events: through the
// virtual OnEvent (XmlReader.cpp) and bound at compile time to a final reader type
// (XmlReaderFor). Include it only there.
#pragma once

#include "common/XmlElementObject.h"
#include "common/XmlReader.h"
#include "common/XmlScan.h"

#include <cstring>

namespace common {

// Reads the text from m_position as the content of the whole document.
template <class Raise>
void XmlReader::ParseText(Raise) {
    ParseElements<Raise>(nullptr, nullptr, 0, 0);
}

// The loop is written for the processor as much as for the reader's rules: its steps are
// inlined into one function that keeps its values in registers (an extra pointer to hold,
// such as an event raiser with state, costs a tenth of its speed); the short stretches
// between tags are read a byte at a time, the long ones (a tag up to its '>', a quoted
// value) 16 bytes at a time. Reading a tag in one pass (its attributes kept until its '>' is
// found), an index of all '<' and '>' made before parsing, vector hashing of names and
// four-byte name steps were each tried and measured slower.
template <class Raise>
XmlReader::Outcome XmlReader::ParseElements(XmlNode* parent, const char* closeName,
                                            size_t closeLength, int depth) {
    for (;;) {
        char* open = xmlscan::FindOpen(m_position);
        char* close = open ? xmlscan::FindByte(open + 1, '>') : nullptr;
        if (!close)
            return Ended();
        if (open[1] == '!' && open[2] == '-' && open[3] == '-') {
            char* commentEnd = std::strstr(open + 2, "-->");
            if (!commentEnd)
                return Ended();
            m_position = commentEnd + 3;
            continue;
        }
        if (!parent && open[1] == '?' && close[-1] == '?') {
            m_position = close + 1; // the XML declaration
            continue;
        }
        *close = 0;
        char* tagEnd = close + 1;
        if (closeName && xmlscan::IsEndTagOf(open, close, closeName, closeLength)) {
            m_position = tagEnd;
            m_frozenEnd = tagEnd;
            return Outcome::Closed;
        }
        if (depth >= kMaxDepth)
            return Ended();

        char* name = xmlscan::SkipSpace(open + 1);
        uint32_t hash;
        char* nameEnd = xmlscan::ScanName(name, xmlscan::kElementNameBytes, hash);
        char* attributes = *nameEnd ? nameEnd + 1 : nameEnd;
        bool empty = nameEnd > name && nameEnd[-1] == '/';
        if (empty) {
            nameEnd[-1] = 0;
            hash = (hash - '/') * xmlscan::kInverseOf33; // the hash without the slash
        }
        *nameEnd = 0;
        size_t nameLength = size_t(nameEnd - name) - (empty ? 1 : 0);
        m_lastName = {name, hash};
        m_frozenEnd = nameEnd + 1; // attributes are terminated after the name

        m_current = &m_open[depth]; // unused while there is no parent
        XmlNode* node = StartElement<Raise>(parent, name, tagEnd);
        if (!node)
            return Ended();
        bool firstRoot = depth == 0 && node == m_root && parent != node;
        if (firstRoot)
            parent = node; // a second top-level element becomes a child of the first
        m_open[depth + 1] = {.node = node};
        m_current = &m_open[depth + 1];
        if (!empty && ReadAttributes<Raise>(node, attributes, close, empty))
            Raise{}(*this, node, XmlEvent::AttributesEnd, nullptr, nullptr);

        m_position = tagEnd;
        m_frozenEnd = tagEnd;
        Outcome outcome =
            empty ? Outcome::Closed : ParseElements<Raise>(node, name, nameLength, depth + 1);
        if (firstRoot)
            m_open[0] = m_open[depth + 1]; // the root's lists, now read at this level
        Raise{}(*this, node, XmlEvent::ElementEnd, nullptr, empty ? nullptr : tagEnd);
        if (outcome == Outcome::Ended)
            return Outcome::Ended;
    }
}

// Raises the start event and supplies a generic node when the subclass made none.
template <class Raise>
inline XmlNode* XmlReader::StartElement(XmlNode* parent, const char* name,
                                 const char* tagEnd) {
    XmlNode* node = Raise{}(*this, parent, XmlEvent::ElementStart, name, tagEnd);
    if (!node)
        node = CreateNode(parent, name, kGenericElementKind);
    if (!node) {
        m_outOfMemory = true;
        return nullptr;
    }
    if (!m_root)
        m_root = node;
    if (node->element)
        node->element->SetNode(node);
    return node;
}

// Attributes are name="value" pairs; anything else (an unquoted value, a stray word) ends
// the list and the attributes read so far stay. A value without its closing quote ends at
// the tag's end. Between `p` and `close` the text holds no 0: the terminators written so
// far all lie before `p`.
template <class Raise>
inline bool XmlReader::ReadAttributes(XmlNode* node, char* p, char* close, bool& empty) {
    bool any = false;
    for (;;) {
        p = xmlscan::SkipSpace(p);
        char* name = p;
        uint32_t hash;
        p = xmlscan::ScanName(p, xmlscan::kAttributeNameBytes, hash);
        char* nameEnd = p;
        // Mostly '=' and '"' follow at once; white space around the '=' is looked for only
        // when they do not.
        if (*p != '=')
            p = xmlscan::SkipSpace(p);
        if (*p != '=') {
            empty = name[0] == '/' && name[1] == 0;
            return any;
        }
        if (*++p != '"')
            p = xmlscan::SkipSpace(p);
        if (*p != '"')
            return any;
        char* value = ++p;
        char* quote = xmlscan::FindByte(value, '"'); // the first 0 is the one at close
        p = quote ? quote : close;
        *nameEnd = 0;
        *p = 0;
        m_lastName = {name, hash};
        m_lastValue = value;
        m_frozenEnd = p + 1; // the next attribute lies after the value
        Raise{}(*this, node, XmlEvent::Attribute, name, value);
        any = true;
        if (!quote || ++p > close)
            return any;
    }
}

} // namespace common
