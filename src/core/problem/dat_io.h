#pragma once

#include "common/status.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace tarvex::common {
class ByteReader;
class ByteWriter;
}

namespace tarvex::problem {

class ProblemData;
struct Regiao;
struct SegmentoContorno;

/// The version texts of .dat files: the first is what the drawing's export writes, the second
/// what the problem document writes (it adds the list of special areas).
inline constexpr std::string_view DatVersao00 = "versao 01.00.00";
inline constexpr std::string_view DatVersao01 = "versao 01.00.01";

/**
 * Reads a .dat image, either version. All or nothing: `out` is replaced only on success. Every
 * record read is inserted at the front of its list; the working lists are then derived and the
 * triangle count set. A file that ends before its lists are complete is refused.
 */
Status readDat(std::string_view bytes, ProblemData& out);
Status readDat(std::istream& in, ProblemData& out);

/// The .dat image of a problem ("versao 01.00.01"): regions and special areas from the last
/// record to the first, so that a load gives them back in the same order; every other list from
/// the first record to the last.
std::string writeDat(const ProblemData& data);

/// A region record: its fixed part (2131 bytes), then its contour count and elements in contour
/// order. The materials-file path goes out as Windows-1252, NUL-terminated.
void writeRegiao(common::ByteWriter& out, const Regiao& regiao);
/// A 64-byte contour element; its six padding bytes are zeros.
void writeSegmentoContorno(common::ByteWriter& out, const SegmentoContorno& s);

/// Reads what writeRegiao() writes (the solver model file stores regions the same way); the
/// contour comes back in list order. A short or non-finite record is refused.
Status readRegiao(common::ByteReader& in, Regiao& regiao);
/// Reads one 64-byte contour element.
Status readSegmentoContorno(common::ByteReader& in, SegmentoContorno& s);

/// Reads a .dat file; `out` is untouched on failure.
Status openDat(const std::string& path, ProblemData& out);
/// Writes the .dat image without ever leaving a truncated file; reports a failed write.
Status saveDat(const std::string& path, const ProblemData& data);

} // namespace tarvex::problem
