#include "core/DMAT.h"
#include "core/NumberText.h"
#include "core/Prompt.h"
#include "datafiles/AsciiMatrix.h"
#include "datafiles/GaussMatrix.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <bit>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

// Answers every question with OK and shows nothing.
class SilentPrompt : public Prompt {
public:
    PromptAnswer Ask(const std::string&, const std::string&, PromptButtons, PromptIcon) override {
        return PromptAnswer::Ok;
    }
};

constexpr int kSide = 1000;

// A 1000 x 1000 comma-delimited matrix of rates such as "12.3456" (about
// 8 MB), with an "NA" now and then, built once.
const std::string& Matrix() {
    static const std::string text = [] {
        std::string out;
        out.reserve(9u * kSide * kSide);
        std::uint64_t state = 0x9E3779B97F4A7C15ull;
        for (int r = 0; r < kSide; ++r) {
            for (int c = 0; c < kSide; ++c) {
                state = state * 6364136223846793005ull + 1442695040888963407ull;
                if (c) {
                    out += ',';
                }
                if ((state >> 20) % 997 == 0) {
                    out += "NA";
                } else {
                    out += FormatDoubleC("%.4f", static_cast<double>(state >> 40) / 167772.16);
                }
            }
            out += "\r\n";
        }
        return out;
    }();
    return text;
}

void BM_LoadAsciiMatrixStream(benchmark::State& state) {
    SilentPrompt prompt;
    const AsciiFormat format;
    for (auto _ : state) {
        state.PauseTiming();
        std::istringstream input(Matrix());
        DMAT matrix;
        state.ResumeTiming();
        const int result = LoadAsciiMatrix(format, matrix, input, prompt);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(matrix.Data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Matrix().size()));
}
BENCHMARK(BM_LoadAsciiMatrixStream)->Unit(benchmark::kMillisecond);

void BM_LoadAsciiMatrixBytes(benchmark::State& state) {
    SilentPrompt prompt;
    const AsciiFormat format;
    for (auto _ : state) {
        DMAT matrix;
        const int result = LoadAsciiMatrix(format, matrix, std::string_view(Matrix()), prompt);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(matrix.Data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Matrix().size()));
}
BENCHMARK(BM_LoadAsciiMatrixBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same in one thread, to see what the split second pass gains.
void BM_LoadAsciiMatrixBytesOneThread(benchmark::State& state) {
    SilentPrompt prompt;
    const AsciiFormat format;
    AsciiReading threads;
    threads.threads = 1;
    for (auto _ : state) {
        DMAT matrix;
        const int result =
            LoadAsciiMatrix(format, matrix, std::string_view(Matrix()), prompt, {}, threads);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(matrix.Data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Matrix().size()));
}
BENCHMARK(BM_LoadAsciiMatrixBytesOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same numbers with blanks between them, which takes the general path.
void BM_LoadAsciiMatrixSpaces(benchmark::State& state) {
    static const std::string text = [] {
        std::string out = Matrix();
        std::replace(out.begin(), out.end(), ',', ' ');
        return out;
    }();
    SilentPrompt prompt;
    const AsciiFormat format{AsciiFormat::Field::Spaces};
    for (auto _ : state) {
        DMAT matrix;
        const int result = LoadAsciiMatrix(format, matrix, std::string_view(text), prompt);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(matrix.Data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_LoadAsciiMatrixSpaces)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 1000 x 1000 Gauss matrix file (8 MB of elements), for comparison with
// the text files: the binary reader has no text to scan.
void BM_ReadGaussMatrix(benchmark::State& state) {
    static const std::string bytes = [] {
        GaussLargeHeader header;
        header.rows = kSide;
        header.columns = kSide;
        const auto head = header.Encode();
        std::string out(head.begin(), head.end());
        out.reserve(out.size() + 8u * kSide * kSide);
        for (int k = 0; k < kSide * kSide; ++k) {
            const auto bits = std::bit_cast<std::uint64_t>(k * 0.001);
            for (int b = 0; b < 8; ++b) {
                out += static_cast<char>((bits >> (8 * b)) & 0xFF);
            }
        }
        return out;
    }();
    for (auto _ : state) {
        state.PauseTiming();
        std::istringstream input(bytes);
        DMAT matrix;
        state.ResumeTiming();
        const int result = ReadGaussMatrix(matrix, input, true);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(matrix.Data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadGaussMatrix)->Unit(benchmark::kMillisecond);

} // namespace
