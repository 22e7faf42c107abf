// A small in-place reader for the XML subset of skin descriptions and the profile file:
// elements, double-quoted attributes, comments and a leading processing instruction. Text
// content, entities and CDATA are not interpreted. A subclass receives one event per
// element start, attribute, end of attributes and element end and decides which nodes to
// create; the tree and everything the subclass copies live in one NodeArena.
//
// The text itself is read into the arena and parsed there, so names and values are not
// copied: nodes and the strings AllocString hands out point into the text. The price is
// that the whole text of a document stays in memory with its tree until Clear or the next
// Load, not just the names and values the tree keeps; a load that fails frees it at once.
#pragma once

#include "common/NodeArena.h"
#include "common/XmlNode.h"

#include "ce/types.h"

#include <cstdint>

namespace common {

class Stream;

enum class XmlEvent {
    // node = parent (null at the top before a root exists), name = element name,
    // value = the text just past the start tag's '>'. Returns the element's node or null
    // for a generic one.
    ElementStart = 1,
    // node = current element, name and value of the attribute (valid during the call only).
    Attribute = 2,
    // Raised only when the element had at least one attribute.
    AttributesEnd = 3,
    // node = the element; value = its content (the text just past the start tag's '>',
    // intact up to the first '<' inside) or null for an empty-element tag.
    ElementEnd = 4,
};

class XmlReader {
public:
    // Deeper elements end parsing as a missing '>' would; what was read stays.
    static constexpr int kMaxDepth = 256;
    // Larger texts are refused before anything is allocated.
    static constexpr LONG kMaxTextSize = 16 << 20;

    XmlReader() = default;
    XmlReader(const XmlReader&) = delete;
    XmlReader& operator=(const XmlReader&) = delete;

    virtual XmlNode* OnEvent(XmlNode* node, XmlEvent event, const char* name,
                             const char* value) = 0;
    // Allocates a zero-filled node of `kind` under `parent` (null for none), keeps the name
    // in the arena (see AllocString) and hashes it. Attribute nodes of generic elements
    // (kGenericAttributeKind) go to the end of the parent's attribute list, all others to
    // the end of its child list. Null when memory runs out.
    virtual XmlNode* CreateNode(XmlNode* parent, const char* name, uint32_t kind);
    virtual ~XmlReader();

    // Reads the whole stream from its start and parses it. False when the stream's size is
    // unknown or beyond kMaxTextSize, a read comes up short, memory runs out, or no element
    // was found; the reader is then empty.
    bool Load(Stream& stream);
    // The same for a device file opened for shared reading. Lives in XmlReaderFile.cpp.
    bool LoadFile(LPCWSTR path);
    // Destroys the element objects (except borrowed ones), forgets the tree, frees the arena.
    // Element objects must be built in Arena() with NodeArena::Allocate: a tree whose arena
    // holds nothing else than nodes and strings is freed without visiting its nodes.
    void Clear();
    // An arena copy of an 8-bit string, valid until Clear; null for a null text. A name or
    // value of the loaded text is not copied but handed back as it is: it already lives in
    // the arena and never changes. Such strings are shared, so nobody may write into them.
    // Inline for the common case of a subclass keeping the value it was just given.
    char* AllocString(const char* text) {
        if (text && text == m_lastValue)
            return const_cast<char*>(text); // terminated in the text for good
        return AllocOtherString(text);
    }

    // Searches the sibling chain from `first`. kind 0 with a name: exact name; a kind with a
    // name: that kind and the name ignoring ASCII case; a kind without a name: the first
    // unnamed node of that kind. hash 0 means "hash the name here".
    static XmlNode* FindNode(XmlNode* first, const char* name, uint32_t kind, uint32_t hash = 0);

    XmlNode* Root() const { return m_root; }
    NodeArena& Arena() { return m_arena; }

private:
    enum class Outcome { Closed, Ended };

    // The name just scanned with its hash, so that CreateNode need not hash it again.
    struct ScannedName {
        const char* text = nullptr;
        uint32_t hash = 0;
    };

    bool LoadText(Stream& stream, size_t terminators);
    char* AllocOtherString(const char* text);
    char* KeepString(const char* text, size_t length);
    Outcome Ended();
    Outcome ParseElements(XmlNode* parent, const char* closeName, size_t closeLength,
                          int depth);
    XmlNode* StartElement(XmlNode* parent, const char* name, const char* tagEnd);
    // Reads the attributes in [position, close), where close is the tag's '>' already
    // replaced by 0. Returns whether an attribute was read; sets `empty` for a tag that
    // ends in a lone "/".
    bool ReadAttributes(XmlNode* node, char* position, char* close, bool& empty);
    void DestroyElementObjects();

    XmlNode* m_root = nullptr;
    NodeArena m_arena;
    char* m_position = nullptr; // read position while parsing
    const char* m_textEnd = nullptr; // one past the text block's last terminator
    // The parser writes no terminator below this any more: a string of the text that ends
    // below it stays as it is. The whole text once parsing is over.
    const char* m_frozenEnd = nullptr;
    bool m_outOfMemory = false;
    // The last name and value terminated in the text (both lie below m_frozenEnd).
    ScannedName m_lastName;
    const char* m_lastValue = nullptr;
};

} // namespace common
