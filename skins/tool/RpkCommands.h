// The commands of the skin package tool. Each returns the program's exit status: 0 done,
// 1 a fault in the input (reported on standard error or, for verify, standard output).
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

namespace rpktool {

// Every regular file of `folder` (not recursive) as an entry named by its file name, in
// ascending name-hash order; written to a temporary file and renamed into place.
int Pack(const std::filesystem::path& folder, const std::filesystem::path& output,
         std::ostream& errors);
// One line per entry in file order: NAME SIZE 0xHASH OFFSET.
int List(const std::filesystem::path& package, std::ostream& out, std::ostream& errors);
// Every entry as a file of its name in `folder`; names with a path separator or ".." are
// refused.
int Extract(const std::filesystem::path& package, const std::filesystem::path& folder,
            std::ostream& errors);
// "ok N entries", or one line per fault.
int Verify(const std::filesystem::path& package, std::ostream& out);
// 0xHASH of a UTF-8 name.
int Hash(const std::string& name, std::ostream& out);

} // namespace rpktool
