#include "ce/files.h"
#include "ce/kernel.h"
#include "files/FileSystem.h"
#include "kernel/Utf.h"
#include "support/TestDevice.h"

#include <csignal>
#include <fstream>
#include <set>
#include <string>
#include <sys/resource.h>
#include <vector>

using testsupport::TestDevice;
using platform::ToUtf8;

namespace {

class Files : public TestDevice {
protected:
    std::filesystem::path Host(const char* relative) { return m_device->FsRoot() / relative; }

    static bool Touch(LPCWSTR path, const char* text = "") {
        HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        DWORD written = 0;
        BOOL ok = WriteFile(file, text, DWORD(std::char_traits<char>::length(text)), &written, nullptr);
        CloseHandle(file);
        return ok;
    }

    static std::vector<std::u16string> Find(LPCWSTR pattern) {
        std::vector<std::u16string> names;
        WIN32_FIND_DATAW data;
        HANDLE search = FindFirstFileW(pattern, &data);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do
            names.push_back(data.cFileName);
        while (FindNextFileW(search, &data));
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_NO_MORE_FILES);
        FindClose(search);
        return names;
    }
};

TEST_F(Files, TheFactoryTreeIsThere) {
    for (LPCWSTR folder : {u"\\Windows", u"\\My Documents", u"\\Temp", u"\\Storage Card",
                           u"\\Program Files\\Tavik Dialora"})
        EXPECT_EQ(GetFileAttributesW(folder), (DWORD)FILE_ATTRIBUTE_DIRECTORY) << ToUtf8(folder);
}

TEST_F(Files, NamesResolveWithoutRegardToCaseAndKeepTheirSpelling) {
    ASSERT_TRUE(Touch(u"\\MY DOCUMENTS\\Report.TXT", "x"));
    EXPECT_TRUE(std::filesystem::exists(Host("My Documents/Report.TXT")));
    EXPECT_NE(GetFileAttributesW(u"/my documents/report.txt"), INVALID_FILE_ATTRIBUTES);
    // Opening under another spelling keeps the file's own spelling.
    ASSERT_TRUE(Touch(u"\\my documents\\REPORT.txt", "yy"));
    EXPECT_EQ(Find(u"\\My Documents\\*"), std::vector<std::u16string>{u"Report.TXT"});
    auto resolved = platform::FileSystem::Resolve(u"\\windows\\..\\My Documents\\.\\report.txt", true);
    ASSERT_TRUE(resolved);
    EXPECT_EQ(*resolved, Host("My Documents/Report.TXT"));
    EXPECT_EQ(platform::FileSystem::ToDevicePath(*resolved), u"\\My Documents\\Report.TXT");
}

TEST_F(Files, PathsThatLeaveTheDeviceFolderAreRefused) {
    std::filesystem::create_directory_symlink("/etc", Host("Temp/outside"));
    std::filesystem::create_directory_symlink(Host("Windows"), Host("Temp/inside"));
    struct Case {
        LPCWSTR path;
        DWORD error;
    };
    const Case cases[] = {
        {u"..\\..\\etc\\passwd", ERROR_BAD_PATHNAME},
        {u"\\..\\x", ERROR_BAD_PATHNAME},
        {u"/Temp/../../x", ERROR_BAD_PATHNAME},
        {u"\\Temp\\outside\\passwd", ERROR_ACCESS_DENIED},
        {u"\\Temp\\OUTSIDE", ERROR_ACCESS_DENIED},
        {u"\\Temp\\inside\\new.txt", ERROR_ACCESS_DENIED}, // links are never followed
        {u"\\Temp\\a:b", ERROR_INVALID_NAME},
    };
    for (const Case& c : cases) {
        HANDLE file = CreateFileW(c.path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
        EXPECT_EQ(file, INVALID_HANDLE_VALUE) << ToUtf8(c.path);
        EXPECT_EQ(GetLastError(), c.error) << ToUtf8(c.path);
        EXPECT_EQ(GetFileAttributesW(c.path), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_FALSE(std::filesystem::exists(m_folder / "x"));
    EXPECT_FALSE(std::filesystem::exists(Host("Windows/new.txt")));
    EXPECT_EQ(Find(u"\\Temp\\*"), std::vector<std::u16string>{});
    // Text that stays inside is fine.
    EXPECT_TRUE(Touch(u"\\Windows\\..\\Temp\\.\\ok.txt"));
}

TEST_F(Files, DispositionsReportTheirLastErrors) {
    struct Case {
        DWORD disposition;
        bool exists;
        bool opens;
        DWORD error;
        DWORD sizeAfter; // of a 3-byte file
    };
    const Case cases[] = {
        {CREATE_NEW, false, true, ERROR_SUCCESS, 0},
        {CREATE_NEW, true, false, ERROR_FILE_EXISTS, 3},
        {CREATE_ALWAYS, false, true, ERROR_SUCCESS, 0},
        {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, 0},
        {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, 0},
        {OPEN_EXISTING, true, true, ERROR_SUCCESS, 3},
        {OPEN_ALWAYS, false, true, ERROR_SUCCESS, 0},
        {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, 3},
        {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, 0},
        {TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, 0},
        {0, true, false, ERROR_INVALID_PARAMETER, 3},
    };
    for (const Case& c : cases) {
        DeleteFileW(u"\\Temp\\d.bin");
        if (c.exists) {
            ASSERT_TRUE(Touch(u"\\Temp\\d.bin", "abc"));
        }
        HANDLE file = CreateFileW(u"\\Temp\\D.BIN", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  c.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD error = GetLastError();
        EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.opens) << c.disposition << " " << c.exists;
        EXPECT_EQ(error, c.error) << c.disposition << " " << c.exists;
        if (file != INVALID_HANDLE_VALUE) {
            EXPECT_EQ(GetFileSize(file, nullptr), c.sizeAfter);
            CloseHandle(file);
        }
    }
    EXPECT_EQ(CreateFileW(u"\\NoFolder\\x", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(CreateFileW(u"\\Windows", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
}

TEST_F(Files, ShareModesAreHonouredBetweenHandles) {
    ASSERT_TRUE(Touch(u"\\Temp\\s.txt", "abc"));
    struct Case {
        DWORD firstAccess, firstShare, secondAccess, secondShare;
        bool secondOpens;
    };
    const DWORD R = GENERIC_READ, W = GENERIC_WRITE, SR = FILE_SHARE_READ, SW = FILE_SHARE_WRITE;
    const Case cases[] = {
        {R, SR, R, SR, true},   {R, SR, W, SR | SW, false}, {R, 0, R, SR, false},
        {W, SR, R, SR | SW, true}, {W, SR, R, SR, false}, {R | W, SR | SW, R | W, SR | SW, true},
        {R, SR | SW, W, SR, true},  {R, SR | SW, W, SW, false},
    };
    for (const Case& c : cases) {
        HANDLE first = CreateFileW(u"\\Temp\\s.txt", c.firstAccess, c.firstShare, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(first, INVALID_HANDLE_VALUE);
        HANDLE second = CreateFileW(u"\\TEMP\\S.TXT", c.secondAccess, c.secondShare, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.secondOpens);
        if (second == INVALID_HANDLE_VALUE)
            EXPECT_EQ(GetLastError(), (DWORD)ERROR_SHARING_VIOLATION);
        else
            CloseHandle(second);
        // An open file without delete sharing can be neither deleted nor renamed.
        EXPECT_FALSE(DeleteFileW(u"\\Temp\\s.txt"));
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_SHARING_VIOLATION);
        EXPECT_FALSE(MoveFileW(u"\\Temp\\s.txt", u"\\Temp\\t.txt"));
        CloseHandle(first);
    }
    EXPECT_TRUE(DeleteFileW(u"\\Temp\\s.txt"));
}

TEST_F(Files, ReadWriteSeekAndEndOfFile) {
    HANDLE file = CreateFileW(u"\\Temp\\rw.bin", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD done = 0;
    ASSERT_TRUE(WriteFile(file, "hello world", 11, &done, nullptr));
    EXPECT_EQ(done, 11u);
    EXPECT_EQ(SetFilePointer(file, -5, nullptr, FILE_END), 6u);
    char buffer[16] = {};
    ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(std::string(buffer, done), "world");
    ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(done, 0u); // end of file is a successful empty read
    EXPECT_EQ(SetFilePointer(file, -20, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_NEGATIVE_SEEK);
    // A 64-bit move through the high part; the low part may equal the failure value.
    LONG high = 1;
    EXPECT_EQ(SetFilePointer(file, -1, &high, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_SUCCESS);
    EXPECT_EQ(high, 1);
    EXPECT_EQ(SetFilePointer(file, 5, nullptr, FILE_BEGIN), 5u);
    ASSERT_TRUE(SetEndOfFile(file));
    DWORD sizeHigh = 7;
    EXPECT_EQ(GetFileSize(file, &sizeHigh), 5u);
    EXPECT_EQ(sizeHigh, 0u);
    EXPECT_TRUE(FlushFileBuffers(file));
    FILETIME created, written;
    EXPECT_TRUE(GetFileTime(file, &created, nullptr, &written));
    EXPECT_NE(written.dwHighDateTime, 0u);
    CloseHandle(file);
    HANDLE reader = CreateFileW(u"\\Temp\\rw.bin", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(WriteFile(reader, "x", 1, &done, nullptr));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
    CloseHandle(reader);
    EXPECT_FALSE(ReadFile(reader, buffer, 1, &done, nullptr));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
}

TEST_F(Files, AFullDiskFailsTheWriteInsteadOfShorteningIt) {
    HANDLE file = CreateFileW(u"\\Temp\\full.bin", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    // A file size limit makes the host answer as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit = old;
    limit.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string data(4096, 'x');
    DWORD written = 0;
    BOOL ok = WriteFile(file, data.data(), DWORD(data.size()), &written, nullptr);
    DWORD error = GetLastError();
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(ok);
    EXPECT_EQ(error, (DWORD)ERROR_DISK_FULL);
    EXPECT_LT(written, data.size());
    CloseHandle(file);
}

TEST_F(Files, MoveCopyDeleteAndFolders) {
    ASSERT_TRUE(Touch(u"\\Temp\\a.txt", "aaa"));
    ASSERT_TRUE(Touch(u"\\Temp\\b.txt", "b"));
    EXPECT_FALSE(MoveFileW(u"\\Temp\\a.txt", u"\\Temp\\B.TXT"));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(MoveFileW(u"\\Temp\\a.txt", u"\\Temp\\A.TXT")); // a new spelling
    EXPECT_EQ(Find(u"\\Temp\\a*"), std::vector<std::u16string>{u"A.TXT"});
    EXPECT_FALSE(CopyFileW(u"\\Temp\\a.txt", u"\\Temp\\b.txt", TRUE));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_EXISTS);
    EXPECT_TRUE(CopyFileW(u"\\Temp\\a.txt", u"\\Temp\\b.txt", FALSE));
    std::ifstream copied(Host("Temp/b.txt"));
    std::string text;
    copied >> text;
    EXPECT_EQ(text, "aaa");
    EXPECT_FALSE(MoveFileW(u"\\Temp\\missing", u"\\Temp\\c"));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);

    // A replacing move puts the new file in place in one step; only files replace files.
    ASSERT_TRUE(Touch(u"\\Temp\\new.txt", "new"));
    EXPECT_TRUE(MoveFileExW(u"\\Temp\\new.txt", u"\\Temp\\B.txt", MOVEFILE_REPLACE_EXISTING));
    std::ifstream replaced(Host("Temp/b.txt"));
    replaced >> text;
    EXPECT_EQ(text, "new");
    EXPECT_EQ(GetFileAttributesW(u"\\Temp\\new.txt"), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(CreateDirectoryW(u"\\Temp\\Dir", nullptr));
    EXPECT_FALSE(MoveFileExW(u"\\Temp\\b.txt", u"\\Temp\\Dir", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
    EXPECT_FALSE(MoveFileExW(u"\\Temp\\b.txt", u"\\Temp\\A.txt", 0x8));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
    ASSERT_TRUE(RemoveDirectoryW(u"\\Temp\\Dir"));

    EXPECT_TRUE(CreateDirectoryW(u"\\Temp\\Sub", nullptr));
    EXPECT_FALSE(CreateDirectoryW(u"\\temp\\sub", nullptr));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CreateDirectoryW(u"\\Temp\\No\\Sub", nullptr));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_PATH_NOT_FOUND);
    EXPECT_TRUE(MoveFileW(u"\\Temp\\b.txt", u"\\Temp\\sub\\b.txt"));
    EXPECT_FALSE(RemoveDirectoryW(u"\\Temp\\Sub"));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_DIR_NOT_EMPTY);
    EXPECT_FALSE(DeleteFileW(u"\\Temp\\Sub"));
    EXPECT_TRUE(DeleteFileW(u"\\Temp\\SUB\\B.txt"));
    EXPECT_TRUE(RemoveDirectoryW(u"\\Temp\\Sub"));
    EXPECT_FALSE(RemoveDirectoryW(u"\\"));
}

TEST_F(Files, AttributesKeepReadOnlyInTheFileMode) {
    ASSERT_TRUE(Touch(u"\\Temp\\ro.txt", "r"));
    EXPECT_EQ(GetFileAttributesW(u"\\Temp\\ro.txt"), (DWORD)FILE_ATTRIBUTE_ARCHIVE);
    ASSERT_TRUE(SetFileAttributesW(u"\\Temp\\ro.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(GetFileAttributesW(u"\\Temp\\ro.txt"), DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(std::filesystem::status(Host("Temp/ro.txt")).permissions() &
                  std::filesystem::perms::owner_write,
              std::filesystem::perms::none);
    // Even a host user who may write everything gets the device's answer.
    EXPECT_EQ(CreateFileW(u"\\Temp\\ro.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
    EXPECT_FALSE(DeleteFileW(u"\\Temp\\ro.txt"));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
    ASSERT_TRUE(SetFileAttributesW(u"\\Temp\\ro.txt", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesW(u"\\Temp\\ro.txt"), (DWORD)FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(DeleteFileW(u"\\Temp\\ro.txt"));
    EXPECT_EQ(GetFileAttributesW(u"\\Temp\\ro.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
}

TEST_F(Files, FindMatchesWildcardsWithoutRegardToCase) {
    for (LPCWSTR name : {u"\\Temp\\a.txt", u"\\Temp\\B.TXT", u"\\Temp\\readme", u"\\Temp\\data.bin"})
        ASSERT_TRUE(Touch(name));
    CreateDirectoryW(u"\\Temp\\Folder", nullptr);
    using Names = std::vector<std::u16string>;
    struct Case {
        LPCWSTR pattern;
        Names names;
    };
    const Case cases[] = {
        {u"\\Temp\\*.txt", {u"a.txt", u"B.TXT"}},
        {u"\\temp\\*.*", {u"a.txt", u"B.TXT", u"data.bin", u"Folder", u"readme"}},
        {u"\\Temp\\*", {u"a.txt", u"B.TXT", u"data.bin", u"Folder", u"readme"}},
        {u"\\Temp\\?.TXT", {u"a.txt", u"B.TXT"}},
        {u"\\Temp\\READ*", {u"readme"}},
        {u"\\Temp\\*a*.b?n", {u"data.bin"}},
        {u"\\Temp\\folder", {u"Folder"}},
        {u"\\Temp\\x*", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Find(c.pattern), c.names) << ToUtf8(c.pattern);
    WIN32_FIND_DATAW data;
    EXPECT_EQ(FindFirstFileW(u"\\Temp\\x*", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(FindFirstFileW(u"\\Nowhere\\*", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_PATH_NOT_FOUND);
    HANDLE search = FindFirstFileW(u"\\Temp\\Folder", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, (DWORD)FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(CloseHandle(reinterpret_cast<HANDLE>(0x5)));
    EXPECT_TRUE(FindClose(search));
    EXPECT_FALSE(FindClose(search));
}

TEST_F(Files, TemporaryNamesAreUniqueFilesInTheTempFolder) {
    WCHAR path[MAX_PATH];
    EXPECT_EQ(GetTempPathW(MAX_PATH, path), 6u);
    EXPECT_EQ(std::u16string(path), u"\\Temp\\");
    EXPECT_EQ(GetTempPathW(3, path), 7u);
    std::set<std::u16string> names;
    for (int i = 0; i < 3; ++i) {
        WCHAR name[MAX_PATH];
        ASSERT_NE(GetTempFileNameW(u"\\Temp", u"dialora", 0, name), 0u);
        EXPECT_EQ(std::u16string(name).rfind(u"\\Temp\\dia", 0), 0u);
        EXPECT_NE(GetFileAttributesW(name), INVALID_FILE_ATTRIBUTES);
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 3u);
    WCHAR formed[MAX_PATH];
    EXPECT_EQ(GetTempFileNameW(u"\\Temp\\", u"x", 0x1A, formed), 0x1Au);
    EXPECT_EQ(std::u16string(formed), u"\\Temp\\x1A.tmp");
    EXPECT_EQ(GetFileAttributesW(formed), INVALID_FILE_ATTRIBUTES); // only formed
    EXPECT_EQ(GetTempFileNameW(u"\\NoSuch", u"x", 0, formed), 0u);
}

} // namespace
