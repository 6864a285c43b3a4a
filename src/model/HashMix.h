#pragma once
// A running 64-bit hash of values, for fingerprints that tell whether a
// list of objects changed (not for hash tables or anything adversarial).

#include <cstdint>

namespace kestrel {

struct HashMix {
    uint64_t value = 0x9e3779b97f4a7c15ull;
    void add(uint64_t v) { value = (value ^ v) * 0xff51afd7ed558ccdull + 0x9e3779b97f4a7c15ull; }
    void add(int32_t a, int32_t b) { add((uint64_t(uint32_t(a)) << 32) | uint32_t(b)); }
};

} // namespace kestrel
