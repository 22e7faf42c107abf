// Loading a skin: the package opened from the device, the description parsed and every
// element object made, with defaults, macros and copied children as a full product skin
// uses them. The generated package is about the size of a complete skin for a VGA phone;
// a plain parse of the same description into generic nodes shows what the skin's own
// work adds to the reader's.
#include "common/MemoryStream.h"
#include "common/XmlReaderFor.h"
#include "corlist/image/ImageLoader.h"
#include "corlist/skin/Skin.h"
#include "support/PackageBytes.h"
#include "support/ScratchDevice.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string Number(int value) { return std::to_string(value); }

// Sections, then screens of controls each with a fill, a font and an image, as the
// product's skins are written.
std::string MakeDescription(int screens) {
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<skin>\n"
                       "<application vga=\"0\" colorMask=\"#2060C0\"/>\n<macros>\n";
    for (int macro = 0; macro < 20; ++macro)
        text += " <font name=\"f" + Number(macro) + "\" fontname=\"DejaVu Sans\" size=\"" + Number(8 + macro % 6) +
                "\" color=\"#202020\" shadow=\"#FFFFFF\" textstyle=\"centerv,...\"/>\n";
    text += " <fill name=\"row\" color=\"#F0F0F0\" gradient=\"#D0D0D0\" opacity=\"20\"/>\n</macros>\n<defaults>\n"
            " <button><fill color=\"sysColor(15)\"/><font size=\"10\" weight=\"700\"/></button>\n"
            " <text><font size=\"9\"/></text>\n <button name=\"bigbutton\"><image source=\"big.png\" imgList=\"1,3\"/></button>\n"
            "</defaults>\n<Images>\n";
    for (const char* name : {"Bkgnd", "FaceL", "SIM", "CallState", "MenuContact"})
        text += " <image name=\"" + std::string(name) + "\" source=\"" + name + ".png\" source_a=\"" + name + "_a.png\"/>\n";
    text += "</Images>\n";
    for (int screen = 0; screen < screens; ++screen) {
        text += "<control name=\"screen" + Number(screen) + "\" rect=\"0,0,100%,100%\">\n"
                " <fill color=\"#FFFFFF\"><image source=\"bg.png\" repeat=\"16,16\"/></fill>\n";
        for (int control = 0; control < 16; ++control) {
            std::string id = Number(control);
            const char* kind = control % 4 == 0 ? "bigbutton" : control % 4 == 1 ? "button" : "text";
            text += " <" + std::string(kind) + " name=\"c" + id + "\" rect=\"4," + Number(control * 20) +
                    ",-4,18\">\n  <fill name=\"#row.back\" color=\"#E8E8E8\"/>\n  <font name=\"#f" +
                    Number(control % 20) + ".text\"/>\n  <image source=\"icon" + id +
                    ".png\" imgList=\"4,2\" imgindex=\"3\" transColor=\"#FF00FF\"/>\n </" + kind + ">\n";
        }
        text += "</control>\n";
    }
    return text + "</skin>\n";
}

// A small valid PNG stands in for each image: loading does not decode images.
std::string PackageFor(const std::string& description) {
    std::vector<testsupport::PackageItem> items{{u"Default.skn", description}};
    for (int image = 0; image < 60; ++image) {
        std::string name = "icon" + Number(image) + ".png";
        items.push_back({std::u16string(name.begin(), name.end()), std::string(2048, char(image))});
    }
    return testsupport::PackageBytes(testsupport::SortedByHash(std::move(items)));
}

// Every element as a generic node with its attributes, the reader's plain work.
class PlainReader final : public common::XmlReaderFor<PlainReader> {
public:
    common::XmlNode* OnEvent(common::XmlNode* node, common::XmlEvent event, const char* name,
                             const char* value) override {
        if (event == common::XmlEvent::Attribute)
            if (common::XmlNode* attribute = CreateNode(node, name, common::kGenericAttributeKind))
                attribute->payload = AllocString(value);
        return event == common::XmlEvent::ElementStart ? nullptr : node;
    }
};

class SkinLoad : public benchmark::Fixture {
public:
    void SetUp(benchmark::State& state) override {
        m_device = std::make_unique<testsupport::ScratchDevice>();
        corlist::InitImagesInFolder(nullptr, nullptr, u"\\Program Files\\Tavik Dialora\\");
        m_description = MakeDescription(int(state.range(0)));
        std::filesystem::path folder = m_device->Get().FsRoot() / "Skins";
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "Bench.rpk", std::ios::binary) << PackageFor(m_description);
    }
    void TearDown(benchmark::State&) override {
        corlist::ShutdownImages();
        m_device.reset();
    }

protected:
    std::unique_ptr<testsupport::ScratchDevice> m_device;
    std::string m_description;
};

BENCHMARK_DEFINE_F(SkinLoad, PackageAndDescription)(benchmark::State& state) {
    corlist::Skin skin;
    skin.SetProgramFolder(u"\\");
    for (auto _ : state) {
        if (!skin.Load(u"Bench"))
            state.SkipWithError("the skin did not load");
        benchmark::DoNotOptimize(skin.Root());
    }
    state.counters["description_kB"] = double(m_description.size()) / 1024;
}

BENCHMARK_DEFINE_F(SkinLoad, PlainParseOfTheDescription)(benchmark::State& state) {
    PlainReader reader;
    for (auto _ : state) {
        std::string copy = m_description;
        common::MemoryStream stream(copy.data(), LONG(copy.size()));
        if (!reader.Load(stream))
            state.SkipWithError("the description did not parse");
        benchmark::DoNotOptimize(reader.Root());
    }
}

// 40 screens is about what the product's pages and dialogs need.
BENCHMARK_REGISTER_F(SkinLoad, PackageAndDescription)->Arg(40)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(SkinLoad, PlainParseOfTheDescription)->Arg(40)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
