// Change notifications of the contacts folder: off until the folder asks for them, LOCAL
// codes for the logged-on process's own changes, REMOTE codes for the console's and other
// processes' changes, each with the OID in wParam and the folder in lParam.
#include "console/Console.h"
#include "console/DeviceCommands.h"
#include "platform/pim/PimTestSupport.h"
#include "platform/user/UserTestSupport.h"

#include "ce/objbase.h"

using pimtest::Notification;
using pimtest::PimTest;

namespace {

class PimNotify : public PimTest {
protected:
    void SetUp() override {
        PimTest::SetUp();
        platform::RegisterDeviceCommands(m_console);
    }
    std::vector<std::string> Answer(const std::string& line) { return m_console.Execute(line).lines; }
    // The OID the console's `contact add` answered with.
    CEOID ConsoleAdd(const std::string& fields) {
        auto lines = Answer("contact add " + fields);
        EXPECT_EQ(lines.back(), "OK");
        return CEOID(std::stoul(lines.front().substr(4)));
    }
    platform::Console m_console;
};

TEST_F(PimNotify, NothingArrivesUntilTheFolderAsksForIt) {
    IItem* item = NewContact({{PIMPR_FIRST_NAME, u"Ann"}});
    ConsoleAdd("FIRST_NAME=Bob");
    EXPECT_TRUE(TakeNotifications().empty());
    item->Release();
}

TEST_F(PimNotify, OwnChangesArriveAsLocalCodes) {
    EnableNotifications(PIMFOLDERNOTIFICATION_ALL);
    IItem* item = NewContact({{PIMPR_FIRST_NAME, u"Ann"}});
    auto oid = WPARAM(OidOf(item));
    CEPROPVAL value{};
    value.propid = PIMPR_LAST_NAME;
    value.val.lpwstr = const_cast<LPWSTR>(u"Baker");
    ASSERT_EQ(item->SetProps(0, 1, &value), S_OK);
    ASSERT_EQ(item->Save(), S_OK);
    ASSERT_EQ(item->Delete(), S_OK);
    std::vector<Notification> expected = {{PIM_ITEM_CREATED_LOCAL, oid, olFolderContacts},
                                          {PIM_ITEM_CHANGED_LOCAL, oid, olFolderContacts},
                                          {PIM_ITEM_DELETED_LOCAL, oid, olFolderContacts}};
    EXPECT_EQ(TakeNotifications(), expected);
    item->Release();
}

TEST_F(PimNotify, ConsoleChangesArriveAsRemoteCodes) {
    EnableNotifications(PIMFOLDERNOTIFICATION_ALL);
    CEOID oid = ConsoleAdd("FIRST_NAME=Ann MOBILE_TELEPHONE_NUMBER=+441234");
    EXPECT_EQ(Answer("contact set " + std::to_string(oid) + " MOBILE_TELEPHONE_NUMBER=").back(), "OK");
    EXPECT_EQ(Answer("contact delete " + std::to_string(oid)).back(), "OK");
    std::vector<Notification> expected = {{PIM_ITEM_CREATED_REMOTE, oid, olFolderContacts},
                                          {PIM_ITEM_CHANGED_REMOTE, oid, olFolderContacts},
                                          {PIM_ITEM_DELETED_REMOTE, oid, olFolderContacts}};
    EXPECT_EQ(TakeNotifications(), expected);
}

TEST_F(PimNotify, EachFlagSelectsItsKindOfChange) {
    struct Case {
        DWORD flags;
        size_t local, remote;
    };
    const Case cases[] = {{PIMFOLDERNOTIFICATION_LOCAL, 1, 0},
                          {PIMFOLDERNOTIFICATION_REMOTE, 0, 1},
                          {PIMFOLDERNOTIFICATION_ALL, 1, 1},
                          {0, 0, 0}};
    for (const Case& c : cases) {
        EnableNotifications(c.flags);
        IItem* item = NewContact({{PIMPR_FIRST_NAME, u"Local"}});
        ConsoleAdd("FIRST_NAME=Remote");
        size_t local = 0, remote = 0;
        for (const Notification& n : TakeNotifications())
            ++(n.message == PIM_ITEM_CREATED_LOCAL ? local : remote);
        EXPECT_EQ(local, c.local) << c.flags;
        EXPECT_EQ(remote, c.remote) << c.flags;
        item->Release();
    }
}

TEST_F(PimNotify, ChangesOfAnotherProcessArriveAsRemoteCodes) {
    EnableNotifications(PIMFOLDERNOTIFICATION_ALL);
    std::atomic<LONG> oid{0};
    auto worker = usertest::StartWorker([&oid]() -> DWORD {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        IPOutlookApp* app = nullptr;
        if (FAILED(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp,
                                    reinterpret_cast<void**>(&app))))
            return 1;
        app->Logon(nullptr);
        IDispatch* created = nullptr;
        IContact* contact = nullptr;
        app->CreateItem(olContactItem, &created);
        created->QueryInterface(IID_IContact, reinterpret_cast<void**>(&contact));
        contact->put_FirstName(u"Other");
        contact->Save();
        LONG id = 0;
        contact->get_Oid(&id);
        oid = id;
        contact->Release();
        created->Release();
        app->Logoff();
        app->Release();
        CoUninitialize();
        return 0;
    });
    ASSERT_TRUE(usertest::JoinThread(worker));
    ASSERT_NE(oid.load(), 0);
    std::vector<Notification> expected = {{PIM_ITEM_CREATED_REMOTE, WPARAM(oid.load()), olFolderContacts}};
    EXPECT_EQ(TakeNotifications(), expected);
}

TEST_F(PimNotify, TheFolderReportsItsSetting) {
    EnableNotifications(PIMFOLDERNOTIFICATION_REMOTE);
    IFolder* folder = nullptr;
    ASSERT_EQ(m_app->GetDefaultFolder(olFolderContacts, &folder), S_OK);
    IItem* folderItem = nullptr;
    ASSERT_EQ(folder->QueryInterface(IID_IItem, reinterpret_cast<void**>(&folderItem)), S_OK);
    CEPROPID tag = PIMPR_FOLDERNOTIFICATIONS;
    CEPROPVAL* buffer = nullptr;
    ULONG size = 0;
    ASSERT_EQ(folderItem->GetProps(&tag, CEDB_ALLOWREALLOC, 1, &buffer, &size, nullptr), S_OK);
    EXPECT_EQ(buffer->val.ulVal, ULONG(PIMFOLDERNOTIFICATION_REMOTE));
    LocalFree(buffer);
    CEPROPVAL other{};
    other.propid = PIMPR_FIRST_NAME;
    EXPECT_EQ(folderItem->SetProps(0, 1, &other), E_INVALIDARG);
    folderItem->Release();
    folder->Release();
}

} // namespace
