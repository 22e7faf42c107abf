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
#include "common/XmlElementObject.h"
#include "common/XmlNode.h"

#include "ce/types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

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
    // Every reader uses this one, so it is final: a subclass's calls bind directly and the
    // common case (the name just scanned, a parent being read) is inlined into them.
    virtual XmlNode* CreateNode(XmlNode* parent, const char* name, uint32_t kind) final {
        uint32_t hash = 0;
        char* kept = nullptr;
        if (name == m_lastName.text) { // also a null name after parsing: hash 0
            hash = m_lastName.hash;
            kept = const_cast<char*>(name); // terminated in the text for good
        } else if (name && !KeepName(name, kept, hash)) {
            return nullptr;
        }
        void* memory = m_arena.AllocateUncleared(sizeof(XmlNode));
        if (!memory)
            return nullptr;
        // Every field is written once; the links not named here start null.
        auto* node =
            new (memory) XmlNode{.kind = kind, .hash = hash, .name = kept, .parent = parent};
        if (parent) {
            ListEnds& ends = m_current->node == parent ? *m_current : EndsOf(parent);
            if ((kind & kKindMask) == kGenericAttributeKind)
                Append(parent->firstAttribute, ends.lastAttribute, node);
            else
                Append(parent->firstChild, ends.lastChild, node);
        }
        return node;
    }
    virtual ~XmlReader();

    // Reads the whole stream from its start and parses it. False when the stream's size is
    // unknown or beyond kMaxTextSize, a read comes up short, memory runs out, or no element
    // was found; the reader is then empty. An exception from OnEvent empties the reader and
    // goes on to the caller.
    bool Load(Stream& stream);
    // The same for a device file opened for shared reading. Lives in XmlReaderFile.cpp.
    bool LoadFile(LPCWSTR path);
    // Destroys the element objects (except borrowed ones), forgets the tree, frees the arena.
    // Element objects must be built in Arena() with NodeArena::Allocate (MakeElement does):
    // a tree whose arena holds nothing else than nodes and strings is freed without
    // visiting its nodes, and an object from anywhere else would be destroyed but never
    // freed. Debug builds check every element object here and stop on one that breaks this.
    void Clear();
    // Constructs an element object of type T in the arena, where Clear destroys it; null
    // when memory runs out. The way to make the objects that nodes own.
    template <class T, class... Args>
    T* MakeElement(Args&&... args) {
        static_assert(std::is_base_of_v<XmlElementObject, T>, "element objects derive from XmlElementObject");
        static_assert(alignof(T) <= alignof(std::max_align_t), "the arena aligns to max_align_t");
        void* memory = m_arena.Allocate(sizeof(T));
        return memory ? new (memory) T(std::forward<Args>(args)...) : nullptr;
    }
    // Gives `node` its element object: one made by MakeElement that the node owns, or with
    // `borrowed` another node's object that Clear leaves alone (kBorrowedElementFlag).
    // Debug builds stop on an owned object that is not in the arena.
    void AttachElement(XmlNode* node, XmlElementObject* element, bool borrowed = false);
    // An arena copy of an 8-bit string, valid until Clear; null for a null text. A name or
    // value of the loaded text is not copied but handed back as it is: it already lives in
    // the arena and never changes. Such strings are shared, so nobody may write into them:
    // treat the result (and XmlNode::name) as const char*; it is char* only so that
    // subclasses store it in their records without casts.
    // Inline for the common case of a subclass keeping the value it was just given.
    char* AllocString(const char* text) {
        if (text == m_lastValue)
            return const_cast<char*>(text); // terminated in the text for good, or null
        return AllocOtherString(text);
    }

    // Searches the sibling chain from `first`. kind 0 with a name: exact name; a kind with a
    // name: that kind and the name ignoring ASCII case; a kind without a name: the first
    // unnamed node of that kind. hash 0 means "hash the name here".
    static XmlNode* FindNode(XmlNode* first, const char* name, uint32_t kind, uint32_t hash = 0);

    XmlNode* Root() const { return m_root; }
    NodeArena& Arena() { return m_arena; }

protected:
    // Parses a loaded text instead of the reader's own parse (which raises every event
    // through the virtual OnEvent): XmlReaderFor passes the same parse bound to its type.
    using TextParser = void (*)(XmlReader& reader);
    explicit XmlReader(TextParser parseText) : m_parseText(parseText) {}

    // The parse loop (XmlReaderParse.h). Raise is a function object without state, called
    // with the reader and then as OnEvent would be; the loop makes one where it raises an
    // event, so it holds no pointer to it.
    template <class Raise>
    void ParseText(Raise raise);

private:
    enum class Outcome { Closed, Ended };

    // The name just scanned with its hash, so that CreateNode need not hash it again.
    struct ScannedName {
        const char* text = nullptr;
        uint32_t hash = 0;
    };

    // The last nodes of a parent's two lists, so that appending stays constant-time for
    // huge documents without a node carrying them.
    struct ListEnds {
        XmlNode* node = nullptr;
        XmlNode* lastChild = nullptr;
        XmlNode* lastAttribute = nullptr;
    };

    // Appends `node` to the list that starts at `first`. `last` is a hint that a subclass
    // editing lists by hand may have left stale, so it is only trusted forward.
    static void Append(XmlNode*& first, XmlNode*& last, XmlNode* node) {
        XmlNode* tail = last ? last : first;
        last = node;
        if (!tail) {
            first = node;
            return;
        }
        while (tail->nextSibling)
            tail = tail->nextSibling;
        tail->nextSibling = node;
    }

    // The list ends of a parent that is not the element being read: one remembered parent,
    // whose lists are walked once when it changes.
    ListEnds& EndsOf(XmlNode* parent);
    // Keeps a name that is not the one just scanned and hashes it; false when memory runs out.
    bool KeepName(const char* name, char*& kept, uint32_t& hash);
    bool LoadText(Stream& stream, size_t terminators);
    // Forgets the parse position and the strings just scanned.
    void EndParse();
    char* AllocOtherString(const char* text);
    char* KeepString(const char* text, size_t length);
    Outcome Ended();
    template <class Raise>
    Outcome ParseElements(XmlNode* parent, const char* closeName, size_t closeLength,
                          int depth);
    template <class Raise>
    [[gnu::always_inline]] XmlNode* StartElement(XmlNode* parent, const char* name,
                                                 const char* tagEnd);
    // Reads the attributes in [position, close), where close is the tag's '>' already
    // replaced by 0. Returns whether an attribute was read; sets `empty` for a tag that
    // ends in a lone "/".
    // Inlined into the loop whatever the compiler's size limits say: a call per tag costs
    // more than the code it saves.
    template <class Raise>
    [[gnu::always_inline]] bool ReadAttributes(XmlNode* node, char* position, char* close,
                                               bool& empty);
    void DestroyElementObjects();
    // Debug builds: stops when an owned element object is not in the arena, or when the
    // arena never made objects but a node holds one (it would not be destroyed).
    void CheckElementObject(const XmlNode* node) const;

    TextParser m_parseText = nullptr; // null: the reader's own parse
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
    // While parsing, entry d holds the list ends of the element whose content is read at
    // depth d (entry 0: the root once it exists); m_current points at the entry of the
    // element whose attributes or children are being created (m_other when not parsing).
    std::unique_ptr<ListEnds[]> m_open;
    ListEnds m_other; // the parent last seen outside m_current
    ListEnds* m_current = &m_other;
};

} // namespace common
