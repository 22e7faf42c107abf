// Walking the contacts folder item by item, as the main program's cache does at start: the
// items come from reads of many contacts at once, yet every item shows the store as it is
// when it is asked for.
#include "pim/ContactStore.h"
#include "platform/pim/PimTestSupport.h"

using pimtest::PimTest;
using platform::ContactRecord;
using platform::ContactStore;

namespace {

class ContactWalk : public PimTest {
protected:
    void SetUp() override {
        PimTest::SetUp();
        IFolder* folder = nullptr;
        ASSERT_EQ(m_app->GetDefaultFolder(olFolderContacts, &folder), S_OK);
        ASSERT_EQ(folder->get_Items(&m_items), S_OK);
        folder->Release();
    }
    void TearDown() override {
        if (m_items)
            m_items->Release();
        PimTest::TearDown();
    }
    // Contacts "Name0".."Name<n-1>" in that order; returns their OIDs.
    std::vector<CEOID> AddNamed(int n) {
        std::vector<CEOID> oids;
        for (int i = 0; i < n; ++i) {
            std::u16string name = u"Name" + std::u16string(1, char16_t(u'0' + i));
            IItem* item = NewContact({{PIMPR_FIRST_NAME, name.c_str()}});
            oids.push_back(CEOID(OidOf(item)));
            item->Release();
        }
        return oids;
    }
    // The first name of item `index`, "<none>" when Item fails, with its OID in `oid`.
    std::u16string NameAt(int index, CEOID* oid = nullptr) {
        IDispatch* dispatch = nullptr;
        if (m_items->Item(index, &dispatch) != S_OK)
            return u"<none>";
        IItem* item = nullptr;
        EXPECT_EQ(dispatch->QueryInterface(IID_IItem, reinterpret_cast<void**>(&item)), S_OK);
        dispatch->Release();
        std::u16string name = Text(item, PIMPR_FIRST_NAME);
        if (oid)
            *oid = CEOID(OidOf(item));
        item->Release();
        return name;
    }
    void Rename(CEOID oid, const char16_t* name) {
        auto record = ContactStore::Instance().Load(oid);
        ASSERT_TRUE(record.has_value());
        record->values[PIMPR_FIRST_NAME] = std::u16string(name);
        std::string error;
        ASSERT_TRUE(ContactStore::Instance().Save(*record, 0, error)) << error;
    }

    IPOutlookItemCollection* m_items = nullptr;
};

TEST_F(ContactWalk, ChangesMadeDuringAWalkShowInTheItemsStillToCome) {
    std::vector<CEOID> oids = AddNamed(6);
    EXPECT_EQ(NameAt(1), u"Name0");
    EXPECT_EQ(NameAt(2), u"Name1");
    Rename(oids[2], u"Renamed");
    EXPECT_EQ(NameAt(3), u"Renamed");
    std::string error;
    ASSERT_TRUE(ContactStore::Instance().Delete(oids[3], 0, error)) << error;
    CEOID oid = 0;
    EXPECT_EQ(NameAt(4, &oid), u"Name4"); // the indexes close up over the deleted one
    EXPECT_EQ(oid, oids[4]);
    Rename(oids[5], u"Last");
    EXPECT_EQ(NameAt(5), u"Last");
    EXPECT_EQ(NameAt(6), u"<none>");
}

TEST_F(ContactWalk, ItemsAskedForAgainOrOutOfOrderAreTheStoredOnes) {
    AddNamed(5);
    const std::pair<int, const char16_t*> walk[] = {
        {1, u"Name0"}, {2, u"Name1"}, {2, u"Name1"}, {4, u"Name3"},
        {3, u"Name2"}, {1, u"Name0"}, {5, u"Name4"}, {0, u"<none>"},
    };
    for (const auto& [index, name] : walk)
        EXPECT_EQ(NameAt(index), name) << index;
}

TEST_F(ContactWalk, AContactWithoutPropertiesIsWalkedToo) {
    std::vector<CEOID> named = AddNamed(1);
    std::vector<ContactRecord> empty(1);
    std::string error;
    ASSERT_TRUE(ContactStore::Instance().Insert(empty, error)) << error;
    AddNamed(1);
    CEOID oid = 0;
    EXPECT_EQ(NameAt(1), u"Name0");
    EXPECT_EQ(NameAt(2, &oid), u"<missing>");
    EXPECT_EQ(oid, empty[0].oid);
    EXPECT_EQ(NameAt(3), u"Name0");
}

TEST_F(ContactWalk, AReadOfManyContactsStopsAtAboutAMegabyteOfValues) {
    std::vector<ContactRecord> records(3);
    for (size_t i = 0; i < records.size(); ++i)
        records[i].values[PIMPR_PICTURE] = std::vector<uint8_t>(600 * 1024, uint8_t(i + 1));
    std::string error;
    ASSERT_TRUE(ContactStore::Instance().Insert(records, error)) << error;
    ContactStore& store = ContactStore::Instance();
    uint64_t generation = 0;
    std::vector<ContactRecord> read = store.LoadFrom(records[0].oid, 64, generation);
    EXPECT_EQ(generation, store.Generation());
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1].oid, records[1].oid);
    EXPECT_EQ(read[1].values, records[1].values);
    EXPECT_EQ(store.LoadFrom(records[0].oid, 1, generation).size(), 1u);
    // A single contact larger than the limit still comes.
    read = store.LoadFrom(records[2].oid, 64, generation);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].values, records[2].values);
    EXPECT_TRUE(store.LoadFrom(records[2].oid + 1, 64, generation).empty());
}

} // namespace
