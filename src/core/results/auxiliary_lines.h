#pragma once

#include "geometry/records.h"
#include "problem/records.h"

#include <optional>
#include <vector>

namespace tarvex::solver {
struct SolverModel;
}

namespace tarvex::results {

/**
 * Auxiliary lines: contour lines that separate regions without physical need. Taking them away
 * only changes the picture: the model's regions keep their closed contours, so that region
 * lookups, evaluations and the saved file stay as they were. A set of lines is held by geometry
 * (problem::iguais); a line in the set is not drawn in any region contour.
 */
using LinhasAuxiliares = std::vector<problem::SegmentoContorno>;

/// Whether a contour line is in the set.
bool contemLinha(const LinhasAuxiliares& linhas, const problem::SegmentoContorno& linha);

/**
 * "Apaga Lin Aux. &Autom.": the lines common to two regions (region 1, the outer contour, never
 * takes part) whose `brR`, `brT`, `brX`, `brY`, `densCorrente`, `densCargas`, `permRelativa` and
 * `permissividadeRelativa` agree within 1e-8, the first of the two in list order having
 * `permRelativa` and `permissividadeRelativa` equal to 1 (within 1e-8). The conductivity is not
 * compared. Each line once, in the order met.
 */
LinhasAuxiliares linhasAuxiliaresAutomaticas(const solver::SolverModel& model);

/**
 * "Apaga Lin Aux. &Man.": the visible contour line nearest to the point (straight lines by their
 * distance, arcs by the distance to their circle within their sweep or else to their nearer end);
 * nothing when every line is already in `ocultas` or the model has none.
 */
std::optional<problem::SegmentoContorno> linhaMaisProxima(
    const solver::SolverModel& model, const geometry::Ponto& p, const LinhasAuxiliares& ocultas);

} // namespace tarvex::results
