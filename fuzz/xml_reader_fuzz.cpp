// Arbitrary bytes through the XML reader: loading, the attribute nodes a settings reader
// would keep, lookups and clearing must never crash or leak, and a reader whose events are
// bound at compile time must build exactly the tree the virtual events build.
#include "common/MemoryStream.h"
#include "common/XmlReader.h"
#include "common/XmlReaderFor.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

template <class Base>
class FuzzReaderOn : public Base {
public:
    common::XmlNode* OnEvent(common::XmlNode* node, common::XmlEvent event, const char* name,
                             const char* value) override {
        if (event == common::XmlEvent::Attribute) {
            common::XmlNode* attribute =
                this->CreateNode(node, name, common::kGenericAttributeKind);
            if (attribute)
                attribute->payload = this->AllocString(value);
        }
        if (event == common::XmlEvent::ElementStart && node && (node->hash & 1))
            return this->CreateNode(node, name, 1 + (node->hash & 0xFF));
        return nullptr;
    }
};

class FuzzReader : public FuzzReaderOn<common::XmlReader> {};
class BoundFuzzReader final : public FuzzReaderOn<common::XmlReaderFor<BoundFuzzReader>> {};

// Names, hashes, kinds and attribute values of a tree in document order.
void Describe(const common::XmlNode* node, std::string& out, int depth) {
    for (; node && depth < 300; node = node->nextSibling) {
        out += node->name ? node->name : "";
        out += '#' + std::to_string(node->hash) + ':' + std::to_string(node->kind) + '[';
        for (const common::XmlNode* a = node->firstAttribute; a; a = a->nextSibling) {
            out += a->name ? a->name : "";
            out += '=';
            out += static_cast<const char*>(a->payload);
            out += ';';
        }
        out += '(';
        Describe(node->firstChild, out, depth + 1);
        out += ")]";
    }
}

std::string DescribeLoad(common::XmlReader& reader, const uint8_t* data, size_t size) {
    std::vector<uint8_t> copy(data, data + size);
    common::MemoryStream stream(copy.data(), static_cast<LONG>(copy.size()));
    std::string out = reader.Load(stream) ? "loaded:" : "empty:";
    Describe(reader.Root(), out, 0);
    return out;
}

void Walk(common::XmlNode* node, int depth) {
    for (; node && depth < 300; node = node->nextSibling) {
        common::XmlReader::FindNode(node->firstAttribute, node->name, 0);
        common::XmlReader::FindNode(node->firstChild, node->name, node->Kind());
        Walk(node->firstChild, depth + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> copy(data, data + size);
    common::MemoryStream stream(copy.data(), static_cast<LONG>(copy.size()));
    FuzzReader reader;
    if (reader.Load(stream))
        Walk(reader.Root(), 0);
    reader.Clear();

    FuzzReader virtualReader;
    BoundFuzzReader boundReader;
    if (DescribeLoad(virtualReader, data, size) != DescribeLoad(boundReader, data, size))
        std::abort();
    return 0;
}
