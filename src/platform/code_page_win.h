#pragma once
// One of the system's code pages: the ANSI code page (CP_ACP), converted the way the profile
// functions convert it, or the OEM code page (CP_OEMCP), in which the command interpreter reads
// batch files.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace lb {

class Win32CodePage : public ICodePage {
 public:
  explicit Win32CodePage(UINT codePage = CP_ACP) noexcept : codePage_(codePage) {}

  [[nodiscard]] std::string Decode(std::string_view ansi) const override;
  // Nothing when a character has no exact form: no best-fit replacement ("Ş" never becomes
  // "S"), no default character ("?"), and no form that would read back as something else.
  [[nodiscard]] std::optional<std::string> Encode(std::string_view utf8) const override;

 private:
  UINT codePage_;
};

}  // namespace lb
