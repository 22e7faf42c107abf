#include "platform/pim/PimTestSupport.h"

#include "ce/objbase.h"

namespace pimtest {

namespace {

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

void PimTest::SetUp() {
    TestDevice::SetUp();
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = u"PimTestWnd";
    ASSERT_NE(RegisterClassW(&wc), 0);
    m_window = CreateWindowExW(0, u"PimTestWnd", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
    ASSERT_NE(m_window, nullptr);
    ASSERT_EQ(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp,
                               reinterpret_cast<void**>(&m_app)),
              S_OK);
    ASSERT_EQ(m_app->Logon(m_window), S_OK);
}

void PimTest::TearDown() {
    if (m_app) {
        m_app->Logoff();
        m_app->Release();
        m_app = nullptr;
    }
    CoUninitialize();
    TestDevice::TearDown();
}

IItem* PimTest::NewContact(std::initializer_list<std::pair<CEPROPID, const char16_t*>> texts) {
    IFolder* folder = nullptr;
    IPOutlookItemCollection* items = nullptr;
    IDispatch* created = nullptr;
    IItem* item = nullptr;
    EXPECT_EQ(m_app->GetDefaultFolder(olFolderContacts, &folder), S_OK);
    EXPECT_EQ(folder->get_Items(&items), S_OK);
    EXPECT_EQ(items->Add(&created), S_OK);
    EXPECT_EQ(created->QueryInterface(IID_IItem, reinterpret_cast<void**>(&item)), S_OK);
    std::vector<CEPROPVAL> values;
    for (const auto& [tag, text] : texts) {
        CEPROPVAL value{};
        value.propid = tag;
        value.val.lpwstr = const_cast<LPWSTR>(text);
        values.push_back(value);
    }
    EXPECT_EQ(item->SetProps(0, WORD(values.size()), values.data()), S_OK);
    EXPECT_EQ(item->Save(), S_OK);
    created->Release();
    items->Release();
    folder->Release();
    return item;
}

IItem* PimTest::Fetch(CEOID oid) {
    IDispatch* found = nullptr;
    if (FAILED(m_app->GetItemFromOid(oid, &found)))
        return nullptr;
    IItem* item = nullptr;
    found->QueryInterface(IID_IItem, reinterpret_cast<void**>(&item));
    found->Release();
    return item;
}

LONG PimTest::OidOf(IItem* item) {
    LONG oid = 0;
    EXPECT_EQ(item->get_Oid(&oid), S_OK);
    return oid;
}

std::u16string PimTest::Text(IItem* item, CEPROPID tag) {
    CEPROPVAL* buffer = nullptr;
    ULONG size = 0;
    HANDLE heap = GetProcessHeap();
    EXPECT_EQ(item->GetProps(&tag, CEDB_ALLOWREALLOC, 1, &buffer, &size, heap), S_OK);
    std::u16string text = (buffer->wFlags & CEDB_PROPNOTFOUND) ? u"<missing>" : buffer->val.lpwstr;
    HeapFree(heap, 0, buffer);
    return text;
}

void PimTest::EnableNotifications(DWORD flags) {
    IFolder* folder = nullptr;
    ASSERT_EQ(m_app->GetDefaultFolder(olFolderContacts, &folder), S_OK);
    IItem* folderItem = nullptr;
    ASSERT_EQ(folder->QueryInterface(IID_IItem, reinterpret_cast<void**>(&folderItem)), S_OK);
    CEPROPVAL value{};
    value.propid = PIMPR_FOLDERNOTIFICATIONS;
    value.val.ulVal = flags;
    EXPECT_EQ(folderItem->SetProps(0, 1, &value), S_OK);
    folderItem->Release();
    folder->Release();
}

std::vector<Notification> PimTest::TakeNotifications() {
    std::vector<Notification> seen;
    MSG msg;
    while (PeekMessageW(&msg, m_window, PIM_ITEM_CREATED_LOCAL, PIM_ITEM_CHANGED_REMOTE, PM_REMOVE))
        seen.push_back(Notification{msg.message, msg.wParam, msg.lParam});
    return seen;
}

} // namespace pimtest
