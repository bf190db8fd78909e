#pragma once
// The version block of an executable file (VERSIONINFO resource), read with the system's
// version functions.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/version_block.h"

namespace lb {

// The twelve strings under \StringFileInfo\<first translation>\; a string the block does not
// hold stays empty. Throws AppError with the system's message when the file has no version
// block or the block no translation entry.
[[nodiscard]] VersionBlock ReadVersionBlock(const std::string& path);

// dwFileVersionMS of the block's fixed part (major << 16 | minor), or nothing when the block or
// its fixed part cannot be read.
[[nodiscard]] std::optional<std::uint32_t> ReadFileVersionMS(const std::string& path);

}  // namespace lb
