// GBtoBIG5 and BIG5toGB of the Qmlanguage library over 1 MB of text, called through the
// library's entries as the module calls them, against the raw pipeline (iconv, OpenCC's s2tw or
// tw2s converter, iconv) on the same data. Goal: our throughput at least 0.7 of the raw
// pipeline's, that is, our time at most 1/0.7 = 1.43 of its time.
#include <benchmark/benchmark.h>
#include <opencc/SimpleConverter.hpp>

#include <iconv.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Qmlanguage.h"
#include "common/RatioReporter.h"
#include "qmx/CodePage.h"
#include "qmx/platform/Library.h"

namespace {

const std::string& GbText() {
    static const std::string text = [] {
        // Interface texts and data rows: Chinese with phrases that need the tables, ASCII mixed in.
        const std::string sample = qmx::Utf8ToAnsi(
            "销售发票草稿导出 KLNB07 客户编号 0001, 含税金额 1234.56; 头发里面的面条, 后来的干部开了发票。",
            qmx::CP_GB2312);
        std::string out;
        while (out.size() < (1u << 20)) out += sample;
        return out;
    }();
    return text;
}

QmlanguageConvertProc Entry(const char* name) {
    static const qmx::platform::HMODULE module = qmx::platform::LoadLibrary("Qmlanguage.dll");
    auto entry = reinterpret_cast<QmlanguageConvertProc>(qmx::platform::GetProcAddress(module, name));
    if (!entry) {
        std::fprintf(stderr, "Qmlanguage %s: %s\n", name, qmx::platform::LastLibraryError().c_str());
        std::exit(1);
    }
    return entry;
}

// One call as a caller makes it: a fresh result place of the promised size.
std::string CallEntry(QmlanguageConvertProc entry, const std::string& source) {
    std::string result(2 * source.size() + 1, '\0');
    size_t length = 0;
    if (entry(source.data(), source.size(), result.data(), result.size(), &length) != QML_OK) std::abort();
    result.resize(length);
    return result;
}

const std::string& Big5Text() {
    static const std::string text = CallEntry(Entry("GBtoBIG5"), GbText());
    return text;
}

std::string RawIconv(iconv_t cd, const std::string& input, std::size_t outSize) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out(outSize, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* o = out.data();
    std::size_t outLeft = out.size();
    iconv(cd, &in, &inLeft, &o, &outLeft);
    out.resize(out.size() - outLeft);
    return out;
}

// The raw pipeline: descriptors and converter made once, as a careful caller would.
void RawPipeline(benchmark::State& state, const std::string& source, const char* from, const char* to,
                 const char* config) {
    iconv_t decode = iconv_open("UTF-8", from);
    iconv_t encode = iconv_open(to, "UTF-8");
    const opencc::SimpleConverter converter(std::string(QMLANGUAGE_OPENCC_DATA_DIR) + "/" + config);
    for (auto _ : state) {
        const std::string utf8 = RawIconv(decode, source, source.size() * 2);
        const std::string converted = converter.Convert(utf8);
        benchmark::DoNotOptimize(RawIconv(encode, converted, converted.size()));
    }
    iconv_close(decode);
    iconv_close(encode);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}

void Ours_GBtoBIG5(benchmark::State& state) {
    const QmlanguageConvertProc entry = Entry("GBtoBIG5");
    CallEntry(entry, "\xB7\xA2"); // the tables load once per process, not in the measurement
    for (auto _ : state) benchmark::DoNotOptimize(CallEntry(entry, GbText()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * GbText().size()));
}

void Raw_GBtoBIG5(benchmark::State& state) { RawPipeline(state, GbText(), "CP936", "CP950", "s2tw.json"); }

void Ours_BIG5toGB(benchmark::State& state) {
    const QmlanguageConvertProc entry = Entry("BIG5toGB");
    CallEntry(entry, Big5Text().substr(0, 2));
    for (auto _ : state) benchmark::DoNotOptimize(CallEntry(entry, Big5Text()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Big5Text().size()));
}

void Raw_BIG5toGB(benchmark::State& state) { RawPipeline(state, Big5Text(), "CP950", "CP936", "tw2s.json"); }

} // namespace

BENCHMARK(Ours_GBtoBIG5)->Unit(benchmark::kMillisecond);
BENCHMARK(Raw_GBtoBIG5)->Unit(benchmark::kMillisecond);
BENCHMARK(Ours_BIG5toGB)->Unit(benchmark::kMillisecond);
BENCHMARK(Raw_BIG5toGB)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    auto& reporter = qmx::bench::RunWithRatios(argc, argv);
    reporter.PrintRatios({{"Ours_GBtoBIG5", "Raw_GBtoBIG5"}, {"Ours_BIG5toGB", "Raw_BIG5toGB"}}, 1.0 / 0.7,
                         "time ratio");
    return 0;
}
