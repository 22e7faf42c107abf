// Arbitrary bytes as a skin description: reading must end, the tree must stay a tree
// (every node reached once from the root, copied nodes sharing lists that are themselves
// finite), and clearing must destroy every element object once.
#include "common/MemoryStream.h"
#include "corlist/controls/ControlFactory.h"
#include "corlist/skin/Skin.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <unordered_set>
#include <vector>

namespace {

// Walks the nodes the root owns (not into copied nodes' shared lists) and checks the
// parent links; aborts on a node met twice.
void CheckTree(const common::XmlNode* root) {
    std::unordered_set<const common::XmlNode*> seen;
    std::vector<const common::XmlNode*> pending{root};
    while (!pending.empty()) {
        const common::XmlNode* node = pending.back();
        pending.pop_back();
        if (!seen.insert(node).second)
            std::abort();
        if (node->kind & common::kBorrowedElementFlag)
            continue;
        for (const common::XmlNode* child = node->firstChild; child; child = child->nextSibling) {
            if (child->parent != node)
                std::abort();
            pending.push_back(child);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20))
        return 0;
    std::vector<uint8_t> copy(data, data + size);
    common::MemoryStream stream(copy.data(), LONG(copy.size()));
    corlist::Skin skin;
    // Control elements get their descriptors, so their attributes are read too.
    corlist::InstallControlDescriptors(skin);
    if (skin.LoadDescription(stream))
        CheckTree(skin.Root());
    skin.ClearSkin();
    return 0;
}
