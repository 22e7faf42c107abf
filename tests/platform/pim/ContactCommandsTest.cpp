// The contact console's refusals and its picture and import arguments, through
// Console::Execute (scenario files stop at the first error, so errors are checked here).
#include "ce/files.h"
#include "ce/kernel.h"
#include "console/Console.h"
#include "console/DeviceCommands.h"
#include "support/TestDevice.h"

namespace {

class ContactCommands : public testsupport::TestDevice {
protected:
    void SetUp() override {
        TestDevice::SetUp();
        platform::RegisterDeviceCommands(m_console);
    }
    std::vector<std::string> Answer(const std::string& line) { return m_console.Execute(line).lines; }
    std::string Status(const std::string& line) { return Answer(line).back(); }
    void WriteDeviceFile(const char16_t* path, const std::string& bytes) {
        HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr));
        CloseHandle(file);
    }
    platform::Console m_console;
};

TEST_F(ContactCommands, BadArgumentsAreRefusedAndChangeNothing) {
    ASSERT_EQ(Answer("contact add FIRST_NAME=Ann").front(), "oid 1");
    struct Case {
        const char* line;
        const char* status;
    };
    const Case cases[] = {
        {"contact add", "ERROR usage: contact add FIELD=VALUE ..."},
        {"contact add WORK=1", "ERROR unknown field WORK"},
        {"contact add OID=5", "ERROR unknown field OID"},
        {"contact add FIRST_NAME", "ERROR expected FIELD=VALUE: FIRST_NAME"},
        {"contact add BIRTHDAY=1980-02-30", "ERROR BIRTHDAY needs a date YYYY-MM-DD"},
        {"contact add SMARTPROP=mobile", "ERROR SMARTPROP needs a field name or a number"},
        {"contact add FIRST_NAME=", "ERROR no field given"},
        {"contact set 1 LAST_NAME=B BIRTHDAY=x", "ERROR BIRTHDAY needs a date YYYY-MM-DD"},
        {"contact set 2 LAST_NAME=B", "ERROR no contact 2"},
        {"contact set 0 LAST_NAME=B", "ERROR usage: contact set OID FIELD=VALUE ..."},
        {"contact delete 2", "ERROR contact 2 does not exist"},
        {"contact show x", "ERROR usage: contact show OID"},
        {"contact import \\none.vcf", "ERROR file not found: \\none.vcf"},
        {"contact add PICTURE=\\none.jpg", "ERROR file not found: \\none.jpg"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Status(c.line), c.status) << c.line;
    // The failed set left the contact as it was.
    auto shown = Answer("contact show 1");
    EXPECT_EQ(shown, (std::vector<std::string>{"FILEAS=Ann", "FIRST_NAME=Ann", "OK"}));
    EXPECT_EQ(Answer("contact list"), (std::vector<std::string>{"1 \"Ann\"", "OK"}));
}

TEST_F(ContactCommands, PicturesComeFromDeviceFilesAndMustBePictures) {
    WriteDeviceFile(u"\\My Documents\\face.jpg", std::string("\xFF\xD8\xFF\xE0 jpeg", 9));
    WriteDeviceFile(u"\\My Documents\\note.txt", "not a picture");
    EXPECT_EQ(Status("contact add FIRST_NAME=Ann PICTURE=\"\\My Documents\\note.txt\""),
              "ERROR not a JPEG or PNG picture: \\My Documents\\note.txt");
    ASSERT_EQ(Answer("contact add FIRST_NAME=Ann PICTURE=\"\\My Documents\\face.jpg\"").front(), "oid 1");
    EXPECT_EQ(Answer("contact show 1")[2], "PICTURE=\"<9 bytes>\"");
}

TEST_F(ContactCommands, ImportNamesEverySkippedCard) {
    WriteDeviceFile(u"\\book.vcf", "BEGIN:VCARD\nFN:One\nEND:VCARD\n"
                                   "BEGIN:VCARD\nNOTE:nobody\nEND:VCARD\n"
                                   "BEGIN:VCARD\nFN:Three\nBDAY:never\nEND:VCARD\n"
                                   "BEGIN:VCARD\nFN:Four\nTEL;CELL:+1 555 0100\nEND:VCARD\n");
    EXPECT_EQ(Answer("contact import \\book.vcf"),
              (std::vector<std::string>{"skipped card 2: no name, number or e-mail",
                                        "skipped card 3: BDAY: not a date: never",
                                        "imported 2, skipped 2", "OK"}));
    EXPECT_EQ(Answer("contact list"),
              (std::vector<std::string>{"1 \"One\"", "2 \"Four\" mobile=\"+1 555 0100\"", "OK"}));
}

} // namespace
