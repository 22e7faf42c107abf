// A contact picture made into a face for a list row: the stored JPEG decoded at a reduced
// scale no smaller than the face and fitted into it (what the picture loader does per
// row), beside decoding it at full size and fitting that.
#include "common/MemoryStream.h"
#include "corlist/contacts/ContactPicture.h"
#include "corlist/image/ImageLoader.h"
#include "corlist/image/ImageTransform.h"
#include "support/ScratchDevice.h"

#include "BenchPhotos.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

using Bytes = std::vector<uint8_t>;

// A photo-like picture of width x height as a JPEG of quality 90.
Bytes Photo(int width, int height) {
    return benchphotos::EncodeJpeg(benchphotos::PhotoPixels(width, height), width, height);
}

struct Bench {
    Bench() { corlist::InitImagesInFolder(nullptr, nullptr, u"\\Windows\\"); }
    ~Bench() { corlist::ShutdownImages(); }
    testsupport::ScratchDevice device;
};

Bench& TheBench() {
    static Bench bench;
    return bench;
}

// The loader's way: a reduced-scale decode, the fit and the screen format.
void FaceFromPicture(benchmark::State& state) {
    TheBench();
    Bytes jpeg = Photo(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        corlist::Image image;
        if (corlist::DecodeContactPicture(jpeg, 48, 48, image) != corlist::kImageOk)
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.Bitmap().bits);
    }
}

// Without the requested size: the whole picture decoded, then fitted.
void FaceFromFullDecode(benchmark::State& state) {
    TheBench();
    Bytes jpeg = Photo(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        corlist::Image image;
        common::MemoryStream stream(jpeg.data(), LONG(jpeg.size()));
        if (corlist::LoadImageStream(&image, &stream, u"image.jpg", corlist::kLoadTrueColour, true) !=
                corlist::kImageOk ||
            !corlist::ScaleIntoBox(image, 48, 48) || corlist::ConvertToScreenFormat(&image) != corlist::kImageOk)
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.Bitmap().bits);
    }
}

} // namespace

BENCHMARK(FaceFromPicture)->Args({240, 320})->Args({640, 480})->Unit(benchmark::kMicrosecond);
BENCHMARK(FaceFromFullDecode)->Args({240, 320})->Args({640, 480})->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
