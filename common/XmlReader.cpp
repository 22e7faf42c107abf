#include "common/XmlReader.h"

#include "common/NameHash.h"
#include "common/Stream.h"
#include "common/TraceSink.h"
#include "common/XmlElementObject.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace common {

namespace {

// Bytes are signed: every byte from 0x80 up counts as white space, so such a byte cuts a
// name. 0 is the terminator, never white space.
bool IsSpace(char c) {
    auto s = static_cast<signed char>(c);
    return s != 0 && s <= 0x20;
}

char* SkipSpace(char* p) {
    while (IsSpace(*p))
        ++p;
    return p;
}

bool EqualsNoCaseAscii(const char* a, const char* b) {
    for (;; ++a, ++b) {
        char ca = *a, cb = *b;
        if (ca >= 'a' && ca <= 'z')
            ca = char(ca - 'a' + 'A');
        if (cb >= 'a' && cb <= 'z')
            cb = char(cb - 'a' + 'A');
        if (ca != cb)
            return false;
        if (!ca)
            return true;
    }
}

bool IsEndTagOf(const char* tag, const char* name) {
    if (tag[1] != '/')
        return false;
    size_t length = std::strlen(name);
    return std::strncmp(tag + 2, name, length) == 0 &&
           (tag[2 + length] == 0 || IsSpace(tag[2 + length]));
}

// Appends `node` to the list that starts at `first`; `last` is a hint that a subclass
// editing lists by hand may have left stale, so it is only trusted forward.
void Append(XmlNode*& first, XmlNode*& last, XmlNode* node) {
    XmlNode* tail = last ? last : first;
    if (!tail) {
        first = last = node;
        return;
    }
    while (tail->nextSibling)
        tail = tail->nextSibling;
    tail->nextSibling = node;
    last = node;
}

} // namespace

XmlReader::~XmlReader() { Clear(); }

XmlNode* XmlReader::CreateNode(XmlNode* parent, const char* name, uint32_t kind) {
    void* memory = m_arena.Allocate(sizeof(XmlNode));
    if (!memory)
        return nullptr;
    auto* node = new (memory) XmlNode();
    node->kind = kind;
    node->parent = parent;
    if (name) {
        node->name = m_arena.AllocString(name);
        if (!node->name)
            return nullptr;
        node->hash = NameHash(name);
    }
    if (!parent)
        return node;
    if ((kind & kKindMask) == kGenericAttributeKind)
        Append(parent->firstAttribute, parent->lastAttribute, node);
    else
        Append(parent->firstChild, parent->lastChild, node);
    return node;
}

bool XmlReader::Load(Stream& stream) {
    bool loaded = LoadText(stream, 1);
    TraceLine("LoadXML\n");
    return loaded;
}

// Reads the whole stream into one buffer that ends in `terminators` zero bytes, parses it
// in place and frees it; the subclass copied what it keeps.
bool XmlReader::LoadText(Stream& stream, size_t terminators) {
    Clear();
    LONG size = stream.Size();
    if (size < 0 || size > kMaxTextSize)
        return false;
    std::unique_ptr<char[]> text(new (std::nothrow) char[size_t(size) + terminators]);
    if (!text)
        return false;
    LONG total = 0;
    while (total < size) {
        LONG n = stream.Read(text.get() + total, size - total);
        if (n <= 0)
            break;
        total += n;
    }
    if (total != size)
        return false;
    std::memset(text.get() + size, 0, terminators);
    m_outOfMemory = false;
    m_position = text.get();
    ParseElements(nullptr, nullptr, 0);
    m_position = nullptr;
    if (m_outOfMemory)
        Clear();
    return m_root != nullptr;
}

XmlReader::Outcome XmlReader::ParseElements(XmlNode* parent, const char* closeName, int depth) {
    for (;;) {
        char* open = std::strchr(m_position, '<');
        char* close = open ? std::strchr(open, '>') : nullptr;
        if (!close)
            return Outcome::Ended;
        if (open[1] == '!' && open[2] == '-' && open[3] == '-') {
            char* commentEnd = std::strstr(open + 2, "-->");
            if (!commentEnd)
                return Outcome::Ended;
            m_position = commentEnd + 3;
            continue;
        }
        if (!parent && open[1] == '?' && close[-1] == '?') {
            m_position = close + 1; // the XML declaration
            continue;
        }
        *close = 0;
        char* tagEnd = close + 1;
        if (closeName && IsEndTagOf(open, closeName)) {
            m_position = tagEnd;
            return Outcome::Closed;
        }
        if (depth >= kMaxDepth)
            return Outcome::Ended;

        char* name = SkipSpace(open + 1);
        char* nameEnd = name;
        while (*nameEnd && !IsSpace(*nameEnd))
            ++nameEnd;
        char* attributes = *nameEnd ? nameEnd + 1 : nameEnd;
        bool empty = nameEnd > name && nameEnd[-1] == '/';
        if (empty)
            nameEnd[-1] = 0;
        *nameEnd = 0;

        XmlNode* node = StartElement(parent, name, tagEnd);
        if (!node)
            return Outcome::Ended;
        if (depth == 0 && node == m_root)
            parent = node; // a second top-level element becomes a child of the first
        if (!empty && ReadAttributes(node, attributes, tagEnd, empty))
            OnEvent(node, XmlEvent::AttributesEnd, nullptr, nullptr);

        m_position = tagEnd;
        Outcome outcome = empty ? Outcome::Closed : ParseElements(node, name, depth + 1);
        OnEvent(node, XmlEvent::ElementEnd, nullptr, empty ? nullptr : tagEnd);
        if (outcome == Outcome::Ended)
            return Outcome::Ended;
    }
}

// Raises the start event and supplies a generic node when the subclass made none.
XmlNode* XmlReader::StartElement(XmlNode* parent, const char* name, const char* tagEnd) {
    XmlNode* node = OnEvent(parent, XmlEvent::ElementStart, name, tagEnd);
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
// the tag's end.
bool XmlReader::ReadAttributes(XmlNode* node, char* p, const char* tagEnd, bool& empty) {
    bool any = false;
    for (;;) {
        p = SkipSpace(p);
        char* name = p;
        while (*p && !IsSpace(*p) && *p != '=')
            ++p;
        char* nameEnd = p;
        p = SkipSpace(p);
        if (*p != '=') {
            empty = name[0] == '/' && name[1] == 0;
            return any;
        }
        p = SkipSpace(p + 1);
        if (*p != '"')
            return any;
        char* value = ++p;
        while (*p && *p != '"')
            ++p;
        bool quoted = *p == '"';
        *nameEnd = 0;
        *p = 0;
        OnEvent(node, XmlEvent::Attribute, name, value);
        any = true;
        if (!quoted || ++p >= tagEnd)
            return any;
    }
}

void XmlReader::Clear() {
    std::vector<XmlNode*> pending;
    if (m_root)
        pending.push_back(m_root);
    while (!pending.empty()) {
        XmlNode* node = pending.back();
        pending.pop_back();
        if (node->element && !(node->kind & kBorrowedElementFlag))
            node->element->~XmlElementObject(); // its memory belongs to the arena
        node->element = nullptr;
        // Siblings are pushed first so that children are visited before them.
        if (node->nextSibling && node != m_root)
            pending.push_back(node->nextSibling);
        if (node->firstAttribute)
            pending.push_back(node->firstAttribute);
        if (node->firstChild)
            pending.push_back(node->firstChild);
    }
    m_root = nullptr;
    m_arena.Clear();
}

XmlNode* XmlReader::FindNode(XmlNode* first, const char* name, uint32_t kind, uint32_t hash) {
    if (!name && kind == 0)
        return nullptr;
    if (name && hash == 0)
        hash = NameHash(name);
    kind &= kKindMask;
    for (XmlNode* node = first; node; node = node->nextSibling) {
        if (kind == 0) {
            if (node->hash == hash && node->name && std::strcmp(node->name, name) == 0)
                return node;
        } else if (name) {
            if (node->Kind() == kind && node->hash == hash && node->name &&
                EqualsNoCaseAscii(node->name, name))
                return node;
        } else if (node->Kind() == kind && (!node->name || !node->name[0])) {
            return node;
        }
    }
    return nullptr;
}

} // namespace common
