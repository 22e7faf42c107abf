// Build tool for string tables:
//   dialora-strings cpp TABLE.txt NAMESPACE OUT.cpp   built-in strings of a deliverable
//   dialora-strings mui TABLE.txt OUT.mui             a language file
#include "lang/StringTableText.h"
#include "resource/MuiFile.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

bool ReadFile(const char* path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream text;
    text << in.rdbuf();
    out = text.str();
    return true;
}

// Writes only when the content changed, so that builds stay incremental.
bool WriteFile(const char* path, const std::string& content) {
    std::string old;
    if (ReadFile(path, old) && old == content)
        return true;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    return static_cast<bool>(out.flush());
}

int Fail(const std::string& message) {
    std::cerr << "dialora-strings: " << message << "\n";
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    if (!((mode == "cpp" && argc == 5) || (mode == "mui" && argc == 4)))
        return Fail("usage: dialora-strings cpp TABLE NAMESPACE OUT | mui TABLE OUT");
    std::string text;
    if (!ReadFile(argv[2], text))
        return Fail(std::string("cannot read ") + argv[2]);
    lang::ParseResult table = lang::ParseStringTable(text);
    if (!table.error.empty())
        return Fail(std::string(argv[2]) + ": " + table.error);
    std::string output = mode == "cpp" ? lang::GenerateCpp(table.strings, argv[3])
                                       : platform::MuiFile::Serialize(table.strings);
    const char* outPath = argv[argc - 1];
    if (!WriteFile(outPath, output))
        return Fail(std::string("cannot write ") + outPath);
    return 0;
}
