#include "common/XmlReader.h"

#include "common/NameHash.h"
#include "common/Stream.h"
#include "common/TraceSink.h"
#include "common/XmlElementObject.h"
#include "common/XmlReaderParse.h"
#include "common/XmlScan.h"

#include <cassert>
#include <cstring>
#include <new>
#include <vector>

namespace common {

namespace {

// How far ahead of the visited node Clear asks for memory: about eight nodes.
constexpr size_t kClearPrefetchDistance = 8 * (sizeof(XmlNode) + 16);

} // namespace

XmlReader::~XmlReader() { Clear(); }

XmlReader::ListEnds& XmlReader::EndsOf(XmlNode* parent) {
    if (m_other.node != parent)
        m_other = {.node = parent}; // Append walks each list once from its first node
    return m_other;
}

bool XmlReader::KeepName(const char* name, char*& kept, uint32_t& hash) {
    size_t length;
    hash = NameHash(name, length);
    kept = KeepString(name, length);
    return kept != nullptr;
}

char* XmlReader::AllocOtherString(const char* text) {
    return text ? KeepString(text, std::strlen(text)) : nullptr;
}

// A string that lies in the text with its terminator in the part the parser will not
// write again is already where it would be copied to, and stays as it is; anything else
// (a string the subclass built, a stretch of text still to be parsed) is copied.
char* XmlReader::KeepString(const char* text, size_t length) {
    if (m_arena.InText(text) && text + length < m_frozenEnd)
        return const_cast<char*>(text);
    return m_arena.AllocString(text, length);
}

bool XmlReader::Load(Stream& stream) {
    bool loaded = LoadText(stream, 1);
    TraceLine("LoadXML\n");
    return loaded;
}

// Reads the whole stream into a text block of the arena that ends in `terminators` zero
// bytes and parses it in place. The block stays with the tree: the names and values that
// the nodes and the subclass keep point into it. A load that fails frees it at once.
bool XmlReader::LoadText(Stream& stream, size_t terminators) {
    Clear();
    LONG size = stream.Size();
    if (size < 0 || size > kMaxTextSize)
        return false;
    char* text = m_arena.AllocateText(size_t(size) + terminators + xmlscan::kScanPadding);
    if (!text)
        return false;
    LONG total = 0;
    while (total < size) {
        LONG n = stream.Read(text + total, size - total);
        if (n <= 0)
            break;
        total += n;
    }
    if (total != size) {
        Clear();
        return false;
    }
    std::memset(text + size, 0, terminators + xmlscan::kScanPadding);
    if (!m_open)
        m_open.reset(new (std::nothrow) ListEnds[kMaxDepth + 1]);
    if (!m_open) {
        Clear();
        return false;
    }
    m_open[0] = {}; // the root's lists, from the moment the root has content
    m_outOfMemory = false;
    m_position = text;
    m_textEnd = text + size + terminators;
    m_frozenEnd = text;
    try {
        if (m_parseText)
            m_parseText(*this);
        else
            ParseText([](XmlReader& reader, XmlNode* node, XmlEvent event, const char* name,
                         const char* value) { return reader.OnEvent(node, event, name, value); });
    } catch (...) {
        // A subclass's event threw: nothing of the half-read tree may stay behind.
        EndParse();
        Clear();
        throw;
    }
    EndParse();
    if (m_outOfMemory || !m_root)
        Clear();
    return m_root != nullptr;
}

void XmlReader::EndParse() {
    m_position = nullptr;
    m_frozenEnd = m_textEnd; // parsing writes nothing more
    m_lastName = {};
    m_lastValue = nullptr;
    m_current = &m_other;
}

// Parsing stops: nothing in the text is written any more.
XmlReader::Outcome XmlReader::Ended() {
    m_frozenEnd = m_textEnd;
    return Outcome::Ended;
}

void XmlReader::Clear() {
    // Element objects live in the arena: when nothing but nodes and strings was allocated
    // there, no node has one, and the walk over a tree far larger than the caches is saved.
    // Debug builds walk anyway, to catch an object that did not come from the arena.
#ifdef NDEBUG
    if (m_arena.HoldsObjects())
#endif
        DestroyElementObjects();
    m_root = nullptr;
    m_current = &m_other;
    m_other = {};
    m_textEnd = nullptr;
    m_frozenEnd = nullptr;
    m_arena.Clear();
}

// Visits every node except the lists copied nodes share, each one's children before its
// attributes and both before its next sibling, and destroys the element objects the nodes
// own.
void XmlReader::DestroyElementObjects() {
    std::vector<XmlNode*> pending(64);
    size_t count = 0;
    if (m_root)
        pending[count++] = m_root;
    while (count > 0) {
        XmlNode* node = pending[--count];
        // The walk chases pointers through a tree far larger than the caches, but the arena
        // laid the nodes out in nearly the order it visits them: asking for the memory a
        // few nodes ahead turns one cache miss per node into a stream. Prefetching never
        // faults, whatever the address.
        __builtin_prefetch(reinterpret_cast<const char*>(node) + kClearPrefetchDistance);
        if (node->element) {
#ifndef NDEBUG
            CheckElementObject(node);
#endif
            if (!(node->kind & kBorrowedElementFlag))
                node->element->~XmlElementObject(); // its memory belongs to the arena
            node->element = nullptr;
        }
        if (pending.size() - count < 3)
            pending.resize(pending.size() * 2);
        // Pushed without branches (the shape of a tree defeats branch prediction): each
        // slot is written, and kept only when it holds a node. Siblings go first so that
        // children are visited before them.
        // A copied node shares the lists of the node it was copied from: their objects are
        // destroyed through that node, once.
        bool owned = !(node->kind & kBorrowedElementFlag);
        XmlNode* sibling = node != m_root ? node->nextSibling : nullptr;
        pending[count] = sibling;
        count += sibling != nullptr;
        pending[count] = node->firstAttribute;
        count += owned && node->firstAttribute != nullptr;
        pending[count] = node->firstChild;
        count += owned && node->firstChild != nullptr;
    }
}

void XmlReader::CheckElementObject(const XmlNode* node) const {
    if (node->kind & kBorrowedElementFlag)
        return;
    assert(m_arena.HoldsObjects() && "an element object was attached but not made with MakeElement");
    assert(m_arena.Owns(node->element, sizeof(XmlElementObject)) && "an owned element object lies outside the arena");
    (void)node;
}

void XmlReader::AttachElement(XmlNode* node, XmlElementObject* element, bool borrowed) {
    if (!node)
        return;
    if (borrowed)
        node->kind |= kBorrowedElementFlag;
    else
        node->kind &= ~kBorrowedElementFlag;
    node->element = element;
#ifndef NDEBUG
    if (element)
        CheckElementObject(node);
#endif
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
                xmlscan::EqualsNoCaseAscii(node->name, name))
                return node;
        } else if (node->Kind() == kind && !node->name) {
            // Only a node without a name: one named "" has a name, if an empty one.
            return node;
        }
    }
    return nullptr;
}

} // namespace common
