#include "files/FactoryTree.h"

#include "kernel/Trace.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

const char* const kFactoryFolders[] = {"Windows", "My Documents", "Temp", "Storage Card",
                                       "Program Files/Tavik Dialora"};

bool IsCurrent(const fs::path& source, const fs::path& target) {
    std::error_code ec;
    if (!fs::is_regular_file(fs::symlink_status(target, ec)))
        return false;
    return fs::file_size(source, ec) == fs::file_size(target, ec) && !ec &&
           fs::last_write_time(source, ec) == fs::last_write_time(target, ec) && !ec;
}

bool CopyOne(const fs::path& source, const fs::path& target, std::string& error) {
    std::error_code ec;
    fs::path temp = target;
    temp += ".~install";
    fs::copy_file(source, temp, fs::copy_options::overwrite_existing, ec);
    if (!ec)
        fs::last_write_time(temp, fs::last_write_time(source, ec), ec);
    if (!ec)
        fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        error = "cannot install " + source.string() + ": " + ec.message();
        return false;
    }
    Trace("files", "installed %s", target.c_str());
    return true;
}

} // namespace

bool FactoryTree::Build(const fs::path& fsRoot, const fs::path& installFrom, std::string& error) {
    std::error_code ec;
    for (const char* folder : kFactoryFolders) {
        fs::create_directories(fsRoot / folder, ec);
        if (ec) {
            error = "cannot create " + (fsRoot / folder).string() + ": " + ec.message();
            return false;
        }
    }
    if (installFrom.empty())
        return true;
    return Install(installFrom, fsRoot / "Program Files" / "Tavik Dialora", error);
}

bool FactoryTree::Install(const fs::path& from, const fs::path& to, std::string& error) {
    std::error_code ec;
    if (!fs::is_directory(from, ec)) {
        error = "install folder " + from.string() + " does not exist";
        return false;
    }
    for (fs::recursive_directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
        fs::path target = to / fs::relative(it->path(), from, ec);
        if (it->is_directory(ec)) {
            fs::create_directories(target, ec);
            continue;
        }
        if (!it->is_regular_file(ec) || IsCurrent(it->path(), target))
            continue;
        if (!CopyOne(it->path(), target, error))
            return false;
    }
    if (ec) {
        error = "cannot read install folder " + from.string() + ": " + ec.message();
        return false;
    }
    return true;
}

} // namespace platform
