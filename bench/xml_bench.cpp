// The skin XML reader against pugixml on one large generated skin-like document: both
// parse the same bytes into a tree in one run, so their throughputs compare directly.
#include "common/MemoryStream.h"
#include "common/XmlReaderFor.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <map>

#include <string>
#include <vector>

namespace {

// Screens of controls with drawing elements, macros and comments, as a skin description
// holds them; about 2.7 MB.
std::string MakeSkinDocument() {
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<skin name=\"Bench\" version=\"2\">\n";
    for (int screen = 0; screen < 400; ++screen) {
        text += "\t<!-- screen " + std::to_string(screen) + " -->\n";
        text += "\t<screen name=\"Screen" + std::to_string(screen) +
                "\" rect=\"0,0,240,320\" background=\"bg.png\">\n";
        for (int control = 0; control < 20; ++control) {
            std::string id = std::to_string(control);
            text += "\t\t<listview name=\"list" + id + "\" rect=\"0," + id +
                    "0,240,40\" font=\"Tahoma,12,bold\" color=\"#FFFFFF\" selcolor=\"#3060C0\">\n";
            text += "\t\t\t<item height=\"40\" padding=\"2,2,2,2\">\n";
            text += "\t\t\t\t<image src=\"icon" + id + ".png\" align=\"left|vcenter\"/>\n";
            text += "\t\t\t\t<text field=\"name\" rect=\"44,2,190,20\" ellipsis=\"end\"/>\n";
            text += "\t\t\t\t<gradient from=\"#202020\" to=\"#404040\" dir=\"vertical\"/>\n";
            text += "\t\t\t</item>\n\t\t</listview>\n";
        }
        text += "\t</screen>\n";
    }
    text += "</skin>\n";
    return text;
}

const std::string& Document() {
    static const std::string document = MakeSkinDocument();
    return document;
}

// Generic nodes for every element and attribute with its value copied, as a settings
// reader keeps them: pugixml's tree holds every attribute too, so both build the same tree.
// On XmlReaderFor its events are bound at compile time (TreeReader); on the reader itself
// they go through the virtual OnEvent (VirtualTreeReader), as for any reader type that is
// not final.
template <class Base>
class TreeReaderOn : public Base {
public:
    common::XmlNode* OnEvent(common::XmlNode* node, common::XmlEvent event, const char* name,
                             const char* value) override {
        if (event == common::XmlEvent::Attribute) {
            common::XmlNode* attribute =
                this->CreateNode(node, name, common::kGenericAttributeKind);
            if (attribute)
                attribute->payload = this->AllocString(value);
        }
        return nullptr;
    }
};

class TreeReader final : public TreeReaderOn<common::XmlReaderFor<TreeReader>> {};
class VirtualTreeReader : public TreeReaderOn<common::XmlReader> {};

template <class Reader>
void ParseWith(benchmark::State& state) {
    const std::string& document = Document();
    std::string copy = document;
    for (auto _ : state) {
        Reader reader;
        common::MemoryStream stream(copy.data(), LONG(copy.size()));
        if (!reader.Load(stream)) {
            state.SkipWithError("XmlReader refused the document");
            break;
        }
        benchmark::DoNotOptimize(reader.Root());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(document.size()));
}

void BM_XmlReader(benchmark::State& state) { ParseWith<TreeReader>(state); }
BENCHMARK(BM_XmlReader)->Unit(benchmark::kMillisecond);

void BM_XmlReaderVirtual(benchmark::State& state) { ParseWith<VirtualTreeReader>(state); }
BENCHMARK(BM_XmlReaderVirtual)->Unit(benchmark::kMillisecond);

void BM_Pugixml(benchmark::State& state) {
    const std::string& document = Document();
    for (auto _ : state) {
        pugi::xml_document tree;
        pugi::xml_parse_result result = tree.load_buffer(document.data(), document.size());
        if (!result) {
            state.SkipWithError("pugixml refused the document");
            break;
        }
        benchmark::DoNotOptimize(tree.first_child());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(document.size()));
}
BENCHMARK(BM_Pugixml)->Unit(benchmark::kMillisecond);

// Prints the runs as the console reporter does, then the reader's throughput as a share of
// pugixml's: from the medians when repetitions ran, else from the median of the runs.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            if (run.error_occurred)
                continue;
            Times& times = m_times[run.run_name.function_name];
            if (run.run_type == Run::RT_Iteration)
                times.runs.push_back(run.GetAdjustedRealTime());
            else if (run.aggregate_name == "median")
                times.median = run.GetAdjustedRealTime();
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        double reader = Median("BM_XmlReader");
        double reference = Median("BM_Pugixml");
        if (reader > 0 && reference > 0)
            GetOutputStream() << "XmlReader throughput / pugixml throughput: " << reference / reader
                              << "\n";
    }

private:
    struct Times {
        std::vector<double> runs;
        double median = 0;
    };

    double Median(const std::string& name) {
        Times& times = m_times[name];
        if (times.median > 0 || times.runs.empty())
            return times.median;
        std::sort(times.runs.begin(), times.runs.end());
        return times.runs[times.runs.size() / 2];
    }

    std::map<std::string, Times> m_times;
};

} // namespace

// Both parsers allocate megabytes per run. Left to itself the C library hands large blocks
// back to the system and faults them in again, at a cost that depends on which benchmark
// ran before; with these limits both run on a warm heap whatever the order.
int main(int argc, char** argv) {
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 1024 << 20);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
