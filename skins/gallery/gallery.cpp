// gallery DIR: saves every screen of the Default skin at 240x320, 320x240, 480x640,
// 640x480 and 800x480 into DIR with an index.html.
#include "Gallery.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gallery DIR\n");
        return 2;
    }
    std::vector<gallery::ScreenSize> sizes{{240, 320}, {320, 240}, {480, 640}, {640, 480}, {800, 480}};
    gallery::Gallery screens(DIALORA_IMAGE_DIR, argv[1]);
    std::string error;
    if (!screens.Run(sizes, error)) {
        std::fprintf(stderr, "gallery: %s\n", error.c_str());
        return 1;
    }
    std::printf("%zu screens in %s\n", screens.Saved().size(), argv[1]);
    return 0;
}
