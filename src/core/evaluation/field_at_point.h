#pragma once

#include "common/status.h"
#include "evaluation/point_location.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvex::solver {
struct SolverModel;
}

namespace tarvex::evaluation {

/// The vertex values of a triangle: the potentials, or with `imaginary` the second node array of
/// an induced-current result (0 where the model has none).
std::array<double, 3> vertexValues(
    const solver::SolverModel& model, const ElementVertices& v, bool imaginary = false);

/// `interpolatePotential`: the linear interpolant of the three vertex values at the point (exact
/// at the vertices; the mean of the three for a triangle without area).
double interpolatePotential(
    const ElementVertices& v, const std::array<double, 3>& values, double x, double y);
double interpolatePotential(const solver::SolverModel& model, ElementPosition position, double x,
    double y, bool imaginary = false);

/// The potential gradient of a triangle, per metre (drawing units scaled by `scaleFactor`).
struct Gradient {
    double gx = 0.0;
    double gy = 0.0;
    bool valid = false; ///< false for a triangle without area or a model without scale
};
Gradient elementGradient(const solver::SolverModel& model, const ElementVertices& v,
    const std::array<double, 3>& values);

/**
 * A per-triangle vector quantity in the frame turned by `theta` (radians): the first axis points
 * along theta, the second along theta + pi/2.
 */
struct ElementVector {
    Status status; ///< msg::PontoForaDominio when the triangle's region is needed and missing
    double magnitude = 0.0;
    double second = 0.0; ///< second-axis component (the normal one for forces)
    double first = 0.0; ///< first-axis component (the tangential one for forces)
    double factor = 0.0; ///< D: the material factor k; H: the relative permeability
    explicit operator bool() const { return status.ok; }
};

/// `elementFluxDensity`: B (T) of a magnetic model, D (C/m²) of an electric one.
ElementVector elementFluxDensity(
    const solver::SolverModel& model, ElementPosition position, double theta);
/**
 * `elementFieldIntensity`: E (V/m) of an electric model; H (A/m) of a magnetic one, with the
 * relative permeability in `factor`. The remanence is taken into the turned frame, so the result
 * does not depend on the frame the components are asked in.
 */
ElementVector elementFieldIntensity(
    const solver::SolverModel& model, ElementPosition position, double theta);
/// `elementForceDensity`: the Maxwell stress (N/m²) on a surface whose normal is the second axis.
ElementVector elementForceDensity(
    const solver::SolverModel& model, ElementPosition position, double theta);

/// Magnitude and the two components as the point-values dialog shows them: x and y, or with the
/// polar choice t (tangential) and r (radial).
struct Components {
    double magnitude = 0.0;
    double x = 0.0; ///< x, or t with the polar choice
    double y = 0.0; ///< y, or r with the polar choice
};

/// The values of the "Grandezas Pontuais" dialog at a point.
struct PointValues {
    bool found = false; ///< the point lies in the mesh
    Status status; ///< msg::PontoForaDominio: the triangle has no region (no values then)
    bool magnetic = true;
    bool polar = false;
    bool induced = false; ///< induced-current result: potentialIm, current and loss are set
    ElementPosition element = NoElement; ///< the triangle that contains the point
    int trianglesAveraged = 0; ///< 1 inside, 2 on an inner edge, all neighbours on a vertex
    double potential = 0.0;
    double potentialIm = 0.0;
    Components flux; ///< B (T) or D (C/m²)
    Components field; ///< H (A/m) or E (V/m)
    double relativePermeability = 0.0; ///< magnetic only
    Components force; ///< N/m²: on a surface normal to y (to r with the polar choice)
    double currentDensity = 0.0; ///< |J| (A/mm²)
    double lossDensity = 0.0; ///< Pi (W/m³), when hasLoss
    bool hasLoss = false; ///< false where the region does not conduct
    bool ok() const { return found && status.ok; }
};

/**
 * `pointValues` at (x, y) in drawing units. Inside a triangle every value comes from it; on an
 * edge shared by two triangles the flux density is their mean, on a vertex the area-weighted mean
 * over the triangles around it, and the other values come from the last of those triangles in
 * list order. With `polar` the components are the tangential and radial ones about the origin.
 */
PointValues pointValues(const solver::SolverModel& model, double x, double y, bool polar = false);

/// The point typed in polar coordinates (radius in drawing units, angle in degrees) as X Y.
std::pair<double, double> polarToCartesian(double radius, double degrees);

/// A value as the dialog writes it ("%-12.6g").
std::string formatDialogValue(double value);

/// The dialog's fields in order, as (label, text) pairs; "indefinido" where nothing was computed.
std::vector<std::pair<std::string_view, std::string>> dialogFields(const PointValues& values);

} // namespace tarvex::evaluation
