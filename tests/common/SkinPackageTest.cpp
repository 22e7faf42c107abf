// The skin package reader over device files: packages laid out byte by byte here, the
// name-hash search, kept entries, loose files and hostile packages.
#include "common/SkinPackage.h"
#include "common/Stream.h"
#include "common/TraceSink.h"

#include "ce/files.h"
#include "support/PackageBytes.h"
#include "support/TestDevice.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace common;
using testsupport::PackageBytes;
using testsupport::Put16;
using testsupport::Put32;
using testsupport::SortedByHash;
using Item = testsupport::PackageItem;

namespace {

std::vector<std::string> g_trace;

std::string Contents(Stream* stream) {
    std::string bytes(size_t(stream->Size()), '\0');
    stream->Read(bytes.data(), LONG(bytes.size()));
    return bytes;
}

class SkinPackageTest : public testsupport::TestDevice {
protected:
    void SetUp() override {
        TestDevice::SetUp();
        CreateDirectoryW(u"\\Skins", nullptr);
        g_trace.clear();
        m_previousSink = SetTraceSink([](const char* line) { g_trace.emplace_back(line); });
    }
    void TearDown() override {
        SetTraceSink(m_previousSink);
        TestDevice::TearDown();
    }

    static void WriteFile(LPCWSTR path, const std::string& bytes) {
        Stream* stream = nullptr;
        ASSERT_EQ(OpenStream(path, false, &stream), 0);
        ASSERT_EQ(stream->Write(bytes.data(), LONG(bytes.size())), LONG(bytes.size()));
        stream->Release();
    }

    // The entry's data through OpenEntry, or "<none>".
    static std::string Read(SkinPackage& package, LPCWSTR name, int* index = nullptr) {
        Stream* stream = nullptr;
        int found = -2;
        if (!package.OpenEntry(name, false, &stream, &found))
            return "<none>";
        if (index)
            *index = found;
        std::string bytes = Contents(stream);
        package.CloseEntry(stream);
        return bytes;
    }

    TraceSinkFunction m_previousSink = nullptr;
};

TEST_F(SkinPackageTest, HandWrittenPackageIsReadAndTraced) {
    std::vector<Item> items = SortedByHash(
        {{u"Default.skn", "<skin/>"}, {u"Bkgnd.png", "PNGDATA"}, {u"empty.bin", ""}});
    WriteFile(u"\\Skins\\Hand.rpk", PackageBytes(items));

    SkinPackage package;
    ASSERT_TRUE(package.Open(u"\\Skins\\Hand.rpk"));
    EXPECT_TRUE(package.Open(u"\\Skins\\Hand.rpk")); // already open
    ASSERT_EQ(package.EntryCount(), 3);
    EXPECT_EQ(g_trace, std::vector<std::string>{"Open \"\\Skins\\Hand.rpk\"\n"});
    for (int i = 0; i < 3; ++i) {
        int index = -2;
        EXPECT_EQ(Read(package, items[size_t(i)].name.c_str(), &index), items[size_t(i)].data);
        EXPECT_EQ(index, i);
        EXPECT_EQ(package.Entry(i).name, items[size_t(i)].name);
    }
    EXPECT_EQ(Read(package, u"DEFAULT.SKN"), "<skin/>");
    EXPECT_EQ(Read(package, u"missing.png"), "<none>");

    // The data is terminated one byte past its size.
    Stream* stream = nullptr;
    int index = -1;
    ASSERT_TRUE(package.OpenEntry(u"Bkgnd.png", false, &stream, &index));
    EXPECT_EQ(stream->Size(), 7);
    EXPECT_EQ(static_cast<const char*>(stream->Handle())[7], '\0');
    package.CloseEntry(stream);
}

// "A!" and "@B" share a hash (65 * 33 + 33 == 64 * 33 + 66), as does ">\x84".
TEST_F(SkinPackageTest, OneEntryPackageAnswersForEveryNameOfItsHash) {
    ASSERT_EQ(testsupport::PackageNameHash(u"A!"), testsupport::PackageNameHash(u"@B"));
    WriteFile(u"\\Skins\\One.rpk", PackageBytes({{u"A!", "one"}}));
    SkinPackage package;
    ASSERT_TRUE(package.Open(u"\\Skins\\One.rpk"));
    EXPECT_EQ(package.Find(u"A!"), 0);
    EXPECT_EQ(package.Find(u"@B"), 0);
    EXPECT_EQ(package.Find(u"AB"), -1);
}

TEST_F(SkinPackageTest, EntriesSharingAHashAreToldApartByName) {
    ASSERT_EQ(testsupport::PackageNameHash(u">\x84"), testsupport::PackageNameHash(u"A!"));
    std::vector<Item> items = SortedByHash({{u"zz", "z"}, {u"@B", "second"}, {u"A!", "first"},
                                            {u"a", "a"}});
    WriteFile(u"\\Skins\\Same.rpk", PackageBytes(items));
    SkinPackage package;
    ASSERT_TRUE(package.Open(u"\\Skins\\Same.rpk"));
    EXPECT_EQ(Read(package, u"A!"), "first");
    EXPECT_EQ(Read(package, u"@b"), "second");
    EXPECT_EQ(package.Find(u">\x84"), -1);
    EXPECT_EQ(Read(package, u"A"), "a");
}

TEST_F(SkinPackageTest, BisectionFindsEveryEntryOfALargePackage) {
    std::vector<Item> items;
    for (int i = 0; i < 300; ++i) {
        std::string name = "image" + std::to_string(i) + ".png";
        items.push_back({std::u16string(name.begin(), name.end()), std::to_string(i)});
    }
    items = SortedByHash(items);
    WriteFile(u"\\Skins\\Many.rpk", PackageBytes(items));
    SkinPackage package;
    ASSERT_TRUE(package.Open(u"\\Skins\\Many.rpk"));
    ASSERT_EQ(package.EntryCount(), 300);
    for (size_t i = 0; i < items.size(); ++i)
        ASSERT_EQ(package.Find(items[i].name), int(i)) << i;
    EXPECT_EQ(package.Find(u"image300.png"), -1);
    EXPECT_EQ(package.Find(u""), -1);
    EXPECT_EQ(Read(package, u"IMAGE42.PNG"), "42");
}

TEST_F(SkinPackageTest, KeptEntriesAreCachedAndRewound) {
    WriteFile(u"\\Skins\\Keep.rpk", PackageBytes({{u"a.png", "abcdef"}}));
    SkinPackage package;
    ASSERT_TRUE(package.Open(u"\\Skins\\Keep.rpk"));
    Stream* first = nullptr;
    int index = -1;
    ASSERT_TRUE(package.OpenEntry(u"a.png", true, &first, &index));
    char buffer[4] = {};
    EXPECT_EQ(first->Read(buffer, 3), 3);
    Stream* second = nullptr;
    ASSERT_TRUE(package.OpenEntry(u"a.png", false, &second, &index));
    EXPECT_EQ(second, first); // the kept stream, rewound
    EXPECT_EQ(second->Tell(), 0);
    package.CloseEntry(second);
    package.CloseEntry(first); // kept: still alive until the package closes
    EXPECT_EQ(Contents(first), "abcdef");

    SkinPackage other;
    ASSERT_TRUE(other.Open(u"\\Skins\\Keep.rpk"));
    Stream* a = nullptr;
    Stream* b = nullptr;
    ASSERT_TRUE(other.OpenEntry(u"a.png", false, &a, &index));
    ASSERT_TRUE(other.OpenEntry(u"a.png", false, &b, &index));
    EXPECT_NE(a, b);
    other.CloseEntry(a);
    other.CloseEntry(b);
}

TEST_F(SkinPackageTest, LooseFilesAndAbsoluteNamesComeBeforeThePackage) {
    std::vector<Item> items = SortedByHash({{u"Bkgnd.png", "packed"}, {u"Default.skn", "<a/>"}});
    WriteFile(u"\\Skins\\Loose.rpk", PackageBytes(items));
    WriteFile(u"\\Skins\\bkgnd.png", "loose");
    WriteFile(u"\\Skins\\extra.txt", "extra");
    CreateDirectoryW(u"\\Other", nullptr);
    WriteFile(u"\\Other\\abs.txt", "absolute");

    SkinPackage package;
    ASSERT_TRUE(package.Open(u"\\Skins\\Loose.rpk"));
    int index = -2;
    EXPECT_EQ(Read(package, u"Bkgnd.png", &index), "loose");
    EXPECT_EQ(index, package.Find(u"Bkgnd.png"));
    EXPECT_GE(index, 0);
    EXPECT_EQ(Read(package, u"extra.txt", &index), "extra");
    EXPECT_EQ(index, -1);
    EXPECT_EQ(Read(package, u"\\Other\\abs.txt", &index), "absolute");
    EXPECT_EQ(index, -1);
    EXPECT_EQ(Read(package, u"\\Other\\missing.txt"), "<none>");
    EXPECT_EQ(Read(package, u"Default.skn"), "<a/>");
}

TEST_F(SkinPackageTest, MissingFileFailsUntilClosed) {
    SkinPackage package;
    EXPECT_FALSE(package.Open(u"\\Skins\\Missing.rpk"));
    EXPECT_TRUE(package.IsFailed());
    WriteFile(u"\\Skins\\Missing.rpk", PackageBytes({{u"a", "a"}}));
    EXPECT_FALSE(package.Open(u"\\Skins\\Missing.rpk"));
    package.Close();
    EXPECT_TRUE(package.Open(u"\\Skins\\Missing.rpk"));
}

// One sound package, each case breaking one thing of it.
struct Hostile {
    const char* what;
    size_t offset; // where `bytes` is written over the package; npos cuts it at `cut`
    std::string bytes;
    size_t cut = std::string::npos;
};

std::string Le32(uint32_t value) {
    std::string out;
    Put32(out, value);
    return out;
}

TEST_F(SkinPackageTest, HostilePackagesFailCleanly) {
    // Entries "a" (data "xy") then "b" (data "z"): "a" header at 7, name at 21, data at 25;
    // "b" header at 27, name at 41, data at 45; the file is 46 bytes.
    const std::string good = PackageBytes({{u"a", "xy"}, {u"b", "z"}});
    ASSERT_EQ(good.size(), 46u);
    const std::vector<Hostile> cases = {
        {"bad magic", 0, "RQ#"},
        {"version 0", 3, std::string(1, '\0')},
        {"version 2", 3, "\x02"},
        {"count beyond the entries", 5, "\x03\x00"},
        {"huge count", 5, "\xff\xff"},
        {"header cut short", 0, "", 30},
        {"header only", 0, "", 7 + 13},
        {"magic cut short", 0, "", 5},
        {"empty file", 0, "", 0},
        {"data offset past the end", 7, Le32(47)},
        {"data size past the end", 11, Le32(22)},
        {"offset and size wrap in 32 bits", 7, Le32(0xFFFFFFF0u) + Le32(0x20)},
        {"size near 4 GB", 11, Le32(0xFFFFFFFFu)},
        {"last offset and size wrap in 32 bits", 27, Le32(0xFFFFFFF0u) + Le32(0x20)},
        {"last size near 4 GB", 31, Le32(0xFFFFFFFFu)},
        {"name length 0", 19, std::string(2, '\0')},
        {"odd name length", 19, "\x03\x00"},
        {"name length past the end", 19, "\xff\xff"},
        {"name without terminator", 23, "xx"},
        {"terminator inside the name", 21, std::string(2, '\0')},
        {"hash of another name", 15, Le32(0x43)},
        {"second name length past the end", 39, std::string("\x00\x02", 2)},
        {"data cut off", 0, "", 45},
    };
    for (const Hostile& c : cases) {
        std::string bytes = good;
        if (c.cut != std::string::npos)
            bytes.resize(c.cut);
        else
            bytes.replace(c.offset, c.bytes.size(), c.bytes);
        DeleteFileW(u"\\Skins\\Bad.rpk");
        WriteFile(u"\\Skins\\Bad.rpk", bytes);
        g_trace.clear();
        SkinPackage package;
        EXPECT_FALSE(package.Open(u"\\Skins\\Bad.rpk")) << c.what;
        EXPECT_TRUE(package.IsFailed()) << c.what;
        EXPECT_EQ(package.EntryCount(), 0) << c.what;
        ASSERT_EQ(g_trace.size(), 1u) << c.what;
        EXPECT_EQ(g_trace[0].rfind("Open \"\\Skins\\Bad.rpk\" FAILED: ", 0), 0u) << g_trace[0];
        Stream* stream = nullptr;
        int index = 0;
        EXPECT_FALSE(package.OpenEntry(u"a", false, &stream, &index)) << c.what;
    }
    // Entries out of hash order would hide each other from the search.
    WriteFile(u"\\Skins\\Order.rpk", PackageBytes({{u"b", "z"}, {u"a", "xy"}}));
    SkinPackage unordered;
    EXPECT_FALSE(unordered.Open(u"\\Skins\\Order.rpk"));

    WriteFile(u"\\Skins\\Good.rpk", good);
    SkinPackage package;
    ASSERT_TRUE(package.Open(u"\\Skins\\Good.rpk"));
    EXPECT_EQ(Read(package, u"a"), "xy");
    EXPECT_EQ(Read(package, u"b"), "z");
}

TEST_F(SkinPackageTest, PackageInMemoryOpensFromItsStream) {
    std::string bytes = PackageBytes({{u"a", "xy"}});
    Stream* stream = nullptr;
    ASSERT_EQ(OpenMemoryStream(bytes.data(), LONG(bytes.size()), &stream), 0);
    SkinPackage package;
    ASSERT_TRUE(package.Open(StreamPtr(stream), u"\\Skins\\Memory.rpk"));
    EXPECT_EQ(Read(package, u"a"), "xy");
}

std::string HostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The test skin that the build packs with the package tool: every file of its folder, in
// hash order, laid out exactly as a hand-written package.
TEST_F(SkinPackageTest, ToolPackageOfTheTestSkinMatchesTheLayoutByteByByte) {
    std::vector<Item> items;
    for (const auto& file : std::filesystem::directory_iterator(DIALORA_SKIN_FIXTURE_DIR)) {
        std::string name = file.path().filename().string();
        items.push_back({std::u16string(name.begin(), name.end()), HostFile(file.path())});
    }
    ASSERT_EQ(items.size(), 3u);
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return testsupport::PackageNameHash(a.name) < testsupport::PackageNameHash(b.name);
    });
    std::string packed = HostFile(DIALORA_SKIN_FIXTURE_PACKAGE);
    EXPECT_EQ(packed, PackageBytes(items));

    WriteFile(u"\\Skins\\Tiny.rpk", packed);
    SkinPackage package;
    ASSERT_TRUE(package.Open(u"\\Skins\\Tiny.rpk"));
    EXPECT_EQ(Read(package, u"default.skn"), HostFile(std::filesystem::path(
                                                   DIALORA_SKIN_FIXTURE_DIR) / "Default.skn"));
}

} // namespace
