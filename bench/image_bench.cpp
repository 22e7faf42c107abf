// Decoding the same JPEG and PNG files through LoadImageFile (device file, buffered stream,
// codec registry, DIB section) and through libjpeg-turbo and libpng reading the file directly.
// A damaged progressive JPEG whose last scan repeats 20,000 times shows what the loader's
// scan and warning caps save against a plain libjpeg decode of it.
#include "common/MemoryStream.h"
#include "corlist/image/ImageLoader.h"
#include "device/Device.h"
#include "support/TestDevice.h"

#include "BenchPhotos.h"

#include <benchmark/benchmark.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int kWidth = 640;
constexpr int kHeight = 480;

// The file with its last scan repeated `copies` times before the end-of-image marker.
Bytes RepeatLastScan(const Bytes& jpeg, int copies) {
    size_t lastScan = 0;
    for (size_t i = 2; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA)
            lastScan = i;
    size_t end = jpeg.size() - 2;
    Bytes out(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(end));
    for (int i = 0; i < copies; ++i)
        out.insert(out.end(), jpeg.begin() + std::ptrdiff_t(lastScan), jpeg.begin() + std::ptrdiff_t(end));
    out.push_back(0xFF);
    out.push_back(0xD9);
    return out;
}

void Append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

Bytes EncodePng(const Bytes& rgb) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, Append, nullptr);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kHeight; ++y)
        png_write_row(png, const_cast<png_bytep>(&rgb[size_t(y) * kWidth * 3]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// One device for the whole run, with both files in "\My Documents".
struct BenchDevice {
    BenchDevice() {
        folder = testsupport::MakeTempFolder("dialora-bench");
        platform::DeviceOptions options;
        options.folder = folder / "device";
        options.startMainProgram = false;
        options.startPlatformPrograms = false;
        device = std::make_unique<platform::Device>(options);
        std::string error;
        device->Boot(error);
        Bytes rgb = benchphotos::PhotoPixels(kWidth, kHeight);
        jpeg = benchphotos::EncodeJpeg(rgb, kWidth, kHeight);
        png = EncodePng(rgb);
        Write("photo.jpg", jpeg);
        Write("photo.png", png);
        Write("scans.jpg", RepeatLastScan(benchphotos::EncodeJpeg(rgb, kWidth, kHeight, true), 20000));
        corlist::InitImagesInFolder(nullptr, nullptr, u"\\Windows\\");
    }
    ~BenchDevice() {
        corlist::ShutdownImages();
        device->Shutdown();
        std::filesystem::remove_all(folder);
    }
    void Write(const char* name, const Bytes& bytes) {
        std::ofstream file(device->FsRoot() / "My Documents" / name, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::filesystem::path folder;
    std::unique_ptr<platform::Device> device;
    Bytes jpeg;
    Bytes png;
};

BenchDevice& Bench() {
    static BenchDevice bench;
    return bench;
}

// `expected` is kImageOk for the photo and the failure code for the damaged file.
void LoadImageFileJpeg(benchmark::State& state, const char16_t* path, DWORD expected) {
    Bench();
    for (auto _ : state) {
        corlist::Image image;
        if (corlist::LoadImageFile(&image, path, 0) != expected)
            state.SkipWithError("unexpected result");
        benchmark::DoNotOptimize(image.Bitmap().bits);
    }
}

struct JpegError {
    jpeg_error_mgr manager;
    jmp_buf jump;
};

// The libraries read the same file straight from the host's disk through stdio.
std::filesystem::path HostFile(const char* name) {
    return Bench().device->FsRoot() / "My Documents" / name;
}

void DirectLibjpeg(benchmark::State& state, const char* name) {
    const std::filesystem::path path = HostFile(name);
    for (auto _ : state) {
        FILE* file = std::fopen(path.c_str(), "rb");
        // A new picture each time, as the loader makes a new bitmap for every load.
        std::unique_ptr<uint8_t[]> out(new uint8_t[size_t(kWidth) * kHeight * 3]);
        jpeg_decompress_struct info;
        JpegError error;
        info.err = jpeg_std_error(&error.manager);
        error.manager.error_exit = [](j_common_ptr i) { longjmp(reinterpret_cast<JpegError*>(i->err)->jump, 1); };
        error.manager.emit_message = [](j_common_ptr, int) {}; // the damaged file warns a lot
        if (setjmp(error.jump)) {
            jpeg_destroy_decompress(&info);
            std::fclose(file);
            state.SkipWithError("decode failed");
            break;
        }
        jpeg_create_decompress(&info);
        jpeg_stdio_src(&info, file);
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_EXT_BGR;
        jpeg_start_decompress(&info);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = &out.get()[size_t(info.output_scanline) * kWidth * 3];
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        benchmark::DoNotOptimize(out.get());
    }
}

void LoadImageFilePng(benchmark::State& state) {
    Bench();
    for (auto _ : state) {
        corlist::Image image;
        if (corlist::LoadImageFile(&image, u"\\My Documents\\photo.png", 0) != corlist::kImageOk)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(image.Bitmap().bits);
    }
}

void DirectLibpng(benchmark::State& state) {
    const std::filesystem::path path = HostFile("photo.png");
    for (auto _ : state) {
        std::unique_ptr<uint8_t[]> out(new uint8_t[size_t(kWidth) * kHeight * 3]);
        FILE* file = std::fopen(path.c_str(), "rb");
        png_structp read = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(read);
        if (setjmp(png_jmpbuf(read))) {
            png_destroy_read_struct(&read, &info, nullptr);
            std::fclose(file);
            state.SkipWithError("decode failed");
            break;
        }
        png_init_io(read, file);
        png_read_info(read, info);
        png_set_bgr(read);
        png_read_update_info(read, info);
        for (int y = 0; y < kHeight; ++y)
            png_read_row(read, &out.get()[size_t(y) * kWidth * 3], nullptr);
        png_read_end(read, nullptr);
        png_destroy_read_struct(&read, &info, nullptr);
        std::fclose(file);
        benchmark::DoNotOptimize(out.get());
    }
}

BENCHMARK_CAPTURE(LoadImageFileJpeg, photo, u"\\My Documents\\photo.jpg", corlist::kImageOk)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DirectLibjpeg, photo, "photo.jpg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadImageFileJpeg, repeated_scans, u"\\My Documents\\scans.jpg",
                  corlist::kImageBadData)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DirectLibjpeg, repeated_scans, "scans.jpg")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(LoadImageFilePng)->Unit(benchmark::kMillisecond);
BENCHMARK(DirectLibpng)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
