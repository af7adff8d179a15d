#pragma once

#include "common/status.h"
#include "geometry/records.h"

#include <string>
#include <vector>

namespace tarvex::solver {
struct SolverModel;
}

namespace tarvex::results {

/// The force per metre of depth on a section, from its pressure curves (N/m).
struct SectionForce {
    Status status; ///< as the sampling left it (msg::PontoForaDominio, or a polar failure)
    bool polar = false;
    double magnitude = 0.0; ///< |F| = sqrt(Ft² + Fn²)
    double tangential = 0.0; ///< Ft: along the section (clockwise along a polar one)
    double normal = 0.0; ///< Fn: across it (outwards along a polar one)
    double fx = 0.0; ///< straight sections only
    double fy = 0.0;
};

/// Σ (x[k+1] - x[k]) (y[k] + y[k+1]) / 2 over the common points of the two lists.
double trapezoid(const std::vector<double>& x, const std::vector<double>& y);

/**
 * "Força XY": the pressure of the straight section P1–P2 integrated along it and divided by the
 * scale factor; Fx and Fy turn (Ft, Fn) by the section's direction. A section of no length, or
 * one that misses the mesh, has no force.
 */
SectionForce forceOnSection(
    const solver::SolverModel& model, const geometry::Ponto& p1, const geometry::Ponto& p2);

/// "Força RT": the same along the polar section about `centre` (with the callers' retry). A
/// failing section gives a failed status (msg::SecaoPolarSemCurva when the model is not at fault).
SectionForce forceOnPolarSection(const solver::SolverModel& model, const geometry::Ponto& p1,
    const geometry::Ponto& p2, const geometry::Ponto& centre);

/// The result pane's text of a force (the XY or the RT text).
std::string forceText(const SectionForce& force);

} // namespace tarvex::results
