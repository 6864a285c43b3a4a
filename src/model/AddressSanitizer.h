#pragma once
// Whether the build runs under the address sanitizer (GCC or Clang): code
// that keeps its own memory pools hands every block to the heap instead,
// so the sanitizer still sees each one freed and reused.

namespace kestrel {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

} // namespace kestrel
