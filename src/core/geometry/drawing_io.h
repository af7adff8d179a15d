#pragma once

#include "common/status.h"
#include "geometry/dxf_io.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace tarvex::geometry {

class DrawingData;

/// The version text that opens every .des file.
inline constexpr std::string_view DesVersion = "versao 01.00.00";
inline constexpr std::size_t VersionFieldBytes = 31;

/// Reads a .des image. All or nothing: `out` is replaced only on success. Lists are filled by
/// inserting each record read at the front; the saved counts are set to the list lengths. The
/// export tolerance of `out` is reset to its default, as for any newly opened drawing.
Status readDes(std::string_view bytes, DrawingData& out);
Status readDes(std::istream& in, DrawingData& out);

/// The .des image of a drawing: each list written from its head.
std::string writeDes(const DrawingData& drawing);

/// Reads a .pre text. All or nothing, as readDes. `line` of a failure is the 1-based text line.
Status readPre(std::istream& in, DrawingData& out);

/// Opens a drawing file by the extension of its document type ("des", "pre", "dxf"), compared
/// exactly; any other type gives an empty drawing. A DXF import tells in `ignorados` (when not
/// null) which entities it left out.
Status openDrawing(const std::string& path, std::string_view documentType, DrawingData& out,
    DxfIgnorados* ignorados = nullptr);

/// The path a drawing is saved under: a ".pre" or ".dxf" extension becomes ".des".
std::string caminhoGravacao(const std::string& path);

/// Writes the .des image under caminhoGravacao(path) without ever leaving a truncated file; on
/// success marks the drawing saved and gives the path written in `savedPath` (when not null).
Status saveDrawing(const std::string& path, DrawingData& drawing, std::string* savedPath = nullptr);

} // namespace tarvex::geometry
