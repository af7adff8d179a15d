#pragma once

#include "common/status.h"

namespace tarvex::solver {

struct SolverModel;

inline constexpr int DefaultEquipotentialCount = 21;
inline constexpr int MinEquipotentialCount = 2;
inline constexpr int MaxEquipotentialCount = 5000;

/// `traceEquipotentials`: rebuilds the model's equipotential segments from the node potentials
/// with `count` levels between their minimum and maximum; sets `equipotentialsTraced`.
void traceEquipotentials(SolverModel& model, int count);

/**
 * `traceInducedCurrentLines`: lines of constant induced-current density through the conducting
 * triangles; sets `inducedLinesTraced`. A model without conducting material is refused with its
 * message and left as it was.
 */
Status traceInducedCurrentLines(SolverModel& model, int count);

} // namespace tarvex::solver
