// Reading and writing a generated 100,000-object document.

#include "support/GeneratedBoard.h"

#include "model/FileIO.h"
#include "model/LayoutFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

using namespace kestrel;

namespace {

const std::vector<uint8_t>& documentBytes()
{
    static const std::vector<uint8_t> bytes = [] {
        LayoutDocument doc = bench::generateDocument();
        prepareForWriting(doc, true);
        return encodeDocument(doc);
    }();
    return bytes;
}

std::string scratchPath()
{
    return "/tmp/kestrel-bench-" + std::to_string(::getpid()) + ".kbd";
}

void BM_ReadFromMemory(benchmark::State& state)
{
    const auto& bytes = documentBytes();
    for (auto _ : state) {
        auto r = decodeDocument(bytes.data(), bytes.size(), Language::English, "bench.kbd");
        if (!r)
            state.SkipWithError(r.message().c_str());
        benchmark::DoNotOptimize(r);
    }
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(BM_ReadFromMemory)->Unit(benchmark::kMillisecond);

void BM_ReadFile(benchmark::State& state)
{
    const std::string path = scratchPath();
    if (const Status written = writeFileAtomically(path, documentBytes(), Language::English); !written) {
        state.SkipWithError(written.message().c_str());
        return;
    }
    for (auto _ : state) {
        auto r = readDocument(path, Language::English);
        if (!r)
            state.SkipWithError(r.message().c_str());
        benchmark::DoNotOptimize(r);
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadFile)->Unit(benchmark::kMillisecond);

void BM_Encode(benchmark::State& state)
{
    LayoutDocument doc = bench::generateDocument();
    for (auto _ : state) {
        prepareForWriting(doc, false);
        auto bytes = encodeDocument(doc);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond);

// The whole Save: clean-up, encoding, temporary file, flush to disk, rename.
void BM_WriteFile(benchmark::State& state)
{
    LayoutDocument doc = bench::generateDocument();
    const std::string path = scratchPath();
    for (auto _ : state) {
        const Status written = writeDocument(doc, path, false, Language::English);
        if (!written)
            state.SkipWithError(written.message().c_str());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_WriteFile)->Unit(benchmark::kMillisecond);

} // namespace
