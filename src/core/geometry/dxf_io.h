#pragma once

#include "common/status.h"

#include <map>
#include <string>
#include <string_view>

namespace tarvex::geometry {

class DrawingData;

/// What an import left out: entity kind (as the file names it) → how many of it were ignored.
/// Kinds the reader does not take (SPLINE, TEXT, INSERT...), and taken kinds that could not be
/// drawn in the plane (no coordinates, a radius that is not positive, a tilted plane, a mesh).
using DxfIgnorados = std::map<std::string, long long>;

/// π as the DXF reader has always taken it, for degrees to radians.
inline constexpr double PiDxf = 3.141592654;

/**
 * Reads the ENTITIES section of an ASCII DXF drawing into `out`: POINT, VERTEX (outside a
 * polyline), LINE, ARC, CIRCLE (two half arcs, east → west and west → east), LWPOLYLINE and
 * POLYLINE with bulges, open or closed. Every vertex, end point and centre met is also inserted
 * as a point; every record is inserted at the front of its list; the saved counts are set to the
 * list lengths, so a freshly imported drawing is not reported as modified.
 *
 * The text is read as group-code/value pairs (code line, value line), so a layer, colour or
 * handle whose value looks like a group code does not derail it. CRLF line ends, blanks around
 * the code and a UTF-8 byte-order mark are accepted. A text without an ENTITIES section gives an
 * empty drawing; the end of the text ends the reading (an entity cut short is left out).
 *
 * All or nothing: `out` is replaced only on success. A code line that is not a number, or a
 * coordinate, radius, angle or bulge that is not a finite number, refuses the file with the line.
 */
Status readDxf(std::string_view text, DrawingData& out, DxfIgnorados* ignorados = nullptr);

/// Reads a DXF file from disk; see readDxf.
Status readDxfFile(const std::string& path, DrawingData& out, DxfIgnorados* ignorados = nullptr);

} // namespace tarvex::geometry
