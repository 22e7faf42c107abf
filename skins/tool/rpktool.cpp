// rpktool: builds, lists, extracts and checks skin packages on the host.
#include "RpkCommands.h"

#include <iostream>
#include <string>

namespace {

int Usage() {
    std::cerr << "usage: rpktool pack DIR OUT.rpk | list PKG | extract PKG DIR | verify PKG"
                 " | hash NAME\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    std::string command = argv[1];
    if (command == "pack" && argc == 4)
        return rpktool::Pack(argv[2], argv[3], std::cerr);
    if (command == "list" && argc == 3)
        return rpktool::List(argv[2], std::cout, std::cerr);
    if (command == "extract" && argc == 4)
        return rpktool::Extract(argv[2], argv[3], std::cerr);
    if (command == "verify" && argc == 3)
        return rpktool::Verify(argv[2], std::cout);
    if (command == "hash" && argc == 3)
        return rpktool::Hash(argv[2], std::cout);
    return Usage();
}
