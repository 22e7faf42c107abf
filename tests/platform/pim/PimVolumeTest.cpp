// The PIM volume at boot: a damaged file or unreadable contact tables are set aside and
// the device starts with an empty store; a new volume may get the factory phone book.
#include "ce/pimstore.h"
#include "pim/ContactStore.h"
#include "pim/FactoryContacts.h"
#include "pim/PimVolume.h"
#include "support/TestDevice.h"

#include <sqlite3.h>

#include <fstream>
#include <iterator>

namespace {

using platform::ContactRecord;
using platform::ContactStore;
using platform::PimVolume;

class PimVolumeBoot : public testsupport::TestDevice {
protected:
    std::filesystem::path VolumeFile() { return m_options.folder / "data" / "pim.vol"; }
    CEOID AddContact(const char16_t* name) {
        ContactRecord record;
        record.values[PIMPR_FIRST_NAME] = std::u16string(name);
        std::string error;
        EXPECT_TRUE(ContactStore::Instance().Save(record, 0, error)) << error;
        return record.oid;
    }
    // Files beside the volume whose names begin "pim.vol.corrupt-".
    std::vector<std::filesystem::path> SetAside() {
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::directory_iterator(VolumeFile().parent_path()))
            if (entry.path().filename().string().rfind("pim.vol.corrupt-", 0) == 0 &&
                entry.path().filename().string().find("-wal") == std::string::npos &&
                entry.path().filename().string().find("-shm") == std::string::npos)
                found.push_back(entry.path());
        return found;
    }
    // Shuts down, lets `damage` change the closed file, boots again.
    void RebootAfter(const std::function<void()>& damage) {
        m_device->Shutdown();
        damage();
        m_device = std::make_unique<platform::Device>(m_options);
        std::string error;
        ASSERT_TRUE(m_device->Boot(error)) << error;
    }
};

TEST_F(PimVolumeBoot, AGarbageFileIsSetAsideAndTheStoreStartsEmpty) {
    AddContact(u"Lost");
    const std::string garbage(5000, '\x5A');
    RebootAfter([&] {
        std::filesystem::remove(VolumeFile().string() + "-wal");
        std::ofstream(VolumeFile(), std::ios::binary | std::ios::trunc) << garbage;
    });
    EXPECT_TRUE(ContactStore::Instance().Oids().empty());
    auto aside = SetAside();
    ASSERT_EQ(aside.size(), 1u);
    std::ifstream kept(aside[0], std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), garbage);
    // The new store works and is kept.
    CEOID oid = AddContact(u"New");
    Reboot();
    EXPECT_TRUE(ContactStore::Instance().Load(oid).has_value());
}

TEST_F(PimVolumeBoot, UnreadableContactTablesAreSetAside) {
    AddContact(u"Old");
    RebootAfter([&] {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(VolumeFile().c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "DROP TABLE contact_props; CREATE TABLE contact_props(x);",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    });
    EXPECT_EQ(SetAside().size(), 1u);
    EXPECT_TRUE(ContactStore::Instance().Oids().empty());
    EXPECT_NE(AddContact(u"Fresh"), 0u);
}

TEST_F(PimVolumeBoot, AHealthyVolumeIsKeptAcrossReboots) {
    CEOID oid = AddContact(u"Kept");
    Reboot();
    EXPECT_TRUE(SetAside().empty());
    auto record = ContactStore::Instance().Load(oid);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(*record->Text(PIMPR_FIRST_NAME), u"Kept");
    // Identifiers are never handed out twice, not even after a delete.
    std::string error;
    ASSERT_TRUE(ContactStore::Instance().Delete(oid, 0, error));
    EXPECT_GT(AddContact(u"Next"), oid);
}

class FactoryBook : public PimVolumeBoot {
protected:
    FactoryBook() { m_options.factoryContacts = true; }
};

TEST_F(FactoryBook, ANewDeviceGetsTheSamplePhoneBook) {
    auto oids = ContactStore::Instance().Oids();
    EXPECT_GE(oids.size(), 55u);
    size_t favourites = 0, pictures = 0, emailOnly = 0, facebook = 0, smart = 0;
    for (CEOID oid : oids) {
        auto record = ContactStore::Instance().Load(oid);
        ASSERT_TRUE(record.has_value());
        ASSERT_NE(record->Text(PIMPR_FILEAS), nullptr) << oid;
        if (auto* categories = record->Text(PIMPR_CATEGORIES); categories && categories->find(u"Favorites") != std::u16string::npos)
            ++favourites;
        if (auto found = record->values.find(PIMPR_PICTURE); found != record->values.end()) {
            auto& jpeg = std::get<std::vector<uint8_t>>(found->second);
            ASSERT_GE(jpeg.size(), 4u);
            EXPECT_EQ(jpeg[0], 0xFF);
            EXPECT_EQ(jpeg[1], 0xD8);
            ++pictures;
        }
        bool phone = false;
        for (CEPROPID tag : {PIMPR_MOBILE_TELEPHONE_NUMBER, PIMPR_HOME_TELEPHONE_NUMBER, PIMPR_BUSINESS_TELEPHONE_NUMBER})
            phone = phone || record->Text(tag);
        if (!phone && record->Text(PIMPR_EMAIL1_ADDRESS))
            ++emailOnly;
        if (auto* im = record->Text(PIMPR_IM1_ADDRESS); im && im->rfind(u"FacebookID:", 0) == 0)
            ++facebook;
        smart += record->values.count(PIMPR_SMARTPROP);
    }
    EXPECT_GE(favourites, 5u);
    EXPECT_GE(pictures, 5u);
    EXPECT_GE(emailOnly, 2u);
    EXPECT_GE(facebook, 2u);
    EXPECT_GE(smart, 3u);
    // A reboot keeps the book as it is rather than adding it again.
    Reboot();
    EXPECT_EQ(ContactStore::Instance().Oids(), oids);
}

} // namespace
