// The list binding between a list model over a real core object and a real list view: the
// rows `ui` reads in one and two columns, the matched number while a search shows, the
// "No matches" text of an empty result, the texts of the other lists, the letter bar's
// letters, and a buffer too small for a text.
#include "ModelDevice.h"

#include "corlist/contacts/ListBinding.h"
#include "corlist/controls/ControlFactory.h"
#include "corlist/controls/ControlHost.h"
#include "corlist/controls/ListView.h"
#include "corlist/skin/SkinKinds.h"

#include "ce/user.h"

using namespace corlist;

namespace {

using Strings = std::vector<std::string>;

ListBinding* g_binding = nullptr;

LRESULT CALLBACK OwnerProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && g_binding)
        return g_binding->OnNotify(reinterpret_cast<NMHDR*>(lParam));
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

constexpr UINT kList = 1002;
const ControlTableRow kRows[] = {{SkinKind::kListView, "list", kList}, {}};

class ListBindingTest : public modeltest::ModelDevice {
protected:
    void SetUp() override {
        ModelDevice::SetUp();
        AddContact("FIRST_NAME=Anna LAST_NAME=Berg MOBILE_TELEPHONE_NUMBER=5550100 CATEGORIES=Family "
                   "COMPANY_NAME=Acme");
        AddContact("FIRST_NAME=Carl LAST_NAME=Dahl");
        AddContact("FIRST_NAME=Eva LAST_NAME=Falk HOME_TELEPHONE_NUMBER=020-7946-0958");
        AddContact("MOBILE_TELEPHONE_NUMBER=5550177");
        AddCall("5550100 in 2026-03-01T10:00:00 60");
        AddCall("5550155 out 2026-03-01T11:00:00 30");
        OpenStores();
        InstallControlDescriptors(m_skin);
        WriteDescription("Test.rpk", "<skin><control name='Main'><listview name='List' rect='0,0,0,0'>"
                                     "<grid itemRect='0,0,0,30'/><font color='#000000' size='11'/>"
                                     "<fill color='#FFFFFF'/></listview></control></skin>");
        ASSERT_TRUE(m_skin.Load(u"Test"));
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &OwnerProcedure;
        windowClass.lpszClassName = u"BindingOwner";
        RegisterClassW(&windowClass);
        m_parent =
            CreateWindowExW(0, u"BindingOwner", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_parent, nullptr);
        ASSERT_TRUE(m_host.Create(m_skin, "main", kRows, m_parent, WS_CHILD | WS_VISIBLE, RECT{0, 0, 240, 320}));
        m_list = static_cast<ListView*>(m_host.Screen().FindById(kList));
        ASSERT_NE(m_list, nullptr);
        m_model = std::make_unique<ListModel>(*m_core);
        m_binding = std::make_unique<ListBinding>(*m_model);
        g_binding = m_binding.get();
    }
    void TearDown() override {
        g_binding = nullptr;
        m_host.Destroy();
        if (m_parent)
            DestroyWindow(m_parent);
        ModelDevice::TearDown();
    }
    // Loads a view and binds the list to it.
    void Show(DWORD view) {
        m_model->Load(view);
        m_binding->Attach(*m_list);
    }
    void Search(const char16_t* text) {
        m_model->Search(text, true);
        m_binding->Update();
    }

    HWND m_parent = nullptr;
    ControlHost m_host;
    ListView* m_list = nullptr;
    std::unique_ptr<ListModel> m_model;
    std::unique_ptr<ListBinding> m_binding;
};

TEST_F(ListBindingTest, ContactRowsInOneAndTwoColumns) {
    Show(0x0001);
    EXPECT_EQ(m_list->ItemCount(), 4);
    // One column: the number on a second line (`ui` reads lines like columns); a contact
    // without a name shows its number, one without a number a single line.
    EXPECT_EQ(m_list->UiLines(), (Strings{"row 0 \"5550177\"", "row 1 \"Berg, Anna | 5550100\"",
                                          "row 2 \"Dahl, Carl\"", "row 3 \"Falk, Eva | 020-7946-0958\""}));
    m_list->SetColumns({ListColumn{-1}, ListColumn{80}});
    EXPECT_EQ(m_list->UiLines(), (Strings{"row 0 \"5550177 | \"", "row 1 \"Berg, Anna | 5550100\"",
                                          "row 2 \"Dahl, Carl | \"", "row 3 \"Falk, Eva | 020-7946-0958\""}));
}

TEST_F(ListBindingTest, SearchShowsTheMatchedNumberAndNoMatches) {
    Show(0x0001);
    m_list->SetColumns({ListColumn{-1}, ListColumn{80}});
    Search(u"020");
    EXPECT_EQ(m_list->ItemCount(), 1);
    EXPECT_EQ(m_list->Filter(), u"020");
    EXPECT_EQ(m_list->UiLines(), (Strings{"row 0 \"Falk, Eva | 2079460958\""}));
    // A search that finds nothing: the list says so with the text typed.
    Search(u"0209");
    EXPECT_EQ(m_list->ItemCount(), 0);
    EXPECT_EQ(m_list->UiLines(), (Strings{"empty \"No matches: 0209\""}));
    // Cleared: every row again, with its primary number, and no filter.
    Search(nullptr);
    EXPECT_EQ(m_list->ItemCount(), 4);
    EXPECT_FALSE(m_list->HasFilter());
    EXPECT_EQ(m_list->UiLines()[3], "row 3 \"Falk, Eva | 020-7946-0958\"");
}

TEST_F(ListBindingTest, CategoryCompanyAndCallRows) {
    const struct {
        DWORD view;
        Strings lines;
    } cases[] = {
        {0x0002, {"row 0 \"All Categories\"", "row 1 \"Favorites\"", "row 2 \"Family\""}},
        {0x0008, {"row 0 \"All Companies\"", "row 1 \"Acme\""}},
        // A call of a contact: its name and the number; else the number alone.
        {0x0004, {"row 0 \"5550155\"", "row 1 \"Berg, Anna | 5550100\""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.view);
        Show(c.view);
        EXPECT_EQ(m_list->UiLines(), c.lines);
    }
}

TEST_F(ListBindingTest, LettersOfTheShownRows) {
    Show(0x0001);
    const struct {
        WCHAR ch;
        int entries, first;
    } expected[] = {{u'5', 1, 0}, {u'B', 1, 1}, {u'D', 1, 2}, {u'F', 1, 3}};
    std::vector<BarLetter> letters = m_binding->Letters();
    ASSERT_EQ(letters.size(), std::size(expected));
    for (size_t i = 0; i < letters.size(); ++i) {
        EXPECT_EQ(letters[i].ch, expected[i].ch) << i;
        EXPECT_EQ(letters[i].entries, expected[i].entries) << i;
        EXPECT_EQ(letters[i].firstItem, expected[i].first) << i;
    }
    // The search result files its rows again.
    Search(u"3");
    letters = m_binding->Letters();
    ASSERT_EQ(letters.size(), 2u);
    EXPECT_EQ(letters[0].ch, u'D');
    EXPECT_EQ(letters[1].ch, u'F');
    EXPECT_EQ(letters[1].firstItem, 1);
    EXPECT_EQ(m_binding->LetterOf(7), 0);
}

TEST_F(ListBindingTest, TextsAreCutToTheBufferAndOtherItemsAreEmpty) {
    Show(0x0001);
    WCHAR buffer[8];
    NMLVDISPINFOW info{};
    info.hdr.code = LVN_GETDISPINFOW;
    info.item.mask = LVIF_TEXT;
    info.item.iItem = 1;
    info.item.pszText = buffer;
    info.item.cchTextMax = 5;
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    m_binding->OnNotify(&info.hdr);
    EXPECT_EQ(std::u16string(buffer), u"Berg");
    EXPECT_EQ(buffer[5], u'#');
    const int items[] = {-1, 4, 1000};
    for (int item : items) {
        info.item.iItem = item;
        info.item.cchTextMax = 8;
        m_binding->OnNotify(&info.hdr);
        EXPECT_EQ(buffer[0], 0) << item;
    }
    // Other notifications are not answered.
    NMHDR tap{};
    tap.code = UINT(-191);
    EXPECT_EQ(m_binding->OnNotify(&tap), 0);
    EXPECT_EQ(m_binding->OnNotify(nullptr), 0);
}

} // namespace

// The picture of a row in its look's strip: the contact's kind, the list a category or
// company row opens, the call's kind.
TEST(ListBindingIcons, RowsShowThePictureOfTheirKind) {
    common::ContactRecord plain, sim, linked;
    sim.item = common::ContactRecord::SimItemMark();
    linked.facebookId = 100004567890123;
    common::CategoryEntry family{u"Family"};
    std::u16string contoso = u"Contoso";
    common::CallLogEntry missed, outgoing, incoming;
    missed.flags = common::CallFlag::kMissed;
    outgoing.flags = common::CallFlag::kOutgoing;
    const struct {
        corlist::ListRow row;
        int icon;
    } kRows[] = {
        {{corlist::RowKind::kContact, &plain}, 0},
        {{corlist::RowKind::kContact, &sim}, 1},
        {{corlist::RowKind::kContact, &linked}, 2},
        {{corlist::RowKind::kCategory, nullptr, &family, nullptr, nullptr, 0}, 0},
        {{corlist::RowKind::kCategory, nullptr, &family, nullptr, nullptr, 3}, 1},
        {{corlist::RowKind::kCompany, nullptr, nullptr, &contoso, nullptr, 2}, 2},
        {{corlist::RowKind::kCall, nullptr, nullptr, nullptr, &missed}, 1},
        {{corlist::RowKind::kCall, nullptr, nullptr, nullptr, &incoming}, 2},
        {{corlist::RowKind::kCall, nullptr, nullptr, nullptr, &outgoing}, 3},
    };
    for (const auto& row : kRows)
        EXPECT_EQ(corlist::ListBinding::IconOf(row.row), row.icon) << int(row.row.kind);
}
