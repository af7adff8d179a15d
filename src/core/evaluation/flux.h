#pragma once

#include <optional>
#include <string>

namespace tarvex::solver {
struct SolverModel;
struct MeshNode;
} // namespace tarvex::solver

namespace tarvex::evaluation {

/// `interpolateOnEdge`: (1 - t) V_a + t V_b with t = |p - a| / |b - a| (V_a for an edge of no
/// length).
double interpolateOnEdge(const solver::MeshNode& a, const solver::MeshNode& b, double x, double y);

/**
 * The potential at a point, searched in three passes over the triangles in list order: inside a
 * triangle (all three edge signs equal), then on an edge, then on a vertex. Nothing when the point
 * is in no triangle.
 */
std::optional<double> potentialAt(const solver::SolverModel& model, double x, double y);

/// The flux per metre (magnetic) or the potential difference (electric) between two points.
struct FluxResult {
    double value = 0.0; ///< value(P2) - value(P1); 0 when a point is outside the mesh
    bool found = false; ///< both points lie in the mesh
};

/// `fluxBetweenPoints`.
FluxResult fluxBetweenPoints(
    const solver::SolverModel& model, double x1, double y1, double x2, double y2);

/// The result pane's text, "Fluxo/m : %12.4g".
std::string fluxText(double value);

} // namespace tarvex::evaluation
