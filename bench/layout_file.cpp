// Reading and writing generated 100,000-object documents.

#include "support/GeneratedBoard.h"
#include "support/HeapInUse.h"

#include "model/FileIO.h"
#include "model/LayoutFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace kestrel;

namespace {

std::vector<uint8_t> encoded(LayoutDocument doc)
{
    prepareForWriting(doc, true);
    return encodeDocument(doc);
}

const std::vector<uint8_t>& documentBytes()
{
    static const std::vector<uint8_t> bytes = encoded(bench::generateDocument());
    return bytes;
}

// 100,000 objects laid out as nets (200 columns of 500).
const std::vector<uint8_t>& netDocumentBytes()
{
    static const std::vector<uint8_t> bytes = [] {
        LayoutDocument doc = bench::generateNetDocument(200);
        doc.Working.BoardWidth = 80000, doc.Working.BoardHeight = 10000;
        return encoded(std::move(doc));
    }();
    return bytes;
}

std::string scratchPath()
{
    return "/tmp/kestrel-bench-" + std::to_string(::getpid()) + ".kbd";
}

void readFromMemory(benchmark::State& state, const std::vector<uint8_t>& bytes)
{
    for (auto _ : state) {
        auto r = decodeDocument(bytes.data(), bytes.size(), Language::English, "bench.kbd");
        if (!r)
            state.SkipWithError(r.message().c_str());
        benchmark::DoNotOptimize(r);
    }
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
    // Heap held by one loaded document, per object.
    const size_t before = bench::heapInUse();
    auto loaded = decodeDocument(bytes.data(), bytes.size(), Language::English, "bench.kbd");
    const size_t objects = loaded ? loaded->document.board(0).Objects.size() : 1;
    state.counters["objects"] = static_cast<double>(objects);
    state.counters["heap_bytes_per_object"] =
        static_cast<double>(bench::heapInUse() - before) / static_cast<double>(objects);
}

void BM_ReadFromMemory(benchmark::State& state) { readFromMemory(state, documentBytes()); }
BENCHMARK(BM_ReadFromMemory)->Unit(benchmark::kMillisecond);

void BM_ReadNetBoardFromMemory(benchmark::State& state) { readFromMemory(state, netDocumentBytes()); }
BENCHMARK(BM_ReadNetBoardFromMemory)->Unit(benchmark::kMillisecond);

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

// The yardstick for the whole Save: the same number of bytes written with
// one plain write and made durable with fsync, nothing else.
void BM_PlainWriteAndSync(benchmark::State& state)
{
    const auto& bytes = documentBytes();
    const std::string path = scratchPath();
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) || ::fsync(fd) != 0)
            state.SkipWithError("plain write failed");
        if (fd >= 0)
            ::close(fd);
    }
    std::remove(path.c_str());
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(BM_PlainWriteAndSync)->Unit(benchmark::kMillisecond);

// A version-1 file of the largest object count the old format holds, every
// object carrying a legacy group number shared by range(0) objects.
std::vector<uint8_t> version1File(int sharing)
{
    std::vector<uint8_t> b;
    auto put = [&b](uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    const int count = 32'767;
    put(0xFFAA3301u, 4);
    put(16000, 4);
    put(10000, 4);
    put(count, 2);
    for (int i = 0; i < count; ++i) {
        const size_t at = b.size();
        b.resize(at + 49);
        b[at] = 2; // a round pad with a hole
        const int16_t fields[5] = {static_cast<int16_t>(100 + i % 150 * 100), static_cast<int16_t>(-100 - i / 150 * 40),
                                   40, 10, 0};
        std::memcpy(&b[at + 1], fields, sizeof fields);
        b[at + 12] = 1; // layer
        b[at + 13] = 1; // shape
        const uint16_t legacy = static_cast<uint16_t>(i / sharing + 1);
        std::memcpy(&b[at + 34], &legacy, 2);
    }
    return b;
}

void BM_ReadVersion1LegacyGroups(benchmark::State& state)
{
    const auto bytes = version1File(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto r = decodeDocument(bytes.data(), bytes.size(), Language::English, "v1.kbd");
        if (!r)
            state.SkipWithError(r.message().c_str());
        benchmark::DoNotOptimize(r);
    }
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(BM_ReadVersion1LegacyGroups)->Arg(1)->Arg(2)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
