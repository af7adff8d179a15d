#pragma once

#include "common/status.h"
#include "geometry/drawing.h"
#include "problem/records.h"

#include <string>
#include <vector>

namespace tarvex::solver {
struct SolverModel;
}

namespace tarvex::results {

/// What the results picture export needs from its view.
struct EmfExport {
    geometry::Caixa window; ///< the visible (fitted) window, model units
    int displayMode = 2; ///< the view's display mode (1 mesh, 3 equipotentials, ...)
    int equipotentialCount = 21; ///< levels of the equipotentials traced again in mode 3
    /// Contour lines the view leaves out (removed auxiliary lines); none when null.
    const std::vector<problem::SegmentoContorno>* hidden = nullptr;
};

/// Pen widths of the picture, in 0.01 mm.
inline constexpr std::uint32_t EmfLinePen = 8;
inline constexpr std::uint32_t EmfContourPen = 16;

/**
 * The divisor of the model coordinates: starts at `scaleFactor` and is divided by 10 until
 * `largerSide` divided by it is at least 10000, so the picture keeps at least four digits of
 * resolution. 0 when no divisor exists (a side or a scale factor that is not a finite positive
 * number, or a side so small that the divisor would leave the normal range of doubles).
 */
double emfDivisor(double scaleFactor, double largerSide);

/**
 * The results picture as an enhanced metafile in 0.01 mm with y up: every model coordinate
 * divided by emfDivisor(), the frame the visible window so divided (y negated). In display mode
 * 3, when the equipotentials are traced, they are traced again and written with a solid pen 8
 * wide; in display mode 1 the mesh triangles likewise; then every region contour (arcs as short
 * chords) with a solid pen 16 wide. Coordinates beyond the 32-bit range are clamped to it.
 * Fails, leaving `out` alone, when the window has no finite extent.
 */
Status resultsEmf(solver::SolverModel& model, const EmfExport& options, std::string& out);

/// resultsEmf() written atomically to `path`: a failure leaves any previous file intact.
Status writeResultsEmf(
    const std::string& path, solver::SolverModel& model, const EmfExport& options);

/// The save dialog's rule: a chosen name whose extension is not "emf" gets it instead.
std::string emfFileName(const std::string& chosen);

} // namespace tarvex::results
