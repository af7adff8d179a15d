#pragma once

#include "common/status.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace tarvex::graphs {

struct GraphData;

/// The version text that opens every .grp file.
inline constexpr std::string_view GrpVersion = "versao 01.00.00";
inline constexpr std::size_t GrpVersionBytes = 31;
/// Title, captions and names each take a fixed field; the text keeps one byte for its NUL.
inline constexpr std::size_t GrpTextBytes = 100;

/**
 * Reads a .grp image. All or nothing: `out` is replaced only on success. A version mismatch gives
 * msg::GrpVersionError; the graph document then shows the message and stays empty. Texts are
 * converted from Windows-1252; a field without a NUL gives its first 99 bytes. A curve whose
 * abscissa and ordinate counts differ, a negative count, a non-finite value or a file that ends
 * early is refused. Bytes after the last curve are ignored.
 */
Status readGrp(std::string_view bytes, GraphData& out);
Status readGrp(std::istream& in, GraphData& out);

/// The .grp image: texts as Windows-1252, cut to 99 bytes; element 0 of each array written as 0.
std::string writeGrp(const GraphData& data);

/// Reads a .grp file; `out` is untouched on failure.
Status openGrp(const std::string& path, GraphData& out);
/// Writes the .grp image without ever leaving a truncated file; reports a failed write.
Status saveGrp(const std::string& path, const GraphData& data);

/**
 * The .asc text of a graph: "columns  points" and then one row per point, the abscissa of
 * curve 1 and every curve's ordinate, each followed by two spaces, in the default stream format
 * of doubles. The rows stop at the shortest curve, and the point count says how many were
 * written, so a graph with a short curve never reads past its end.
 */
std::string writeAsc(const GraphData& data);
Status saveAsc(const std::string& path, const GraphData& data);

/// The name offered by the ASCII export: the document's name with ".grp" replaced by ".asc".
std::string ascNomeSugerido(const std::string& documentPath);
/// The name the export writes: the chosen name, its extension replaced by "asc" unless it already
/// ends in ".asc".
std::string ascNomeFinal(const std::string& chosenPath);

} // namespace tarvex::graphs
