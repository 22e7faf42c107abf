// The picture loader thread: it fills the rows shown, marks contacts without a picture,
// posts one repaint per picture, skips records the cache no longer holds, loads a dropped
// picture again, and stops cleanly, also in the middle of its rows.
#include "ContactDevice.h"

#include "../image/ImageFixtures.h"
#include "corlist/contacts/PictureLoader.h"

#include "ce/user.h"

#include <chrono>
#include <thread>

using namespace contacttest;
using common::ContactRecord;
using corlist::PictureLoader;

namespace {

constexpr UINT kRepaintMessage = WM_APP + 7;
std::vector<std::pair<WPARAM, LPARAM>> g_repaints;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRepaintMessage)
        g_repaints.emplace_back(wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

class PictureLoaderTest : public ContactDevice {
protected:
    void SetUp() override {
        ContactDevice::SetUp();
        g_repaints.clear();
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = OwnerProc;
        windowClass.lpszClassName = u"PictureLoaderOwner";
        RegisterClassW(&windowClass);
        m_owner = CreateWindowExW(0, u"PictureLoaderOwner", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(m_owner, nullptr);
    }
    void TearDown() override {
        DestroyWindow(m_owner);
        ContactDevice::TearDown();
    }

    ContactRecord* Contact(const std::string& name, bool picture) {
        ContactRecord* record = Record(AddContact("FIRST_NAME=" + name));
        if (record && picture) {
            imagetest::JpegSpec spec;
            if (!StorePicture(*record, imagetest::MakeJpeg(spec)))
                return nullptr;
            Pump(); // the store's change notification
        }
        return record;
    }
    // Pumps until the loader is idle and `repaints` messages arrived, at most 10 s.
    bool WaitFor(PictureLoader& loader, size_t repaints) {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            Pump();
            if (!loader.Busy() && g_repaints.size() >= repaints)
                return g_repaints.size() == repaints;
        }
        return false;
    }
    // The page: the owner window, and the rows of m_shown read under the list's lock.
    PictureLoader::Page Page() {
        return {m_owner, kRepaintMessage, [this] { return std::unique_lock(m_listLock); },
                [this](size_t row) { return row < m_shown.size() ? m_shown[row] : nullptr; }};
    }
    static corlist::Image* PictureOf(const ContactRecord& record) {
        return static_cast<corlist::Image*>(record.picture);
    }

    HWND m_owner = nullptr;
    std::mutex m_listLock;
    std::vector<ContactRecord*> m_shown;
};

TEST_F(PictureLoaderTest, FillsTheRowsShownAndStopsCleanly) {
    ContactRecord* amy = Contact("Amy", true);
    ContactRecord* ben = Contact("Ben", false);
    ContactRecord* cat = Contact("Cat", true);
    ASSERT_TRUE(amy && ben && cat);
    {
        PictureLoader loader(*m_core, Page(), SIZE{32, 32});
        ASSERT_TRUE(loader.Start());
        loader.ShowRows({{0, amy}, {1, ben}, {2, cat}});
        ASSERT_TRUE(WaitFor(loader, 2));
        EXPECT_EQ(g_repaints[0], std::make_pair(WPARAM(0), reinterpret_cast<LPARAM>(amy)));
        EXPECT_EQ(g_repaints[1], std::make_pair(WPARAM(2), reinterpret_cast<LPARAM>(cat)));
        ASSERT_NE(amy->picture, nullptr);
        ASSERT_NE(amy->picture, ContactRecord::NoPictureMark());
        EXPECT_EQ(PictureOf(*amy)->Bitmap().Width(), 32);
        EXPECT_EQ(PictureOf(*amy)->Bitmap().Height(), 24);
        EXPECT_EQ(ben->picture, ContactRecord::NoPictureMark());
        EXPECT_EQ(loader.PictureCount(), 2u);

        // Rows already filled are not loaded again.
        g_repaints.clear();
        loader.ShowRows({{5, amy}, {6, ben}});
        EXPECT_TRUE(WaitFor(loader, 0));

        // A dropped picture is freed, and comes back once the thread runs (it is stopped
        // here so that it cannot load it again before the check).
        loader.Stop();
        loader.DropPicture(*amy);
        EXPECT_EQ(amy->picture, nullptr);
        EXPECT_EQ(loader.PictureCount(), 1u);
        ASSERT_TRUE(loader.Start());
        ASSERT_TRUE(WaitFor(loader, 1));
        EXPECT_NE(amy->picture, nullptr);
        EXPECT_EQ(loader.PictureCount(), 2u);
        loader.Stop();
    }
    // The loader frees its pictures when it goes; the no-picture mark stays.
    EXPECT_EQ(amy->picture, nullptr);
    EXPECT_EQ(cat->picture, nullptr);
    EXPECT_EQ(ben->picture, ContactRecord::NoPictureMark());
}

TEST_F(PictureLoaderTest, ReadsARangeOfRowsThroughThePage) {
    ContactRecord* amy = Contact("Amy", true);
    ContactRecord* ben = Contact("Ben", true);
    ASSERT_TRUE(amy && ben);
    m_shown = {nullptr, amy, nullptr, ben};
    PictureLoader loader(*m_core, Page(), SIZE{32, 32});
    ASSERT_TRUE(loader.Start());
    // Rows past the list's end are no contacts.
    loader.ShowRange(1, 5);
    ASSERT_TRUE(WaitFor(loader, 2));
    EXPECT_EQ(g_repaints[0], std::make_pair(WPARAM(1), reinterpret_cast<LPARAM>(amy)));
    EXPECT_EQ(g_repaints[1], std::make_pair(WPARAM(3), reinterpret_cast<LPARAM>(ben)));
    EXPECT_NE(PictureOf(*ben), nullptr);
}

TEST_F(PictureLoaderTest, SkipsRecordsTheCacheNoLongerHolds) {
    ContactRecord* gone = Contact("Gone", true);
    ASSERT_NE(gone, nullptr);
    CEOID oid = gone->oid;
    Console("contact delete " + std::to_string(oid));
    Pump();
    ASSERT_EQ(m_core->FindContactByOid(oid), nullptr);
    PictureLoader loader(*m_core, Page(), SIZE{32, 32});
    ASSERT_TRUE(loader.Start());
    loader.ShowRows({{0, gone}});
    EXPECT_TRUE(WaitFor(loader, 0));
    EXPECT_EQ(gone->picture, nullptr);
}

TEST_F(PictureLoaderTest, DropPicturesClearsEverySlotAndTheRows) {
    ContactRecord* amy = Contact("Amy", true);
    ASSERT_NE(amy, nullptr);
    PictureLoader loader(*m_core, Page(), SIZE{16, 16});
    ASSERT_TRUE(loader.Start());
    loader.ShowRows({{0, amy}});
    ASSERT_TRUE(WaitFor(loader, 1));
    loader.DropPictures();
    EXPECT_EQ(amy->picture, nullptr);
    EXPECT_EQ(loader.PictureCount(), 0u);
    // The rows went with them: nothing is loaded until the page hands rows again.
    EXPECT_TRUE(WaitFor(loader, 1));
    EXPECT_EQ(amy->picture, nullptr);
}

TEST_F(PictureLoaderTest, StopsInTheMiddleOfManyRows) {
    std::vector<PictureLoader::Row> rows;
    for (int i = 0; i < 40; ++i) {
        ContactRecord* record = Contact("Many" + std::to_string(i), true);
        ASSERT_NE(record, nullptr);
        rows.push_back({size_t(i), record});
    }
    auto loader = std::make_unique<PictureLoader>(*m_core, Page(), SIZE{32, 32});
    ASSERT_TRUE(loader->Start());
    loader->ShowRows(rows);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    loader.reset();
    for (const PictureLoader::Row& row : rows)
        EXPECT_EQ(row.record->picture, nullptr);
}

} // namespace
