// The number index gives the backward scan's answer for every number: numbers in many
// written forms, short numbers, service codes, SIM entries sharing numbers with device
// contacts, and the cache changing between lookups.
#include "corvane/NumberIndex.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

using namespace corvane;
using common::ContactRecord;

namespace {

// Numbers from a few national numbers in many forms, so that many of them match.
std::u16string RandomNumber(std::mt19937& random) {
    static const char* const kNational[] = {"5550100", "5550101", "20 7946 0958", "800 555 1234",
                                            "112",     "999",     "7946",         "12345",
                                            "55",      "*100#",   "#31#555",      "1234"};
    static const char* const kPrefix[] = {"",       "0",        "+44 ",      "0044 ",
                                          "+1 ",    "1-",       "+7 ",       "+353 ",
                                          "(800) ", "1 (800) ", "+1 (212) ", "tel:"};
    std::string text = kPrefix[random() % std::size(kPrefix)];
    text += kNational[random() % std::size(kNational)];
    return std::u16string(text.begin(), text.end());
}

class NumberIndexTest : public ::testing::Test {
protected:
    void AddRecords(std::mt19937& random, int count) {
        for (int i = 0; i < count; ++i) {
            auto record = std::make_unique<ContactRecord>();
            if (random() % 4 == 0)
                record->item = ContactRecord::SimItemMark();
            common::PhoneKeyBlock block;
            int keys = record->IsSimEntry() ? 1 : int(random() % 4);
            for (int k = 0; k < keys; ++k)
                block.Append(common::PhoneKey(RandomNumber(random), BYTE(k)));
            record->phoneKeys = block.Take();
            m_order.push_back(record.get());
            m_records.push_back(std::move(record));
        }
    }
    void ExpectSameAsScan(std::mt19937& random, int queries) {
        for (int q = 0; q < queries; ++q) {
            std::u16string number = RandomNumber(random);
            common::PhoneKey key(number, 0);
            ContactRecord* scanned = NumberIndex::Scan(key, m_order);
            ASSERT_EQ(m_index.Find(key, m_order), scanned)
                << std::string(number.begin(), number.end());
        }
    }
    std::vector<std::unique_ptr<ContactRecord>> m_records;
    std::vector<ContactRecord*> m_order;
    NumberIndex m_index;
};

TEST_F(NumberIndexTest, FindsWhatTheBackwardScanFinds) {
    std::mt19937 random(1234);
    AddRecords(random, 400);
    ExpectSameAsScan(random, 3000);
}

TEST_F(NumberIndexTest, FollowsTheCacheAfterItChanged) {
    std::mt19937 random(99);
    AddRecords(random, 200);
    ExpectSameAsScan(random, 500);
    // Records leave and new ones come; the order changes.
    m_order.erase(m_order.begin() + 10, m_order.begin() + 60);
    std::reverse(m_order.begin(), m_order.end());
    AddRecords(random, 100);
    m_index.Invalidate();
    ExpectSameAsScan(random, 1500);
}

TEST_F(NumberIndexTest, DeviceContactsWinAndTheLastOneCounts) {
    std::mt19937 random(5);
    for (int i = 0; i < 4; ++i) {
        auto record = std::make_unique<ContactRecord>();
        if (i % 2 == 0)
            record->item = ContactRecord::SimItemMark();
        common::PhoneKeyBlock block;
        block.Append(common::PhoneKey(u"555 0100", 0));
        record->phoneKeys = block.Take();
        m_order.push_back(record.get());
        m_records.push_back(std::move(record));
    }
    common::PhoneKey key(u"+44 555 0100", 0);
    EXPECT_EQ(m_index.Find(key, m_order), m_order[3]);
    m_order.pop_back();
    m_order.pop_back();
    m_index.Invalidate();
    EXPECT_EQ(m_index.Find(key, m_order), m_order[1]);
    m_order.pop_back();
    m_index.Invalidate();
    EXPECT_EQ(m_index.Find(key, m_order), m_order[0]);
    EXPECT_TRUE(m_order[0]->IsSimEntry());
}

} // namespace
