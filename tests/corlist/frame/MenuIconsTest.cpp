// The frame's menus take their icons from the skin's well-known strips: each list its own
// strip, each row the picture of its command in that strip, titles none.
#include "../skin/SkinDevice.h"

#include "common/Settings.h"
#include "corlist/controls/Menu.h"
#include "corlist/frame/MenuIcons.h"
#include "corlist/skin/ImageElement.h"

using namespace corlist;

namespace {

class MenuIconsTest : public skintest::SkinOnDevice {
protected:
    void SetUp() override {
        SkinOnDevice::SetUp();
        WriteDescription("Default.rpk", "<skin><Images><image name='MenuContact'/>"
                                        "<image name='MenuSendContact'/><image name='CallState'/></Images></skin>");
        common::SettingsRecord settings;
        ASSERT_TRUE(m_skin.Initialise(settings));
    }
    ImageElement* Strip(int number) {
        return static_cast<ImageElement*>(m_skin.WellKnownImage(number, SkinKind::kImage));
    }
};

TEST_F(MenuIconsTest, ListsTakeTheirStripAndRowsTheirCommandsPicture) {
    Menu menu;
    menu.AddRow(0, u"Smith, John", MenuRowFlag::kTitle);
    menu.AddRow(144, u"Make Call", 0);
    MenuRow* send = menu.AddRow(127, u"Send Contact", MenuRowFlag::kSubmenu);
    menu.AddRow(136, u"Beam Contact", 0, -1, 0, send->submenu.get());
    menu.AddRow(144, u"Make Call", 0, -1, 0, send->submenu.get());
    menu.AddRow(9999, u"Unknown", 0);
    MenuRow* filter = menu.AddRow(342, u"Filter Calls", MenuRowFlag::kSubmenu);
    menu.AddRow(122, u"Missed", 0, -1, 0, filter->submenu.get());
    DecorateMenu(m_skin, menu.TopRows(), WellKnownImage::kMenuContact);

    ASSERT_NE(Strip(WellKnownImage::kMenuContact), nullptr);
    const MenuRowList& top = menu.TopRows();
    EXPECT_EQ(top.icons, Strip(WellKnownImage::kMenuContact));
    EXPECT_EQ(top.rows[0]->icon, -1); // the title
    EXPECT_EQ(top.rows[1]->icon, 0);  // call
    EXPECT_EQ(top.rows[2]->icon, 17); // send contact
    EXPECT_EQ(top.rows[3]->icon, -1); // a command without a picture
    // "Send Contact" shows the send strip; a command that has no picture there shows none.
    EXPECT_EQ(send->submenu->icons, Strip(WellKnownImage::kMenuSendContact));
    EXPECT_EQ(send->submenu->rows[0]->icon, 0);
    EXPECT_EQ(send->submenu->rows[1]->icon, -1);
    EXPECT_EQ(filter->submenu->icons, Strip(WellKnownImage::kCallState));
    EXPECT_EQ(filter->submenu->rows[0]->icon, 1);
}

TEST_F(MenuIconsTest, AStripTheSkinLacksLeavesTheRowsWithoutIcons) {
    Menu menu;
    menu.AddRow(177, u"All Contacts", 0);
    DecorateMenu(m_skin, menu.TopRows(), WellKnownImage::kMenuCategories);
    EXPECT_EQ(menu.TopRows().icons, nullptr);
    EXPECT_EQ(menu.TopRows().rows[0]->icon, -1);
}

} // namespace
