#include "view/gui/PixelRuns.h"

#include <algorithm>
#include <bit>

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define KESTREL_X86_VECTOR_WRITERS 1
#endif

namespace kestrel {

// In blocks of 16 whose last one ends at the run's end and overlaps the one
// before: a fill to the exact length ends in single-pixel stores whose count
// changes from run to run, and the mispredicted branches cost more than the
// stores. The blocks are also compiled for the wider vector units, the
// processor's own chosen when the program loads; the full repaint runs a
// tenth faster with them. Not under ThreadSanitizer: the loader picks the
// clone before the sanitizer's runtime is up, and its instrumented chooser
// crashes the program.
#if defined(__GNUC__) && defined(__x86_64__) && defined(__linux__) && !defined(__SANITIZE_THREAD__)
__attribute__((target_clones("avx512f", "avx2", "default")))
#endif
void fillRun(QRgb* first, int count, QRgb pixel)
{
    QRgb* last = first + count - 16;
    for (QRgb* p = first; p < last; p += 16)
        std::fill_n(p, 16, pixel);
    std::fill_n(last, 16, pixel);
}

namespace {

// A run of set bits at a time.
void writeRuns(QRgb* line, uint64_t bits, QRgb pixel)
{
    while (bits != 0) {
        // The lowest run of ones, [from, end).
        const int from = std::countr_zero(bits);
        const uint64_t carried = bits + (bits & (~bits + 1));
        const int end = std::countr_zero(carried); // 64 when the run reaches the top bit
        fillPixels(line + from, end - from - 1, pixel);
        bits &= carried;
    }
}

#if KESTREL_X86_VECTOR_WRITERS
// Masked stores write only the lanes whose bit is set and touch no other
// memory, so the row needs no branches on where its runs begin and end.
__attribute__((target("avx512f"))) void writeMasked16(QRgb* line, uint64_t bits, QRgb pixel)
{
    const __m512i colour = _mm512_set1_epi32(static_cast<int>(pixel));
    for (; bits != 0; line += 16, bits >>= 16)
        _mm512_mask_storeu_epi32(line, static_cast<__mmask16>(bits), colour);
}

__attribute__((target("avx2"))) void writeMasked8(QRgb* line, uint64_t bits, QRgb pixel)
{
    const __m256i colour = _mm256_set1_epi32(static_cast<int>(pixel));
    const __m256i lanes = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);
    for (; bits != 0; line += 8, bits >>= 8) {
        const __m256i own = _mm256_and_si256(_mm256_set1_epi32(static_cast<int>(bits & 0xFF)), lanes);
        _mm256_maskstore_epi32(reinterpret_cast<int*>(line), _mm256_cmpeq_epi32(own, lanes), colour);
    }
}
#endif

} // namespace

std::vector<RowBitsWriter> rowBitsWriters()
{
    std::vector<RowBitsWriter> writers{writeRuns};
#if KESTREL_X86_VECTOR_WRITERS
    if (__builtin_cpu_supports("avx2"))
        writers.push_back(writeMasked8);
    if (__builtin_cpu_supports("avx512f"))
        writers.push_back(writeMasked16);
#endif
    return writers;
}

RowBitsWriter rowBitsWriter()
{
    static const RowBitsWriter quickest = rowBitsWriters().back();
    return quickest;
}

} // namespace kestrel
