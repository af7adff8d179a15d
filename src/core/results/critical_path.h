#pragma once

#include "common/status.h"
#include "geometry/records.h"
#include "graphs/graph_data.h"
#include "materials/curva.h"
#include "solver/solver_model.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tarvex::results {

/// The minimum safety factor before any sample gave one.
inline constexpr double SemFatorSeguranca = 1e300;

/**
 * An allowable-field curve supplied by the user: gap (or creepage) length in millimetres against
 * the allowable field in V/m, read from a materials-style two-column file and evaluated by the
 * natural spline of the curve class. Outside its first and last lengths the curve is held at its
 * end values, and between two points it is kept within their values: a spline carried beyond its
 * points, or swinging between widely spaced ones, can turn negative.
 */
struct AllowableFieldCurve {
    materials::Curva curve;
    std::string source; ///< the file name, as the report names it

    double value(double length) const;
};

/**
 * Reads an allowable-field curve. All or nothing: at least two points, strictly ascending
 * positive lengths and positive fields, else msg::CurvaAdmissivelInvalida (or the reader's
 * message for a file that cannot be read).
 */
Status openAllowableCurve(const std::string& path, AllowableFieldCurve& out);

/// The samples of a path, in path order: distance (drawing units), |E| (V/m) and the absolute
/// permittivity (F/m) of the triangle crossed. The three lists have equal lengths.
struct PathSamples {
    std::vector<double> distance;
    std::vector<double> field;
    std::vector<double> permittivity;

    void add(double d, double e, double eps)
    {
        distance.push_back(d);
        field.push_back(e);
        permittivity.push_back(eps);
    }
    std::size_t size() const { return distance.size(); }
};

/// The safety figures of a path.
struct PathSafety {
    graphs::GraphData graph; ///< mean field, field, allowable field over the refined distances
    double minSafetyFactor = SemFatorSeguranca; ///< percent
    double minSafetyDistance = 0.0;
};

/// Allowable field of oil by the built-in formulas (V/m): 2.15e7·g^-0.37 between pressboard,
/// 1.75e7·g^-0.37 elsewhere, with the gap raised to 0.1 when shorter.
double oilAllowableField(double gap, bool betweenPressboard);
/// Allowable creepage field by the built-in formula: 1.65e7·g^-0.46, g raised to 0.1.
double creepageAllowableField(double length);

/**
 * Inserts samples so that no two consecutive distances are more than `step` apart, each carrying
 * the earlier sample's values.
 */
PathSamples refineSamples(const PathSamples& samples, double step);

/**
 * `evaluatePathSafety`: refines the samples to 0.1, rebuilds the three curves of the path graph
 * (running mean field per gap, field, allowable field of oil) and finds the minimum safety factor.
 * A gap starts at the first sample and wherever the relative permittivity changes by more than
 * 1e-4. Only oil samples (2.1 <= er <= 2.3) get an allowable field and a safety factor; with
 * `oilCurve` the user's curve replaces both formulas.
 */
PathSafety evaluatePathSafety(const PathSamples& samples, const AllowableFieldCurve* oilCurve);

/**
 * The safety-factor graph of a path graph: "FS" = 100·(curve 3)/(curve 1) where curve 1 exceeds
 * 1e-30, 0 elsewhere, and "Ref." = 100.
 */
graphs::GraphData safetyFactorGraph(const graphs::GraphData& pathGraph);

/// The report of a minimum ("%8.2f" below 1e7, "%8.2g" from there on), naming a user's curve.
std::string safetyReport(
    double minSafetyFactor, const geometry::Ponto& point, const AllowableFieldCurve* curve);

/**
 * The vertex of a path taken as the place of a distance along it: walking the segments back from
 * the end, the end of the segment whose end lies within 1e-4 of the distance, or the start of the
 * segment in which the distance falls. The path's start when the path is empty of such a segment.
 */
geometry::Ponto pathVertexAt(const std::vector<solver::ContourSegment>& path, double distance);

/// A computed critical path (the document's `criticalPath`, `pathGraph` and minimum).
struct CriticalPathResult {
    Status status;
    std::vector<solver::ContourSegment> path; ///< from the start electrode
    graphs::GraphData pathGraph;
    double minSafetyFactor = SemFatorSeguranca;
    double minSafetyDistance = 0.0;
    geometry::Ponto minSafetyPoint;
    geometry::Ponto start; ///< the indicated points moved onto their electrodes
    geometry::Ponto end;
    std::size_t startElectrode = 0; ///< list positions in `potentialSegments`
    std::size_t endElectrode = 0;
    bool electrodesChosen = false; ///< the two electrodes were found (also after a refusal)
    std::string report;

    explicit operator bool() const { return status.ok; }
    double length() const;
};

/**
 * `computeCriticalPath`: chooses the two electrodes nearest to the indicated points, traces the
 * field line from the start electrode to the end electrode through the mesh (each triangle is
 * crossed at most once, so the trace takes at most as many steps as there are triangles) and
 * evaluates its safety. On failure `status` carries the message and no path is returned.
 */
CriticalPathResult computeCriticalPath(const solver::SolverModel& model,
    const geometry::Ponto& first, const geometry::Ponto& second,
    const AllowableFieldCurve* oilCurve = nullptr);

} // namespace tarvex::results
