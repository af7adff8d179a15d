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

/// A slave's value is its master's times this: -1 under anti-symmetry, 1 otherwise.
double symmetrySign(const SolverModel& model);

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
    std::int64_t elementOutsideRegions = -1; ///< zero-based list position, -1 when not that failure
    double markX = 0.0; ///< centroid of that element
    double markY = 0.0;
    explicit operator bool() const { return status.ok; }
};

/**
 * `assembleLinear`: the linear system of the model (stiffness, sources, magnets, imposed
 * potentials) into a fresh matrix of order n_m + g with `slotsPerRow` slots per row, then folded
 * by the symmetry (condenseSymmetry). Regions come from `elementRegion`, filled on first use.
 *
 * The matrix is negative definite (each element enters with the sign of its D < 0). Source
 * densities are per mm² of cross-section whatever the drawing unit: J in A/mm² (positive into the
 * plane of the drawing, the sense that agrees with the magnet term) and the charge density with
 * the sign that gives -div(eps grad V) = rho. A failed assembly leaves the matrix and right-hand
 * side as they were (the region cache keeps what it found).
 */
AssemblyResult assembleLinear(SolverModel& model, int slotsPerRow = AssemblySlotsPerRow);

/// First assembly of a non-linear run: non-linear regions take the material value of their curve
/// at the field of the imposed potentials alone. Regions are searched again and cached. The
/// curves must have been prepared (prepareNonlinearCurves); a curve that gives no usable value
/// leaves the element its linear material.
AssemblyResult assembleNonlinearStart(SolverModel& model);

/**
 * Re-assembly from an iterate (free nodes 1..n_m from `current`, others from the node records).
 * Returns the largest relative change of the element flux density between `previous` and
 * `current` (unused by the iteration, reported for information).
 */
AssemblyResult assembleNonlinear(SolverModel& model, const linalg::RealVector& current,
    const linalg::RealVector& previous, double* largestChange = nullptr);

/// `addNewtonTerms`: the Jacobian terms of the non-linear elements, added to the assembled matrix.
/// With symmetry the terms of slave vertices go to their masters, folded like the stiffness.
/// `current` must have count n_m (nothing is added otherwise).
void addNewtonTerms(SolverModel& model, const linalg::RealVector& current);

/**
 * `condenseSymmetry`: folds slave rows (and slave-row couplings to any column) into their
 * masters; the matrix and right-hand side become of order n_m. Nothing happens without symmetry.
 * False, nothing touched, when the matrix is not of order n_m + g (already folded) or a slave's
 * master is not a free node.
 */
bool condenseSymmetry(SolverModel& model);

/**
 * The conductivity block of the induced-current analysis: 2 pi sigma times the consistent mass
 * matrix of each conducting element, assembled like the stiffness into `slotsPerRow` slots per
 * row and folded by the symmetry like it (order n_m), and the second right-hand side from the
 * couplings to imposed nodes. Sets `conductive` when some region conducts (above 1e-30 S/m);
 * without one the block is left empty. Regions come from `elementRegion` as in assembleLinear.
 */
AssemblyResult assembleConductivity(SolverModel& model, int slotsPerRow = ExportSlotsPerRow);

/**
 * The non-linear regions' reluctivity curve `curva2` (x = B², y = H / B) from `curva1`, and the
 * splines of both. For an electric model the same construction over the E-D curve.
 */
void prepareNonlinearCurves(SolverModel& model);

} // namespace tarvex::solver
