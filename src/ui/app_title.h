#pragma once
#include <string_view>

namespace lb {

// The application title: the caption of the main window and of the error report.
inline constexpr std::string_view kAppTitle = "Lock Beacon";

}  // namespace lb
