// How a description becomes the skin tree: registered and generic elements, names with
// macro references, defaults and named types, copied children, and the colour mask.
#include "SkinDevice.h"

#include "corlist/skin/ColorElement.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/Skin.h"
#include "corlist/skin/SkinMetrics.h"
#include "corlist/skin/SkinTint.h"

#include <string>

using corlist::ColorElement;
using corlist::FillElement;
using corlist::Skin;
using common::XmlNode;
namespace SkinKind = corlist::SkinKind;

namespace {

class SkinDescription : public skintest::SkinOnDevice {
protected:
    // Loads `xml` as the description of a fresh package.
    XmlNode* Read(const std::string& xml) {
        WriteDescription("Test.rpk", xml);
        return m_skin.Load(u"Test") ? m_skin.Root() : nullptr;
    }
    // The child of `parent` named `name` (ignoring case) of any kind, through its path of
    // names separated by '/'.
    static XmlNode* Find(XmlNode* parent, const std::string& path) {
        size_t slash = path.find('/');
        std::string name = path.substr(0, slash);
        XmlNode* found = nullptr;
        for (XmlNode* child = parent ? parent->firstChild : nullptr; child && !found; child = child->nextSibling)
            if (child->name && strcasecmp(child->name, name.c_str()) == 0)
                found = child;
        return slash == std::string::npos || !found ? found : Find(found, path.substr(slash + 1));
    }
    static ColorElement* Colour(XmlNode* node) {
        return node ? static_cast<ColorElement*>(node->element) : nullptr;
    }
    static int ChildCount(const XmlNode* node) {
        int count = 0;
        for (const XmlNode* child = node->firstChild; child; child = child->nextSibling)
            ++count;
        return count;
    }
};

TEST_F(SkinDescription, RegisteredNamesMakeTypedNodesAndOthersGenericOnes) {
    XmlNode* root = Read("<skin><color name='Ink' color='#102030' bogus='1'/><Color name='x' a='1'/>"
                         "<control name='Pane'/><macros/><defaults/></skin>");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Kind(), common::kGenericElementKind);
    XmlNode* ink = Find(root, "Ink");
    ASSERT_NE(ink, nullptr);
    EXPECT_EQ(ink->Kind(), SkinKind::kColor);
    EXPECT_EQ(Colour(ink)->BaseColour(), COLORREF(0x302010));
    XmlNode* generic = ink->nextSibling; // upper-case names are not registered
    EXPECT_EQ(generic->Kind(), common::kGenericElementKind);
    ASSERT_NE(generic->firstAttribute, nullptr);
    EXPECT_STREQ(generic->firstAttribute->name, "name");
    EXPECT_STREQ(static_cast<const char*>(generic->firstAttribute->nextSibling->payload), "1");
    EXPECT_EQ(Find(root, "Pane")->Kind(), SkinKind::kControl);
    EXPECT_EQ(Find(root, "Pane")->element, nullptr); // no descriptor factory installed
    EXPECT_EQ(m_skin.MacrosNode()->Kind(), SkinKind::kMacros);
    EXPECT_EQ(m_skin.DefaultsNode()->Kind(), SkinKind::kDefaults);
}

TEST_F(SkinDescription, DefaultsApplyToElementsReadAfterThem) {
    XmlNode* root = Read("<skin><color name='early'/>"
                         "<defaults><color color='#0000FF'><fill name='inner'/></color></defaults>"
                         "<color name='late'/><color name='own' color='#00FF00'><fill name='Inner'/></color></skin>");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Colour(Find(root, "early"))->BaseColour(), corlist::kColourNone);
    XmlNode* late = Find(root, "late");
    EXPECT_EQ(Colour(late)->BaseColour(), COLORREF(0xFF0000));
    // The template's child is copied in, sharing its object; one of the same kind and name
    // (ignoring case) is not.
    XmlNode* copied = Find(late, "inner");
    ASSERT_NE(copied, nullptr);
    EXPECT_TRUE(copied->kind & common::kBorrowedElementFlag);
    EXPECT_EQ(copied->element, m_skin.DefaultsNode()->firstChild->firstChild->element);
    XmlNode* own = Find(root, "own");
    EXPECT_EQ(Colour(own)->BaseColour(), COLORREF(0x00FF00));
    EXPECT_EQ(ChildCount(own), 1);
    EXPECT_FALSE(own->firstChild->kind & common::kBorrowedElementFlag);
}

TEST_F(SkinDescription, NamedDefaultsBecomeNewElementTypes) {
    XmlNode* root = Read("<skin><defaults><fill name='bigfill' color='#FF0000'/></defaults>"
                         "<bigfill name='a'/><Bigfill name='b'/><bigfill name='c' color='#0000FF'/></skin>");
    ASSERT_NE(root, nullptr);
    XmlNode* a = Find(root, "a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Kind(), SkinKind::kFill);
    EXPECT_EQ(Colour(a)->BaseColour(), COLORREF(0x0000FF));
    EXPECT_EQ(Find(root, "b"), nullptr); // a generic node, named by no attribute
    EXPECT_EQ(Colour(Find(root, "c"))->BaseColour(), COLORREF(0xFF0000));
}

TEST_F(SkinDescription, ANamedDefaultOfAKindWithATemplateRegistersNothing) {
    XmlNode* root = Read("<skin><defaults><fill color='#FF0000'><color name='dot'/></fill>"
                         "<fill name='big'/></defaults><big name='x'/></skin>");
    ASSERT_NE(root, nullptr);
    XmlNode* big = Find(m_skin.DefaultsNode(), "big");
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(Colour(big)->BaseColour(), COLORREF(0x0000FF)); // started as the template
    EXPECT_NE(Find(big, "dot"), nullptr);                     // and was completed from it
    EXPECT_EQ(Find(root, "x"), nullptr);                      // "big" is no type
}

TEST_F(SkinDescription, MacrosGiveAttributesChildrenAndTheRestOfTheName) {
    XmlNode* root = Read("<skin><macros><color name='Title' color='#112233'><fill name='edge'/></color></macros>"
                         "<panel><color name='#title.caption'/><color name='#title.'/><color name='#none.other'/>"
                         "<color name='#plain'/><fill name='#title.wrongkind'/></panel></skin>");
    ASSERT_NE(root, nullptr);
    XmlNode* caption = Find(root, "panel/caption");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(Colour(caption)->BaseColour(), COLORREF(0x332211));
    EXPECT_NE(Find(caption, "edge"), nullptr);
    EXPECT_FALSE(caption->kind & common::kInheritsFromMacroFlag); // cleared at its end
    XmlNode* unnamed = caption->nextSibling;
    EXPECT_EQ(unnamed->name, nullptr);
    EXPECT_EQ(Colour(unnamed)->BaseColour(), COLORREF(0x332211));
    XmlNode* other = Find(root, "panel/other");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(Colour(other)->BaseColour(), corlist::kColourNone);
    EXPECT_NE(Find(root, "panel/#plain"), nullptr);
    XmlNode* wrongKind = Find(root, "panel/wrongkind");
    ASSERT_NE(wrongKind, nullptr);
    EXPECT_EQ(wrongKind->firstChild, nullptr);
}

TEST_F(SkinDescription, AMacroAmongTheSiblingsIsFoundToo) {
    XmlNode* root = Read("<skin><macros/><panel><color name='local' color='#010203'/>"
                         "<color name='#local.copy'/></panel></skin>");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Colour(Find(root, "panel/copy"))->BaseColour(), COLORREF(0x030201));
}

// An element naming itself or an ancestor as its macro inherits nothing: the tree stays a
// tree and clearing it destroys every object once.
TEST_F(SkinDescription, AMacroThatIsAnAncestorIsRefused) {
    XmlNode* root = Read("<skin><macros><color name='loop' color='#FF0000'>"
                         "<color name='#loop.inner'><color name='#inner.deeper'/></color></color></macros></skin>");
    ASSERT_NE(root, nullptr);
    XmlNode* loop = Find(m_skin.MacrosNode(), "loop");
    XmlNode* inner = Find(loop, "inner");
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(Colour(inner)->BaseColour(), corlist::kColourNone);
    EXPECT_EQ(ChildCount(inner), 1);
    EXPECT_EQ(ChildCount(loop), 1);
    m_skin.ClearSkin();
    EXPECT_EQ(m_skin.Root(), nullptr);
}

TEST_F(SkinDescription, TheColourMaskTintsWeightedColoursOnce) {
    XmlNode* root = Read("<skin><application colorMask='#0000FF'/>"
                         "<macros><fill name='m' color='#FFFFFF' opacity='100' gradient='#000000'/></macros>"
                         "<color name='full' color='#FF0000' opacity='100'/>"
                         "<color name='zero' color='#FF0000' opacity='0'/>"
                         "<color name='none' opacity='50'/>"
                         "<pen name='pen' color='#FF0000' opacity='100'/>"
                         "<panel><fill name='#m.a'/><fill name='#m.b'/></panel></skin>");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(m_skin.ColourMask(), COLORREF(0xFF0000));
    EXPECT_EQ(Colour(Find(root, "full"))->EffectiveColour(), corlist::TintColour(0x0000FF, 0xFF0000, 255));
    EXPECT_EQ(Colour(Find(root, "full"))->EffectiveColour(), COLORREF(0xFE0000));
    EXPECT_EQ(Colour(Find(root, "zero"))->EffectiveColour(), COLORREF(0x0000FF));
    EXPECT_EQ(Colour(Find(root, "none"))->EffectiveColour(), COLORREF(0x7E0000));
    EXPECT_EQ(Colour(Find(root, "pen"))->EffectiveColour(), COLORREF(0x0000FF)); // pens are not tinted
    // The macro's own fill and the fills copied from it are separate objects, each tinted
    // once; the gradient moves with them.
    auto* macro = static_cast<FillElement*>(Colour(Find(m_skin.MacrosNode(), "m")));
    auto* a = static_cast<FillElement*>(Colour(Find(root, "panel/a")));
    EXPECT_EQ(macro->EffectiveColour(), corlist::TintColour(0xFFFFFF, 0xFF0000, 255));
    EXPECT_EQ(a->EffectiveColour(), macro->EffectiveColour());
    EXPECT_EQ(a->GradientColour(), corlist::TintColour(0, 0xFF0000, 255));
}

// A copied child shares its object: the tint reaches it once, through the node it was
// copied from.
TEST_F(SkinDescription, SharedChildrenAreTintedOnce) {
    XmlNode* root = Read("<skin><application colorMask='#000000'/><defaults><color>"
                         "<fill name='g' color='#FFFFFF' gradient='#FFFFFF' opacity='50'/></color></defaults>"
                         "<color name='a'/><color name='b'/></skin>");
    ASSERT_NE(root, nullptr);
    auto* shared = static_cast<FillElement*>(Colour(Find(root, "a/g")));
    ASSERT_EQ(shared, Colour(Find(root, "b/g")));
    EXPECT_EQ(shared->GradientColour(), corlist::TintColour(0xFFFFFF, 0, 127));
}

// Control descriptors counted as they are made and destroyed: copies share them, and
// clearing destroys each once.
int g_made = 0;
int g_destroyed = 0;

class CountedDescriptor : public corlist::SkinElement {
public:
    CountedDescriptor() { ++g_made; }
    ~CountedDescriptor() override { ++g_destroyed; }
    void CopyFrom(const SkinElement&) override {}
    bool SetAttribute(const char*, const char*, common::NodeArena&) override { return false; }
};

TEST_F(SkinDescription, ClearingDestroysEveryObjectOnce) {
    g_made = g_destroyed = 0;
    m_skin.SetDescriptorFactory(
        [](Skin& skin, uint32_t) -> corlist::SkinElement* { return skin.MakeElement<CountedDescriptor>(); });
    XmlNode* root = Read("<skin><defaults><button><text name='label'><text name='inner'/></text></button></defaults>"
                         "<button name='a'/><button name='b'/><control><button name='c'/></control></skin>");
    ASSERT_NE(root, nullptr);
    EXPECT_NE(Find(root, "a/label/inner"), nullptr);
    EXPECT_EQ(g_made, 7);
    m_skin.ClearSkin();
    EXPECT_EQ(g_destroyed, 7);
}

TEST(SkinTint, ChannelsMoveTowardTheMask) {
    EXPECT_EQ(corlist::TintColour(0x000000, 0xFFFFFF, 128), COLORREF(0x7F7F7F));
    EXPECT_EQ(corlist::TintColour(0x804020, 0x000000, 64), COLORREF(0x603018));
    EXPECT_EQ(corlist::TintColour(corlist::kColourNone, 0x0000FF, 255), COLORREF(0x0000FE));
}

TEST_F(SkinDescription, ApplicationSetsTheCoordinateScale) {
    ASSERT_NE(Read("<skin><application vga='1'/></skin>"), nullptr);
    EXPECT_EQ(corlist::CoordinateScale(), 1);
    ASSERT_NE(Read("<skin><application vga='0'/></skin>"), nullptr);
    EXPECT_EQ(corlist::CoordinateScale(), corlist::ScreenCoordinateScale());
}

} // namespace
