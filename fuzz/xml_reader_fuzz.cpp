// Arbitrary bytes through the XML reader: loading, the attribute nodes a settings reader
// would keep, lookups and clearing must never crash or leak.
#include "common/MemoryStream.h"
#include "common/XmlReader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

class FuzzReader : public common::XmlReader {
public:
    common::XmlNode* OnEvent(common::XmlNode* node, common::XmlEvent event, const char* name,
                             const char* value) override {
        if (event == common::XmlEvent::Attribute) {
            common::XmlNode* attribute = CreateNode(node, name, common::kGenericAttributeKind);
            if (attribute)
                attribute->payload = AllocString(value);
        }
        if (event == common::XmlEvent::ElementStart && node && (node->hash & 1))
            return CreateNode(node, name, 1 + (node->hash & 0xFF));
        return nullptr;
    }
};

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
    return 0;
}
