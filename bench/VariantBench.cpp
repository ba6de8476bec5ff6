// Variant arrays: copying a 100,000-element array and reading every element; ns per element.
#include <benchmark/benchmark.h>

#include "qmx/Variant.h"

namespace {

constexpr int kElements = 100000;

qmx::Variant MakeArray() {
    qmx::Variant array = qmx::VarArrayCreate({{0, kElements - 1}});
    for (int i = 0; i < kElements; ++i) array[i] = (i % 3 == 0) ? qmx::Variant("text") : qmx::Variant(i);
    return array;
}

void VariantArrayCopy(benchmark::State& state) {
    const qmx::Variant source = MakeArray();
    for (auto _ : state) {
        qmx::Variant copy = source;
        benchmark::DoNotOptimize(copy);
    }
    state.counters["time_per_element"] = benchmark::Counter(
        double(state.iterations()) * kElements, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void VariantArrayElementAccess(benchmark::State& state) {
    const qmx::Variant source = MakeArray();
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (int i = 0; i < kElements; ++i) {
            const qmx::Variant& element = source[i];
            if (element.Type() == qmx::VarType::Integer) sum += element.AsInteger();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["time_per_element"] = benchmark::Counter(
        double(state.iterations()) * kElements, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(VariantArrayCopy)->Unit(benchmark::kMicrosecond);
BENCHMARK(VariantArrayElementAccess)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
