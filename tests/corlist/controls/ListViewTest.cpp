// The list view on a booted device: column widths, visible rows, items asked of the owner
// window, the rows `ui` reads, a row height of 0, the empty list with a filter, taps and
// check boxes, and golden pictures of report and icon layouts.
#include "../image/ImageFixtures.h"
#include "../skin/SkinDevice.h"

#include "corlist/controls/ControlFactory.h"
#include "corlist/controls/ControlHost.h"
#include "corlist/controls/ListView.h"
#include "corlist/controls/ListViewNotify.h"
#include "corlist/skin/Skin.h"
#include "corlist/skin/SkinKinds.h"
#include "gdi/BitmapObject.h"
#include "gdi/GdiObjectTable.h"
#include "support/GoldenImage.h"

#include "ce/user.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace corlist;

namespace {

// What the owner window heard and how it answers.
struct Owner {
    std::vector<UINT> codes;
    std::vector<int> requested; // items asked for with LVN_GETDISPINFOW
    std::u16string filter;
    bool filterSeen = false;
    int filterFocus = -1; // what the owner answers to a filter change; -1: not handled
    std::vector<UINT> checked = std::vector<UINT>(1000, 0);
    int images = -1; // image index of every item, -1: none
    HBITMAP picture = nullptr; // the picture of the even items, null: none
    POINT tap{};
    int tapItem = -2;
};
Owner g_owner;

LRESULT OnNotify(NMHDR* header) {
    g_owner.codes.push_back(header->code);
    if (header->code == LVN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
        LVITEMW& item = info->item;
        g_owner.requested.push_back(item.iItem);
        std::u16string text = item.iSubItem == 0 ? u"Item " : u"Sub ";
        for (char ch : std::to_string(item.iItem))
            text.push_back(char16_t(ch));
        if (item.mask & LVIF_TEXT)
            for (int i = 0; i <= int(text.size()) && i < item.cchTextMax; ++i)
                item.pszText[i] = i < int(text.size()) ? text[size_t(i)] : 0;
        if (item.mask & LVIF_STATE)
            item.state = item.iItem >= 0 && item.iItem < 1000 ? g_owner.checked[size_t(item.iItem)] : 0;
        if (item.mask & LVIF_IMAGE)
            item.iImage = g_owner.images < 0 ? -1 : item.iItem % 2;
        if (item.mask & LVIF_PARAM)
            item.lParam = item.iItem % 2 == 0 ? reinterpret_cast<LPARAM>(g_owner.picture) : 0;
        return 0;
    }
    if (header->code == LVN_SETDISPINFOW) {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
        UINT& state = g_owner.checked[size_t(info->item.iItem)];
        state = (state & ~info->item.stateMask) | (info->item.state & info->item.stateMask);
        return 0;
    }
    if (header->code == ListNotify::kFilterChanging) {
        auto* filter = reinterpret_cast<NMLVFILTERW*>(header);
        g_owner.filterSeen = true;
        g_owner.filter = filter->pszFilter ? filter->pszFilter : u"(none)";
        if (g_owner.filterFocus < 0)
            return FALSE;
        filter->iItem = g_owner.filterFocus;
        return TRUE;
    }
    if (header->code == ListNotify::kTap) {
        auto* tap = reinterpret_cast<NMLISTVIEW*>(header);
        g_owner.tap = tap->ptAction;
        g_owner.tapItem = tap->iItem;
    }
    return 0;
}

LRESULT CALLBACK OwnerProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY)
        return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

const char* kLooks =
    "<font color='#000000' size='11'/><font name='FocusedText' color='#FFFFFF' size='11' weight='700'/>"
    "<font name='Header' color='#FFFFFF' size='10'/>"
    "<fill color='#FFFFFF'/><fill name='Row' color='#F4F4F4'/><fill name='Stripped' color='#DDE6F4'/>"
    "<fill name='Selected' color='#3169C6'/><fill name='Unfocused' color='#A0B4D8'/><fill name='Header' color='#10489C'/>"
    "<fill name='OutArea' color='#808080'/><color name='RowLine' color='#C0C0C0'/>"
    "<color name='StrippedLine' color='#8090B0'/><color name='CheckBorder' color='#000000'/>"
    "<image source='icons.png' imgList='2,1'/>";

std::string Description(const char* grid) {
    return std::string("<skin><control name='Main'><listview name='List' rect='0,20,0,0' style='touch'>") + grid +
           kLooks + "</listview></control></skin>";
}

constexpr UINT kList = 40;
const ControlTableRow kRows[] = {{SkinKind::kListView, "list", kList}, {}};

class ListViewTest : public skintest::SkinDevice {
protected:
    void Open(const char* grid) {
        g_owner = Owner{};
        m_skin.SetProgramFolder(u"\\");
        InstallControlDescriptors(m_skin);
        std::string xml = Description(grid);
        std::replace(xml.begin(), xml.end(), '\'', '"');
        imagetest::PngSpec icons;
        icons.width = 48;
        icons.height = 24;
        auto png = imagetest::MakePng(icons);
        WritePackage("Test.rpk", {{u"Default.skn", xml}, {u"icons.png", std::string(png.begin(), png.end())}});
        ASSERT_TRUE(m_skin.Load(u"Test"));
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &OwnerProcedure;
        windowClass.lpszClassName = u"ListOwner";
        RegisterClassW(&windowClass);
        m_parent = CreateWindowExW(0, u"ListOwner", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr,
                                   nullptr);
        ASSERT_NE(m_parent, nullptr);
        ASSERT_TRUE(m_host.Create(m_skin, "main", kRows, m_parent, WS_CHILD | WS_VISIBLE, RECT{0, 0, 240, 320}));
        m_list = static_cast<ListView*>(m_host.Screen().FindById(kList));
        ASSERT_NE(m_list, nullptr);
    }
    void TearDown() override {
        m_host.Destroy();
        if (m_parent)
            DestroyWindow(m_parent);
        m_skin.ClearSkin();
        SkinDevice::TearDown();
    }
    void PaintList() {
        DrawSurface& surface = *m_host.Surface();
        surface.ResetClip();
        m_host.Screen().Paint(surface, RECT{0, 0, 240, 320});
    }
    uint16_t PixelAt(int x, int y) { return m_host.Surface()->Pixel(x, y); }
    void ExpectGolden(const char* name) {
        PaintList();
        auto object = platform::GdiObjectTable::Instance().LookupAs<platform::BitmapObject>(
            m_host.Surface()->Bitmap(), platform::GdiKind::Bitmap);
        ASSERT_NE(object, nullptr);
        testsupport::ExpectMatchesGolden(*object->GetSurface(), name, 8, 20);
    }

    Skin m_skin;
    HWND m_parent = nullptr;
    ControlHost m_host;
    ListView* m_list = nullptr;
};

constexpr uint16_t To565(COLORREF c) {
    return uint16_t((((c & 0xFF) >> 3) << 11) | ((((c >> 8) & 0xFF) >> 2) << 5) | (((c >> 16) & 0xFF) >> 3));
}

const char* kReportGrid = "<grid itemRect='0,0,0,30' imageRect='3,3,24,24' textRect='32,0,-2,0' marginX='2'/>";

TEST(ListColumns, FixedWidthsAndSharesOfTheRest) {
    const struct {
        std::vector<int> requested;
        int width;
        std::vector<int> widths;
    } cases[] = {
        {{-1, 60, -1, -1}, 240, {60, 60, 60, 60}},
        {{-1}, 240, {240}},
        {{0, 3, 100}, 240, {5, 5, 100}}, // at least 5 pixels
        {{200, -1, -1}, 216, {200, 20, 20}}, // a share of 8 is less than 10: 20 each
        {{200, -1}, 210, {200, 10}},
        {{300, -1}, 240, {300, 20}}, // nothing left
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColumnWidths(c.requested, c.width), c.widths) << c.width;
}

TEST(ListRows, VisibleRowsOfAPosition) {
    const struct {
        int position, view, row, rows;
        RowSpan span;
    } cases[] = {
        {0, 300, 30, 100, {0, 10}},     // exactly ten rows
        {15, 300, 30, 100, {0, 11}},    // a partly shown row at the top and the bottom
        {1200, 300, 30, 100, {40, 10}}, // row 40 at the top
        {-20, 300, 30, 100, {0, 10}},   // pulled past the top: the bottom row falls out
        {2800, 300, 30, 100, {93, 7}},  // pulled past the end
        {0, 300, 30, 4, {0, 4}},        // a short list
        {0, 300, 0, 100, {0, 0}},       // no row height: no rows
        {0, 300, -5, 100, {0, 0}},
        {0, 0, 30, 100, {0, 0}},
    };
    for (const auto& c : cases) {
        RowSpan span = VisibleRows(c.position, c.view, c.row, c.rows);
        EXPECT_EQ(span.first, c.span.first) << c.position << " " << c.row;
        EXPECT_EQ(span.count, c.span.count) << c.position << " " << c.row;
    }
}

TEST_F(ListViewTest, RowsComeFromTheGridAndOnlyVisibleOnesAreAskedFor) {
    Open(kReportGrid);
    m_list->SetItemCount(10000);
    EXPECT_EQ(m_list->RowHeight(), 30);
    EXPECT_EQ(m_list->RowCount(), 10000);
    PaintList();
    ASSERT_FALSE(g_owner.requested.empty());
    for (int item : g_owner.requested)
        EXPECT_LT(item, 10) << "an invisible row was asked for";
    m_list->ScrollTo(40);
    EXPECT_EQ(m_list->ScrollPosition(), 1200);
    std::vector<std::string> lines = m_list->UiLines();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines.front(), "row 40 \"Item 40\"");
    EXPECT_EQ(lines.back(), "row 49 \"Item 49\"");
    // The last full page is as far as ScrollTo goes.
    m_list->ScrollTo(9999);
    EXPECT_EQ(m_list->Visible().first, 9990);
    EXPECT_EQ(m_list->UiLines().back(), "row 9999 \"Item 9999\"");
}

TEST_F(ListViewTest, UiLinesJoinColumnsAndMarkSelectionAndChecks) {
    Open(kReportGrid);
    m_list->SetColumns({{-1, 0, u"Name"}, {60, 0, u"Phone"}});
    m_list->SetCheckBoxes(true);
    m_list->SetItemCount(3);
    g_owner.checked[2] = kItemChecked;
    m_list->SetFocusedItem(1);
    EXPECT_EQ(m_list->UiLines(), (std::vector<std::string>{"row 0 \"Item 0 | Sub 0\"",
                                                           "row 1 selected \"Item 1 | Sub 1\"",
                                                           "row 2 checked \"Item 2 | Sub 2\""}));
    EXPECT_TRUE(m_list->IsChecked(2));
    EXPECT_FALSE(m_list->IsChecked(1));
}

TEST_F(ListViewTest, ARowHeightOfZeroShowsNoRows) {
    Open("<grid itemRect='0,0,0,-300'/>"); // the cell ends where it starts
    m_list->SetItemCount(50);
    EXPECT_EQ(m_list->RowHeight(), 0);
    EXPECT_EQ(m_list->RowCount(), 0);
    EXPECT_TRUE(m_list->UiLines().empty());
    PaintList();
    EXPECT_TRUE(g_owner.requested.empty());
    EXPECT_EQ(PixelAt(100, 100), To565(RGB(0x80, 0x80, 0x80))); // the out area
    // A tap finds no item to divide its way to.
    PostMessageW(m_host.Window(), WM_LBUTTONDOWN, 0, MAKELPARAM(100, 100));
    PostMessageW(m_host.Window(), WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_EQ(g_owner.tapItem, -1);
}

TEST_F(ListViewTest, AnEmptyListShowsNoMatchesForItsFilter) {
    Open(kReportGrid);
    m_list->SetFilter(u"abc");
    EXPECT_TRUE(g_owner.filterSeen);
    EXPECT_EQ(g_owner.filter, u"abc");
    EXPECT_EQ(m_list->UiLines(), (std::vector<std::string>{"empty \"No matches: abc\""}));
    PaintList();
    EXPECT_EQ(PixelAt(1, 21), To565(GetSysColor(COLOR_MENUTEXT))); // the band, one row high
    EXPECT_EQ(PixelAt(1, 49), To565(GetSysColor(COLOR_MENUTEXT)));
    EXPECT_EQ(PixelAt(1, 51), To565(RGB(0x80, 0x80, 0x80)));
    int window = 0;
    for (int y = 20; y < 50; ++y)
        for (int x = 0; x < 240; ++x)
            window += PixelAt(x, y) == To565(GetSysColor(COLOR_WINDOW));
    EXPECT_GT(window, 20) << "the text is drawn in the window colour";
    ExpectGolden("list-empty-filter.png");

    // The same text again, or one longer than 47 characters, changes nothing.
    g_owner.filterSeen = false;
    m_list->SetFilter(u"abc");
    m_list->SetFilter(std::u16string(48, u'x').c_str());
    EXPECT_FALSE(g_owner.filterSeen);
    EXPECT_EQ(m_list->Filter(), u"abc");
    // An owner that handles the change moves the focus and hears that it was applied.
    m_list->SetItemCount(20);
    g_owner.filterFocus = 7;
    m_list->SetFilter(nullptr);
    EXPECT_EQ(g_owner.filter, u"(none)");
    EXPECT_EQ(m_list->FocusedItem(), 7);
    EXPECT_EQ(g_owner.codes.back(), ListNotify::kFilterChanged);
}

TEST_F(ListViewTest, ATapFocusesTheItemAndTicksItsCheckBox) {
    Open("<grid itemRect='0,0,0,30' textRect='32,0,-2,0'><button name='checkbox' rect='4,5,20,20'/></grid>");
    m_list->SetCheckBoxes(true);
    m_list->SetItemCount(20);
    auto tap = [this](int x, int y) {
        PostMessageW(m_host.Window(), WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
        PostMessageW(m_host.Window(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    };
    tap(120, 20 + 2 * 30 + 10);
    EXPECT_EQ(m_list->FocusedItem(), 2);
    EXPECT_EQ(g_owner.tapItem, 2);
    EXPECT_EQ(g_owner.tap.y, 20 + 70);
    EXPECT_EQ(g_owner.checked[2], 0u);
    tap(10, 20 + 3 * 30 + 10); // on the check box
    EXPECT_EQ(g_owner.checked[3], kItemChecked);
    EXPECT_EQ(m_list->FocusedItem(), 3);
    tap(10, 20 + 3 * 30 + 10);
    EXPECT_EQ(g_owner.checked[3], 0u);
    // The check box child is a look, not a control of the screen.
    EXPECT_TRUE(m_list->Children().empty());
}

TEST_F(ListViewTest, GoldenReportRowsStripedAndPlain) {
    Open(kReportGrid);
    g_owner.images = 1;
    m_list->SetItemCount(30);
    m_list->SetFocusedItem(2);
    EXPECT_TRUE(m_list->Striped()); // the look's "Stripped" fill has a colour
    ExpectGolden("list-report-striped.png");
    m_list->SetStriped(false);
    ExpectGolden("list-report-plain.png");
}

TEST_F(ListViewTest, GoldenReportWithHeaderAndColumns) {
    Open("<grid itemRect='0,0,0,24' textRect='4,0,-4,0' headerHeight='20' marginX='3'/>");
    m_list->SetColumns({{-1, 0, u"Name"}, {70, 0, u"Phone"}});
    m_list->SetItemCount(8);
    ExpectGolden("list-report-columns.png");
}

TEST_F(ListViewTest, GoldenIconLayout) {
    Open("<grid mode='Icons' itemRect='0,0,60,60' imageRect='c,6,24,24' textRect='0,34,0,20'/>");
    g_owner.images = 1;
    EXPECT_FALSE(m_list->Striped());
    m_list->SetItemCount(11);
    EXPECT_EQ(m_list->ItemsPerRow(), 4);
    EXPECT_EQ(m_list->RowCount(), 3);
    m_list->SetFocusedItem(5);
    ExpectGolden("list-icons.png");
}

// A picture twice as wide as high: a red left half and a blue right half.
HBITMAP TwoColourPicture() {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, 40, 20);
    HGDIOBJ old = SelectObject(memory, picture);
    HBRUSH red = CreateSolidBrush(RGB(220, 30, 30));
    HBRUSH blue = CreateSolidBrush(RGB(30, 30, 220));
    RECT left{0, 0, 20, 20}, right{20, 0, 40, 20};
    FillRect(memory, &left, red);
    FillRect(memory, &right, blue);
    SelectObject(memory, old);
    DeleteObject(red);
    DeleteObject(blue);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

// Rows whose owner hands a picture show it fitted into the image area, aspect kept, in
// place of the icon; the others keep their icon.
TEST_F(ListViewTest, GoldenRowPicturesReplaceTheIcon) {
    Open("<grid mode='Icons' itemRect='0,0,60,60' imageRect='c,6,24,24' textRect='0,34,0,20'/>");
    g_owner.images = 1;
    g_owner.picture = TwoColourPicture();
    m_list->SetItemCount(6);
    ExpectGolden("list-pictures.png");
    DeleteObject(g_owner.picture);
    g_owner.picture = nullptr;
}

} // namespace
