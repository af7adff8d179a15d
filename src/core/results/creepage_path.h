#pragma once

#include "common/status.h"
#include "geometry/records.h"
#include "graphs/graph_data.h"
#include "results/critical_path.h"
#include "solver/solver_model.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tarvex::results {

/// A computed creepage path (the document's `creepagePath`, `creepageGraph` and minimum).
struct CreepagePathResult {
    Status status;
    /// The mesh edges the chain runs along, from the first indicated point (an arc is followed
    /// by the chords its triangles put along it).
    std::vector<solver::ContourSegment> path;
    std::size_t chainSegments = 0; ///< contour segments of the chain
    graphs::GraphData graph; ///< mean |Et| per section, |Et|, allowable creepage field
    double minSafetyFactor = SemFatorSeguranca;
    double minSafetyDistance = 0.0;
    geometry::Ponto minSafetyPoint;
    std::string report;

    explicit operator bool() const { return status.ok; }
    double length() const;
};

/// The points "&Define Caminho" offers: the distinct end points of the region contour segments.
std::vector<geometry::Ponto> creepageCandidates(const solver::SolverModel& model);
/// The candidate nearest to p (p itself when there is none).
geometry::Ponto snapToCandidate(
    const std::vector<geometry::Ponto>& candidates, const geometry::Ponto& p);

/**
 * `computeCreepagePath`: chains the region contour segments joining consecutive indicated
 * points, samples the tangential field along them (signed along the direction of travel),
 * refines the samples to 0.5, divides the chain into sections wherever the sign of Et changes
 * and finds the minimum of 100·Ea/Em, Ea = 1.65e7·g^-0.46 (or the user's `curve`). A chain that
 * is not continuous gives msg::CaminhoDescontinuo; nothing is returned on failure.
 */
CreepagePathResult computeCreepagePath(const solver::SolverModel& model,
    const std::vector<geometry::Ponto>& points, const AllowableFieldCurve* curve = nullptr);

} // namespace tarvex::results
