// Streams, the XML reader and the profile file over real device files. Enabled once the
// platform's file API is linked in (rename to FileStreamTest.cpp).
#include "common/FileStream.h"
#include "common/ProfileFile.h"
#include "common/ProfileWriter.h"
#include "common/Stream.h"
#include "common/TraceSink.h"
#include "common/XmlReader.h"

#include "ce/files.h"
#include "ce/kernel.h"
#include "support/TestDevice.h"

#include <string>
#include <vector>

using namespace common;
using testsupport::TestDevice;

namespace {

class CommonFiles : public TestDevice {
protected:
    static void WriteBytes(LPCWSTR path, const std::string& bytes) {
        Stream* stream = nullptr;
        ASSERT_EQ(OpenStream(path, false, &stream), 0);
        EXPECT_EQ(stream->Write(bytes.data(), LONG(bytes.size())), LONG(bytes.size()));
        stream->Release();
    }

    static std::string ReadBytes(LPCWSTR path) {
        Stream* stream = nullptr;
        if (OpenStream(path, true, &stream) != 0)
            return "<missing>";
        std::string bytes(size_t(stream->Size()), '\0');
        stream->Read(bytes.data(), LONG(bytes.size()));
        stream->Release();
        return bytes;
    }
};

TEST_F(CommonFiles, FileStreamReadsWritesAndSeeksThroughTheFileApi) {
    Stream* stream = nullptr;
    EXPECT_EQ(OpenStream(u"\\missing.bin", true, &stream), -1);
    EXPECT_EQ(stream, nullptr);

    WriteBytes(u"\\stream.bin", "0123456789");
    ASSERT_EQ(OpenStream(u"\\stream.bin", true, &stream), 0);
    EXPECT_EQ(stream->Size(), 10);
    EXPECT_EQ(stream->Seek(3, kSeekBegin), 3);
    char buffer[16] = {};
    EXPECT_EQ(stream->Read(buffer, 16), 7);
    EXPECT_STREQ(buffer, "3456789");
    EXPECT_TRUE(stream->AtEnd());
    EXPECT_EQ(stream->Read(buffer, -1), 0);
    EXPECT_EQ(stream->Write("x", 1), 0); // read-only
    stream->Release();
}

TEST_F(CommonFiles, UrlsDoNotOpenUntilTheHttpClientExists) {
    Stream* stream = nullptr;
    for (const char16_t* path : {u"http://example.org/a.png", u"HTTP://EXAMPLE.ORG/a.png",
                                 u"https://example.org/a.png"})
        EXPECT_EQ(OpenStream(path, true, &stream), -1);
    EXPECT_EQ(OpenBufferedStream(u"http://example.org/a.png", 0, 0, false, &stream), -1);
}

TEST_F(CommonFiles, BufferedFileStreamReadsWhatTheFileHolds) {
    std::string bytes;
    for (int i = 0; i < 100000; ++i)
        bytes += char('a' + i % 26);
    WriteBytes(u"\\big.bin", bytes);
    for (LONG bufferSize : {0, 1, 32768}) {
        Stream* stream = nullptr;
        ASSERT_EQ(OpenBufferedStream(u"\\big.bin", bufferSize, 0, true, &stream), 0);
        std::string read(bytes.size(), '\0');
        LONG done = 0;
        while (LONG n = stream->Read(read.data() + done, 777))
            done += n;
        EXPECT_EQ(read, bytes) << bufferSize;
        EXPECT_EQ(stream->Seek(10, kSeekBegin), 10);
        char c = 0;
        EXPECT_EQ(stream->Read(&c, 1), 1);
        EXPECT_EQ(c, 'k');
        stream->Release();
    }
}

std::vector<std::string> g_lines;

TEST_F(CommonFiles, XmlReaderLoadsFilesAndTracesThePath) {
    WriteBytes(u"\\skin.xml", "<skin><a/></skin>");
    struct Reader : XmlReader {
        XmlNode* OnEvent(XmlNode*, XmlEvent, const char*, const char*) override { return nullptr; }
    } reader;
    g_lines.clear();
    TraceSinkFunction previous = SetTraceSink([](const char* line) { g_lines.emplace_back(line); });
    EXPECT_TRUE(reader.LoadFile(u"\\skin.xml"));
    EXPECT_FALSE(reader.LoadFile(u"\\none.xml"));
    SetTraceSink(previous);
    EXPECT_EQ(g_lines, std::vector<std::string>{"Load \"\\skin.xml\"\n"});
}

TEST_F(CommonFiles, ProfileFileIsReplacedOnlyWhenTheNewOneIsComplete) {
    ProfileRecord base;
    base.name = u"Custom";
    base.initialRingLevel = -1;
    ProfileRecord night;
    night.name = u"Night";
    night.dayMask = kAllDays;
    night.start = 79200;
    night.end = 111600;
    ASSERT_TRUE(WriteProfileFile(u"\\CustomProfile.xml", base, {night}));
    ASSERT_TRUE(WriteProfileFile(u"\\CustomProfile.xml", base, {night, night}));
    EXPECT_EQ(ReadBytes(u"\\CustomProfile.xml"), FormatProfileFile(base, {night, night}));
    EXPECT_EQ(GetFileAttributesW(u"\\CustomProfile.xml.new"), INVALID_FILE_ATTRIBUTES);

    ProfileSet read;
    ASSERT_TRUE(ReadProfileFile(u"\\CustomProfile.xml", read));
    EXPECT_EQ(read.base, base);
    EXPECT_EQ(read.scheduled.size(), 2u);

    // The temporary file cannot be created: the write fails and the old file stays.
    ASSERT_TRUE(CreateDirectoryW(u"\\CustomProfile.xml.new", nullptr));
    EXPECT_FALSE(WriteProfileFile(u"\\CustomProfile.xml", base, {}));
    EXPECT_EQ(ReadBytes(u"\\CustomProfile.xml"), FormatProfileFile(base, {night, night}));

    EXPECT_FALSE(ReadProfileFile(u"\\NoSuchProfile.xml", read));
    EXPECT_FALSE(read.base);
    ASSERT_TRUE(RemoveDirectoryW(u"\\CustomProfile.xml.new"));

    // The file cannot be replaced (it is read-only): the old file is never deleted, and the
    // temporary one does not stay behind.
    ASSERT_TRUE(SetFileAttributesW(u"\\CustomProfile.xml", FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(WriteProfileFile(u"\\CustomProfile.xml", base, {}));
    EXPECT_EQ(ReadBytes(u"\\CustomProfile.xml"), FormatProfileFile(base, {night, night}));
    EXPECT_EQ(GetFileAttributesW(u"\\CustomProfile.xml.new"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CommonFiles, ALeftoverNewProfileFileIsTakenWhenTheFileIsMissing) {
    ProfileRecord base;
    base.name = u"Stopped";
    ProfileSet read;
    // A writer stopped between its write and its rename: only "<name>.new" exists.
    ASSERT_TRUE(WriteProfileFile(u"\\CustomProfile.xml", base, {}));
    ASSERT_TRUE(MoveFileW(u"\\CustomProfile.xml", u"\\CustomProfile.xml.new"));
    ASSERT_TRUE(ReadProfileFile(u"\\CustomProfile.xml", read));
    EXPECT_EQ(read.base->name, u"Stopped");
    EXPECT_EQ(ReadBytes(u"\\CustomProfile.xml"), FormatProfileFile(base, {}));
    EXPECT_EQ(GetFileAttributesW(u"\\CustomProfile.xml.new"), INVALID_FILE_ATTRIBUTES);

    // A leftover beside an existing file is not taken: the file itself is what holds.
    ProfileRecord other;
    other.name = u"Other";
    ASSERT_TRUE(WriteProfileFile(u"\\Other.xml", other, {}));
    ASSERT_TRUE(MoveFileW(u"\\Other.xml", u"\\CustomProfile.xml.new"));
    ASSERT_TRUE(ReadProfileFile(u"\\CustomProfile.xml", read));
    EXPECT_EQ(read.base->name, u"Stopped");

    // A leftover that does not parse is not taken either.
    ASSERT_TRUE(DeleteFileW(u"\\CustomProfile.xml"));
    ASSERT_TRUE(DeleteFileW(u"\\CustomProfile.xml.new"));
    HANDLE file = CreateFileW(u"\\CustomProfile.xml.new", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0,
                              nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "<Prof", 5, &written, nullptr);
    CloseHandle(file);
    EXPECT_FALSE(ReadProfileFile(u"\\CustomProfile.xml", read));
}

} // namespace
