#include "platform/system_error_win.h"

#include <memory>

#include "platform/wide_text_win.h"

namespace lb {
namespace {

struct LocalFreeDeleter {
  void operator()(wchar_t* memory) const noexcept { ::LocalFree(memory); }
};

}  // namespace

std::string SystemErrorMessage(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const std::unique_ptr<wchar_t, LocalFreeDeleter> owner(buffer);
  std::wstring text;
  if (length != 0 && buffer) text.assign(buffer, length);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
    text.pop_back();
  }
  if (text.empty()) return "System error " + std::to_string(error);
  return ToUtf8(text);
}

}  // namespace lb
