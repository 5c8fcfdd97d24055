#include "platform/HeadlessGui.h"

#include <benchmark/benchmark.h>

// The benchmarks that draw through Qt need its application object.
int main(int argc, char** argv) {
    EnsureHeadlessGui();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
