#pragma once

#include "common/status.h"

#include <cstdint>

namespace tarvex::linalg {
class RealVector;
}

namespace tarvex::solver {

struct SolverModel;

/// mu0 and eps0 as the element matrices use them (pi formed as 4 atan(1)).
double mu0();
inline constexpr double Eps0 = 8.854e-12;

/// Slots per row of an assembled matrix: the export stores 40, the runs' re-assemblies use 20.
/// A row that needs more entries than that gets more slots; no contribution is ever dropped.
inline constexpr int ExportSlotsPerRow = 40;
inline constexpr int AssemblySlotsPerRow = 20;

/**
 * Outcome of an assembly. A failure carries the fixed message (empty when the element is only
 * to be marked on the view) and, for an element whose centroid lies in no region, that element's
 * list position so that the view can mark it.
 */
struct AssemblyResult {
    Status status;
    std::int64_t elementOutsideRegions = -1; ///< list position, -1 when not that failure
    double markX = 0.0; ///< centroid of that element
    double markY = 0.0;
    explicit operator bool() const { return status.ok(); }
};

/**
 * `assembleLinear`: the linear system of the model (stiffness, sources, magnets, imposed
 * potentials) into a fresh matrix of order n_m + g with `slotsPerRow` slots per row, then folded
 * by the symmetry (condenseSymmetry). Regions come from `elementRegion`, filled on first use.
 */
AssemblyResult assembleLinear(SolverModel& model, int slotsPerRow = AssemblySlotsPerRow);

/// First assembly of a non-linear run: non-linear regions take the material value of their curve
/// at the field of the imposed potentials alone.
AssemblyResult assembleNonlinearStart(SolverModel& model);

/**
 * Re-assembly from an iterate (free nodes 1..n_m from `current`, others from the node records).
 * Returns the largest relative change of the element flux density between `previous` and
 * `current` (unused by the iteration, reported for information).
 */
AssemblyResult assembleNonlinear(SolverModel& model, const linalg::RealVector& current,
                                 const linalg::RealVector& previous, double* largestChange = nullptr);

/// `addNewtonTerms`: the Jacobian terms of the non-linear elements, added to the assembled matrix.
void addNewtonTerms(SolverModel& model, const linalg::RealVector& current);

/**
 * `condenseSymmetry`: folds slave rows (and slave-row couplings to any column) into their
 * masters; the matrix and right-hand side become of order n_m. Nothing happens without symmetry.
 */
bool condenseSymmetry(SolverModel& model);

/// The conductivity block of the induced-current analysis (matrix of order n_m, second
/// right-hand side); sets `conductive` when some region conducts (above 1e-30 S/m).
AssemblyResult assembleConductivity(SolverModel& model);

/**
 * The non-linear regions' reluctivity curve `curva2` (x = B², y = H / B) from `curva1`, and the
 * splines of both. For an electric model the same construction over the E-D curve.
 */
void prepareNonlinearCurves(SolverModel& model);

} // namespace tarvex::solver
