#include "core/DMAT.h"
#include "core/NumberText.h"
#include "datafiles/LexisTable.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr int kYears = 250;
constexpr int kAges = 111;

// A table of deaths by Lexis triangle as the mortality database writes
// it: 250 years of 111 ages (the last one open), two rows per year and
// age, female, male and total deaths with two decimals (55,500 rows,
// about 3.9 MB), built once.
const std::string& DeathsLexis() {
    static const std::string text = [] {
        std::string out = "Sweden, Deaths (Lexis triangle)\tLast modified: 01 Feb 2024;  "
                          "Methods Protocol: v6 (2017)\n\n"
                          "   Year      Age    Cohort        Female          Male         Total\n";
        out.reserve(72u * 2 * kYears * kAges);
        std::uint64_t state = 0x9E3779B97F4A7C15ull;
        char line[128];
        for (int year = 1771; year < 1771 + kYears; ++year) {
            for (int age = 0; age < kAges; ++age) {
                for (int upper = 0; upper < 2; ++upper) {
                    state = state * 6364136223846793005ull + 1442695040888963407ull;
                    const double female = static_cast<double>(state >> 44) / 100.0;
                    const double male = static_cast<double>((state >> 24) & 0xFFFFF) / 100.0;
                    const std::string ageText = std::to_string(age) + (age + 1 == kAges ? "+" : "");
                    const std::string cohort =
                        age + 1 == kAges ? "." : std::to_string(year - age - upper);
                    std::snprintf(line, sizeof line, "%7d%9s%10s%14s%14s%14s\n", year,
                                  ageText.c_str(), cohort.c_str(),
                                  FormatDoubleC("%.2f", female).c_str(),
                                  FormatDoubleC("%.2f", male).c_str(),
                                  FormatDoubleC("%.2f", female + male).c_str());
                    out += line;
                }
            }
        }
        return out;
    }();
    return text;
}

void BM_ReadDeathsLexisTable(benchmark::State& state) {
    for (auto _ : state) {
        LexisTable table;
        DMAT values;
        std::string error;
        const bool ok = ReadLexisTable(DeathsLexis(), "Male", table, values, error);
        if (!ok) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(values.Data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(DeathsLexis().size()));
}
BENCHMARK(BM_ReadDeathsLexisTable)->Unit(benchmark::kMillisecond);

} // namespace
