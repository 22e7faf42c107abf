// Contact items through the object model: GetProps and SetProps by tag, Save, Delete and
// identifiers, categories, the picture stream, beaming, and the store across a reboot.
#include "pim/BeamLog.h"
#include "platform/pim/PimTestSupport.h"

#include <cstring>

using pimtest::PimTest;

namespace {

using PoomItem = PimTest;

TEST_F(PoomItem, GetPropsGrowsTheHeapBufferAndMarksMissingProperties) {
    IItem* item = NewContact({{PIMPR_FIRST_NAME, u"Ann"},
                              {PIMPR_LAST_NAME, u"O'Connor"},
                              {PIMPR_MOBILE_TELEPHONE_NUMBER, u"+44 7700 900123"}});
    const CEPROPID tags[] = {PIMPR_OID, PIMPR_FIRST_NAME, PIMPR_EMAIL1_ADDRESS, PIMPR_LAST_NAME,
                             PIMPR_SMARTPROP, PIMPR_MOBILE_TELEPHONE_NUMBER};
    HANDLE heap = GetProcessHeap();
    auto* buffer = static_cast<CEPROPVAL*>(HeapAlloc(heap, 0, 8));
    ULONG size = 8;
    ASSERT_EQ(item->GetProps(tags, CEDB_ALLOWREALLOC, 6, &buffer, &size, heap), S_OK);
    EXPECT_GE(size, 6 * sizeof(CEPROPVAL));
    EXPECT_EQ(HeapSize(heap, 0, buffer), size);
    EXPECT_EQ(buffer[0].val.ulVal, ULONG(OidOf(item)));
    EXPECT_EQ(std::u16string(buffer[1].val.lpwstr), u"Ann");
    EXPECT_TRUE(buffer[2].wFlags & CEDB_PROPNOTFOUND);
    EXPECT_EQ(std::u16string(buffer[3].val.lpwstr), u"O'Connor");
    EXPECT_TRUE(buffer[4].wFlags & CEDB_PROPNOTFOUND);
    EXPECT_EQ(std::u16string(buffer[5].val.lpwstr), u"+44 7700 900123");
    for (int i : {0, 1, 3, 5})
        EXPECT_FALSE(buffer[i].wFlags & CEDB_PROPNOTFOUND) << i;
    // Every text lies inside the block the caller got.
    auto* begin = reinterpret_cast<char*>(buffer);
    for (int i : {1, 3, 5}) {
        auto* text = reinterpret_cast<char*>(buffer[i].val.lpwstr);
        EXPECT_GE(text, begin + 6 * sizeof(CEPROPVAL));
        EXPECT_LE(text + (std::char_traits<char16_t>::length(buffer[i].val.lpwstr) + 1) * 2, begin + size);
    }
    HeapFree(heap, 0, buffer);
    item->Release();
}

TEST_F(PoomItem, GetPropsWithoutTheFlagReportsTheSizeItNeeds) {
    IItem* item = NewContact({{PIMPR_FIRST_NAME, u"Björn"}, {PIMPR_NICKNAME, u"Bear"}});
    const CEPROPID tags[] = {PIMPR_FIRST_NAME, PIMPR_NICKNAME, PIMPR_COMPANY_NAME};
    CEPROPVAL* none = nullptr;
    ULONG size = 0;
    EXPECT_EQ(item->GetProps(tags, 0, 3, &none, &size, nullptr),
              HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));
    ULONG needed = 3 * sizeof(CEPROPVAL) + sizeof(u"Björn") + sizeof(u"Bear");
    EXPECT_EQ(size, needed);
    std::vector<uint64_t> storage(needed / 8 + 1);
    auto* buffer = reinterpret_cast<CEPROPVAL*>(storage.data());
    size = needed - 1;
    EXPECT_EQ(item->GetProps(tags, 0, 3, &buffer, &size, nullptr),
              HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));
    size = needed;
    ASSERT_EQ(item->GetProps(tags, 0, 3, &buffer, &size, nullptr), S_OK);
    EXPECT_EQ(buffer, reinterpret_cast<CEPROPVAL*>(storage.data()));
    EXPECT_EQ(std::u16string(buffer[0].val.lpwstr), u"Björn");
    EXPECT_EQ(std::u16string(buffer[1].val.lpwstr), u"Bear");
    EXPECT_TRUE(buffer[2].wFlags & CEDB_PROPNOTFOUND);
    item->Release();
}

TEST_F(PoomItem, GetPropsWithANullHeapAllocatesWithLocalAlloc) {
    IItem* item = NewContact({{PIMPR_FILEAS, u"Dubois, Amélie"}});
    CEPROPID tag = PIMPR_FILEAS;
    CEPROPVAL* buffer = nullptr;
    ULONG size = 0;
    ASSERT_EQ(item->GetProps(&tag, CEDB_ALLOWREALLOC, 1, &buffer, &size, nullptr), S_OK);
    EXPECT_EQ(std::u16string(buffer->val.lpwstr), u"Dubois, Amélie");
    LocalFree(buffer);
    item->Release();
}

TEST_F(PoomItem, SetPropsDeleteFlagRemovesAndSaveKeepsIt) {
    IItem* item = NewContact({{PIMPR_FIRST_NAME, u"José"}, {PIMPR_RINGTONE, u"\\Windows\\Ring.wav"}});
    LONG oid = OidOf(item);
    CEPROPVAL values[2] = {};
    values[0].propid = PIMPR_RINGTONE;
    values[0].wFlags = CEDB_PROPDELETE;
    values[1].propid = PIMPR_SMARTPROP;
    values[1].val.ulVal = PIMPR_MOBILE_TELEPHONE_NUMBER;
    ASSERT_EQ(item->SetProps(0, 2, values), S_OK);
    ASSERT_EQ(item->Save(), S_OK);
    item->Release();
    IItem* again = Fetch(CEOID(oid));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Text(again, PIMPR_RINGTONE), u"<missing>");
    EXPECT_EQ(Text(again, PIMPR_FIRST_NAME), u"José");
    CEPROPID tag = PIMPR_SMARTPROP;
    CEPROPVAL* buffer = nullptr;
    ULONG size = 0;
    ASSERT_EQ(again->GetProps(&tag, CEDB_ALLOWREALLOC, 1, &buffer, &size, nullptr), S_OK);
    EXPECT_EQ(buffer->val.ulVal, ULONG(PIMPR_MOBILE_TELEPHONE_NUMBER));
    LocalFree(buffer);
    again->Release();
}

TEST_F(PoomItem, SetPropsWithOneBadValueChangesNothing) {
    IItem* item = NewContact({{PIMPR_FIRST_NAME, u"Luca"}});
    struct Case {
        const char* what;
        CEPROPID tag;
        bool nullText;
    };
    const Case cases[] = {
        {"the identifier", PIMPR_OID, false},
        {"an unknown tag", 0x7777001F, false},
        {"a null text", PIMPR_NICKNAME, true},
    };
    for (const Case& c : cases) {
        CEPROPVAL values[2] = {};
        values[0].propid = PIMPR_FIRST_NAME;
        values[0].val.lpwstr = const_cast<LPWSTR>(u"Changed");
        values[1].propid = c.tag;
        values[1].val.lpwstr = c.nullText ? nullptr : const_cast<LPWSTR>(u"x");
        EXPECT_EQ(item->SetProps(0, 2, values), E_INVALIDARG) << c.what;
        EXPECT_EQ(Text(item, PIMPR_FIRST_NAME), u"Luca") << c.what;
    }
    item->Release();
}

TEST_F(PoomItem, SaveGivesANewContactItsOidAndDeleteRemovesIt) {
    IFolder* folder = nullptr;
    IPOutlookItemCollection* items = nullptr;
    ASSERT_EQ(m_app->GetDefaultFolder(olFolderContacts, &folder), S_OK);
    ASSERT_EQ(folder->get_Items(&items), S_OK);
    IDispatch* created = nullptr;
    ASSERT_EQ(items->Add(&created), S_OK);
    IContact* contact = nullptr;
    ASSERT_EQ(created->QueryInterface(IID_IContact, reinterpret_cast<void**>(&contact)), S_OK);
    LONG oid = -1;
    EXPECT_EQ(contact->get_Oid(&oid), S_OK);
    EXPECT_EQ(oid, 0);
    ASSERT_EQ(contact->put_FirstName(u"Nora"), S_OK);
    ASSERT_EQ(contact->Save(), S_OK);
    ASSERT_EQ(contact->get_Oid(&oid), S_OK);
    EXPECT_NE(oid, 0);
    int count = 0;
    ASSERT_EQ(items->get_Count(&count), S_OK);
    EXPECT_EQ(count, 1);
    IDispatch* first = nullptr;
    ASSERT_EQ(items->Item(1, &first), S_OK);
    IItem* firstItem = nullptr;
    ASSERT_EQ(first->QueryInterface(IID_IItem, reinterpret_cast<void**>(&firstItem)), S_OK);
    EXPECT_EQ(OidOf(firstItem), oid);
    EXPECT_EQ(Text(firstItem, PIMPR_FILEAS), u"Nora"); // derived from the names at Save
    IDispatch* beyond = nullptr;
    EXPECT_EQ(items->Item(2, &beyond), E_INVALIDARG);
    EXPECT_EQ(beyond, nullptr);
    ASSERT_EQ(contact->Delete(), S_OK);
    EXPECT_EQ(contact->Save(), E_FAIL); // a deleted item stays deleted
    ASSERT_EQ(items->get_Count(&count), S_OK);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(Fetch(CEOID(oid)), nullptr);
    // An item of a contact deleted elsewhere cannot bring it back by saving.
    EXPECT_EQ(firstItem->Save(), E_FAIL);
    firstItem->Release();
    first->Release();
    contact->Release();
    created->Release();
    items->Release();
    folder->Release();
}

TEST_F(PoomItem, CategoriesAreOneCommaSeparatedString) {
    IItem* item = NewContact({{PIMPR_FIRST_NAME, u"Emma"}});
    EXPECT_EQ(item->AddCategory(u"Family"), S_OK);
    EXPECT_EQ(item->AddCategory(u"Favorites"), S_OK);
    EXPECT_EQ(item->AddCategory(u"Favorites"), S_OK); // once only
    EXPECT_EQ(item->AddCategory(u"A, B"), E_INVALIDARG);
    EXPECT_EQ(item->AddCategory(u""), E_INVALIDARG);
    ASSERT_EQ(item->Save(), S_OK);
    IItem* saved = Fetch(CEOID(OidOf(item)));
    EXPECT_EQ(Text(saved, PIMPR_CATEGORIES), u"Family, Favorites");
    EXPECT_EQ(saved->RemoveCategory(u"Family"), S_OK);
    EXPECT_EQ(saved->RemoveCategory(u"Fav"), S_FALSE); // whole names only
    EXPECT_EQ(Text(saved, PIMPR_CATEGORIES), u"Favorites");
    EXPECT_EQ(saved->RemoveCategory(u"Favorites"), S_OK);
    EXPECT_EQ(Text(saved, PIMPR_CATEGORIES), u"<missing>");
    saved->Release();
    item->Release();
}

// Writes `bytes` through a write stream and commits.
void WritePicture(IItem* item, const std::vector<uint8_t>& bytes) {
    IStream* stream = nullptr;
    ASSERT_EQ(item->OpenProperty(PIMPR_PICTURE, GENERIC_WRITE, &stream), S_OK);
    ULONG written = 0;
    ASSERT_EQ(stream->Write(bytes.data(), ULONG(bytes.size()), &written), S_OK);
    EXPECT_EQ(written, bytes.size());
    ASSERT_EQ(stream->Commit(0), S_OK);
    stream->Release();
}

std::vector<uint8_t> ReadPicture(IItem* item) {
    IStream* stream = nullptr;
    EXPECT_EQ(item->OpenProperty(PIMPR_PICTURE, GENERIC_READ, &stream), S_OK);
    ULARGE_INTEGER end{};
    LARGE_INTEGER zero{};
    EXPECT_EQ(stream->Seek(zero, STREAM_SEEK_END, &end), S_OK);
    std::vector<uint8_t> bytes(size_t(end.QuadPart));
    EXPECT_EQ(stream->Seek(zero, STREAM_SEEK_SET, nullptr), S_OK);
    ULONG read = 0;
    if (!bytes.empty()) {
        EXPECT_EQ(stream->Read(bytes.data(), ULONG(bytes.size()), &read), S_OK);
    }
    EXPECT_EQ(read, bytes.size());
    uint8_t byte = 0;
    EXPECT_EQ(stream->Write(&byte, 1, nullptr), HRESULT(0x80030005)); // read only
    stream->Release();
    return bytes;
}

TEST_F(PoomItem, PictureStreamReadsWritesSeeksAndResizes) {
    IItem* item = NewContact({{PIMPR_FIRST_NAME, u"Priya"}});
    EXPECT_TRUE(ReadPicture(item).empty()); // no picture: an empty stream
    std::vector<uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3, 4, 5, 6, 7, 8};
    WritePicture(item, jpeg);
    IStream* stream = nullptr;
    ASSERT_EQ(item->OpenProperty(PIMPR_PICTURE, GENERIC_READ | GENERIC_WRITE, &stream), S_OK);
    LARGE_INTEGER move{};
    move.QuadPart = -4;
    ULARGE_INTEGER position{};
    ASSERT_EQ(stream->Seek(move, STREAM_SEEK_END, &position), S_OK);
    EXPECT_EQ(position.QuadPart, 8u);
    uint8_t four[4] = {};
    ULONG read = 0;
    EXPECT_EQ(stream->Read(four, 4, &read), S_OK);
    EXPECT_EQ(four[0], 5);
    EXPECT_EQ(stream->Read(four, 4, &read), S_FALSE);
    EXPECT_EQ(read, 0u);
    move.QuadPart = -20;
    EXPECT_NE(stream->Seek(move, STREAM_SEEK_CUR, nullptr), S_OK);
    ULARGE_INTEGER size{};
    size.QuadPart = 6;
    ASSERT_EQ(stream->SetSize(size), S_OK);
    ASSERT_EQ(stream->Commit(0), S_OK);
    stream->Release();
    ASSERT_EQ(item->Save(), S_OK);
    IItem* saved = Fetch(CEOID(OidOf(item)));
    EXPECT_EQ(ReadPicture(saved), std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + 6));
    saved->Release();
    item->Release();
}

TEST_F(PoomItem, ContactsSurviveAReboot) {
    IItem* item = NewContact({{PIMPR_FIRST_NAME, u"Zoë"}, {PIMPR_LAST_NAME, u"Müller-Lüdenscheidt"}});
    WritePicture(item, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 9});
    ASSERT_EQ(item->Save(), S_OK);
    LONG oid = OidOf(item);
    item->Release();
    m_app->Logoff();
    m_app->Release();
    m_app = nullptr;
    Reboot();
    ASSERT_EQ(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp,
                               reinterpret_cast<void**>(&m_app)),
              S_OK);
    ASSERT_EQ(m_app->Logon(nullptr), S_OK);
    IItem* again = Fetch(CEOID(oid));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Text(again, PIMPR_FILEAS), u"Müller-Lüdenscheidt, Zoë");
    EXPECT_EQ(ReadPicture(again).size(), 9u);
    again->Release();
}

TEST_F(PoomItem, BeamingThroughTheInfraredFolderIsRecorded) {
    IItem* item = NewContact({{PIMPR_FIRST_NAME, u"Liam"}, {PIMPR_LAST_NAME, u"MacDonald"}});
    IFolder* infrared = nullptr;
    ASSERT_EQ(m_app->GetDefaultFolder(olFolderInfrared, &infrared), S_OK);
    EXPECT_EQ(infrared->SendToInfrared(), E_FAIL); // nothing added yet
    ASSERT_EQ(infrared->AddItemToInfraredFolder(olContactItem, item), S_OK);
    ASSERT_EQ(infrared->SendToInfrared(), S_OK);
    auto beamed = platform::BeamLog::Instance().Drain();
    ASSERT_EQ(beamed.size(), 1u);
    EXPECT_EQ(beamed[0].oid, CEOID(OidOf(item)));
    EXPECT_EQ(beamed[0].name, u"MacDonald, Liam");
    EXPECT_EQ(infrared->AddItemToInfraredFolder(olAppointmentItem, item), E_INVALIDARG);
    infrared->Release();
    item->Release();
}

TEST_F(PoomItem, FoldersNeedALogon) {
    IFolder* folder = nullptr;
    ASSERT_EQ(m_app->Logoff(), S_OK);
    EXPECT_EQ(m_app->GetDefaultFolder(olFolderContacts, &folder), E_FAIL);
    IDispatch* item = nullptr;
    EXPECT_EQ(m_app->GetItemFromOid(1, &item), E_FAIL);
    ASSERT_EQ(m_app->Logon(m_window), S_OK);
    EXPECT_EQ(m_app->GetDefaultFolder(olFolderCalendar, &folder), E_INVALIDARG);
    EXPECT_EQ(m_app->GetItemFromOid(12345, &item), E_INVALIDARG);
}

} // namespace
