// skinsplit: writes the colour and alpha pictures of a PNG with transparency as a skin
// carries them. Usage: skinsplit INPUT.png FOLDER NAME (writes NAME.png and NAME_a.png).
#include "AlphaSplitter.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: skinsplit INPUT.png FOLDER NAME\n";
        return 2;
    }
    skintool::AlphaSplitter splitter;
    if (!splitter.Read(argv[1]) || !splitter.Write(argv[2], argv[3])) {
        std::cerr << "skinsplit: " << splitter.Error() << "\n";
        return 1;
    }
    return 0;
}
