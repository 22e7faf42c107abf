// The field table: its order (the exports depend on it), its lookups both ways and the
// value types of its tags.
#include "corlist/contacts/ContactFieldTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace corlist;

namespace {

TEST(ContactFieldTableTest, KeepsTheExportOrder) {
    struct Expected {
        size_t index;
        std::string_view name;
        CEPROPID tag;
    };
    static constexpr Expected kSamples[] = {
        {0, "OID", 0x10000066},
        {1, "FILEAS", 0x0080001F},
        {17, "EMAIL1_ADDRESS", 0x0090001F},
        {22, "IM3_ADDRESS", 0x0095001F},
        {33, "ASSISTANT_TELEPHONE_NUMBER", 0x00A1001F},
        {34, "SMS", 0x10A2001F},
        {40, "RINGTONE", 0x00A8001F},
        {44, "BUSINESS_ADDRESS_STREET", 0x00C1001F},
        {59, "BIRTHDAY", 0x00F00040},
        {61, "SMARTPROP", 0x00F80013},
        {62, "PICTURE", 0x00FF0064},
        {63, "YOMI_FILEAS", 0x0101001F},
        {64, "SIM_PHONE", 0x0003001F},
    };
    ASSERT_EQ(kContactFields.size(), 65u);
    for (const Expected& sample : kSamples) {
        EXPECT_EQ(kContactFields[sample.index].name, sample.name) << sample.index;
        EXPECT_EQ(kContactFields[sample.index].tag, sample.tag) << sample.name;
    }
    EXPECT_EQ(kContactFields.size() - kFirstExportedField, 64u);
}

TEST(ContactFieldTableTest, LooksEveryEntryUpByNameAndTag) {
    std::set<std::string_view> names;
    std::set<CEPROPID> tags;
    for (const ContactField& field : kContactFields) {
        EXPECT_EQ(FieldByName(field.name), &field);
        EXPECT_EQ(FieldByTag(field.tag), &field);
        names.insert(field.name);
        tags.insert(field.tag);
        WORD type = TypeOfTag(field.tag);
        EXPECT_TRUE(type == CEVT_LPWSTR || type == CEVT_FILETIME || type == CEVT_UI4 || type == CEVT_STREAM ||
                    type == CEVT_RECID)
            << field.name;
    }
    EXPECT_EQ(names.size(), kContactFields.size());
    EXPECT_EQ(tags.size(), kContactFields.size());
    EXPECT_EQ(FieldByName("fileas"), nullptr);
    EXPECT_EQ(FieldByName("CATEGORIES"), nullptr);
    EXPECT_EQ(FieldByTag(0x101D001F), nullptr);
    static_assert(FieldByName("PICTURE")->tag == 0x00FF0064);
}

} // namespace
