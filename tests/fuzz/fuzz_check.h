#pragma once
// What every harness shares: a check that stops the run with a message (libFuzzer then keeps
// the input as a crash file), and the input as text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace lb::fuzz {

// Stops the run when `holds` is false: libFuzzer reports the input that broke the rule.
inline void Check(bool holds, const char* rule) {
  if (holds) return;
  std::fprintf(stderr, "broken rule: %s\n", rule);
  std::abort();
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace lb::fuzz
