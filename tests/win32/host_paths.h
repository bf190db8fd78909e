#pragma once
// Paths of the build machine, which the build hands to the tests ("/work/build/x.dll"), as this
// process sees them: under Wine the host's root is drive Z:.
#include <string>
#include <string_view>

namespace lb::test {

// "/work/build/x.dll" -> "Z:\work\build\x.dll"; a Windows path only gets backslashes.
inline std::string HostPath(std::string_view path) {
  std::string result;
  if (!path.empty() && path.front() == '/') result = "Z:";
  for (const char c : path) result += c == '/' ? '\\' : c;
  return result;
}

inline std::string FixturePath(std::string_view fileName) {
  return HostPath(LOCKBEACON_FIXTURES_DIR) + "\\" + std::string(fileName);
}

}  // namespace lb::test
