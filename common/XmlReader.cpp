#include "common/XmlReader.h"

#include "common/NameHash.h"
#include "common/Stream.h"
#include "common/TraceSink.h"
#include "common/XmlElementObject.h"

#include <array>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cstring>
#include <new>
#include <vector>

namespace common {

namespace {

// Byte classes of the scanning loops. Bytes are signed: every byte from 0x80 up counts as
// white space, so such a byte cuts a name. 0 is the terminator, never white space.
enum : uint8_t { kSpace = 1, kEnd = 2, kEquals = 4 };

constexpr std::array<uint8_t, 256> MakeByteClasses() {
    std::array<uint8_t, 256> classes{};
    classes[0] = kEnd;
    for (int c = 1; c <= 0x20; ++c)
        classes[c] = kSpace;
    for (int c = 0x80; c <= 0xFF; ++c)
        classes[c] = kSpace;
    classes['='] = kEquals;
    return classes;
}

constexpr std::array<uint8_t, 256> kByteClasses = MakeByteClasses();

constexpr uint8_t ClassOfByte(int c) { return kByteClasses[size_t(c)]; }

uint8_t ClassOf(char c) { return kByteClasses[static_cast<unsigned char>(c)]; }

bool IsSpace(char c) { return ClassOf(c) == kSpace; }

char* SkipSpace(char* p) {
    while (IsSpace(*p))
        ++p;
    return p;
}

// For the name scans: each byte as the name hash takes it (a-z folded), or 0 for a byte
// that ends the name: 0, white space, and '=' too in attribute names.
constexpr std::array<uint8_t, 256> MakeNameBytes(bool stopAtEquals) {
    std::array<uint8_t, 256> bytes{};
    for (int c = 0; c < 256; ++c) {
        bool stops = ClassOfByte(c) != 0 && (stopAtEquals || ClassOfByte(c) != kEquals);
        bytes[c] = stops ? 0 : uint8_t(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    return bytes;
}

constexpr std::array<uint8_t, 256> kElementNameBytes = MakeNameBytes(false);
constexpr std::array<uint8_t, 256> kAttributeNameBytes = MakeNameBytes(true);

// Scans a name up to the first byte that `nameBytes` maps to 0 and hashes it on the way,
// one table look-up per byte and two bytes a step: h*33*33 + a*33 + b is two single steps
// with one multiplication less on the hash's chain.
char* ScanName(char* p, const std::array<uint8_t, 256>& nameBytes, uint32_t& hash) {
    uint32_t h = 0;
    for (;; p += 2) {
        uint32_t a = nameBytes[static_cast<unsigned char>(p[0])];
        if (!a)
            break;
        uint32_t b = nameBytes[static_cast<unsigned char>(p[1])];
        if (!b) {
            h = h * 33u + a;
            ++p;
            break;
        }
        h = h * (33u * 33u) + a * 33u + b;
    }
    hash = h;
    return p;
}

// The inverse of 33 modulo 2^32 (33 is odd, so it has one) by Newton's iteration: each step
// doubles the correct bits. It takes the last step off a name hash.
constexpr uint32_t kInverseOf33 = [] {
    uint32_t x = 33;
    for (int i = 0; i < 5; ++i)
        x *= 2u - 33u * x;
    return x;
}();
static_assert(kInverseOf33 * 33u == 1u);

#if defined(__SSE2__)
// strchr over the text being parsed, 16 bytes per step: the first `c` (never 0) from `p`,
// or null when a 0 comes first. A step may look at up to 15 bytes past the 0 that ends
// the search; the text block has kScanPadding bytes after its last terminator for that.
char* FindByte(char* p, char c) {
    const __m128i wanted = _mm_set1_epi8(c);
    const __m128i zero = _mm_setzero_si128();
    for (;; p += 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(bytes, wanted), _mm_cmpeq_epi8(bytes, zero));
        if (int mask = _mm_movemask_epi8(hits)) {
            p += __builtin_ctz(unsigned(mask));
            return *p ? p : nullptr;
        }
    }
}
#else
char* FindByte(char* p, char c) { return std::strchr(p, c); }
#endif

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

// Whether the tag in [tag, close) is "</" `name` followed by its end or white space. A
// name longer than the tag cannot match, so nothing past close is read.
bool IsEndTagOf(const char* tag, const char* close, const char* name, size_t length) {
    if (tag[1] != '/' || length > size_t(close - (tag + 2)))
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (tag[2 + i] != name[i])
            return false;
    }
    return tag[2 + length] == 0 || IsSpace(tag[2 + length]);
}

// Zero bytes after the text's terminators, so that FindByte may read a whole step past
// the last one.
constexpr size_t kScanPadding = 16;

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
    char* text = m_arena.AllocateText(size_t(size) + terminators + kScanPadding);
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
    std::memset(text + size, 0, terminators + kScanPadding);
    if (!m_open)
        m_open.reset(new (std::nothrow) ListEnds[kMaxDepth + 1]);
    if (!m_open) {
        Clear();
        return false;
    }
    m_outOfMemory = false;
    m_position = text;
    m_textEnd = text + size + terminators;
    m_frozenEnd = text;
    ParseElements(nullptr, nullptr, 0, 0);
    m_position = nullptr;
    m_frozenEnd = m_textEnd; // parsing writes nothing more
    m_lastName = {};
    m_lastValue = nullptr;
    m_current = nullptr;
    if (m_outOfMemory || !m_root)
        Clear();
    return m_root != nullptr;
}

// FIXME: bench/xml_bench still finds this reader at about 0.7 times the speed of the
// general-purpose parser it is compared with. What is left is work per byte and per
// event, not memory: a tag is scanned twice (for its '>' and then for its attributes), every
// name is hashed, and each attribute costs two virtual calls (OnEvent and CreateNode).
XmlReader::Outcome XmlReader::ParseElements(XmlNode* parent, const char* closeName,
                                            size_t closeLength, int depth) {
    for (;;) {
        char* open = FindByte(m_position, '<');
        char* close = open ? FindByte(open + 1, '>') : nullptr;
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
        if (closeName && IsEndTagOf(open, close, closeName, closeLength)) {
            m_position = tagEnd;
            m_frozenEnd = tagEnd;
            return Outcome::Closed;
        }
        if (depth >= kMaxDepth)
            return Ended();

        char* name = SkipSpace(open + 1);
        uint32_t hash;
        char* nameEnd = ScanName(name, kElementNameBytes, hash);
        char* attributes = *nameEnd ? nameEnd + 1 : nameEnd;
        bool empty = nameEnd > name && nameEnd[-1] == '/';
        if (empty) {
            nameEnd[-1] = 0;
            hash = (hash - '/') * kInverseOf33; // the hash without the slash
        }
        *nameEnd = 0;
        size_t nameLength = size_t(nameEnd - name) - (empty ? 1 : 0);
        m_lastName = {name, hash};
        m_frozenEnd = nameEnd + 1; // attributes are terminated after the name

        m_current = parent ? &m_open[depth] : nullptr;
        XmlNode* node = StartElement(parent, name, tagEnd);
        if (!node)
            return Ended();
        bool firstRoot = depth == 0 && node == m_root && parent != node;
        if (firstRoot)
            parent = node; // a second top-level element becomes a child of the first
        m_open[depth + 1] = {.node = node};
        m_current = &m_open[depth + 1];
        if (!empty && ReadAttributes(node, attributes, close, empty))
            OnEvent(node, XmlEvent::AttributesEnd, nullptr, nullptr);

        m_position = tagEnd;
        m_frozenEnd = tagEnd;
        Outcome outcome =
            empty ? Outcome::Closed : ParseElements(node, name, nameLength, depth + 1);
        if (firstRoot)
            m_open[0] = m_open[depth + 1]; // the root's lists, now read at this level
        OnEvent(node, XmlEvent::ElementEnd, nullptr, empty ? nullptr : tagEnd);
        if (outcome == Outcome::Ended)
            return Outcome::Ended;
    }
}

// Parsing stops: nothing in the text is written any more.
XmlReader::Outcome XmlReader::Ended() {
    m_frozenEnd = m_textEnd;
    return Outcome::Ended;
}

// Raises the start event and supplies a generic node when the subclass made none.
inline XmlNode* XmlReader::StartElement(XmlNode* parent, const char* name, const char* tagEnd) {
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
// the tag's end. Between `p` and `close` the text holds no 0: the terminators written so
// far all lie before `p`.
bool XmlReader::ReadAttributes(XmlNode* node, char* p, char* close, bool& empty) {
    bool any = false;
    for (;;) {
        p = SkipSpace(p);
        char* name = p;
        uint32_t hash;
        p = ScanName(p, kAttributeNameBytes, hash);
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
        char* quote = FindByte(value, '"'); // the first 0 is the one at close
        p = quote ? quote : close;
        *nameEnd = 0;
        *p = 0;
        m_lastName = {name, hash};
        m_lastValue = value;
        m_frozenEnd = p + 1; // the next attribute lies after the value
        OnEvent(node, XmlEvent::Attribute, name, value);
        any = true;
        if (!quote || ++p > close)
            return any;
    }
}

void XmlReader::Clear() {
    // Element objects live in the arena: when nothing but nodes and strings was allocated
    // there, no node has one, and the walk over a tree far larger than the caches is saved.
    if (m_arena.HoldsObjects())
        DestroyElementObjects();
    m_root = nullptr;
    m_current = nullptr;
    m_other = {};
    m_textEnd = nullptr;
    m_frozenEnd = nullptr;
    m_arena.Clear();
}

// Visits every node, each one's children before its attributes and both before its next
// sibling, and destroys the element objects the nodes own.
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
            if (!(node->kind & kBorrowedElementFlag))
                node->element->~XmlElementObject(); // its memory belongs to the arena
            node->element = nullptr;
        }
        if (pending.size() - count < 3)
            pending.resize(pending.size() * 2);
        // Pushed without branches (the shape of a tree defeats branch prediction): each
        // slot is written, and kept only when it holds a node. Siblings go first so that
        // children are visited before them.
        XmlNode* sibling = node != m_root ? node->nextSibling : nullptr;
        pending[count] = sibling;
        count += sibling != nullptr;
        pending[count] = node->firstAttribute;
        count += node->firstAttribute != nullptr;
        pending[count] = node->firstChild;
        count += node->firstChild != nullptr;
    }
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
