// GB2312 <-> UTF-16 over 1 MB of text: our layer against raw iconv on the same data.
// Goal: our throughput at least 0.8 of raw iconv's, that is, our time at most 1.25 of its time.
#include <benchmark/benchmark.h>

#include <iconv.h>

#include <string>

#include "common/RatioReporter.h"
#include "qmx/CodePage.h"

namespace {

const std::string& GbText() {
    static const std::string text = [] {
        // Chinese with ASCII mixed in, as interface texts and data rows are.
        const std::string sample = qmx::Utf8ToAnsi("销售发票草稿导出 KLNB07 客户编号 0001, 含税金额 1234.56; ", qmx::CP_GB2312);
        std::string out;
        while (out.size() < (1u << 20)) out += sample;
        return out;
    }();
    return text;
}

const std::u16string& WideText() {
    static const std::u16string text = qmx::AnsiToWide(GbText(), qmx::CP_GB2312);
    return text;
}

void Ours_GbToWide(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(qmx::AnsiToWide(GbText(), qmx::CP_GB2312));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * GbText().size()));
}

void Ours_WideToGb(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(qmx::WideToAnsi(WideText(), qmx::CP_GB2312));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * GbText().size()));
}

// Raw iconv with a descriptor opened once and a buffer allocated per call, as a caller would.
template <class Out, class In>
Out RawIconv(iconv_t cd, const In& input, std::size_t outUnits) {
    Out out(outUnits, typename Out::value_type{});
    char* in = reinterpret_cast<char*>(const_cast<typename In::value_type*>(input.data()));
    std::size_t inLeft = input.size() * sizeof(typename In::value_type);
    char* o = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = out.size() * sizeof(typename Out::value_type);
    iconv(cd, &in, &inLeft, &o, &outLeft);
    out.resize(out.size() - outLeft / sizeof(typename Out::value_type));
    return out;
}

void Raw_GbToWide(benchmark::State& state) {
    iconv_t cd = iconv_open("UTF-16LE", "CP936");
    for (auto _ : state) benchmark::DoNotOptimize(RawIconv<std::u16string>(cd, GbText(), GbText().size()));
    iconv_close(cd);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * GbText().size()));
}

void Raw_WideToGb(benchmark::State& state) {
    iconv_t cd = iconv_open("CP936", "UTF-16LE");
    for (auto _ : state) benchmark::DoNotOptimize(RawIconv<std::string>(cd, WideText(), WideText().size() * 2));
    iconv_close(cd);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * GbText().size()));
}

} // namespace

BENCHMARK(Ours_GbToWide)->Unit(benchmark::kMillisecond);
BENCHMARK(Raw_GbToWide)->Unit(benchmark::kMillisecond);
BENCHMARK(Ours_WideToGb)->Unit(benchmark::kMillisecond);
BENCHMARK(Raw_WideToGb)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    auto& reporter = qmx::bench::RunWithRatios(argc, argv);
    reporter.PrintRatios({{"Ours_GbToWide", "Raw_GbToWide"}, {"Ours_WideToGb", "Raw_WideToGb"}}, 1.25,
                         "time ratio");
    return 0;
}
