#pragma once

#include "common/status.h"
#include "evaluation/point_location.h"

#include <string>
#include <vector>

namespace tarvex::solver {
struct SolverModel;
}

namespace tarvex::results {

/// The mean loss density (W/m³) over a triangle of conductivity sigma > 0: the exact mean of |A|²
/// for the linear interpolant of the vertex values.
double meanLossDensity(
    const solver::SolverModel& model, const evaluation::ElementVertices& v, double sigma);

struct Losses {
    Status status;
    double watts = 0.0; ///< W/m
    int region = 0; ///< the region summed ("&Região"), 1-based
    /// The conducting triangles, list order ("&Total" fills them in colour 19).
    std::vector<evaluation::ElementPosition> conducting;
};

/// "&Total": the losses of every triangle whose region conducts.
Losses totalLosses(const solver::SolverModel& model);

/**
 * "&Região": the losses of the triangles of the region that contains the point.
 * msg::PontoForaDominioPerdas outside every region; msg::RegiaoAberta when that region's contour
 * does not close (its inside, and so its triangles, are not defined).
 */
Losses regionLosses(const solver::SolverModel& model, double x, double y);

/// The result pane's texts.
std::string totalLossesText(double watts);
std::string regionLossesText(double watts);

} // namespace tarvex::results
