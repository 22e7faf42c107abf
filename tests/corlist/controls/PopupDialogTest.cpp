// The skinned message box: the buttons of each box type, its texts, and the button that
// ends it; pop-up dialogs end with the command of their controls.
#include "ModalHost.h"

#include "corlist/controls/PopupDialog.h"
#include "corlist/controls/SkinMessageBox.h"

#include "ce/user.h"

using namespace corlist;

namespace {

const char* kSkin =
    "<skin><control name='Main'/>"
    "<popupdlg name='MessageBox' rect='20,100,200,120' titleH='20' border='2'>"
    "<fill color='#FFFFFF'/><fill name='title' color='#204080'/>"
    "<text name='Title' rect='0,0,0,20'/><text name='Text' rect='0,20,0,60'/>"
    "<button name='OK' rect='0,80,60,40'/><button name='Yes' rect='0,80,60,40'/>"
    "<button name='No' rect='70,80,60,40'/><button name='Cancel' rect='140,80,60,40'/>"
    "</popupdlg></skin>";

class SkinMessageBoxTest : public controltest::ModalHost {
protected:
    // The buttons shown while the box is open, and its texts.
    void QueueLook(std::vector<UINT>& shown, std::u16string& text) {
        Queue([this, &shown, &text] {
            auto* dialog = static_cast<PopupDialog*>(m_host.Modal());
            ASSERT_NE(dialog, nullptr);
            for (UINT number : {IDOK, IDYES, IDNO, IDCANCEL})
                if (Control* button = dialog->FindById(number); button && button->IsVisible())
                    shown.push_back(number);
            text = dialog->FindById(kMessageBoxText)->Text();
        });
    }
};

TEST_F(SkinMessageBoxTest, TheButtonsOfTheTypeAreShownAndThePressedOneAnswers) {
    Open(kSkin);
    std::vector<UINT> shown;
    std::u16string text;
    QueueLook(shown, text);
    QueueTap(POINT{100, 200}); // "No"
    StartQueue();
    EXPECT_EQ(ShowMessageBox(m_skin, m_host, 0, u"Delete John?", MB_YESNO), IDNO);
    EXPECT_EQ(shown, (std::vector<UINT>{IDYES, IDNO}));
    EXPECT_EQ(text, u"Delete John?");
    EXPECT_EQ(m_host.Modal(), nullptr);
}

TEST_F(SkinMessageBoxTest, OkBoxesGetTheirOkButton) {
    Open(kSkin);
    std::vector<UINT> shown;
    std::u16string text;
    QueueLook(shown, text);
    QueueTap(POINT{30, 200});
    StartQueue();
    EXPECT_EQ(ShowMessageBox(m_skin, m_host, 0, u"Saved", MB_OKCANCEL), IDOK);
    EXPECT_EQ(shown, (std::vector<UINT>{IDOK, IDCANCEL}));
}

TEST_F(SkinMessageBoxTest, EscapeCancelsAndTapsBesideTheButtonsDoNothing) {
    Open(kSkin);
    QueueTap(POINT{100, 130}); // on the text
    QueueTap(POINT{5, 5});     // outside the box
    QueueKey(VK_ESCAPE);
    StartQueue();
    EXPECT_EQ(ShowMessageBox(m_skin, m_host, 0, u"Really?", MB_YESNOCANCEL), IDCANCEL);
}

TEST_F(SkinMessageBoxTest, AFormattedText) {
    Open(kSkin);
    std::vector<UINT> shown;
    std::u16string text;
    QueueLook(shown, text);
    QueueKey(VK_ESCAPE);
    StartQueue();
    ShowMessageBoxFormat(m_skin, m_host, 0, MB_OK, u"%d of %s deleted", 5, u"12");
    EXPECT_EQ(text, u"5 of 12 deleted");
}

// The dialog's title band and body with rounded corners, its texts and the shown buttons.
TEST_F(SkinMessageBoxTest, Painted) {
    Open("<skin><control name='Main'><fill color='#808080'/></control>"
         "<popupdlg name='MessageBox' rect='20,100,200,120' titleH='24' border='2'>"
         "<fill color='#FFFFFF'/><fill name='title' color='#204080'/>"
         "<text name='Title' rect='8,0,-8,24' size='11' color='#FFFFFF'/>"
         "<text name='Text' rect='8,28,-8,40' size='10' color='#000000'/>"
         "<button name='Yes' rect='20,76,70,32'><fill color='#3070D0'/><font size='10' color='#FFFFFF'/></button>"
         "<button name='No' rect='110,76,70,32'><fill color='#3070D0'/><font size='10' color='#FFFFFF'/></button>"
         "</popupdlg></skin>");
    Queue([this] {
        static_cast<PopupDialog*>(m_host.Modal())->FindById(kMessageBoxTitle)->SetText(u"Contacts");
        static_cast<PopupDialog*>(m_host.Modal())->FindById(IDYES)->SetText(u"Yes");
        static_cast<PopupDialog*>(m_host.Modal())->FindById(IDNO)->SetText(u"No");
        ExpectPaintedMatches("message-box.png");
    });
    QueueKey(VK_ESCAPE);
    StartQueue();
    ShowMessageBox(m_skin, m_host, 0, u"Delete John Smith?", MB_YESNO);
}

TEST_F(SkinMessageBoxTest, ASkinWithoutAMessageBoxShowsNothing) {
    Open("<skin><control name='Main'/></skin>");
    EXPECT_EQ(ShowMessageBox(m_skin, m_host, 0, u"Hello", MB_OK), 0);
}

} // namespace
