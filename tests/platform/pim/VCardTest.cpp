// vCard reading: 2.1 quoted-printable with soft breaks and charsets, 3.0 folding and
// escapes, 4.0 values, BOM and line ends, base64 photos, and broken cards skipped with
// their reason while the rest import.
#include "ce/pimstore.h"
#include "pim/VCardMapper.h"
#include "pim/VCardParser.h"

#include <gtest/gtest.h>

namespace {

using platform::ContactRecord;
using platform::VCardMapper;
using platform::VCardParser;

// The record of the only card in `text`; fails the test when it does not map.
ContactRecord MapOne(const std::string& text) {
    auto cards = VCardParser::Parse(text);
    EXPECT_EQ(cards.size(), 1u);
    ContactRecord record;
    std::string reason;
    if (!cards.empty()) {
        EXPECT_TRUE(VCardMapper::ToRecord(cards[0], record, reason)) << reason;
    }
    return record;
}

std::u16string TextOf(const ContactRecord& record, CEPROPID tag) {
    const std::u16string* text = record.Text(tag);
    return text ? *text : u"<missing>";
}

struct TextCase {
    const char* what;
    std::string vcard;
    CEPROPID tag;
    std::u16string expected;
};

const TextCase kTextCases[] = {
    TextCase{"2.1 quoted-printable with a soft break",
             "BEGIN:VCARD\r\nVERSION:2.1\r\nN;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:M=C3=BCller;J=C3=BC=\r\nrgen\r\nEND:VCARD\r\n",
             PIMPR_FIRST_NAME, u"Jürgen"},
    TextCase{"2.1 Latin-1 charset",
             "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:Lef=E8vre;Fran=E7ois\r\nEND:VCARD\r\n",
             PIMPR_LAST_NAME, u"Lefèvre"},
    TextCase{"3.0 folded line",
             "BEGIN:VCARD\nVERSION:3.0\nN:Smith;John;;;\nORG:Contoso\n  Ltd;Sales\nEND:VCARD\n",
             PIMPR_COMPANY_NAME, u"Contoso Ltd"},
    TextCase{"3.0 escapes", "BEGIN:VCARD\nVERSION:3.0\nN:O'Brien\\; Jr;Michael;;;\nEND:VCARD\n",
             PIMPR_LAST_NAME, u"O'Brien; Jr"},
    TextCase{"3.0 department after the company", "BEGIN:VCARD\nVERSION:3.0\nFN:X\nORG:Fabrikam;R\\, D\nEND:VCARD\n",
             PIMPR_DEPARTMENT, u"R, D"},
    TextCase{"UTF-8 BOM and CR line ends", "\xEF\xBB\xBF" "BEGIN:VCARD\rVERSION:3.0\rFN:Åsa Ekström\rEND:VCARD\r",
             PIMPR_FILEAS, u"Åsa Ekström"},
    TextCase{"file-as from the names", "BEGIN:VCARD\nVERSION:3.0\nFN:Ann Baker\nN:Baker;Ann;Mary;;\nEND:VCARD\n",
             PIMPR_FILEAS, u"Baker, Ann Mary"},
    TextCase{"3.0 type list", "BEGIN:VCARD\nVERSION:3.0\nFN:A\nTEL;TYPE=cell,work:+44 1\nTEL;TYPE=WORK:+44 2\nEND:VCARD\n",
             PIMPR_BUSINESS_TELEPHONE_NUMBER, u"+44 2"},
    TextCase{"2.1 bare types", "BEGIN:VCARD\nVERSION:2.1\nFN:A\nTEL;HOME;FAX:0201\nTEL;HOME:0202\nTEL;HOME:0203\nEND:VCARD\n",
             PIMPR_HOME2_TELEPHONE_NUMBER, u"0203"},
    TextCase{"fax kept apart", "BEGIN:VCARD\nVERSION:2.1\nFN:A\nTEL;WORK;FAX:0301\nEND:VCARD\n",
             PIMPR_BUSINESS_FAX_NUMBER, u"0301"},
    TextCase{"4.0 tel URI", "BEGIN:VCARD\nVERSION:4.0\nFN:A\nTEL;VALUE=uri;TYPE=\"voice,cell\":tel:+1-555-0100\nEND:VCARD\n",
             PIMPR_MOBILE_TELEPHONE_NUMBER, u"+1-555-0100"},
    TextCase{"third e-mail", "BEGIN:VCARD\nVERSION:3.0\nFN:A\nEMAIL:a@x\nEMAIL:b@x\nEMAIL:c@x\nEMAIL:d@x\nEND:VCARD\n",
             PIMPR_EMAIL3_ADDRESS, u"c@x"},
    TextCase{"work address city", "BEGIN:VCARD\nVERSION:3.0\nFN:A\nADR;TYPE=WORK:;;1 Main St;Springfield;IL;62701;USA\nEND:VCARD\n",
             PIMPR_BUSINESS_ADDRESS_CITY, u"Springfield"},
    TextCase{"untyped address", "BEGIN:VCARD\nVERSION:3.0\nFN:A\nADR:;;Kungsgatan 1;Stockholm;;111 43;Sweden\nEND:VCARD\n",
             PIMPR_OTHER_ADDRESS_COUNTRY, u"Sweden"},
    TextCase{"categories joined", "BEGIN:VCARD\nVERSION:3.0\nFN:A\nCATEGORIES:Friends,Favorites\nEND:VCARD\n",
             PIMPR_CATEGORIES, u"Friends, Favorites"},
    TextCase{"grouped property", "BEGIN:VCARD\nVERSION:3.0\nFN:A\nitem1.URL:https://example.org\nEND:VCARD\n",
             PIMPR_WEB_PAGE, u"https://example.org"},
    TextCase{"instant messaging", "BEGIN:VCARD\nVERSION:3.0\nFN:A\nX-JABBER:a@jabber.example\nEND:VCARD\n",
             PIMPR_IM1_ADDRESS, u"a@jabber.example"},
};

TEST(VCardMapping, TextValues) {
    for (const TextCase& c : kTextCases)
        EXPECT_EQ(TextOf(MapOne(c.vcard), c.tag), c.expected) << c.what;
}

TEST(VCardMapping, PreferredNumberBecomesTheDefault) {
    ContactRecord record = MapOne("BEGIN:VCARD\nVERSION:3.0\nFN:A\nTEL;TYPE=HOME:1\nTEL;TYPE=WORK,PREF:2\nEND:VCARD\n");
    ASSERT_TRUE(record.values.count(PIMPR_SMARTPROP));
    EXPECT_EQ(std::get<uint32_t>(record.values[PIMPR_SMARTPROP]), uint32_t(PIMPR_BUSINESS_TELEPHONE_NUMBER));
}

TEST(VCardMapping, BirthdayIsADate) {
    ContactRecord record = MapOne("BEGIN:VCARD\nVERSION:3.0\nFN:A\nBDAY:1980-04-15\nEND:VCARD\n");
    ASSERT_TRUE(record.values.count(PIMPR_BIRTHDAY));
    // 1980-04-15 is 138,531 days after 1601-01-01.
    EXPECT_EQ(std::get<uint64_t>(record.values[PIMPR_BIRTHDAY]), 138531ull * 86400 * 10000000);
}

TEST(VCardMapping, Base64PhotosWithContinuationLines) {
    // FF D8 FF E0 00 10 'J' 'F' 'I' 'F' 00 split over lines as 2.1 and 3.0 writers do.
    const std::vector<uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00};
    const std::string cards[] = {
        "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:A\r\nPHOTO;ENCODING=BASE64;TYPE=JPEG:/9j/4AAQ\r\nSkZJ\r\nRgA=\r\n\r\nEND:VCARD\r\n",
        "BEGIN:VCARD\nVERSION:3.0\nFN:A\nPHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQ\n SkZJRgA=\nEND:VCARD\n",
        "BEGIN:VCARD\nVERSION:4.0\nFN:A\nPHOTO:data:image/jpeg;base64,/9j/4AAQSkZJRgA=\nEND:VCARD\n",
    };
    for (const std::string& card : cards) {
        ContactRecord record = MapOne(card);
        ASSERT_TRUE(record.values.count(PIMPR_PICTURE)) << card;
        EXPECT_EQ(std::get<std::vector<uint8_t>>(record.values[PIMPR_PICTURE]), jpeg);
    }
}

TEST(VCardParsing, BrokenCardsAreSkippedWithTheirReason) {
    const std::string file =
        "BEGIN:VCARD\nVERSION:3.0\nFN:Good One\nTEL:1\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:2.1\nN;ENCODING=QUOTED-PRINTABLE:Bad=ZZ\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nFN:X\nPHOTO;ENCODING=b:!!!!\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nNOTE:nothing that reaches anyone\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nFN:No colon\njust text\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nFN:A\nBDAY:1980-02-30\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=NO-SUCH-SET:x\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nFN:Good Two\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nFN:Never ended\n";
    struct Expected {
        bool ok;
        const char* reason;
    };
    const Expected expected[] = {
        {true, ""},
        {false, "N: bad quoted-printable text"},
        {false, "PHOTO: bad base64 data"},
        {false, "no name, number or e-mail"},
        {false, "line without a property name"},
        {false, "BDAY: not a date: 1980-02-30"},
        {false, "N: unknown or mismatched charset NO-SUCH-SET"},
        {true, ""},
        {false, "END:VCARD missing"},
    };
    auto cards = VCardParser::Parse(file);
    ASSERT_EQ(cards.size(), std::size(expected));
    for (size_t i = 0; i < cards.size(); ++i) {
        EXPECT_EQ(cards[i].number, i + 1);
        ContactRecord record;
        std::string reason;
        bool ok = VCardMapper::ToRecord(cards[i], record, reason);
        EXPECT_EQ(ok, expected[i].ok) << "card " << i + 1 << ": " << reason;
        if (!expected[i].ok) {
            EXPECT_EQ(reason, expected[i].reason) << "card " << i + 1;
        }
    }
}

TEST(VCardParsing, TextOutsideCardsIsIgnored) {
    auto cards = VCardParser::Parse("garbage\n\nBEGIN:VCARD\nFN:A\nEND:VCARD\ntrailing: text\n");
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_TRUE(cards[0].error.empty());
}

} // namespace
