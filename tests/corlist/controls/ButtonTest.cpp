// Buttons and text labels drawn from the skin: the image written on the button, its pressed
// and type looks, the label over it, and a disabled text.
#include "ControlScreen.h"

#include "corlist/controls/Button.h"
#include "corlist/controls/ButtonElement.h"
#include "corlist/controls/TextControl.h"

using namespace corlist;

namespace {

constexpr UINT kPlain = 31;
constexpr UINT kTyped = 32;
constexpr UINT kLabel = 33;

const char* kSkin =
    "<skin><control name='Main'><fill color='#E8E8E8'/>"
    "<button name='Plain' rect='4,4,50,30' source='face.png'>"
    "<image name='Pressed' source='pressed.png'/><font size='9' color='#FFFFFF' shadow='#000000'/></button>"
    "<button name='Typed' rect='64,4,50,30'><fill color='#FFFFFF'/>"
    "<image name='Type2' source='face.png'/><image name='Type1x' source='pressed.png'/></button>"
    "<text name='Label' rect='4,44,-4,20' size='10' color='#202060'><font name='disabled' size='10' color='#A0A0A0'/></text>"
    "</control></skin>";

const ControlTableRow kRows[] = {
    {SkinKind::kButton, "Plain", kPlain}, {SkinKind::kButton, "Typed", kTyped}, {SkinKind::kText, "Label", kLabel}, {}};

class ButtonTest : public controltest::ControlScreen {
protected:
    void SetUp() override {
        ControlScreen::SetUp();
        Build(kSkin, {{u"face.png", Picture(50, 30)}, {u"pressed.png", Picture(50, 30, 4)}}, "Main", kRows);
    }
};

TEST_F(ButtonTest, LooksFollowThePenAndTheType) {
    auto& plain = Find<Button>(kPlain);
    auto* element = static_cast<ButtonElement*>(plain.Descriptor());
    EXPECT_NE(element->Image().Source(), nullptr); // written on the button itself
    ASSERT_NE(element->PressedImage(), nullptr);
    auto& typed = Find<Button>(kTyped);
    auto* typedElement = static_cast<ButtonElement*>(typed.Descriptor());
    EXPECT_NE(typedElement->TypeImage(1), nullptr); // "Type1..." matches by its fifth letter
    EXPECT_NE(typedElement->TypeImage(2), nullptr);
    EXPECT_EQ(typedElement->TypeImage(3), nullptr);
    plain.SetText(u"Call");
    typed.SetType(2);
    Find<TextControl>(kLabel).SetText(u"John Smith");
    ExpectScreenMatches("control-buttons.png", 24, 40);
    Down(10, 10);
    EXPECT_TRUE(plain.IsPressed());
    Find<TextControl>(kLabel).SetEnabled(false);
    typed.SetType(1);
    ExpectScreenMatches("control-buttons-pressed.png", 24, 40);
    Up(10, 10);
    EXPECT_FALSE(plain.IsPressed());
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].Number(), kPlain);
}

} // namespace
