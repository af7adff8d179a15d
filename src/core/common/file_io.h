#pragma once

#include "common/status.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvex::common {

/// Files larger than this are refused rather than read into memory.
inline constexpr std::size_t MaxFileBytes = std::size_t { 1 } << 31;

/// Reads a whole file into `out`; `out` is untouched on failure.
Status readWholeFile(const std::string& path, std::string& out);

/// Writes `bytes` to a temporary file in the target's folder and renames it over the target, so a
/// failed write never leaves a truncated file where a good one was.
Status writeFileAtomically(const std::string& path, std::string_view bytes);

/// The extension of the last component of `path`, without the dot ("" when there is none).
std::string extensionOf(const std::string& path);

/// `path` with the extension of its last component replaced by `newExtension` (given with its
/// dot), or appended when the last component has none.
std::string replaceExtension(const std::string& path, std::string_view newExtension);

} // namespace tarvex::common
