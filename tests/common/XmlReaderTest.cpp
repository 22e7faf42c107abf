#include "common/MemoryStream.h"
#include "common/NameHash.h"
#include "common/NodeArena.h"
#include "common/TraceSink.h"
#include "common/XmlElementObject.h"
#include "common/XmlReader.h"
#include "common/XmlReaderFor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace common;

namespace {

// Logs every event in a compact form: "<name" start, "@name=value" attribute, "|" end of
// attributes, ">name" end (">name/" for an empty-element tag). Nodes are generic.
class EventLog {
public:
    XmlNode* Record(XmlNode* node, XmlEvent event, const char* name, const char* value) {
        switch (event) {
        case XmlEvent::ElementStart:
            Log(std::string("<") + name);
            break;
        case XmlEvent::Attribute:
            Log(std::string("@") + name + "=" + value);
            break;
        case XmlEvent::AttributesEnd:
            Log("|");
            break;
        case XmlEvent::ElementEnd:
            Log(std::string(">") + node->name + (value ? "" : "/"));
            break;
        }
        return nullptr;
    }

    void Reset() { m_log.clear(); }
    const std::string& Events() const { return m_log; }

private:
    void Log(const std::string& entry) { m_log += (m_log.empty() ? "" : " ") + entry; }

    std::string m_log;
};

// Events through the virtual OnEvent, or (Bound) through XmlReaderFor.
template <class Base>
class LoggingReader : public Base {
public:
    XmlNode* OnEvent(XmlNode* node, XmlEvent event, const char* name,
                     const char* value) override {
        return m_log.Record(node, event, name, value);
    }

    bool Parse(const std::string& text) {
        m_text = text;
        m_log.Reset();
        MemoryStream stream(m_text.data(), LONG(m_text.size()));
        return this->Load(stream);
    }

    const std::string& Events() const { return m_log.Events(); }

private:
    std::string m_text;
    EventLog m_log;
};

class RecordingReader : public LoggingReader<XmlReader> {};
class BoundRecordingReader final : public LoggingReader<XmlReaderFor<BoundRecordingReader>> {};

// Loads `text` (which outlives the load) into `reader`.
bool LoadText(XmlReader& reader, const std::string& text) {
    MemoryStream stream(const_cast<char*>(text.data()), LONG(text.size()));
    return reader.Load(stream);
}

// "a(b,c(d))"
std::string Shape(const XmlNode* node) {
    std::string out;
    for (; node; node = node->nextSibling) {
        if (!out.empty())
            out += ",";
        out += node->name ? node->name : "";
        if (node->firstChild)
            out += "(" + Shape(node->firstChild) + ")";
    }
    return out;
}

int Depth(const XmlNode* node) {
    int depth = 0;
    for (; node; node = node->firstChild)
        ++depth;
    return depth;
}

struct ParseCase {
    const char* text;
    const char* events;
    const char* shape;
};

const ParseCase kParseCases[] = {
    {"<a/>", "<a >a/", "a"},
    {"<a b=\"1\"/>", "<a @b=1 | >a/", "a"},
    {"<a b=\"1\" />", "<a @b=1 | >a/", "a"},
    {"<a />", "<a >a/", "a"},
    {"<?xml version=\"1.0\"?>\r\n<a></a>", "<a >a", "a"},
    {"<a><?xml?></a>", "<a <?xml? </a >/a >?xml? >a", "a(?xml?(/a))"},
    {"<a x=\"0\" b=1 c=\"2\"></a>", "<a @x=0 | >a", "a"},
    {"<a/><b/>", "<a >a/ <b >b/", "a(b)"},
    {"<a/><?pi?>", "<a >a/ <?pi? >?pi?", "a(?pi?)"},
    {"<ab\x80" "c=\"1\"/>", "<ab @c=1 | >ab/", "ab"},
    {"<a><!-- <b/> --><c/></a>", "<a <c >c/ >a", "a(c)"},
    {"<a><b/><!-- never closed", "<a <b >b/ >a", "a(b)"},
    {"<a><b/><c", "<a <b >b/ >a", "a(b)"},
    {"<a><b></a>", "<a <b </a >/a >b >a", "a(b(/a))"},
    {"<a b=\"xyz><c/>", "<a @b=xyz | <c >c/ >a", "a(c)"},
    {"<a></a ><b/>", "<a >a <b >b/", "a(b)"},
    {"<a></A>", "<a </A >/A >a", "a(/A)"},
    {"<a b=\"&amp;\" c=\"x'y\"/>", "<a @b=&amp; @c=x'y | >a/", "a"},
    {"<a>hello<b/>world</a>", "<a <b >b/ >a", "a(b)"},
    {"<a\tb = \"1\"\r\nc=\"2\"></a>", "<a @b=1 @c=2 | >a", "a"},
    {"<a b=\"1\"c=\"2\"/>", "<a @b=1 @c=2 | >a/", "a"},
    {"<a b/>", "<a >a", "a"},
    {"<a><b><c/></b></a>", "<a <b <c >c/ >b >a", "a(b(c))"},
};

TEST(XmlReader, ParsesTheSubsetAsDescribed) {
    for (const ParseCase& c : kParseCases) {
        RecordingReader reader;
        EXPECT_TRUE(reader.Parse(c.text)) << c.text;
        EXPECT_EQ(reader.Events(), c.events) << c.text;
        EXPECT_EQ(Shape(reader.Root()), c.shape) << c.text;
        // A reader type with its events bound at compile time sees exactly the same.
        BoundRecordingReader bound;
        EXPECT_TRUE(bound.Parse(c.text)) << c.text;
        EXPECT_EQ(bound.Events(), c.events) << c.text;
        EXPECT_EQ(Shape(bound.Root()), c.shape) << c.text;
    }
}

TEST(XmlReader, TextWithoutElementsLoadsNothing) {
    for (const char* text : {"", "just text", "<!-- only a comment -->", "<?xml?>", "<a"}) {
        RecordingReader reader;
        EXPECT_FALSE(reader.Parse(text)) << text;
        EXPECT_EQ(reader.Root(), nullptr);
    }
}

// A stream that lies about its size or delivers less than it promised.
class OddStream : public MemoryStream {
public:
    OddStream(void* block, LONG size, LONG claimedSize)
        : MemoryStream(block, size), m_claimed(claimedSize) {}
    LONG Size() override { return m_claimed; }

private:
    LONG m_claimed;
};

TEST(XmlReader, RefusesStreamsOfUnknownHugeOrShortSize) {
    char text[] = "<a/>";
    for (LONG claimed : {-1, XmlReader::kMaxTextSize + 1, 0x7FFFFFFF, 100}) {
        RecordingReader reader;
        OddStream stream(text, 4, claimed);
        EXPECT_FALSE(reader.Load(stream)) << claimed;
        EXPECT_EQ(reader.Root(), nullptr);
    }
}

TEST(XmlReader, NestingStopsAtTheDepthLimitKeepingWhatWasRead) {
    std::string deep;
    for (int i = 0; i < 1000; ++i)
        deep += "<e>";
    RecordingReader reader;
    ASSERT_TRUE(reader.Parse(deep));
    EXPECT_EQ(Depth(reader.Root()), XmlReader::kMaxDepth);

    // Every mismatched end tag opens one more level.
    std::string mismatched = "<a>";
    for (int i = 0; i < 100000; ++i)
        mismatched += "</b>";
    ASSERT_TRUE(reader.Parse(mismatched));
    EXPECT_EQ(Depth(reader.Root()), XmlReader::kMaxDepth);
}

// Keeps attributes as attribute nodes with their values as payload, as a generic reader
// of settings would.
class AttributeKeepingReader : public XmlReader {
public:
    XmlNode* OnEvent(XmlNode* node, XmlEvent event, const char* name,
                     const char* value) override {
        if (event == XmlEvent::Attribute) {
            XmlNode* attribute = CreateNode(node, name, kGenericAttributeKind);
            attribute->payload = AllocString(value);
        }
        return nullptr;
    }
};

TEST(XmlReader, HugeAttributeAndChildCountsKeepDocumentOrder) {
    std::string text = "<a";
    for (int i = 0; i < 50000; ++i)
        text += " n" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    text += ">";
    for (int i = 0; i < 50000; ++i)
        text += "<c/>";
    text += "</a>";
    AttributeKeepingReader reader;
    ASSERT_TRUE(LoadText(reader, text));
    int attributes = 0;
    for (XmlNode* n = reader.Root()->firstAttribute; n; n = n->nextSibling, ++attributes)
        ASSERT_STREQ(static_cast<char*>(n->payload), std::to_string(attributes).c_str());
    EXPECT_EQ(attributes, 50000);
    int children = 0;
    for (XmlNode* n = reader.Root()->firstChild; n; n = n->nextSibling)
        ++children;
    EXPECT_EQ(children, 50000);
}

// Names of every length up to a few steps of the name scan, as elements with and without
// content and as attributes: each node's hash is the hash of its name.
TEST(XmlReader, NodesHashTheirNamesWhateverTheirLength) {
    const std::string names[] = {"a", "Ab", "abC", "ABcd", "abcDe", "aBcdef", "abcdefG",
                                 "abcdefgh", "Abcdefghi", "abcdefghijklmnopq"};
    std::string text = "<root>";
    for (const std::string& name : names)
        text += "<" + name + "/><" + name + " " + name + "=\"v\"></" + name + ">";
    text += "</root>";
    AttributeKeepingReader reader;
    ASSERT_TRUE(LoadText(reader, text));
    int nodes = 0;
    for (XmlNode* n = reader.Root()->firstChild; n; n = n->nextSibling, ++nodes) {
        EXPECT_EQ(n->hash, NameHash(n->name)) << n->name;
        for (XmlNode* a = n->firstAttribute; a; a = a->nextSibling)
            EXPECT_EQ(a->hash, NameHash(a->name)) << a->name;
    }
    EXPECT_EQ(nodes, 20);
}

// At the end of each element, files a note under the root and under the element's parent:
// lists of elements that are not the one being read grow in document order too.
class NoteFilingReader : public XmlReader {
public:
    XmlNode* OnEvent(XmlNode* node, XmlEvent event, const char*, const char*) override {
        if (event == XmlEvent::ElementEnd && node != Root()) {
            CreateNode(Root(), node->name, kGenericAttributeKind);
            CreateNode(node->parent, "note", 1);
        }
        return nullptr;
    }
};

std::string AttributeNames(const XmlNode* node) {
    std::string names;
    for (const XmlNode* a = node->firstAttribute; a; a = a->nextSibling)
        names += a->name;
    return names;
}

TEST(XmlReader, NodesAddedOutsideTheElementBeingReadKeepDocumentOrder) {
    std::string text = "<r><a><b/><c/></a><d/></r><e/>";
    NoteFilingReader reader;
    ASSERT_TRUE(LoadText(reader, text));
    EXPECT_EQ(Shape(reader.Root()), "r(a(b,note,c,note),note,d,note,e,note)");
    EXPECT_EQ(AttributeNames(reader.Root()), "bcade");

    // After loading, nodes go to the end of any list, also alternating between parents.
    XmlNode* a = reader.Root()->firstChild;
    XmlNode* d = reader.CreateNode(reader.Root(), "x", 1);
    reader.CreateNode(a, "y", 1);
    reader.CreateNode(reader.Root(), "z", 1);
    reader.CreateNode(a, "w", 1);
    EXPECT_EQ(Shape(reader.Root()), "r(a(b,note,c,note,y,w),note,d,note,e,note,x,z)");
    EXPECT_EQ(d->nextSibling->name, std::string("z"));
}

// Element objects are built in the arena; Clear destroys them unless they are borrowed.
class CountingElement : public XmlElementObject {
public:
    explicit CountingElement(int& destroyed) : m_destroyed(destroyed) {}
    ~CountingElement() override { ++m_destroyed; }

private:
    int& m_destroyed;
};

class ElementReader : public XmlReader {
public:
    int destroyed = 0;
    XmlElementObject* shared = nullptr;

    XmlNode* OnEvent(XmlNode* parent, XmlEvent event, const char* name, const char*) override {
        if (event != XmlEvent::ElementStart)
            return parent;
        XmlNode* node = CreateNode(parent, name, 1);
        if (std::strcmp(name, "copy") == 0) {
            AttachElement(node, shared, true);
        } else {
            shared = MakeElement<CountingElement>(destroyed);
            AttachElement(node, shared);
        }
        return node;
    }
};

TEST(XmlReader, ClearDestroysOwnedElementObjectsOnly) {
    std::string text = "<a><b><c/></b><copy/><d/></a>";
    ElementReader reader;
    MemoryStream stream(text.data(), LONG(text.size()));
    ASSERT_TRUE(reader.Load(stream));
    XmlNode* b = reader.Root()->firstChild;
    EXPECT_EQ(b->element->Node(), b);
    reader.Clear();
    EXPECT_EQ(reader.destroyed, 4);
    EXPECT_EQ(reader.Root(), nullptr);
    EXPECT_EQ(reader.Arena().BlockCount(), 0u);

    // A second load discards the first tree the same way.
    stream.Seek(0, kSeekBegin);
    ASSERT_TRUE(reader.Load(stream));
    stream.Seek(0, kSeekBegin);
    ASSERT_TRUE(reader.Load(stream));
    EXPECT_EQ(reader.destroyed, 8);
}

std::vector<std::string> g_traceLines;

TEST(XmlReader, LoadWritesItsTraceLine) {
    g_traceLines.clear();
    TraceSinkFunction previous =
        SetTraceSink([](const char* line) { g_traceLines.emplace_back(line); });
    RecordingReader reader;
    reader.Parse("<a/>");
    SetTraceSink(previous);
    EXPECT_EQ(g_traceLines, std::vector<std::string>{"LoadXML\n"});
}

TEST(XmlReader, FindNodeComparesAsItsLookupSays) {
    std::string text = "<root><Bkgnd/><x/><Bkgnd/></root>";
    ElementReader reader;
    ASSERT_TRUE(LoadText(reader, text));
    XmlNode* first = reader.Root()->firstChild;
    XmlNode* emptyName = reader.CreateNode(reader.Root(), "", 7);
    XmlNode* unnamed = reader.CreateNode(reader.Root(), nullptr, 7);

    EXPECT_EQ(XmlReader::FindNode(first, "bkgnd", 1), first);
    EXPECT_EQ(XmlReader::FindNode(first, "bkgnd", 0), nullptr);
    EXPECT_EQ(XmlReader::FindNode(first, "Bkgnd", 0), first);
    EXPECT_EQ(XmlReader::FindNode(first, "BKGND", 1, NameHash("bkgnd")), first);
    EXPECT_EQ(XmlReader::FindNode(first, "bkgnd", 2), nullptr);
    EXPECT_EQ(XmlReader::FindNode(first, "X", 1)->name, std::string("x"));
    // By kind alone: the node without a name, not the one named "" before it.
    EXPECT_EQ(XmlReader::FindNode(first, nullptr, 7), unnamed);
    EXPECT_EQ(XmlReader::FindNode(first, "", 7), emptyName);
    EXPECT_EQ(XmlReader::FindNode(first, nullptr, 1), nullptr);
    EXPECT_EQ(XmlReader::FindNode(first, nullptr, 0), nullptr);
}

TEST(NameHash, FoldsLowerCaseAndWrapsAt32Bits) {
    static_assert(NameHash("a") == 'A');
    static_assert(NameHash("ab") == 'A' * 33 + 'B');
    static_assert(NameHash("ListView") == NameHash("LISTVIEW"));
    static_assert(NameHash("") == 0 && NameHash(nullptr) == 0);
    const char* longName = "averyveryverylongelementnamethatwraps";
    uint64_t expected = 0;
    for (const char* p = longName; *p; ++p)
        expected = (expected * 33 + uint64_t(*p - 'a' + 'A')) & 0xFFFFFFFFu;
    EXPECT_EQ(NameHash(longName), expected);
    EXPECT_NE(NameHash("[x]"), NameHash("{x}")); // only a-z are folded
}

TEST(NodeArena, AlignsEveryAllocationAndGivesLargeRequestsTheirOwnBlock) {
    NodeArena arena;
    for (size_t size : {1, 3, 4, 5, 17, 100, 4000}) {
        auto address = reinterpret_cast<uintptr_t>(arena.Allocate(size));
        EXPECT_EQ(address % alignof(std::max_align_t), 0u) << size;
    }
    size_t blocks = arena.BlockCount();
    auto* large = static_cast<unsigned char*>(arena.Allocate(10000));
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(large[9999], 0);
    EXPECT_EQ(arena.BlockCount(), blocks + 1);
    EXPECT_EQ(arena.Allocate(size_t(-1)), nullptr);
    EXPECT_STREQ(arena.AllocString("name"), "name");
    EXPECT_EQ(arena.AllocString(nullptr), nullptr);
    arena.Clear();
    EXPECT_EQ(arena.BlockCount(), 0u);
}

TEST(NodeArena, LargeTreesTakeBlocksInFewAllocationsAndKeepThemApart) {
    NodeArena arena;
    std::vector<unsigned char*> pieces;
    for (int i = 0; i < 1000; ++i) {
        auto* piece = static_cast<unsigned char*>(arena.Allocate(1000));
        ASSERT_NE(piece, nullptr);
        for (unsigned char* other : pieces)
            ASSERT_TRUE(piece + 1000 <= other || other + 1000 <= piece);
        std::memset(piece, i & 0xFF, 1000);
        pieces.push_back(piece);
    }
    for (size_t i = 0; i < pieces.size(); ++i)
        ASSERT_EQ(pieces[i][999], i & 0xFF) << i;
    // Four pieces fill a block of 4096 bytes: 250 blocks in runs of 1, 2, 4, 8, then 16.
    EXPECT_LE(arena.BlockCount(), 20u);
    arena.Clear();
    EXPECT_EQ(arena.BlockCount(), 0u);
    EXPECT_NE(arena.Allocate(16), nullptr); // a cleared arena starts small again
    EXPECT_EQ(arena.BlockCount(), 1u);
}

} // namespace

namespace {

// Builds nodes from pointers the events hand out, at offsets the reader did not scan, and
// from the element's name after its attributes were scanned: every node's hash must still
// be the hash of its name.
class OffsetNameReader : public XmlReader {
public:
    XmlNode* OnEvent(XmlNode* node, XmlEvent event, const char* name,
                     const char* value) override {
        if (event == XmlEvent::ElementStart) {
            m_elementName = name;
            return nullptr;
        }
        if (event == XmlEvent::Attribute) {
            CreateNode(node, name, kGenericAttributeKind)->payload = AllocString(value);
            if (name[0] && value[0]) {
                CreateNode(node, name + 1, kGenericAttributeKind)->payload =
                    AllocString(value + 1);
            }
        }
        if (event == XmlEvent::AttributesEnd)
            CreateNode(node, m_elementName, kGenericAttributeKind)->payload = AllocString("");
        return nullptr;
    }

private:
    const char* m_elementName = nullptr;
};

// "name=value" for each attribute node, checking each hash on the way.
std::string Attributes(const XmlNode* node) {
    std::string out;
    for (const XmlNode* a = node->firstAttribute; a; a = a->nextSibling) {
        EXPECT_EQ(a->hash, NameHash(a->name)) << a->name;
        out += std::string(out.empty() ? "" : " ") + a->name + "=" +
               static_cast<const char*>(a->payload);
    }
    return out;
}

TEST(XmlReader, NamesAndValuesAreCopiedWhateverPointerTheSubclassPasses) {
    std::string text = "<Ab/><Cd Name=\"Vv\" x=\"\"/><Ef long=\"" + std::string(40, 'q') +
                       "\"></Ef>";
    OffsetNameReader reader;
    ASSERT_TRUE(LoadText(reader, text));
    XmlNode* root = reader.Root();
    EXPECT_EQ(root->hash, NameHash("Ab"));
    EXPECT_STREQ(root->name, "Ab");
    XmlNode* cd = root->firstChild;
    ASSERT_NE(cd, nullptr);
    EXPECT_EQ(cd->hash, NameHash("Cd"));
    EXPECT_EQ(Attributes(cd), "Name=Vv ame=v x= Cd=");
    XmlNode* ef = cd->nextSibling;
    ASSERT_NE(ef, nullptr);
    EXPECT_EQ(Attributes(ef), "long=" + std::string(40, 'q') + " ong=" +
                                  std::string(39, 'q') + " Ef=");
}

// Long stretches between and inside tags take another search path than short ones.
const ParseCase kLongTextCases[] = {
    {"<a>                                        <b/></a>", "<a <b >b/ >a", "a(b)"},
    {"<a b=\"0123456789012345678901234567890123456789></a>",
     "<a @b=0123456789012345678901234567890123456789 | >a", "a"},
    {"<a b=\"1\"                                      c=\"2\"/>", "<a @b=1 @c=2 | >a/", "a"},
    {"<a><!--                                       --><b/></a>", "<a <b >b/ >a", "a(b)"},
    {"<a>                                          <b", "<a >a", "a"},
};

TEST(XmlReader, LongStretchesParseLikeShortOnes) {
    for (const ParseCase& c : kLongTextCases) {
        RecordingReader reader;
        EXPECT_TRUE(reader.Parse(c.text)) << c.text;
        EXPECT_EQ(reader.Events(), c.events) << c.text;
        EXPECT_EQ(Shape(reader.Root()), c.shape) << c.text;
    }
}

// Element objects attached after the load, to nodes made after the load, are destroyed too.
TEST(XmlReader, ClearDestroysElementObjectsAttachedAfterTheLoad) {
    std::string text = "<a><b/></a>";
    AttributeKeepingReader reader;
    ASSERT_TRUE(LoadText(reader, text));
    int destroyed = 0;
    XmlNode* late = reader.CreateNode(reader.Root()->firstChild, "late", 1);
    reader.AttachElement(late, reader.MakeElement<CountingElement>(destroyed));
    reader.AttachElement(reader.Root(), reader.MakeElement<CountingElement>(destroyed));
    EXPECT_EQ(late->kind & kBorrowedElementFlag, 0u);
    reader.Clear();
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(reader.Arena().BlockCount(), 0u);
}

TEST(NodeArena, OwnsWhatItHandedOutForObjectsButNotTextOrForeignMemory) {
    NodeArena arena;
    int local = 0;
    EXPECT_FALSE(arena.Owns(&local, sizeof(local))) << "an empty arena owns nothing";
    void* small = arena.Allocate(64);
    void* large = arena.Allocate(3 * NodeArena::kBlockSize);
    char* text = arena.AllocateText(100);
    ASSERT_TRUE(small && large && text);
    EXPECT_TRUE(arena.Owns(small, 64));
    EXPECT_TRUE(arena.Owns(large, 3 * NodeArena::kBlockSize));
    EXPECT_TRUE(arena.Owns(static_cast<char*>(large) + 100, 16));
    EXPECT_FALSE(arena.Owns(static_cast<char*>(large) + 3 * NodeArena::kBlockSize - 8, 16)) << "runs past the block";
    EXPECT_FALSE(arena.Owns(text, 8)) << "the text is no place for objects";
    EXPECT_FALSE(arena.Owns(&local, sizeof(local)));
    auto heap = std::make_unique<char[]>(64);
    EXPECT_FALSE(arena.Owns(heap.get(), 64));
    arena.Clear();
    EXPECT_FALSE(arena.Owns(small, 64)) << "nothing after Clear";
}

TEST(XmlReader, AttachElementSetsAndClearsTheBorrowedFlag) {
    std::string text = "<a><b/></a>";
    AttributeKeepingReader reader;
    ASSERT_TRUE(LoadText(reader, text));
    int destroyed = 0;
    XmlNode* b = reader.Root()->firstChild;
    CountingElement* owned = reader.MakeElement<CountingElement>(destroyed);
    ASSERT_NE(owned, nullptr);
    reader.AttachElement(reader.Root(), owned);
    reader.AttachElement(b, owned, true);
    EXPECT_NE(b->kind & kBorrowedElementFlag, 0u);
    reader.Clear();
    EXPECT_EQ(destroyed, 1) << "the borrowed object is destroyed once, by its owner";
}

#ifndef NDEBUG
// Debug builds stop on element objects that Clear could not free properly.
TEST(XmlReaderDeathTest, AnElementObjectOutsideTheArenaStopsADebugBuild) {
    std::string text = "<a><b/></a>";
    AttributeKeepingReader reader;
    ASSERT_TRUE(LoadText(reader, text));
    int destroyed = 0;
    EXPECT_DEATH(
        {
            CountingElement onTheStack(destroyed);
            reader.AttachElement(reader.Root(), &onTheStack);
        },
        "not made with MakeElement|outside the arena");
    EXPECT_DEATH(
        {
            reader.MakeElement<CountingElement>(destroyed); // the arena holds objects now
            reader.Root()->element = new CountingElement(destroyed);
            reader.Clear();
        },
        "outside the arena");
}
#endif

TEST(NodeArena, PacksStringsWithoutDisturbingAlignedZeroFilledAllocations) {
    NodeArena arena;
    for (int i = 0; i < 500; ++i) {
        char* name = arena.AllocString("abcdefg", size_t(i % 7));
        ASSERT_EQ(std::string(name), std::string("abcdefg", size_t(i % 7)));
        auto* block = static_cast<unsigned char*>(arena.Allocate(24));
        ASSERT_EQ(reinterpret_cast<uintptr_t>(block) % alignof(std::max_align_t), 0u);
        for (int b = 0; b < 24; ++b)
            ASSERT_EQ(block[b], 0) << i;
        std::memset(block, 0xFF, 24);
    }
    size_t blocks = arena.BlockCount();
    std::string huge(NodeArena::kBlockSize + 10, 'h');
    EXPECT_EQ(arena.AllocString(huge.c_str()), huge);
    EXPECT_EQ(arena.BlockCount(), blocks + 1);
    EXPECT_EQ(arena.AllocString("x", size_t(1) << 31), nullptr);
}

} // namespace

namespace {

// Keeps, for every element, a string the subclass built itself, the element's content as
// the start event saw it (the rest of a text still being parsed), and its attribute values.
class KeepingReader : public XmlReader {
public:
    struct Kept {
        XmlNode* node;
        char* built;
        char* rest;
        const char* source;
    };
    std::vector<Kept> kept;
    std::vector<char*> values;

    XmlNode* OnEvent(XmlNode* parent, XmlEvent event, const char* name,
                     const char* value) override {
        if (event == XmlEvent::Attribute) {
            values.push_back(AllocString(value));
            CreateNode(parent, name, kGenericAttributeKind)->payload = values.back();
        }
        if (event != XmlEvent::ElementStart)
            return nullptr;
        char built[32];
        std::snprintf(built, sizeof(built), "built-%s", name);
        XmlNode* node = CreateNode(parent, built, kGenericElementKind);
        kept.push_back({node, AllocString(built), AllocString(value), value});
        std::memset(built, 'x', sizeof(built) - 1); // the copies must not see this
        return node;
    }
};

TEST(XmlReader, StringsFromElsewhereOrStillToBeParsedAreCopied) {
    std::string text = "<a k=\"v1\"><b/></a>";
    KeepingReader reader;
    ASSERT_TRUE(LoadText(reader, text));
    ASSERT_EQ(reader.kept.size(), 2u);
    EXPECT_STREQ(reader.Root()->name, "built-a");
    EXPECT_EQ(reader.Root()->hash, NameHash("built-a"));
    EXPECT_STREQ(reader.kept[0].built, "built-a");
    EXPECT_STREQ(reader.kept[1].built, "built-b");
    EXPECT_FALSE(reader.Arena().InText(reader.kept[0].built));
    // At the start event the content ran to the end of the text: its copy keeps that text
    // although parsing wrote terminators into it afterwards.
    EXPECT_STREQ(reader.kept[0].rest, "<b/></a>");
    EXPECT_NE(reader.kept[0].rest, reader.kept[0].source);
    EXPECT_STREQ(reader.kept[1].rest, "</a>");
    // Attribute values are terminated in the text for good and are not copied.
    ASSERT_EQ(reader.values.size(), 1u);
    EXPECT_STREQ(reader.values[0], "v1");
    EXPECT_TRUE(reader.Arena().InText(reader.values[0]));
    EXPECT_TRUE(reader.Arena().InText(reader.Root()->firstAttribute->name));
    // After the load the whole text is settled: its strings are handed back as they are.
    const char* inText = reader.Root()->firstAttribute->name;
    EXPECT_EQ(reader.AllocString(inText), inText);
    EXPECT_EQ(reader.CreateNode(reader.Root(), inText, 1)->name, inText);
    std::string outside = "k";
    char* copy = reader.AllocString(outside.c_str());
    EXPECT_NE(copy, outside.c_str());
    EXPECT_STREQ(copy, "k");
}

TEST(XmlReader, FailedAndEmptyLoadsGiveTheirMemoryBackAtOnce) {
    char good[] = "<a b=\"1\"><c/></a>";
    char shortText[] = "<a/>";
    char noElement[] = "just words, no tags";
    RecordingReader reader;
    MemoryStream first(good, LONG(std::strlen(good)));
    ASSERT_TRUE(reader.Load(first));
    EXPECT_GT(reader.Arena().BlockCount(), 0u);
    // A name of the good load lies in the arena's text block until a later load gives it up.
    const char* goodName = reader.Root()->name;
    EXPECT_TRUE(reader.Arena().InText(goodName));

    OddStream shortRead(shortText, 4, 100);
    EXPECT_FALSE(reader.Load(shortRead));
    EXPECT_EQ(reader.Arena().BlockCount(), 0u);
    EXPECT_EQ(reader.Root(), nullptr);

    MemoryStream empty(noElement, LONG(std::strlen(noElement)));
    EXPECT_FALSE(reader.Load(empty));
    EXPECT_EQ(reader.Arena().BlockCount(), 0u);

    OddStream huge(shortText, 4, XmlReader::kMaxTextSize + 1);
    EXPECT_FALSE(reader.Load(huge));
    EXPECT_EQ(reader.Arena().BlockCount(), 0u);
    EXPECT_FALSE(reader.Arena().InText(goodName));
}

TEST(XmlReader, NamesAndValuesStayValidUntilTheNextLoadOrClear) {
    AttributeKeepingReader reader;
    for (int round = 0; round < 200; ++round) {
        // Texts of many sizes, some ending in a value without its closing quote.
        std::string id = std::to_string(round);
        std::string text = "<doc n=\"" + id + "\">" + std::string(size_t(round % 37), ' ') +
                           "<item v=\"" + std::string(size_t(round % 23), 'q') + id + "\"/>";
        if (round % 3 == 0)
            text += "</doc>";
        if (round % 5 == 0)
            text += "<tail x=\"" + id + ">";
        MemoryStream stream(text.data(), LONG(text.size()));
        ASSERT_TRUE(reader.Load(stream)) << text;
        // The stream's own bytes may go: the tree has its own.
        std::fill(text.begin(), text.end(), '#');
        XmlNode* root = reader.Root();
        ASSERT_STREQ(root->name, "doc");
        ASSERT_STREQ(static_cast<char*>(root->firstAttribute->payload), id.c_str());
        XmlNode* item = root->firstChild;
        ASSERT_NE(item, nullptr);
        ASSERT_STREQ(item->name, "item");
        ASSERT_EQ(static_cast<char*>(item->firstAttribute->payload),
                  std::string(size_t(round % 23), 'q') + id);
        if (round % 5 == 0) {
            XmlNode* tail = item->nextSibling;
            ASSERT_NE(tail, nullptr) << round;
            ASSERT_STREQ(static_cast<char*>(tail->firstAttribute->payload), id.c_str());
        }
        if (round % 7 == 0)
            reader.Clear();
    }
}

} // namespace
