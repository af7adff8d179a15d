#pragma once

#include <string>
#include <string_view>

namespace tarvex::common {

/// The texts inside the binary files (materials-file paths and the like) are Windows-1252 bytes;
/// the program works in UTF-8. The five bytes that Windows-1252 leaves undefined (0x81, 0x8D,
/// 0x8F, 0x90, 0x9D) map to the C1 code points of the same value, so any byte string survives a
/// round trip.
std::string windows1252ToUtf8(std::string_view bytes);

/// The Windows-1252 bytes of a UTF-8 text. A character that Windows-1252 cannot hold becomes '?',
/// and so does every byte that is not part of a well-formed UTF-8 sequence.
std::string utf8ToWindows1252(std::string_view text);

} // namespace tarvex::common
