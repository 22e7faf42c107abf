// The ring tone's outcome notice in the skin's message box: the string chosen is the text
// shown, with the OK button only. The favourites category's name is the library's string.
#include "../controls/ModalHost.h"

#include "corlist/contacts/ContactAccess.h"
#include "corlist/controls/PopupDialog.h"
#include "corlist/controls/SkinMessageBox.h"

#include "ce/user.h"

using namespace corlist;

namespace {

class OutcomeNoticeTest : public controltest::ModalHost {};

TEST_F(OutcomeNoticeTest, ShowsTheStringInTheSkinsMessageBox) {
    Open("<skin><control name='Main'/>"
         "<popupdlg name='MessageBox' rect='20,100,200,120' titleH='20' border='2'>"
         "<text name='Title' rect='0,0,0,20'/><text name='Text' rect='0,20,0,60'/>"
         "<button name='OK' rect='0,80,60,40'/><button name='Cancel' rect='140,80,60,40'/>"
         "</popupdlg></skin>");
    std::u16string text;
    std::vector<UINT> shown;
    Queue([&] {
        auto* dialog = static_cast<PopupDialog*>(m_host.Modal());
        ASSERT_NE(dialog, nullptr);
        text = dialog->FindById(kMessageBoxText)->Text();
        for (UINT number : {IDOK, IDCANCEL})
            if (Control* button = dialog->FindById(number); button && button->IsVisible())
                shown.push_back(number);
    });
    QueueTap(POINT{30, 200});
    StartQueue();
    SkinOutcomeNotice(m_skin, m_host)(kRingToneDefaultText, MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(text, u"The ringtone for this contact was set to default.");
    EXPECT_EQ(shown, (std::vector<UINT>{IDOK}));
    EXPECT_EQ(m_host.Modal(), nullptr);
}

TEST(FavouritesNameTest, IsTheLibrarysString) { EXPECT_EQ(FavouritesName(), u"Favorites"); }

} // namespace
