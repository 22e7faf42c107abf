// One node of a read XML tree. Nodes live in the reader's NodeArena, zero-filled, and are
// never freed one by one; all links are plain pointers into the same arena.
#pragma once

#include <cstdint>

namespace common {

class XmlElementObject;

// Kinds of the low 20 bits of XmlNode::kind that the reader itself uses.
constexpr uint32_t kKindMask = 0xFFFFF;
constexpr uint32_t kGenericElementKind = 0xFFFFE;
constexpr uint32_t kGenericAttributeKind = 0xFFFFD;
// Upper flag bits owned by subclasses.
constexpr uint32_t kInheritsFromMacroFlag = 1u << 27;
// The node is a template copy: its element object belongs to another node.
constexpr uint32_t kBorrowedElementFlag = 1u << 31;

struct XmlNode {
    uint32_t kind = 0;
    uint32_t hash = 0; // beside the kind so that a node packs into one 64-byte cache line
    char* name = nullptr; // in the arena (in the loaded text or a copy), may be null; never written
    void* payload = nullptr; // belongs to the subclass
    XmlNode* parent = nullptr;
    XmlNode* firstChild = nullptr;
    XmlNode* nextSibling = nullptr;
    XmlElementObject* element = nullptr; // set through XmlReader::AttachElement
    XmlNode* firstAttribute = nullptr; // used only when the kind is not 0

    uint32_t Kind() const { return kind & kKindMask; }
};

} // namespace common
