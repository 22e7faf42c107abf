#include "RpkCommands.h"

#include "common/MemoryStream.h"
#include "common/NameHash.h"
#include "common/SkinPackageFormat.h"
#include "common/TextCodec.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <ostream>
#include <vector>

namespace rpktool {

namespace fs = std::filesystem;
using common::SkinEntryInfo;
using common::SkinPackageFault;

namespace {

struct PackFile {
    std::u16string name;
    uint32_t hash = 0;
    std::vector<uint8_t> data;
};

bool ReadFile(const fs::path& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string HashText(uint32_t hash) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08" PRIX32, hash);
    return text;
}

// The files of `folder` in package order; false with a message when one cannot be packed.
bool CollectFiles(const fs::path& folder, std::vector<PackFile>& files, std::ostream& errors) {
    std::error_code error;
    for (const fs::directory_entry& item : fs::directory_iterator(folder, error)) {
        if (!item.is_regular_file())
            continue;
        PackFile file;
        file.name = common::Utf8ToWide(item.path().filename().string());
        if ((file.name.size() + 1) * 2 > common::kSkinEntryNameMaxBytes) {
            errors << "rpktool: name too long: " << item.path().filename().string() << '\n';
            return false;
        }
        if (!ReadFile(item.path(), file.data)) {
            errors << "rpktool: cannot read " << item.path().string() << '\n';
            return false;
        }
        file.hash = common::NameHash(file.name);
        files.push_back(std::move(file));
    }
    if (error) {
        errors << "rpktool: cannot list " << folder.string() << ": " << error.message() << '\n';
        return false;
    }
    std::sort(files.begin(), files.end(), [](const PackFile& a, const PackFile& b) {
        return a.hash != b.hash ? a.hash < b.hash : a.name < b.name;
    });
    if (files.size() > UINT16_MAX) {
        errors << "rpktool: more than " << UINT16_MAX << " files\n";
        return false;
    }
    return true;
}

// The package bytes of `files`; false when they do not fit a device file.
bool Layout(const std::vector<PackFile>& files, std::vector<uint8_t>& out) {
    common::SkinPackageHeader header;
    header.count = uint16_t(files.size());
    out.resize(common::kSkinPackageHeaderSize);
    common::EncodePackageHeader(header, out.data());
    for (const PackFile& file : files) {
        uint64_t nameBytes = (file.name.size() + 1) * 2;
        uint64_t dataOffset = out.size() + common::kSkinEntryHeaderSize + nameBytes;
        if (dataOffset + file.data.size() > uint64_t(INT32_MAX))
            return false;
        common::SkinEntryHeader entry;
        entry.dataOffset = uint32_t(dataOffset);
        entry.dataSize = uint32_t(file.data.size());
        entry.nameHash = file.hash;
        entry.nameBytes = uint16_t(nameBytes);
        size_t at = out.size();
        out.resize(at + common::kSkinEntryHeaderSize);
        common::EncodeEntryHeader(entry, out.data() + at);
        for (char16_t unit : file.name) {
            out.push_back(uint8_t(unit));
            out.push_back(uint8_t(unit >> 8));
        }
        out.push_back(0);
        out.push_back(0);
        out.insert(out.end(), file.data.begin(), file.data.end());
    }
    return true;
}

// Walks a package file; `onEntry` sees the sound entries, `onFault` the faults.
bool WalkFile(const fs::path& package, std::vector<uint8_t>& bytes,
              const common::SkinEntryVisitor& onEntry, const common::SkinFaultVisitor& onFault,
              std::ostream& errors, common::SkinPackageHeader* header = nullptr) {
    if (!ReadFile(package, bytes)) {
        errors << "rpktool: cannot read " << package.string() << '\n';
        return false;
    }
    if (bytes.size() > size_t(INT32_MAX)) {
        onFault(-1, SkinPackageFault::FileSize);
        return false;
    }
    common::MemoryStream stream(bytes.data(), LONG(bytes.size()));
    return common::WalkSkinPackage(stream, onEntry, onFault, header);
}

std::string FaultLine(int index, SkinPackageFault fault) {
    std::string where = index < 0 ? "package" : "entry " + std::to_string(index);
    return where + ": " + common::SkinPackageFaultText(fault);
}

bool SafeName(const std::u16string& name) {
    return !name.empty() && name.find(u'/') == std::u16string::npos &&
           name.find(u'\\') == std::u16string::npos && name.find(u"..") == std::u16string::npos;
}

} // namespace

int Pack(const fs::path& folder, const fs::path& output, std::ostream& errors) {
    std::vector<PackFile> files;
    if (!CollectFiles(folder, files, errors))
        return 1;
    std::vector<uint8_t> bytes;
    if (!Layout(files, bytes)) {
        errors << "rpktool: the package would exceed 2 GB\n";
        return 1;
    }
    fs::path temporary = output;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.close();
        if (!out) {
            errors << "rpktool: cannot write " << temporary.string() << '\n';
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return 1;
        }
    }
    std::error_code error;
    fs::rename(temporary, output, error);
    if (error) {
        errors << "rpktool: cannot rename to " << output.string() << ": " << error.message()
               << '\n';
        fs::remove(temporary, error);
        return 1;
    }
    return 0;
}

int List(const fs::path& package, std::ostream& out, std::ostream& errors) {
    std::vector<uint8_t> bytes;
    bool sound = WalkFile(
        package, bytes,
        [&out](const SkinEntryInfo& entry) {
            out << common::WideToUtf8(entry.name) << ' ' << entry.header.dataSize << ' '
                << HashText(entry.header.nameHash) << ' ' << entry.header.dataOffset << '\n';
            return true;
        },
        [&errors](int index, SkinPackageFault fault) {
            errors << "rpktool: " << FaultLine(index, fault) << '\n';
            return true;
        },
        errors);
    return sound ? 0 : 1;
}

int Extract(const fs::path& package, const fs::path& folder, std::ostream& errors) {
    std::vector<uint8_t> bytes;
    std::vector<SkinEntryInfo> entries;
    bool sound = WalkFile(
        package, bytes,
        [&entries](const SkinEntryInfo& entry) {
            entries.push_back(entry);
            return true;
        },
        [&errors](int index, SkinPackageFault fault) {
            errors << "rpktool: " << FaultLine(index, fault) << '\n';
            return false;
        },
        errors);
    if (!sound)
        return 1;
    std::error_code error;
    fs::create_directories(folder, error);
    int status = 0;
    for (const SkinEntryInfo& entry : entries) {
        std::string name = common::WideToUtf8(entry.name);
        if (!SafeName(entry.name)) {
            errors << "rpktool: refused entry name " << name << '\n';
            status = 1;
            continue;
        }
        std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()) + entry.header.dataOffset,
                  std::streamsize(entry.header.dataSize));
        out.close();
        if (!out) {
            errors << "rpktool: cannot write " << (folder / name).string() << '\n';
            status = 1;
        }
    }
    return status;
}

int Verify(const fs::path& package, std::ostream& out) {
    std::vector<uint8_t> bytes;
    common::SkinPackageHeader header;
    bool sound = WalkFile(
        package, bytes, [](const SkinEntryInfo&) { return true; },
        [&out](int index, SkinPackageFault fault) {
            out << FaultLine(index, fault) << '\n';
            return true;
        },
        out, &header);
    if (!sound)
        return 1;
    out << "ok " << header.count << " entries\n";
    return 0;
}

int Hash(const std::string& name, std::ostream& out) {
    out << HashText(common::NameHash(common::Utf8ToWide(name))) << '\n';
    return 0;
}

} // namespace rpktool
