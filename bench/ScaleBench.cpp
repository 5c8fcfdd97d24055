#include "core/DMAT.h"
#include "core/Prompt.h"
#include "core/WMAT.h"
#include "scale/MapScale.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <random>

namespace {

// Answers every box with OK; the benchmarks raise none.
class SilentPrompt : public Prompt {
public:
    PromptAnswer Ask(const std::string&, const std::string&, PromptButtons, PromptIcon) override {
        return PromptAnswer::Ok;
    }
};

// A 1000 x 1000 map of rates with one cell in a thousand missing.
const DMAT& MapData() {
    static const DMAT data = [] {
        DMAT m(1000, 1000);
        std::mt19937 random(12345);
        std::uniform_real_distribution<double> rate(0.0, 0.25);
        double* cells = m.Data();
        for (std::size_t k = 0; k < 1000u * 1000u; ++k) {
            cells[k] = random() % 1000 == 0 ? DMAT::MissingValue() : rate(random);
        }
        return m;
    }();
    return data;
}

// Ascending boundaries at the data's quantiles, so every level is used.
DMAT QuantileScale(std::uint32_t count) {
    SilentPrompt prompt;
    DMAT scale;
    MakeLinearScale(scale, 0, 1, count);
    SmartScale(MapData(), scale, prompt);
    return scale;
}

void BM_ClassifyLevels(benchmark::State& state) {
    const DMAT& data = MapData();
    const DMAT scale = QuantileScale(static_cast<std::uint32_t>(state.range(0)));
    WMAT levels;
    for (auto _ : state) {
        ClassifyLevels(data, scale, levels);
        benchmark::DoNotOptimize(levels.Data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ClassifyLevels)->Arg(12)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_SmartScale(benchmark::State& state) {
    const DMAT& data = MapData();
    SilentPrompt prompt;
    DMAT scale;
    MakeLinearScale(scale, 0, 1, static_cast<std::uint32_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(SmartScale(data, scale, prompt));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SmartScale)->Arg(12)->Unit(benchmark::kMillisecond);

} // namespace
