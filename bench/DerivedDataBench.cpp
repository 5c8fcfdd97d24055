// What a derivation adds to the load of a 1000 x 1000 map. Goals: a ratio
// or an improvement at most 10 ms, smoothing with a half-width of 2 at most
// 30 ms.
#include "core/DMAT.h"
#include "datafiles/DerivedData.h"

#include <benchmark/benchmark.h>
#include <random>

namespace {

// Rates from 0 to 0.25 with one cell in a thousand missing and one in a
// thousand 0, so every undefined case is met along the way.
DMAT Rates(unsigned seed) {
    DMAT m(1000, 1000);
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> rate(0.0, 0.25);
    double* cells = m.Data();
    for (std::size_t k = 0; k < 1000u * 1000u; ++k) {
        const unsigned pick = random() % 1000;
        cells[k] = pick == 0 ? DMAT::MissingValue() : pick == 1 ? 0.0 : rate(random);
    }
    return m;
}

const DMAT& First() {
    static const DMAT a = Rates(1);
    return a;
}

const DMAT& Second() {
    static const DMAT b = Rates(2);
    return b;
}

void BM_DeriveRatio(benchmark::State& state) {
    DMAT result;
    for (auto _ : state) {
        DeriveRatio(First(), Second(), result);
        benchmark::DoNotOptimize(result.Data());
    }
}
BENCHMARK(BM_DeriveRatio)->Unit(benchmark::kMillisecond);

void BM_DeriveImprovement(benchmark::State& state) {
    DMAT result;
    for (auto _ : state) {
        DeriveImprovement(First(), 1, result);
        benchmark::DoNotOptimize(result.Data());
    }
}
// Large maps share the work between threads: wall-clock time counts.
BENCHMARK(BM_DeriveImprovement)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DeriveSmooth(benchmark::State& state) {
    DMAT result;
    for (auto _ : state) {
        DeriveSmooth(First(), static_cast<std::uint32_t>(state.range(0)), result);
        benchmark::DoNotOptimize(result.Data());
    }
}
BENCHMARK(BM_DeriveSmooth)->Arg(2)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
